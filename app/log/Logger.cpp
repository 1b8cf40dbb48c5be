#include "Logger.h"

#include "LogSetup.h"

#include <boost/log/sinks/text_file_backend.hpp>
#include <boost/log/sources/record_ostream.hpp>
#include <boost/log/sources/severity_logger.hpp>

#include <mutex>

namespace {

// The thread-safe form: records come from the user-interface thread and the
// discovery listener at once, and the single-thread logger is not safe for that.
using GlobalLogger = boost::log::sources::severity_logger_mt<mirelo::severity_level>;

// Made on first use rather than among the globals, so that its order against
// other static objects does not matter.
GlobalLogger& TheGlobalLogger()
{
    static GlobalLogger logger(boost::log::keywords::severity = mirelo::debug);
    return logger;
}

// The place the next set-up uses, and whether a set-up has begun.
struct Configuration {
    std::mutex mutex;
    quill::log::LogPlace place;
    bool setUpBegun = false;
};

Configuration& TheConfiguration()
{
    static Configuration configuration;
    return configuration;
}

} // namespace

bool Logger::configure(quill::log::LogPlace place)
{
    Configuration& configuration = TheConfiguration();
    const std::lock_guard lock(configuration.mutex);
    if (configuration.setUpBegun)
        return false;
    configuration.place = std::move(place);
    return true;
}

Logger::Logger()
{
    quill::log::LogPlace place;
    {
        Configuration& configuration = TheConfiguration();
        const std::lock_guard lock(configuration.mutex);
        configuration.setUpBegun = true;
        place = configuration.place;
    }
    quill::log::SetUpLogging(place, quill::log::kRotationSizeMiB * quill::log::kMiB,
        boost::log::sinks::file::rotation_at_time_point(0, 0, 0));
}

Logger& Logger::instance()
{
    // A constructor that throws leaves the static uninitialised, so the next
    // call runs the set-up again.
    static Logger logger;
    return logger;
}

void Logger::write(mirelo::severity_level level, std::string message)
{
    if (!quill::log::SinksAttached())
        return;
    BOOST_LOG_SEV(TheGlobalLogger(), level) << message;
}

void Logger::shutdown()
{
    quill::log::ShutDownLogging();
}
