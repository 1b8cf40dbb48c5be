#pragma once

#include "DeviceRecord.h"

#include <string>

namespace quill::discovery {

// The debug log text for an accepted answer:
// "IP: %s, SN: %s, MAC: %s, device_name: %s, FW: %s" with the fields made
// safe (text::SafeText): a line feed or a bidirectional control in a field is
// written as "<U+000A>" or "<U+202E>", so it cannot start a record of its own
// or turn the line around. Field bytes are only ever arguments, never part of
// the format, so a '%' inside a field is printed as it stands.
std::string FormatDeviceLogLine(const DeviceRecord& record);

} // namespace quill::discovery
