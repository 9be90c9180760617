#pragma once
// TToolLauncher: the tools hosted in tabs of the main window (mail, FTP, RSS reader,
// website grabber, file manager, URL history). Each is open at most once; while its tab
// exists its launch controls (toolbar buttons, menu and tab-menu entries) are disabled,
// and the tab's close button enables them again. A closed tool tab leaves its window
// alive, off screen, until the program ends (a grab or a transfer goes on).
//
// How to add a tool:
//   1. Write the tool window as a plain QWidget subclass that takes what it needs in its
//      constructor (settings, ExeDir, the tab set for OpenInNewTab, ...); see
//      TToolServices below for what the main window can hand over.
//   2. In app/Tools.cpp, in RegisterTools, give the tool's entry a factory:
//          launcher.SetFactory(QStringLiteral("RSS Reader"),
//              [&s](QWidget* parent) { return new TfrmReader(s.Registry, parent); });
//      and add your UI library to quillmoor_app_ui's LIBS in app/CMakeLists.txt.
//   3. Nothing else: the entry's caption, image and launch controls are in the table in
//      Tools.cpp. Without a factory the launch controls stay visible and disabled.
//   A tool that must not be closed now (the grabber while it grabs) ignores its
//   closeEvent: the main window asks every tool window before it closes and stays open
//   when one refuses.
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QAction;
class QIniFile;
class QWidget;
class TIniFile;
class TRegistry;
class TTabSet;
class TUrlHistory;

// What tool windows may be given.
struct TToolServices {
    TRegistry& Registry;
    TIniFile& Ini;        // "Mail.ini"
    QString ExeDir;       // no trailing separator
    TTabSet& Tabs;        // ActiveBrowser, OpenInNewTab
    TUrlHistory& History; // the visited addresses
};

class TToolLauncher : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<QWidget*(QWidget* parent)>;
    struct Tool {
        QString Name;          // key, e.g. "FTP"
        QString Caption;       // tab caption when opened
        int Image = 0;         // index into the toolbar image list
        QString SwitchCaption; // caption after every tab switch ("" = keep)
        QList<QAction*> LaunchControls;
        Factory Create;
        QPointer<QWidget> Tab; // while the tab is shown
        QList<QPointer<QWidget>> Forms; // every window made, closed tabs included
    };

    explicit TToolLauncher(TTabSet& tabs, QObject* parent = nullptr);

    // Declares a tool with its launch controls; they stay disabled until SetFactory.
    void Add(const QString& name, const QString& caption, int image, QList<QAction*> launchControls,
             const QString& switchCaption = {});
    void SetFactory(const QString& name, Factory factory);

    // Opens the tool in a new tab; returns its window, or null when the tool is open
    // already or not built.
    QWidget* Launch(const QString& name);
    bool IsOpen(const QString& name) const;
    const Tool* Find(const QString& name) const;
    QStringList Names() const { return order; }

    // True when every tool window accepts being closed (their closeEvent is asked).
    bool CanCloseAll() const;

signals:
    void Launched(const QString& name, QWidget* form);

private:
    void enable(Tool& tool, bool on);
    TTabSet& tabs;
    QHash<QString, Tool> tools;
    QStringList order;
};
