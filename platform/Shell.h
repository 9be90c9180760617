#pragma once
// The shell's "open" action and its special folders.
#include <QString>

// Opens a document, folder or address with the program the desktop associates with it
// (the shell's "open" verb). Returns false when nothing could open it.
bool ShellOpen(const QString& target);

enum class SpecialFolder { Desktop, Documents, Music, Pictures, Downloads, Temp, Home, AppData, Fonts };
// The folder's path without a trailing separator; "" when the system has none.
QString SpecialFolderPath(SpecialFolder folder);
