#pragma once
// Where the program keeps its files.
#include <QString>

class TRegistry;

// The program's own folder for "Mail.ini", the mail store, "Screen", skins and help
// texts: exeFolder when the user can write to it (portable use and the build tree),
// otherwise the per-user data folder. Created if missing; no trailing separator.
QString ExeDirFor(const QString& exeFolder);
// ExeDirFor the folder of the running executable.
QString ComputeExeDir();

// The per-user data folder (created if missing), no trailing separator.
QString UserDataFolder();

// A shell folder ("Favorites", "Cookies", "History"): the path registered under
// HKEY_CURRENT_USER "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders",
// or, when none is registered, a folder of that name in the per-user data folder, which
// is then registered. The folder is created on first use.
QString ShellFolder(TRegistry& registry, const QString& name);
