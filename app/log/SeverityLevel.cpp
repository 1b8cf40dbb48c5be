#include "SeverityLevel.h"

#include <array>

namespace mirelo {

namespace {

    constexpr std::array<const char*, 4> kSeverityNames = { "debug", "normal", "warning", "critical" };

} // namespace

std::ostream& operator<<(std::ostream& stream, severity_level level)
{
    const int value = static_cast<int>(level);
    if (value >= 0 && static_cast<std::size_t>(value) < kSeverityNames.size())
        stream << kSeverityNames[static_cast<std::size_t>(value)];
    else
        stream << value;
    return stream;
}

} // namespace mirelo
