#pragma once

#include "WindowMessage.h"

// NM_DBLCLK from a report-view list: the row and column that were hit, -1 for
// a click beside the rows.
struct NMITEMACTIVATE : NMHDR {
    int iItem = -1;
    int iSubItem = -1;
};
