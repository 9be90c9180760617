// The account page ("Setup") and the "AuthType" key of "Mail.ini".
#include "mail/main.h"

#include "platform/IniFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

QWidget* TMainForm::buildAccountPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* toolbar = new QToolBar(page);
    QAction* ok = toolbar->addAction(QStringLiteral("OK"));
    QAction* cancel = toolbar->addAction(QStringLiteral("Cancel"));
    layout->addWidget(toolbar);
    AccountPages = new QTabWidget(page);
    layout->addWidget(AccountPages, 1);
    auto edit = [page](bool password = false) {
        auto* e = new QLineEdit(page);
        if (password)
            e->setEchoMode(QLineEdit::Password);
        return e;
    };

    auto* general = new QWidget(AccountPages);
    auto* g = new QFormLayout(general);
    edtName = edit();
    edtEMail = edit();
    cboAuthType = new QComboBox(general);
    cboAuthType->addItems({QStringLiteral("Simple Login"), QStringLiteral("None"), QString()});
    g->addRow(QStringLiteral("Name"), edtName);
    g->addRow(QStringLiteral("E-Mail"), edtEMail);
    g->addRow(QStringLiteral("Type:"), cboAuthType);
    g->addRow(QString(), new QLabel(QStringLiteral("If you are not sure, pick \"Simple Login\""), general));
    AccountPages->addTab(general, QStringLiteral("General"));

    auto* servers = new QWidget(AccountPages);
    auto* s = new QFormLayout(servers);
    edtPOP3Server = edit();
    edtPOP3User = edit();
    edtPOP3Password = edit(true);
    cbPOP3SPA = new QCheckBox(QStringLiteral("Log on using Secure Password Authentication"), servers);
    edtSMTPServer = edit();
    edtSMTPUser = edit();
    edtSMTPPassword = edit(true);
    cbSMTPSPA = new QCheckBox(QStringLiteral("Log on using Secure Password Authentication"), servers);
    s->addRow(new QLabel(QStringLiteral("Incoming Mail (POP3)"), servers));
    s->addRow(QStringLiteral("Server"), edtPOP3Server);
    s->addRow(QStringLiteral("User"), edtPOP3User);
    s->addRow(QStringLiteral("Password"), edtPOP3Password);
    s->addRow(cbPOP3SPA);
    s->addRow(new QLabel(QStringLiteral("Outgoing Mail (SMTP)"), servers));
    s->addRow(QStringLiteral("Server"), edtSMTPServer);
    s->addRow(QStringLiteral("User"), edtSMTPUser);
    s->addRow(QStringLiteral("Password"), edtSMTPPassword);
    s->addRow(cbSMTPSPA);
    auto* showContent = new QCheckBox(QStringLiteral("Show content in browserwindow"), servers);
    showContent->setChecked(true);
    s->addRow(showContent);
    AccountPages->addTab(servers, QStringLiteral("Servers"));

    auto* advanced = new QWidget(AccountPages);
    auto* a = new QFormLayout(advanced);
    edtPOP3Port = edit();
    edtPOP3Port->setText(QStringLiteral("110"));
    cbPOP3UseSSL = new QCheckBox(QStringLiteral("Use a secured connection (SSL)"), advanced);
    edtSMTPPort = edit();
    edtSMTPPort->setText(QStringLiteral("25"));
    cbSMTPUseSSL = new QCheckBox(QStringLiteral("Use a secured connection (SSL)"), advanced);
    cbLeaveMessage = new QCheckBox(QStringLiteral("Leave a copy of messages on server"), advanced);
    cbSendImmediately = new QCheckBox(QStringLiteral("Send Messages Immediately"), advanced);
    edtTimeOut = edit();
    edtTimeOut->setText(QStringLiteral("0"));
    a->addRow(new QLabel(QStringLiteral("Incoming Mail (POP3)"), advanced));
    a->addRow(QStringLiteral("Port"), edtPOP3Port);
    a->addRow(cbPOP3UseSSL);
    a->addRow(new QLabel(QStringLiteral("Outgoing Mail (SMTP)"), advanced));
    a->addRow(QStringLiteral("Port"), edtSMTPPort);
    a->addRow(cbSMTPUseSSL);
    a->addRow(cbLeaveMessage);
    a->addRow(cbSendImmediately);
    a->addRow(QStringLiteral("TimeOut"), edtTimeOut);
    AccountPages->addTab(advanced, QStringLiteral("Advanced"));

    connect(AccountPages, &QTabWidget::tabBarClicked, this, [this] {
        StoreAccounts(Accounts);
    });
    connect(ok, &QAction::triggered, this, &TMainForm::AccountOkClick);
    connect(cancel, &QAction::triggered, this, [this] { PageControl1->setCurrentIndex(0); });
    return page;
}

void TMainForm::ShowAccounts(const TclMailAccounts& account) {
    edtName->setText(account.Name);
    edtEMail->setText(account.EMail);
    edtPOP3Server->setText(account.POP3Server);
    edtPOP3User->setText(account.POP3User);
    edtPOP3Password->setText(account.POP3Password);
    edtSMTPServer->setText(account.SMTPServer);
    edtSMTPUser->setText(account.SMTPUser);
    edtSMTPPassword->setText(account.SMTPPassword);
    cbPOP3SPA->setChecked(account.POP3SPA);
    cbSMTPSPA->setChecked(account.SMTPSPA);
    edtPOP3Port->setText(QString::number(account.POP3Port));
    edtSMTPPort->setText(QString::number(account.SMTPPort));
    cbPOP3UseSSL->setChecked(account.POP3UseSSL);
    cbSMTPUseSSL->setChecked(account.SMTPUseSSL);
    cbLeaveMessage->setChecked(account.LeaveMessage);
    cbSendImmediately->setChecked(account.SendImmediately);
    const TIniFile ini(data->IniFileName);
    const QString auth = ini.ReadString(QStringLiteral("Smtp"), QStringLiteral("AuthType"), QStringLiteral("0"));
    cboAuthType->setCurrentIndex(auth.isEmpty() ? -1 : cboAuthType->findText(auth));
}

void TMainForm::StoreAccounts(TclMailAccounts& account) {
    const TclMailAccounts before = account;
    account.Name = edtName->text();
    account.EMail = edtEMail->text();
    account.POP3Server = edtPOP3Server->text();
    account.POP3User = edtPOP3User->text();
    account.POP3Password = edtPOP3Password->text();
    account.SMTPServer = edtSMTPServer->text();
    account.SMTPUser = edtSMTPUser->text();
    account.SMTPPassword = edtSMTPPassword->text();
    account.POP3SPA = cbPOP3SPA->isChecked();
    account.SMTPSPA = cbSMTPSPA->isChecked();
    bool ok = false;
    const int pop3 = edtPOP3Port->text().trimmed().toInt(&ok);
    account.POP3Port = ok ? pop3 : 110;
    const int smtp = edtSMTPPort->text().trimmed().toInt(&ok);
    account.SMTPPort = ok ? smtp : 25;
    account.POP3UseSSL = cbPOP3UseSSL->isChecked();
    account.SMTPUseSSL = cbSMTPUseSSL->isChecked();
    account.LeaveMessage = cbLeaveMessage->isChecked();
    account.SendImmediately = cbSendImmediately->isChecked();
    TIniFile ini(data->IniFileName);
    ini.WriteString(QStringLiteral("Smtp"), QStringLiteral("AuthType"), cboAuthType->currentText());
    // The account is written when it changes, not only when the window goes.
    if (&account == &Accounts && !(before == account))
        SaveAccounts();
}

void TMainForm::AccountOkClick() {
    try {
        StoreAccounts(Accounts);
    } catch (const std::exception& e) {
        reportError(e);
        return;
    }
    const int sub = AccountPages->currentIndex();
    if (sub < 2)
        AccountPages->setCurrentIndex(sub + 1);
    else
        PageControl1->setCurrentIndex(0);
}
