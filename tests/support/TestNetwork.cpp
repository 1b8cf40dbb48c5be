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

void Check(int status, const std::string& command)
{
    if (status != 0)
        throw std::runtime_error("command failed (" + std::to_string(status) + "): " + command);
}

} // namespace

int RunCommand(const std::string& command)
{
    const int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::string TestNetwork::UnavailableReason()
{
    if (::geteuid() != 0)
        return "creating network namespaces needs root";
    if (RunCommand("ip -V >/dev/null 2>&1") != 0)
        return "the ip command (iproute2) is missing";
    return {};
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
        = "qs" + prefix + std::to_string(::getpid()) + "x" + std::to_string(g_hostCounter.fetch_add(1));
    Check(RunCommand("ip netns add " + name), "ip netns add " + name);
    m_hosts.push_back(name);
    ip(name, "link set lo up");
    return name;
}

std::pair<std::string, std::string> TestNetwork::link(const std::string& hostA, const std::string& hostB)
{
    const int number = m_interfaceCount++;
    const std::string a = "qva" + std::to_string(number);
    const std::string b = "qvb" + std::to_string(number);
    const std::string create = "ip -n " + hostA + " link add " + a + " type veth peer name " + b + " netns " + hostB;
    Check(RunCommand(create), create);
    ip(hostA, "link set " + a + " up");
    ip(hostB, "link set " + b + " up");
    return { a, b };
}

void TestNetwork::addAddress(const std::string& host, const std::string& interfaceName, const std::string& cidr)
{
    ip(host, "addr add " + cidr + " dev " + interfaceName);
}

void TestNetwork::ip(const std::string& host, const std::string& arguments)
{
    const std::string command = "ip -n " + host + " " + arguments;
    Check(RunCommand(command), command);
}

void TestNetwork::enter(const std::string& host)
{
    const std::string path = "/run/netns/" + host;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path);
    const int result = ::setns(fd, CLONE_NEWNET);
    ::close(fd);
    if (result != 0)
        throw std::runtime_error("cannot enter " + path);
}

std::string TestNetwork::execPrefix(const std::string& host) const
{
    return "ip netns exec " + host + " ";
}

} // namespace quill::test
