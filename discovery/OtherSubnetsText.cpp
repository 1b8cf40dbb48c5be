#include "OtherSubnetsText.h"

#include <boost/format.hpp>

#include <array>

namespace quill::discovery {

namespace {

    // sysctl's dotted key, or its slash form when the adapter's name holds a
    // dot itself (a VLAN such as "eth0.5"), which the dotted form would split.
    std::string SysctlKey(const std::string& adapterName, const std::string& conf)
    {
        return adapterName.find('.') == std::string::npos ? "net.ipv4.conf." + conf + ".rp_filter"
                                                          : "net/ipv4/conf/" + conf + "/rp_filter";
    }

} // namespace

std::string OtherSubnetsUnheardText(int language, const std::string& adapterName, int reversePathFilter)
{
    constexpr std::array<const char*, 3> kTexts {
        "Cameras in other subnets cannot be heard on %1%: the reverse-path filter (rp_filter %2%) drops "
        "their answers, because this PC has no route to their addresses. To hear them, give this PC an "
        "address in the cameras' subnet as well, or turn the filter off until the next start: "
        "sudo sysctl -w %3%=0 %4%=0",
        "無法在 %1% 上收到其他子網路中攝影機的回應：反向路徑過濾（rp_filter %2%）會丟棄這些回應，因為"
        "這台電腦沒有通往其位址的路由。若要收到回應，請讓這台電腦另外取得攝影機子網路中的位址，或在下次"
        "開機前暫時關閉過濾：sudo sysctl -w %3%=0 %4%=0",
        "无法在 %1% 上收到其他子网中摄像机的回应：反向路径过滤（rp_filter %2%）会丢弃这些回应，因为"
        "这台电脑没有通往其地址的路由。若要收到回应，请让这台电脑另外获得摄像机子网中的地址，或在下次"
        "开机前暂时关闭过滤：sudo sysctl -w %3%=0 %4%=0",
    };
    const std::size_t index = language >= 0 && language < 3 ? static_cast<std::size_t>(language) : 0;
    return (boost::format(kTexts[index]) % adapterName % reversePathFilter % SysctlKey(adapterName, "all")
        % SysctlKey(adapterName, adapterName))
        .str();
}

} // namespace quill::discovery
