#include "browser/OfflineInterceptor.h"

#include "platform/ConnectionState.h"

TOfflineInterceptor::TOfflineInterceptor(const TConnectionState& s, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), state(s) {}

bool TOfflineInterceptor::IsNetworkScheme(const QString& scheme) {
    const QString s = scheme.toLower();
    return s == QLatin1String("http") || s == QLatin1String("https") || s == QLatin1String("ftp") ||
           s == QLatin1String("ws") || s == QLatin1String("wss");
}

void TOfflineInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (state.Offline() && IsNetworkScheme(info.requestUrl().scheme()))
        info.block(true);
}
