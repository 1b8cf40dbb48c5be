#include "IpconfigParser.h"

#include "IpconfigLabels.h"
#include "SplitAddress.h"
#include "TextConversion.h"

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace quill::netinfo {

namespace {

    // The values and flags carry over from one adapter block to the next:
    // only a made record clears the flags, and nothing clears the values.
    struct ParserState {
        std::string ipv4Address;
        std::string subnetMask;
        std::string defaultGateway;
        std::string dnsServer;
        std::bitset<kReportFieldCount> seen;
    };

    constexpr std::string_view kNoAddress = "0.0.0.0";
    constexpr std::string_view kNoPhysicalAddress = "00-00-00-00-00-00";
    constexpr std::size_t kPhysicalAddressLength = 17; // "00-1A-2B-3C-4D-5E"

    // Where a line's value starts: two bytes after its first ":". Lines
    // without a ":", with it in the first two bytes, or with nothing after
    // ": " but the last byte carry no value and are skipped entirely.
    std::optional<std::size_t> ValueStart(std::string_view line)
    {
        const std::size_t colon = line.find(':');
        const std::int32_t start = colon == std::string_view::npos ? 1 : static_cast<std::int32_t>(colon) + 2;
        if (start >= static_cast<std::int32_t>(line.size()) || start < 4)
            return std::nullopt;
        return static_cast<std::size_t>(start);
    }

    void TakeValue(ReportField field, std::string_view value, ParserState& state)
    {
        switch (field) {
        case ReportField::PhysicalAddress:
            if (value.size() == kPhysicalAddressLength && value != kNoPhysicalAddress)
                state.seen.set(static_cast<std::size_t>(field));
            break;
        case ReportField::Ipv4Address:
            // "192.168.1.20(Preferred)": the tail in parentheses goes.
            state.ipv4Address.assign(value.substr(0, value.find('(')));
            if (state.ipv4Address != kNoAddress)
                state.seen.set(static_cast<std::size_t>(field));
            break;
        case ReportField::SubnetMask:
            state.subnetMask.assign(value);
            state.seen.set(static_cast<std::size_t>(field));
            break;
        case ReportField::DefaultGateway:
            state.defaultGateway.assign(value);
            state.seen.set(static_cast<std::size_t>(field));
            break;
        case ReportField::DnsServers:
            state.dnsServer.assign(value);
            state.seen.set(static_cast<std::size_t>(field));
            break;
        }
    }

    void MakeRecord(const ParserState& state, AdapterTable& table)
    {
        // The report's values are shown in the UI as UTF-8: whatever is not
        // well formed (a stray code page 950 byte, say) is dropped here.
        const std::string address = text::FilterUtf8(state.ipv4Address);
        if (!SplitAddress(table, address))
            return;
        AdapterInfo& slot = table.slots[static_cast<std::size_t>(table.count)];
        slot.subnetMask = text::FilterUtf8(state.subnetMask);
        slot.defaultGateway = text::FilterUtf8(state.defaultGateway);
        slot.dnsServer = text::FilterUtf8(state.dnsServer);
        ++table.count;
    }

} // namespace

void ParseIpconfigReport(AdapterTable& table, ReportStream& report)
{
    ParserState state;
    std::string line;
    while (report.NextLine(line)) {
        const std::optional<std::size_t> valueStart = ValueStart(line);
        if (!valueStart)
            continue;
        const std::string_view lineView = line;
        if (const std::optional<ReportField> field = FindReportLabel(lineView)) {
            // The value runs up to the line's last byte, normally the newline.
            TakeValue(*field, lineView.substr(*valueStart, lineView.size() - *valueStart - 1), state);
        }
        if (state.seen.all()) {
            MakeRecord(state, table);
            state.seen.reset();
        }
    }
}

bool ParseIpconfig(AdapterTable& table, const ReportOpener& openReport)
{
    const std::unique_ptr<ReportStream> report = openReport ? openReport() : nullptr;
    if (!report)
        return false;
    ParseIpconfigReport(table, *report);
    return true;
}

bool ParseIpconfig(AdapterTable& table)
{
    return ParseIpconfig(table, &OpenIpconfigReport);
}

AdapterCollector MakeIpconfigCollector(ReportOpener openReport)
{
    return [openReport = std::move(openReport)](
               AdapterTable& table) { return ParseIpconfig(table, openReport); };
}

} // namespace quill::netinfo
