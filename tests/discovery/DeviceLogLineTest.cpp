#include "DeviceLogLine.h"

#include <gtest/gtest.h>

#include <string>

using quill::discovery::DeviceRecord;
using quill::discovery::FormatDeviceLogLine;
using namespace std::string_literals;

namespace {

TEST(DeviceLogLine, NamesTheFiveFieldsInOrder)
{
    const DeviceRecord record { "192.168.1.20", "SN0001", "00:11:22:AA:BB:CC", "Cam-Door", "V1.2.3" };
    EXPECT_EQ(FormatDeviceLogLine(record),
        "IP: 192.168.1.20, SN: SN0001, MAC: 00:11:22:AA:BB:CC, device_name: Cam-Door, FW: V1.2.3");
}

TEST(DeviceLogLine, EmptyFieldsLeaveTheirLabels)
{
    EXPECT_EQ(FormatDeviceLogLine({}), "IP: , SN: , MAC: , device_name: , FW: ");
}

TEST(DeviceLogLine, FieldBytesArePrintedAsReceived)
{
    // Format directives inside a field are text, not directives; other bytes,
    // including broken UTF-8 and a line feed, pass untouched.
    const DeviceRecord record { "%s%n", "%d%%", "%1%", "\xFF\xE5\xAF", "1.0\n" };
    EXPECT_EQ(
        FormatDeviceLogLine(record), "IP: %s%n, SN: %d%%, MAC: %1%, device_name: \xFF\xE5\xAF, FW: 1.0\n"s);
}

} // namespace
