#pragma once

#include "LogSetup.h"
#include "SeverityLevel.h"

#include <string>

// The process-wide diagnostic log. The first instance() call, from whichever
// thread, sets up the file and std::clog sinks exactly once; write() sends one
// record, with a ready-made message, to them. Call sites call instance() first,
// then write(). Writing is safe from any thread.
class Logger {
public:
    // Where the set-up puts the log; called before the first instance(). False,
    // changing nothing, once instance() has been called. Without it the log
    // goes to the working directory and to std::clog.
    static bool configure(quill::log::LogPlace place);

    static Logger& instance();
    static void write(mirelo::severity_level level, std::string message);

    // Flushes and removes the sinks, so that the current file is closed and
    // moved into "logs" now rather than during static destruction. Called once
    // the event loop has ended and the worker threads have stopped; records
    // written afterwards go nowhere.
    static void shutdown();

    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

private:
    Logger();
};
