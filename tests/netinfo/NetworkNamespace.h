#pragma once

#include <string>

namespace quill::netinfo::test {

// A network namespace made with "ip netns add" for one test and deleted with
// it, whatever the test's outcome. Needs root.
class NetworkNamespace {
public:
    NetworkNamespace();
    ~NetworkNamespace();
    NetworkNamespace(const NetworkNamespace&) = delete;
    NetworkNamespace& operator=(const NetworkNamespace&) = delete;

    bool created() const { return m_created; }
    const std::string& name() const { return m_name; }

    // Runs "ip -n <name> <arguments>"; true when it succeeded.
    bool Ip(const std::string& arguments) const;

    // Runs a program inside the namespace and returns what it printed;
    // exitCode receives its exit status (124 when it ran out of time).
    std::string Exec(const std::string& commandLine, int& exitCode) const;

private:
    std::string m_name;
    bool m_created = false;
};

// Runs a shell command with a time limit; true when it exited with 0.
bool RunBounded(const std::string& command);

} // namespace quill::netinfo::test
