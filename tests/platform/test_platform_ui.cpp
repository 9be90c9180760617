// Window-side platform services: URL zones, the general error report, sound playback.
#include "platform/ErrorReport.h"
#include "platform/Errors.h"
#include "platform/Sound.h"
#include "platform/UrlZones.h"

#include <QPushButton>
#include <QTest>

class TestPlatformUi : public QObject {
    Q_OBJECT
private slots:
    void zones_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<int>("zone");
        QTest::newRow("file") << "file:///tmp/a.html" << int(UrlZone::LocalMachine);
        QTest::newRow("blank") << "about:blank" << int(UrlZone::LocalMachine);
        QTest::newRow("loopback") << "http://127.0.0.1:8080/" << int(UrlZone::Intranet);
        QTest::newRow("private") << "http://192.168.1.4/" << int(UrlZone::Intranet);
        QTest::newRow("single label") << "http://intranet/" << int(UrlZone::Intranet);
        QTest::newRow("public address") << "http://8.8.8.8/" << int(UrlZone::Internet);
        QTest::newRow("site") << "https://www.example.org/" << int(UrlZone::Internet);
        QTest::newRow("lookalike") << "http://192.168.example.org/" << int(UrlZone::Internet);
    }
    void zones() {
        QFETCH(QString, url);
        QFETCH(int, zone);
        QCOMPARE(int(ZoneOfUrl(QUrl(url))), zone);
        const ZoneAttributes a = ZoneAttributesOf(UrlZone(zone));
        QVERIFY(!a.DisplayName.isEmpty());
        QVERIFY(!a.Icon.pixmap(16, 16).isNull());
    }

    // A handler's exception is reported and the dispatch goes on.
    void errorReportCatchesHandlerFailures() {
        QStringList reported;
        TApplication::SetReporter([&](const QString& m) { reported << m; });
        QPushButton button;
        int clicks = 0;
        connect(&button, &QPushButton::clicked, [&] {
            ++clicks;
            throw EComponentError(118, QStringLiteral("Firewall Error"));
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(reported, (QStringList{QStringLiteral("118: Firewall Error"), QStringLiteral("118: Firewall Error")}));
        TApplication::SetReporter({});
    }

    void missingSoundIsSilent() {
        QVERIFY(!PlaySoundFile(QStringLiteral("c:\\windows\\media\\Windows Pop-up Blocked.wav")));
        QVERIFY(!PlaySoundFile(QString()));
    }
};

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    TestPlatformUi test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_platform_ui.moc"
