#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <filesystem>
#include <map>
#include <thread>

namespace quill::test {

// One DNS server as resolved lists it: (iay) on a link, (iiay) on the manager.
template <bool WithIndex> struct ResolvedServer {
    int index = 0;
    const char* address = ""; // IPv4 or IPv6 text
};
template <bool W> QDBusArgument& operator<<(QDBusArgument& out, const ResolvedServer<W>& server)
{
    const int family
        = std::string_view(server.address).find(':') == std::string_view::npos ? AF_INET : AF_INET6;
    QByteArray bytes(family == AF_INET ? 4 : 16, '\0');
    ::inet_pton(family, server.address, bytes.data());
    out.beginStructure();
    if constexpr (W)
        out << server.index;
    out << family << bytes;
    out.endStructure();
    return out;
}
template <bool W> const QDBusArgument& operator>>(const QDBusArgument& in, ResolvedServer<W>&)
{
    return in;
}

// Stands in for systemd-resolved, on a private bus of the test's own
// dbus-daemon: Manager.GetLink and the DNS properties of the manager and of
// the links it knows.
class ResolvedStandIn : public QDBusVirtualObject {
public:
    std::map<int, QList<ResolvedServer<false>>> links;
    QList<ResolvedServer<true>> managerServers;
    std::string address;

    // False when no bus can be started here.
    bool Start(const std::filesystem::path& socket, bool takeName = true)
    {
        qDBusRegisterMetaType<ResolvedServer<false>>();
        qDBusRegisterMetaType<ResolvedServer<true>>();
        qDBusRegisterMetaType<QList<ResolvedServer<false>>>();
        qDBusRegisterMetaType<QList<ResolvedServer<true>>>();
        m_daemon.start("dbus-daemon",
            { "--session", "--nofork", "--print-address",
                "--address=unix:path=" + QString::fromStdString(socket.string()) });
        if (!m_daemon.waitForReadyRead(5000))
            return false;
        address = m_daemon.readLine().trimmed().toStdString();
        m_bus = QDBusConnection::connectToBus(QString::fromStdString(address), "stand-in");
        return m_bus.registerVirtualObject("/org/freedesktop/resolve1", this, QDBusConnection::SubPath)
            && (!takeName || m_bus.registerService("org.freedesktop.resolve1"));
    }
    ~ResolvedStandIn() override
    {
        m_bus.unregisterObject("/org/freedesktop/resolve1", QDBusConnection::UnregisterTree);
        QDBusConnection::disconnectFromBus("stand-in");
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override
    {
        const bool getLink = call.member() == "GetLink";
        const int index = getLink ? call.arguments().value(0).toInt() : call.path().section('/', -1).toInt();
        QVariant answer = QVariant::fromValue(QDBusVariant(QVariant::fromValue(managerServers)));
        if (call.path().endsWith("/link/" + QString::number(index)) || getLink) {
            if (!links.contains(index))
                return bus.send(call.createErrorReply("org.freedesktop.resolve1.NoSuchLink", {}));
            answer = getLink
                ? QVariant::fromValue(QDBusObjectPath(call.path() + "/link/" + QString::number(index)))
                : QVariant::fromValue(QDBusVariant(QVariant::fromValue(links.at(index))));
        }
        return bus.send(call.createReply(answer));
    }

private:
    QProcess m_daemon;
    QDBusConnection m_bus { QString() };
};

// Runs work on a thread of its own while this thread serves the stand-in.
template <typename Work> void RunAside(Work work)
{
    std::atomic<bool> done { false };
    std::thread aside([&] {
        work();
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 20000));
    aside.join();
}

} // namespace quill::test
