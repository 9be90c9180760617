#pragma once
// Keeps a top-level window off the taskbar and the pager: on X11 the window carries
// _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER, set before it is mapped and
// asked of the window manager again once it is shown. Elsewhere it does nothing.
class QWidget;

void HideTaskbarButton(QWidget* window);

// True when the X11 window of this widget carries _NET_WM_STATE_SKIP_TASKBAR.
bool HasTaskbarButtonHidden(QWidget* window);
