#include "platform/TaskbarButton.h"

#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <vector>

namespace {
xcb_connection_t* connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : XCB_ATOM_NONE;
    std::free(reply);
    return a;
}

std::vector<xcb_atom_t> currentStates(xcb_connection_t* c, xcb_window_t w, xcb_atom_t netWmState) {
    std::vector<xcb_atom_t> states;
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, netWmState, XCB_ATOM_ATOM, 0, 64), nullptr);
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        states.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return states;
}

void apply(QWidget* window) {
    xcb_connection_t* c = connection();
    if (!c || !window->windowHandle())
        return;
    const xcb_window_t w = xcb_window_t(window->winId());
    const xcb_atom_t netWmState = atom(c, "_NET_WM_STATE");
    const xcb_atom_t skip[] = {atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), atom(c, "_NET_WM_STATE_SKIP_PAGER")};

    // The property, for a window not yet mapped or a window manager that reads it.
    std::vector<xcb_atom_t> states = currentStates(c, w, netWmState);
    for (xcb_atom_t s : skip)
        if (std::find(states.begin(), states.end(), s) == states.end())
            states.push_back(s);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, netWmState, XCB_ATOM_ATOM, 32, uint32_t(states.size()), states.data());

    // The request, for a window manager that manages the window already.
    if (window->isVisible()) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = w;
        event.type = netWmState;
        event.data.data32[0] = 1; // add
        event.data.data32[1] = skip[0];
        event.data.data32[2] = skip[1];
        event.data.data32[3] = 1; // from an application
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
    }
    xcb_flush(c);
}

// Sets the state again each time the window is shown: window managers drop it on unmap.
class ShowWatcher : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            apply(static_cast<QWidget*>(watched));
        return false;
    }
};
} // namespace

void HideTaskbarButton(QWidget* window) {
    if (!connection())
        return;
    if (!window->property("quillmoorSkipTaskbar").toBool()) {
        window->setProperty("quillmoorSkipTaskbar", true);
        window->installEventFilter(new ShowWatcher(window));
    }
    window->winId(); // create the native window so the property can be set before mapping
    apply(window);
}

bool HasTaskbarButtonHidden(QWidget* window) {
    xcb_connection_t* c = connection();
    if (!c || !window->windowHandle())
        return false;
    const auto states = currentStates(c, xcb_window_t(window->winId()), atom(c, "_NET_WM_STATE"));
    return std::find(states.begin(), states.end(), atom(c, "_NET_WM_STATE_SKIP_TASKBAR")) != states.end();
}
