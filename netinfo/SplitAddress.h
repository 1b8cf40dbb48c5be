#pragma once

#include "AdapterInfo.h"

#include <string_view>

namespace quill::netinfo {

// Fills addressParts of slot `table.count` with the address split at every
// "." (empty pieces stay as empty strings). Refuses, leaving the slot
// untouched, a text shorter than 7 bytes, a text without a dot, and a table
// without a free slot. Does not change the count: the caller increments it.
bool SplitAddress(AdapterTable& table, std::string_view address);

} // namespace quill::netinfo
