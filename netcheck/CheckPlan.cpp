#include "CheckPlan.h"

#include "NetCheckHosts.h"
#include "ProbePort.h"

namespace quill::netcheck {

CheckPlan PlanChecks(const GivenHosts& given, const std::string& settingsPath)
{
    CheckPlan plan;
    plan.rcsHost = given.rcs ? *given.rcs : SettingsServer(settingsPath);
    plan.cloudHost = given.cloud ? *given.cloud : PresetCloudHost(settingsPath);
    plan.ntpHost = given.ntp ? *given.ntp : PresetNtpHost(settingsPath);
    return plan;
}

} // namespace quill::netcheck
