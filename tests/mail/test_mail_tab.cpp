// The mail window opened from the main window: "Emal" and the tab menu's "Email" open it
// in a tab, are disabled while it is open, and a window opened again keeps the store.
#include "app/MainMenu.h"
#include "app/Unit1.h"
#include "browser/TabSet.h"
#include "components/urlhistory/UrlHistory.h"
#include "mail/main.h"
#include "platform/Registry.h"

#include <QAction>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

class TestMailTab : public QObject {
    Q_OBJECT
private slots:
    void opensInATabAndKeepsTheStore() {
        QTemporaryDir dir;
        qputenv("TMPDIR", QFile::encodeName(dir.path()));
        TRegistry registry(dir.filePath(QStringLiteral("registry")));
        TUrlHistory history(dir.filePath(QStringLiteral("History.json")));
        TfrmQuillmoor w(registry, history, dir.path());
        w.FormCreate();
        w.show();
        auto* button = w.findChild<QAction*>(QStringLiteral("EmailBtn"));
        QAction* tabEntry = w.Menu->Action(QStringLiteral("Tab"), QStringLiteral("Email"));
        QVERIFY(button && tabEntry);
        QCOMPARE(button->text(), QStringLiteral("Emal"));
        QVERIFY(button->isEnabled() && tabEntry->isEnabled());
        QTabWidget* pages = w.Tabs->PageControl;
        const int before = pages->count();

        button->trigger();
        QCOMPARE(pages->count(), before + 1);
        QCOMPARE(pages->tabText(pages->currentIndex()), QStringLiteral("E-mail"));
        auto* mail = pages->currentWidget()->findChild<TMainForm*>();
        if (!mail)
            mail = qobject_cast<TMainForm*>(pages->currentWidget());
        QVERIFY(mail);
        QVERIFY(!button->isEnabled() && !tabEntry->isEnabled());
        mail->Messages.Add()->SetStatus(msInbox);

        w.Tabs->CloseButtonClicked(pages->currentIndex());
        QCOMPARE(pages->count(), before);
        QVERIFY(button->isEnabled() && tabEntry->isEnabled());

        tabEntry->trigger(); // a new window on the same data: the unsaved record is there
        auto* again = pages->currentWidget()->findChild<TMainForm*>();
        if (!again)
            again = qobject_cast<TMainForm*>(pages->currentWidget());
        QVERIFY(again && again != mail);
        QCOMPARE(again->tvFolders->topLevelItem(0)->text(0), QStringLiteral("Inbox (1)"));
        w.ConfirmExit = [] { return int(QMessageBox::Yes); };
        w.close();
    }
};

QTEST_MAIN(TestMailTab)
#include "test_mail_tab.moc"
