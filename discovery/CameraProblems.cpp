#include "CameraProblems.h"

#include "SafeText.h"
#include "StatusFormat.h"

#include <map>

namespace quill::discovery {

namespace {

    using namespace status;

    std::string Join(const std::vector<std::string>& parts)
    {
        std::string joined;
        for (const std::string& part : parts)
            joined += (joined.empty() ? "" : ", ") + part;
        return joined;
    }

    // Rows that share one key (an address, a MAC), in list order.
    struct Group {
        std::vector<int> numbers;
        std::vector<std::string> others; // what differs between them
    };

} // namespace

std::vector<CameraProblem> DescribeProblems(
    const std::vector<ResultRow>& rows, const std::optional<SearchedNetwork>& network, int language)
{
    std::vector<CameraProblem> problems;
    std::map<std::string, Group> byAddress, byMac;
    for (const ResultRow& row : rows) {
        if (row.findings == 0)
            continue; // most rows: nothing to make safe or say
        const std::string ip = text::SafeText(row.record.ip), mac = text::SafeText(row.record.mac);
        if (row.findings & kAddressConflict) {
            Group& group = byAddress[ip];
            group.numbers.push_back(row.number);
            group.others.push_back(mac);
        }
        if (row.findings & kDuplicateMac) {
            Group& group = byMac[MacKey(row.record.mac)];
            if (group.numbers.empty())
                group.others.push_back(mac);
            group.numbers.push_back(row.number);
            group.others.push_back(ip);
        }
        if (row.findings & kSenderMismatch) {
            problems.push_back({ kSenderMismatch,
                Format(
                    { "Camera %1% reports %2% but answered from %3%: its web page will not open at %2%; "
                      "check the camera's address settings.",
                        "攝影機 %1% 回報 %2%，卻從 %3% 回應：無法在 %2% 開啟其網頁，請檢查攝影機的位址設定。",
                        "摄像机 %1% 报告 %2%，却从 %3% 回应：无法在 %2% "
                        "打开其网页，请检查摄像机的地址设置。" },
                    language, row.number, ip, FormatIpv4(row.sender.address)),
                { row.number } });
        }
        if ((row.findings & kOffNetwork) && network) {
            problems.push_back({ kOffNetwork,
                Format(
                    { "Camera %1% at %2% is outside this PC's network %3%/%4%: its web page cannot open from "
                      "this PC as configured; give the PC an address in the camera's network, or change the "
                      "camera's address.",
                        "攝影機 %1% 的位址 %2% 不在本機網路 %3%/%4% 內：以目前設定無法從本機開啟其網頁；"
                        "請讓本機取得攝影機網路中的位址，或變更攝影機的位址。",
                        "摄像机 %1% 的地址 %2% 不在本机网络 %3%/%4% 内：按当前设置无法从本机打开其网页；"
                        "请让本机获得摄像机网络中的地址，或更改摄像机的地址。" },
                    language, row.number, ip, FormatIpv4(network->address), network->PrefixLength()),
                { row.number } });
        }
    }
    for (auto& [ip, group] : byAddress) {
        problems.push_back({ kAddressConflict,
            Format(
                { "Address conflict: %1% is used by %2% (MAC %3%); give each camera an address of its own.",
                    "位址衝突：%1% 由 %2%使用（MAC %3%），請為每台攝影機設定各自的位址。",
                    "地址冲突：%1% 由 %2%使用（MAC %3%），请为每台摄像机设置各自的地址。" },
                language, ip, Count(language, static_cast<int>(group.numbers.size()), kCamera, kCameras),
                Join(group.others)),
            group.numbers });
    }
    for (auto& [key, group] : byMac) {
        const std::string mac = group.others.front();
        group.others.erase(group.others.begin());
        problems.push_back({ kDuplicateMac,
            Format({ "Same MAC under several addresses: %1% answers as %2%; two cameras share a MAC, or one "
                     "camera has several addresses.",
                       "同一 MAC 使用多個位址：%1% 以 %2% 回應；可能兩台攝影機的 MAC "
                       "相同，或一台攝影機有多個位址。",
                       "同一 MAC 使用多个地址：%1% 以 %2% 回应；可能两台摄像机的 MAC "
                       "相同，或一台摄像机有多个地址。" },
                language, mac, Join(group.others)),
            group.numbers });
    }
    return problems;
}

std::string ProblemCountText(int language, int cameras)
{
    return Format({ "; %1% with problems", "；%1%有問題", "；%1%有问题" }, language,
        Count(language, cameras, kCamera, kCameras));
}

} // namespace quill::discovery
