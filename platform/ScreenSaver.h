#pragma once
// Starts the desktop's screen saver now: the desktop's own command where there is one
// (xdg-screensaver), else the X server's built-in screen saver. False when neither works.
bool StartScreenSaver();
