#include "ProbeLog.h"

#include "HostText.h"
#include "Logger.h"

#include <boost/format.hpp>

namespace quill::netcheck {

void LogUnresolvable(std::int32_t port, const std::string& host)
{
    // A warning rather than a time-out record, so an installer can tell a
    // missing or misspelt name, or a dead name server, from a blocked port.
    Logger::instance();
    Logger::write(mirelo::warning,
        (boost::format("port:%d host \"%s\" cannot be resolved") % port % PrintableForLog(host)).str());
}

} // namespace quill::netcheck
