#pragma once

#include <string>

namespace quill::discovery {

// One camera as one accepted answer reports it. Every field is the bytes of
// its token exactly as received: nothing is validated or reformatted.
struct DeviceRecord {
    std::string ip;
    std::string sn;
    std::string mac;
    std::string device_name;
    std::string fw;

    friend bool operator==(const DeviceRecord&, const DeviceRecord&) = default;
};

} // namespace quill::discovery
