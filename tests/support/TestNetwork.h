#pragma once

#include <string>
#include <vector>

namespace quill::test {

// Test hosts for tests that cross a network: network namespaces joined by veth
// pairs, with addresses from 198.18.0.0/15 (reserved for such test networks).
// Needs root; everything it creates is removed when the object goes.
class TestNetwork {
public:
    TestNetwork();
    ~TestNetwork();
    TestNetwork(const TestNetwork&) = delete;
    TestNetwork& operator=(const TestNetwork&) = delete;

    // Why tests that need namespaces cannot run here, or empty when they can.
    static std::string UnavailableReason();

    // A namespace whose name starts with the given prefix, with loopback up.
    std::string addHost(const std::string& prefix);
    // A veth pair between two namespaces; returns its two interface names.
    std::pair<std::string, std::string> link(const std::string& hostA, const std::string& hostB);
    // Adds an IPv4 address with prefix ("198.18.0.1/24") to an interface of a host.
    void addAddress(const std::string& host, const std::string& interfaceName, const std::string& cidr);
    // Runs an `ip` command inside a host; throws std::runtime_error when it fails.
    void ip(const std::string& host, const std::string& arguments);

    // Moves the calling thread (and threads it starts later) into a host's namespace.
    void enter(const std::string& host);
    // The command prefix that runs a program inside a host.
    static std::string execPrefix(const std::string& host) { return "ip netns exec " + host + " "; }

private:
    std::vector<std::string> m_hosts;
    int m_interfaceCount = 0;
};

// Runs a shell command; returns its exit status (-1 when it could not run).
int RunCommand(const std::string& command);

} // namespace quill::test
