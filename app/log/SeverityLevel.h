#pragma once

#include <ostream>

namespace mirelo {

// The number is what a record's "Severity" attribute holds and what the filter
// compares; the name is what a record shows. The fixed underlying type makes
// every int a valid value, so that a number outside 0 to 3 can still be logged.
enum severity_level : int {
    debug = 0,
    normal = 1,
    warning = 2,
    critical = 3,
};

// Writes the name for 0 to 3 and the decimal number for any other value.
std::ostream& operator<<(std::ostream& stream, severity_level level);

} // namespace mirelo
