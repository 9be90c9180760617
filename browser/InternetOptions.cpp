#include "browser/InternetOptions.h"

#include "platform/Registry.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

const QString TInternetOptionsDialog::MainKey = QStringLiteral("\\Software\\Microsoft\\Internet Explorer\\Main");
const QString TInternetOptionsDialog::StartPage = QStringLiteral("Start Page");

TInternetOptionsDialog::TInternetOptionsDialog(TInternetOptionsHost h, QWidget* parent)
    : QDialog(parent), host(std::move(h)) {
    setWindowTitle(QStringLiteral("Internet Options"));
    auto* column = new QVBoxLayout(this);

    auto* home = new QGroupBox(QStringLiteral("Home page"), this);
    auto* homeColumn = new QVBoxLayout(home);
    edStartPage = new QLineEdit(home);
    homeColumn->addWidget(new QLabel(QStringLiteral("Address:"), home));
    homeColumn->addWidget(edStartPage);
    auto* homeButtons = new QHBoxLayout;
    auto* useCurrent = new QPushButton(QStringLiteral("Use Current"), home);
    auto* useBlank = new QPushButton(QStringLiteral("Use Blank"), home);
    homeButtons->addWidget(useCurrent);
    homeButtons->addWidget(useBlank);
    homeButtons->addStretch();
    homeColumn->addLayout(homeButtons);
    column->addWidget(home);

    auto* history = new QGroupBox(QStringLiteral("Browsing history"), this);
    auto* historyRow = new QHBoxLayout(history);
    auto* cookies = new QPushButton(QStringLiteral("Delete Cookies..."), history);
    auto* files = new QPushButton(QStringLiteral("Delete Files..."), history);
    auto* clearHistory = new QPushButton(QStringLiteral("Clear History"), history);
    historyRow->addWidget(cookies);
    historyRow->addWidget(files);
    historyRow->addWidget(clearHistory);
    column->addWidget(history);

    auto* popups = new QGroupBox(QStringLiteral("Pop-ups"), this);
    auto* popupsColumn = new QVBoxLayout(popups);
    cbPopups = new QCheckBox(QStringLiteral("Allow pages to open pop-up windows (as new tabs)"), popups);
    popupsColumn->addWidget(cbPopups);
    column->addWidget(popups);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    column->addWidget(buttons);

    if (host.Registry) {
        TRegistry reg = *host.Registry; // its own open key, leaving the shared one alone
        reg.SetRootKey(RootKey::HKEY_CURRENT_USER);
        if (reg.OpenKeyReadOnly(MainKey))
            edStartPage->setText(reg.ReadString(StartPage));
    }
    cbPopups->setChecked(host.PopupsAllowed && host.PopupsAllowed());

    connect(useCurrent, &QPushButton::clicked, this, [this] {
        if (host.CurrentPage)
            edStartPage->setText(host.CurrentPage());
    });
    connect(useBlank, &QPushButton::clicked, this, [this] { edStartPage->setText(QStringLiteral("about:blank")); });
    auto confirm = [this](const QString& text) {
        return QMessageBox::question(this, windowTitle(), text) == QMessageBox::Yes;
    };
    connect(cookies, &QPushButton::clicked, this, [this, confirm] {
        if (confirm(QStringLiteral("Delete all cookies?")))
            DeleteCookies();
    });
    connect(files, &QPushButton::clicked, this, [this, confirm] {
        if (confirm(QStringLiteral("Delete all temporary Internet files?")))
            DeleteFiles();
    });
    connect(clearHistory, &QPushButton::clicked, this, [this, confirm] {
        if (confirm(QStringLiteral("Delete the history of visited pages?")))
            DeleteHistory();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TInternetOptionsDialog::Apply() {
    if (host.Registry) {
        TRegistry reg = *host.Registry; // its own open key, leaving the shared one alone
        reg.SetRootKey(RootKey::HKEY_CURRENT_USER);
        if (reg.OpenKey(MainKey, true))
            reg.WriteString(StartPage, edStartPage->text().trimmed());
    }
    if (host.SetPopupsAllowed && host.PopupsAllowed && host.PopupsAllowed() != cbPopups->isChecked())
        host.SetPopupsAllowed(cbPopups->isChecked());
}

void TInternetOptionsDialog::DeleteCookies() {
    if (host.Profile)
        host.Profile->cookieStore()->deleteAllCookies();
}

void TInternetOptionsDialog::DeleteFiles() {
    if (host.Profile)
        host.Profile->clearHttpCache();
}

void TInternetOptionsDialog::DeleteHistory() {
    if (host.Profile)
        host.Profile->clearAllVisitedLinks();
    if (host.ClearHistory)
        host.ClearHistory();
}
