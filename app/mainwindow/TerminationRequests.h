#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM and SIGINT (the session ending, Ctrl+C in a terminal) into a
// call on the UI thread, so that the program closes its main window and ends
// in order (pages, listener thread, last log file) instead of dying with its
// log file open. One instance at a time; the default handling returns when it
// goes.
class TerminationRequests : public QObject {
    Q_OBJECT
public:
    explicit TerminationRequests(std::function<void()> onRequest, QObject* parent = nullptr);
    ~TerminationRequests() override;

    TerminationRequests(const TerminationRequests&) = delete;
    TerminationRequests& operator=(const TerminationRequests&) = delete;

    // Whether the signals are being caught (false when setting up failed).
    bool IsActive() const { return m_notifier != nullptr; }

private:
    void OnSignalled();

    std::function<void()> m_onRequest;
    QSocketNotifier* m_notifier = nullptr;
};
