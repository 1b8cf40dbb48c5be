#include "DeviceLogLine.h"

#include "SafeText.h"

#include <boost/format.hpp>

namespace quill::discovery {

std::string FormatDeviceLogLine(const DeviceRecord& record)
{
    using text::SafeText;
    return (boost::format("IP: %s, SN: %s, MAC: %s, device_name: %s, FW: %s") % SafeText(record.ip)
        % SafeText(record.sn) % SafeText(record.mac) % SafeText(record.device_name) % SafeText(record.fw))
        .str();
}

} // namespace quill::discovery
