#pragma once
// The program's own "Internet Options" dialog: the start page, pop-ups, and clearing
// cookies, cached files and the browsing history.
#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QWebEngineProfile;
class TRegistry;

struct TInternetOptionsHost {
    TRegistry* Registry = nullptr;           // "Start Page" under ...\Internet Explorer\Main
    QWebEngineProfile* Profile = nullptr;    // cookies and cache
    std::function<QString()> CurrentPage;    // address of the active page
    std::function<bool()> PopupsAllowed;
    std::function<void(bool)> SetPopupsAllowed;
    std::function<void()> ClearHistory;      // the URL history and the tabs' travel logs
};

class TInternetOptionsDialog : public QDialog {
    Q_OBJECT
public:
    static const QString MainKey;     // "\Software\Microsoft\Internet Explorer\Main"
    static const QString StartPage;   // "Start Page"

    TInternetOptionsDialog(TInternetOptionsHost host, QWidget* parent);

    QLineEdit* edStartPage;
    QCheckBox* cbPopups;
    // Applies the start page and the pop-up switch (what OK does).
    void Apply();
    void DeleteCookies();
    void DeleteFiles();
    void DeleteHistory();

private:
    TInternetOptionsHost host;
};
