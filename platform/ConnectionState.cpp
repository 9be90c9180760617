#include "platform/ConnectionState.h"

void TConnectionState::SetConnectedState(quint32 newState, quint32 flags) {
    Q_UNUSED(flags); // forcing is the only way this program disconnects
    if (newState != INTERNET_STATE_CONNECTED && newState != INTERNET_STATE_DISCONNECTED_BY_USER)
        return;
    if (state.exchange(newState) != newState)
        emit Changed(Offline());
}
