#pragma once
// Refuses every network request of the browser engine while the connection state is
// offline; local files, data and the engine's own pages still load.
#include <QWebEngineUrlRequestInterceptor>

class TConnectionState;

class TOfflineInterceptor : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    TOfflineInterceptor(const TConnectionState& state, QObject* parent = nullptr);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    static bool IsNetworkScheme(const QString& scheme);

private:
    const TConnectionState& state;
};
