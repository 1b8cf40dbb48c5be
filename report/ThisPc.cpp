#include "ThisPc.h"

#include <QString>
#include <QSysInfo>

namespace quill::report {

PcIdentity ThisPc()
{
    return { QSysInfo::machineHostName().toStdString(), QSysInfo::prettyProductName().toStdString() };
}

} // namespace quill::report
