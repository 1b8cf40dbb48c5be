#include "TestNetwork.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

namespace quill::test {

namespace {

    std::atomic<int> g_hostCounter { 0 };

    void Run(const std::string& command)
    {
        if (const int status = RunCommand(command); status != 0)
            throw std::runtime_error("command failed (" + std::to_string(status) + "): " + command);
    }

} // namespace

int RunCommand(const std::string& command)
{
    const int status = std::system(command.c_str());
    return status == -1 || !WIFEXITED(status) ? -1 : WEXITSTATUS(status);
}

std::string TestNetwork::UnavailableReason()
{
    if (::geteuid() != 0)
        return "creating network namespaces needs root";
    return RunCommand("ip -V >/dev/null 2>&1") == 0 ? std::string() : "the ip command (iproute2) is missing";
}

TestNetwork::TestNetwork() = default;

TestNetwork::~TestNetwork()
{
    // Deleting a namespace removes its veth ends, and with them the peers.
    for (const auto& host : m_hosts)
        RunCommand("ip netns del " + host + " >/dev/null 2>&1");
}

std::string TestNetwork::addHost(const std::string& prefix)
{
    const std::string name
        = "qs" + prefix + std::to_string(::getpid()) + "x" + std::to_string(g_hostCounter++);
    Run("ip netns add " + name);
    m_hosts.push_back(name);
    ip(name, "link set lo up");
    return name;
}

std::pair<std::string, std::string> TestNetwork::link(const std::string& hostA, const std::string& hostB)
{
    const std::string a = "qva" + std::to_string(m_interfaceCount),
                      b = "qvb" + std::to_string(m_interfaceCount++);
    Run("ip -n " + hostA + " link add " + a + " type veth peer name " + b + " netns " + hostB);
    ip(hostA, "link set " + a + " up");
    ip(hostB, "link set " + b + " up");
    return { a, b };
}

void TestNetwork::addAddress(
    const std::string& host, const std::string& interfaceName, const std::string& cidr)
{
    ip(host, "addr add " + cidr + " dev " + interfaceName);
}

void TestNetwork::ip(const std::string& host, const std::string& arguments)
{
    Run("ip -n " + host + " " + arguments);
}

void TestNetwork::enter(const std::string& host)
{
    const std::string path = "/run/netns/" + host;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool entered = fd >= 0 && ::setns(fd, CLONE_NEWNET) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!entered)
        throw std::runtime_error("cannot enter " + path);
}

} // namespace quill::test
