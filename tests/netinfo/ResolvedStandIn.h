#pragma once

#include <QProcess>
#include <QTest>
#include <QtDBus>

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <cstring>
#include <thread>

namespace quill::test {

// One DNS server as resolved lists it: (iay) on a link, (iiay) on the manager.
template <bool WithIndex> struct ResolvedServer {
    int index = 0;
    const char* address = ""; // IPv4 or IPv6 text

    friend QDBusArgument& operator<<(QDBusArgument& out, const ResolvedServer& server)
    {
        const int family = std::strchr(server.address, ':') == nullptr ? AF_INET : AF_INET6;
        QByteArray bytes(family == AF_INET ? 4 : 16, '\0');
        ::inet_pton(family, server.address, bytes.data());
        out.beginStructure();
        if constexpr (WithIndex)
            out << server.index;
        out << family << bytes;
        out.endStructure();
        return out;
    }
    friend const QDBusArgument& operator>>(const QDBusArgument& in, ResolvedServer&) { return in; }
};

// Stands in for systemd-resolved on a private bus of the test's own
// dbus-daemon: Manager.GetLink and the DNS properties of the manager and of
// the links it knows. Without its name on the bus, resolved does not run.
class ResolvedStandIn : public QDBusVirtualObject {
public:
    QMap<int, QList<ResolvedServer<false>>> links;
    QList<ResolvedServer<true>> managerServers;
    std::string address;

    // False when no bus can be started here.
    bool Start(const std::string& socket, bool takeName = true)
    {
        qDBusRegisterMetaType<ResolvedServer<false>>(), qDBusRegisterMetaType<QList<ResolvedServer<false>>>();
        qDBusRegisterMetaType<ResolvedServer<true>>(), qDBusRegisterMetaType<QList<ResolvedServer<true>>>();
        const QString listen = "--address=unix:path=" + QString::fromStdString(socket);
        m_daemon.start("dbus-daemon", { "--session", "--nofork", "--print-address", listen });
        if (!m_daemon.waitForReadyRead(5000))
            return false;
        address = m_daemon.readLine().trimmed().toStdString();
        m_bus = QDBusConnection::connectToBus(QString::fromStdString(address), "stand-in");
        return m_bus.registerVirtualObject(m_path, this, QDBusConnection::SubPath)
            && (!takeName || m_bus.registerService("org.freedesktop.resolve1"));
    }
    ~ResolvedStandIn() override
    {
        m_bus.unregisterObject(m_path, QDBusConnection::UnregisterTree);
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
        if (getLink && !links.contains(index))
            return bus.send(call.createErrorReply("org.freedesktop.resolve1.NoSuchLink", {}));
        if (getLink)
            answer = QVariant::fromValue(QDBusObjectPath(m_path + "/link/" + QString::number(index)));
        else if (call.path() != m_path)
            answer = QVariant::fromValue(QDBusVariant(QVariant::fromValue(links.value(index))));
        return bus.send(call.createReply(answer));
    }

private:
    const QString m_path = "/org/freedesktop/resolve1";
    QProcess m_daemon;
    QDBusConnection m_bus { QString() };
};

// Runs work on a thread of its own while this thread serves the stand-in.
template <typename Work> void RunAside(Work work)
{
    std::atomic<bool> done { false };
    std::thread aside([&] { work(), done = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 20000));
    aside.join();
}

} // namespace quill::test
