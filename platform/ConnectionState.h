#pragma once
// The program's Internet connection state (the "Offline Mode" switch). While the state
// is disconnected by the user the browser engine makes no network request; local files
// still load.
#include <QObject>
#include <atomic>

class TConnectionState : public QObject {
    Q_OBJECT
public:
    static constexpr quint32 INTERNET_STATE_CONNECTED = 1;
    static constexpr quint32 INTERNET_STATE_DISCONNECTED_BY_USER = 0x10;
    static constexpr quint32 ISO_FORCE_DISCONNECTED = 1;

    explicit TConnectionState(QObject* parent = nullptr) : QObject(parent) {}

    // As INTERNET_OPTION_CONNECTED_STATE: the state and its flags.
    void SetConnectedState(quint32 state, quint32 flags);
    quint32 State() const { return state.load(); }
    // Readable from any thread.
    bool Offline() const { return state.load() == INTERNET_STATE_DISCONNECTED_BY_USER; }

signals:
    void Changed(bool offline);

private:
    std::atomic<quint32> state{INTERNET_STATE_CONNECTED};
};
