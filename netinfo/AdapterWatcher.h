#pragma once

#include "AdapterChangeSocket.h"
#include "AdapterRows.h"

#include <QObject>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

class QSocketNotifier;
class QTimer;

namespace quill::netinfo {

// Follows the PC's adapters while the program runs: on the kernel's word that
// a link, an IPv4 address or a route changed, it reads the adapters again
// with the given collectors and tells them when they differ from the last
// reading. The reading runs on a thread of its own (the DNS server's lookup
// over D-Bus can take a second); a burst of messages gives one reading, and
// messages during a reading one more after it.
class AdapterWatcher : public QObject {
    Q_OBJECT

public:
    // How long the first message of a burst waits for the rest.
    static constexpr std::chrono::milliseconds kSettle { 150 };

    explicit AdapterWatcher(AdapterCollectors collectors, QObject* parent = nullptr);
    // Waits for a reading in progress to end.
    ~AdapterWatcher() override;

    // Starts listening, known being the adapters the caller has already;
    // false when the kernel's messages cannot be had (then nothing is ever told).
    bool Start(const std::vector<AdapterRow>& known);
    // Reads the table again now, as after a change.
    void Refresh();

Q_SIGNALS:
    void AdaptersChanged(const std::vector<quill::netinfo::AdapterRow>& adapters);
    // From the reading thread, delivered queued: the table waits in m_read.
    void ReadingWaiting();

private:
    void OnChangeMessages();
    void DeliverReading();
    void ReadWhenAsked();

    AdapterCollectors m_collectors;
    AdapterChangeSocket m_socket;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_settle = nullptr;
    std::vector<AdapterRow> m_known;

    // Between this object's thread and the reading thread, under our own lock.
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_readWanted = false;
    bool m_stopping = false;
    bool m_deliveryQueued = false;
    std::optional<std::vector<AdapterRow>> m_read;
    std::thread m_reader;
};

} // namespace quill::netinfo

Q_DECLARE_METATYPE(std::vector<quill::netinfo::AdapterRow>)
