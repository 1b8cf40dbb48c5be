#include "SearchChoice.h"

#include <boost/algorithm/string/join.hpp>

#include <algorithm>

namespace quill::cli {

namespace {

    using discovery::Ipv4Octets;

    const netinfo::AdapterRow* DefaultAdapter(const std::vector<netinfo::AdapterRow>& adapters)
    {
        for (const auto better : { &netinfo::AdapterRow::defaultRoute, &netinfo::AdapterRow::searchable }) {
            const auto found = std::find_if(adapters.begin(), adapters.end(),
                [&](const netinfo::AdapterRow& row) { return row.*better; });
            if (found != adapters.end())
                return &*found;
        }
        return adapters.empty() ? nullptr : &adapters.front();
    }

    const netinfo::AdapterRow* AdapterOnNetwork(
        const std::vector<netinfo::AdapterRow>& adapters, const Ipv4Octets& address)
    {
        const auto found
            = std::find_if(adapters.begin(), adapters.end(), [&](const netinfo::AdapterRow& row) {
                  return discovery::NetworkOf(row.address) == discovery::NetworkOf(address);
              });
        return found == adapters.end() ? nullptr : &*found;
    }

    std::string AdapterNames(const std::vector<netinfo::AdapterRow>& adapters)
    {
        std::vector<std::string> names;
        for (const netinfo::AdapterRow& row : adapters)
            names.push_back(row.name);
        return names.empty() ? "none with IPv4" : boost::algorithm::join(names, ", ");
    }

} // namespace

std::variant<SearchChoice, std::string> ChooseSearch(
    const Invocation& invocation, const std::vector<netinfo::AdapterRow>& adapters)
{
    SearchChoice choice;
    discovery::SearchTarget& plan = choice.target;
    const netinfo::AdapterRow* adapter = nullptr;
    if (invocation.range) {
        auto range = discovery::ParseRange(*invocation.range);
        if (const auto* reason = std::get_if<std::string>(&range))
            return "--range " + *reason;
        plan.range = std::get<discovery::DiscoveryRange>(range);
        adapter = AdapterOnNetwork(adapters, plan.range.begin);
    } else {
        if (invocation.adapter) {
            const auto named = std::find_if(adapters.begin(), adapters.end(),
                [&](const netinfo::AdapterRow& row) { return row.name == *invocation.adapter; });
            if (named == adapters.end())
                return "--adapter: no adapter \"" + *invocation.adapter
                    + "\" with IPv4 (adapters: " + AdapterNames(adapters) + ")";
            adapter = &*named;
        } else {
            adapter = DefaultAdapter(adapters);
            if (!adapter)
                return "no adapter with an IPv4 address to search from; give --range";
        }
        plan.range = discovery::NetworkOf(adapter->address);
    }
    if (adapter) {
        plan.adapterLabel = discovery::FormatIpv4(adapter->address);
        plan.adapterAddress = adapter->address;
        plan.adapterMask = discovery::ParseIpv4(adapter->mask);
        plan.adapterInterface = adapter->name;
    }
    if (invocation.waitSeconds)
        choice.wait = std::chrono::milliseconds(static_cast<long long>(*invocation.waitSeconds * 1000));
    if (adapter)
        choice.adapter = *adapter;
    return choice;
}

} // namespace quill::cli
