#include "DeviceLogLine.h"

#include <boost/format.hpp>

namespace quill::discovery {

std::string FormatDeviceLogLine(const DeviceRecord& record)
{
    return (boost::format("IP: %s, SN: %s, MAC: %s, device_name: %s, FW: %s") % record.ip % record.sn
        % record.mac % record.device_name % record.fw)
        .str();
}

} // namespace quill::discovery
