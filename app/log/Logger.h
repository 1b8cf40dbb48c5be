#pragma once

#include "SeverityLevel.h"

#include <string>

// The process-wide diagnostic log. The first instance() call, from whichever
// thread, sets up the file and std::clog sinks exactly once; write() sends one
// record, with a ready-made message, to them. Call sites call instance() first,
// then write().
class Logger {
public:
    static Logger& instance();
    static void write(mirelo::severity_level level, std::string message);

    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

private:
    Logger();
};
