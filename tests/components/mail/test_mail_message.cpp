// The mail-message component over real messages from other projects' parser tests.
#include "components/mail/MailMessage.h"
#include "platform/Files.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QTest>

namespace {
QList<QByteArray> linesOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = f.readAll().split('\n');
    for (QByteArray& l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    return lines;
}
QString corpus(const char* name) { return QStringLiteral(QUILLMOOR_CORPUS_DIR "/mail/") + QLatin1String(name); }

struct Seen {
    QStringList names, images, texts;
};
void walk(const std::vector<TclMessageBody>& bodies, Seen& seen) {
    for (const TclMessageBody& b : bodies) {
        if (b.Kind == TclBodyKind::Multipart)
            walk(b.Parts, seen);
        else if (b.Kind == TclBodyKind::Attachment)
            seen.names << b.FileName;
        else if (b.Kind == TclBodyKind::Image)
            seen.images << b.FileName + QLatin1Char('|') + b.ContentId;
        else
            seen.texts << b.ContentType;
    }
}
} // namespace

class TestMailMessage : public QObject {
    Q_OBJECT
private slots:
    void wholeCorpusParsesWithSafeNames() {
        QDirIterator it(QStringLiteral(QUILLMOOR_CORPUS_DIR "/mail"), QDir::Files, QDirIterator::Subdirectories);
        int files = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.endsWith(QLatin1String("README.md")))
                continue;
            ++files;
            TclMailMessage m;
            int written = 0;
            m.OnGetBodyStream = [&](const TclMessageBody&, const QString& name) -> std::unique_ptr<QIODevice> {
                if (!IsPlainFileName(name))
                    qWarning("unsafe name %s in %s", qPrintable(name), qPrintable(path));
                ++written;
                return std::make_unique<QBuffer>();
            };
            m.ParseLines(linesOf(path));
            Seen seen;
            walk(m.Bodies(), seen);
            for (const QString& name : seen.names)
                QVERIFY2(IsPlainFileName(name), qPrintable(path + QStringLiteral(": ") + name));
            QCOMPARE(written, int(seen.names.size() + seen.images.size()));
        }
        QVERIFY(files >= 40);
    }

    void headersAndBodies_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("lastText");
        QTest::addColumn<QString>("attachment");
        QTest::newRow("ISO-8859-1 subject, alternative + attachment")
            << corpus("php-mime-mail-parser/m0001") << QStringLiteral("Mail avec fichier attach\u00e9 de 1ko") << "text/html"
            << "attach01";
        QTest::newRow("windows-1250 subject") << corpus("php-mime-mail-parser/issue212")
                                              << QStringLiteral("Automatyczna odpowied\u017a: Piotrze, test z 6 miesi\u0119cy nauki ci\u0105gle na Ciebie czeka")
                                              << QString() << QString();
        QTest::newRow("path traversal in a name") << corpus("php-mime-mail-parser/m0027") << QString() << QString()
                                                  << "1234.txt";
        QTest::newRow("RFC 2231 file name") << corpus("php-mime-mail-parser/issue274.eml") << QString() << QString()
                                            << QStringLiteral("Cours-Tutoriels-Serge-Tah\u00e9-1568x268.png");
        QTest::newRow("encoded name with a newline") << corpus("php-mime-mail-parser/issue250") << QString() << QString()
                                                     << QStringLiteral("Kontoutskrift for 1506.14.90466Bedriftskonto.pdf");
    }
    void headersAndBodies() {
        QFETCH(QString, file);
        QFETCH(QString, subject);
        QFETCH(QString, lastText);
        QFETCH(QString, attachment);
        TclMailMessage m;
        m.ParseLines(linesOf(file));
        if (!subject.isEmpty())
            QCOMPARE(m.Subject(), subject);
        Seen seen;
        walk(m.Bodies(), seen);
        if (!lastText.isEmpty())
            QCOMPARE(seen.texts.last(), lastText);
        if (!attachment.isEmpty())
            QVERIFY2(seen.names.contains(attachment), qPrintable(seen.names.join(QLatin1Char(','))));
    }

    void inlineImagesCarryTheirContentId() {
        TclMailMessage m;
        m.ParseLines(linesOf(corpus("php-mime-mail-parser/m0129")));
        Seen seen;
        walk(m.Bodies(), seen);
        QCOMPARE(seen.images.size(), 1);
        QVERIFY(!seen.images[0].endsWith(QLatin1Char('|')));
    }

    void buildKeepsBodiesAndTakesNewHeader() {
        TclMailMessage m;
        m.ParseLines(linesOf(corpus("php-mime-mail-parser/m0001")));
        m.SetSubject(QStringLiteral("Neu: \u00fcber"));
        m.SetTo({QStringLiteral("A <a@example.org>")});
        m.SetBcc({});
        m.SetPriority(TclMessagePriority::mpHigh);
        const QList<QByteArray> built = m.BuildSource();
        TclMailMessage again;
        again.ParseLines(built);
        QCOMPARE(again.Subject(), QStringLiteral("Neu: \u00fcber"));
        QCOMPARE(again.To(), QStringList{QStringLiteral("A <a@example.org>")});
        QCOMPARE(again.Priority(), TclMessagePriority::mpHigh);
        Seen a, b;
        walk(m.Bodies(), a);
        walk(again.Bodies(), b);
        QCOMPARE(b.names, a.names);
        QCOMPARE(b.texts, a.texts);

        TclMailMessage empty;
        empty.SetFrom(QStringLiteral("Me <me@example.org>"));
        empty.SetSubject(QStringLiteral("draft"));
        TclMailMessage parsed;
        parsed.ParseLines(empty.BuildSource());
        QCOMPARE(parsed.From(), QStringLiteral("Me <me@example.org>"));
        QVERIFY(parsed.Date().isValid());
    }

    void addressHelpers() {
        QCOMPARE(TclMailMessage::SplitAddresses(QStringLiteral("a@x.org; \"Doe, J\" <j@x.org>, ")),
                 (QStringList{QStringLiteral("a@x.org"), QStringLiteral("\"Doe, J\" <j@x.org>")}));
        QCOMPARE(TclMailMessage::AddressOf(QStringLiteral("\"Doe, J\" <j@x.org>")), QStringLiteral("j@x.org"));
        QCOMPARE(TclMailMessage::FormatAddress(QStringLiteral("Doe, J"), QStringLiteral("j@x.org")),
                 QStringLiteral("\"Doe, J\" <j@x.org>"));
    }
};

QTEST_GUILESS_MAIN(TestMailMessage)
#include "test_mail_message.moc"
