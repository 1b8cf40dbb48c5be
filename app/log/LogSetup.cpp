#include "LogSetup.h"

#include <boost/core/null_deleter.hpp>
#include <boost/log/attributes/value_extraction.hpp>
#include <boost/log/core.hpp>
#include <boost/log/expressions.hpp>
#include <boost/log/sinks/sync_frontend.hpp>
#include <boost/log/sinks/text_file_backend.hpp>
#include <boost/log/sinks/text_ostream_backend.hpp>
#include <boost/log/support/date_time.hpp>
#include <boost/log/utility/exception_handler.hpp>
#include <boost/log/utility/setup/common_attributes.hpp>
#include <boost/make_shared.hpp>
#include <boost/system/system_error.hpp>

#include <atomic>
#include <cerrno>
#include <iostream>
#include <memory>
#include <string>

namespace quill::log {

namespace {

    namespace logging = boost::log;
    namespace sinks = boost::log::sinks;
    namespace expr = boost::log::expressions;
    namespace keywords = boost::log::keywords;

    std::atomic<bool> g_sinksAttached { false };

    // Says once per set-up, on stderr, that the log file cannot be written and
    // why; from then on the file sink takes no records, and everything else goes
    // on as before. Copies share their state: Boost.Log copies its handlers.
    class FileFailure {
    public:
        void operator()(const std::exception& error) const { report(error.what()); }
        void operator()() const { report("unknown error"); }
        void report(const std::string& why) const
        {
            if (!m_happened->exchange(true))
                std::cerr << "Quillscope: the log file cannot be written: " << why << std::endl;
        }
        bool happened() const { return *m_happened; }

    private:
        std::shared_ptr<std::atomic<bool>> m_happened = std::make_shared<std::atomic<bool>>(false);
    };

    // Boost.Log throws when a file cannot be opened or collected, but a write
    // that fails (a full disk) only leaves the stream bad: that is turned into
    // an exception here, so that both take the same way.
    class CheckedFileBackend : public sinks::text_file_backend {
    public:
        template <typename... Args>
        explicit CheckedFileBackend(const Args&... args)
            : text_file_backend(args...)
        {
            set_open_handler([this](stream_type& file) { m_file = &file; });
        }

        void consume(const logging::record_view& record, const string_type& message)
        {
            text_file_backend::consume(record, message);
            const int error = errno;
            if (m_file != nullptr && !m_file->good())
                throw boost::system::system_error(error != 0 ? error : EIO, boost::system::generic_category(),
                    "cannot write \"" + get_current_file_name().string() + "\"");
        }

    private:
        stream_type* m_file = nullptr;
    };

    using FileSink = sinks::synchronous_sink<CheckedFileBackend>;
    using StreamSink = sinks::synchronous_sink<sinks::text_ostream_backend>;

    // "2018-05-03 14:22:01 <critical>\tport:80 connection was time out"
    logging::formatter RecordFormatter()
    {
        return expr::stream << expr::format_date_time<boost::posix_time::ptime>("TimeStamp", "%Y-%m-%d %T ")
                            << "<" << expr::attr<mirelo::severity_level>("Severity") << ">\t"
                            << expr::smessage;
    }

    // A record without a Severity value does not pass.
    logging::filter SeverityFilter()
    {
        return expr::attr<mirelo::severity_level>("Severity") >= kMinimumSeverity;
    }

    boost::shared_ptr<FileSink> MakeFileSink(const std::filesystem::path& directory,
        std::uintmax_t rotationSizeBytes, TimeRotationCheck timeRotation, const FileFailure& failure)
    {
        // An empty directory leaves the names relative: Boost.Log resolves
        // them against the working directory here, once.
        auto backend = boost::make_shared<CheckedFileBackend>(
            keywords::file_name = (directory / (std::string(kLogName) + "_%Y-%m-%d_%H-%M-%S.log")).string(),
            keywords::open_mode = std::ios_base::out | std::ios_base::trunc,
            keywords::rotation_size = rotationSizeBytes, keywords::enable_final_rotation = true);
        if (timeRotation)
            backend->set_time_based_rotation(std::move(timeRotation));
        backend->auto_flush(true);

        auto sink = boost::make_shared<FileSink>(backend);
        sink->set_formatter(RecordFormatter());
        sink->set_filter([failure, passes = SeverityFilter()](const logging::attribute_value_set& values) {
            return !failure.happened() && passes(values);
        });
        sink->set_exception_handler(logging::make_exception_handler<std::exception>(failure, std::nothrow));

        // Files of earlier runs in the folder are left alone: no scan_for_files().
        backend->set_file_collector(
            sinks::file::make_collector(keywords::target = (directory / kLogFolder).string(),
                keywords::max_size = kLogFolderMaxSize, keywords::min_free_space = kMinimumFreeSpace));
        return sink;
    }

    boost::shared_ptr<StreamSink> MakeClogSink()
    {
        auto backend = boost::make_shared<sinks::text_ostream_backend>();
        // std::clog belongs to the C++ runtime: the sink must not delete it.
        backend->add_stream(boost::shared_ptr<std::ostream>(&std::clog, boost::null_deleter()));
        backend->auto_flush(true);

        auto sink = boost::make_shared<StreamSink>(backend);
        sink->set_formatter(RecordFormatter());
        sink->set_filter(SeverityFilter());
        return sink;
    }

} // namespace

void SetUpLogging(const LogPlace& place, std::uintmax_t rotationSizeBytes, TimeRotationCheck timeRotation)
{
    const FileFailure failure;
    boost::shared_ptr<FileSink> fileSink;
    if (place.toFile) {
        try {
            // The collector makes the "logs" folder at once.
            fileSink = MakeFileSink(place.directory, rotationSizeBytes, std::move(timeRotation), failure);
        } catch (const std::exception& error) {
            failure(error);
        }
    }
    boost::shared_ptr<StreamSink> clogSink;
    if (place.toClog)
        clogSink = MakeClogSink();

    const boost::shared_ptr<logging::core> core = logging::core::get();
    try {
        // Whatever else fails in the log is dropped: a record is not worth
        // ending the program or changing what it does.
        core->set_exception_handler(logging::make_exception_suppressor());
        if (clogSink)
            core->add_sink(clogSink);
        if (fileSink)
            core->add_sink(fileSink);
        logging::add_common_attributes();
        core->set_logging_enabled(true);
        g_sinksAttached = clogSink || fileSink;
    } catch (...) {
        // A later attempt must not find a sink of this one still attached.
        if (fileSink)
            core->remove_sink(fileSink);
        if (clogSink)
            core->remove_sink(clogSink);
        throw;
    }
}

void ShutDownLogging()
{
    g_sinksAttached = false;
    const boost::shared_ptr<logging::core> core = logging::core::get();
    // Also stops a record that passed the check above just before.
    core->set_logging_enabled(false);
    core->flush();
    core->remove_all_sinks();
}

bool SinksAttached()
{
    return g_sinksAttached;
}

} // namespace quill::log
