#pragma once

#include "DialogTemplate.h"

// Dialog template 2001: the network check page's controls with their ids,
// template texts and rectangles in dialog units.
DialogTemplate DevicePageTemplate();
