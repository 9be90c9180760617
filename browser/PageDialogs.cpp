#include "browser/PageDialogs.h"

#include "components/browser/EmbeddedWB.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeDatabase>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWebEngineFindTextResult>
#include <QWebEngineProfile>

namespace {
void showForm(QWidget* parent, const QString& caption, const QList<QPair<QString, QString>>& rows) {
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto* form = new QFormLayout(&dialog);
    for (const auto& [label, value] : rows) {
        auto* field = new QLabel(value, &dialog);
        field->setTextInteractionFlags(Qt::TextSelectableByMouse);
        field->setWordWrap(true);
        form->addRow(label, field);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    form->addRow(buttons);
    dialog.resize(460, dialog.sizeHint().height());
    dialog.exec();
}

QString sizeText(qint64 bytes) {
    return QStringLiteral("%1 (%2 bytes)").arg(QLocale().formattedDataSize(bytes), QLocale().toString(bytes));
}
} // namespace

void ShowFileProperties(QWidget* parent, const QString& path) {
    const QFileInfo info(path);
    QString attributes;
    if (!info.isWritable())
        attributes += QStringLiteral("Read-only ");
    if (info.isHidden())
        attributes += QStringLiteral("Hidden ");
    showForm(parent, info.fileName() + QStringLiteral(" Properties"),
             {{QStringLiteral("Name:"), info.fileName()},
              {QStringLiteral("Type:"), QMimeDatabase().mimeTypeForFile(info).comment()},
              {QStringLiteral("Location:"), QDir::toNativeSeparators(info.absolutePath())},
              {QStringLiteral("Size:"), sizeText(info.size())},
              {QStringLiteral("Created:"), QLocale().toString(info.birthTime().isValid() ? info.birthTime() : info.metadataChangeTime())},
              {QStringLiteral("Modified:"), QLocale().toString(info.lastModified())},
              {QStringLiteral("Accessed:"), QLocale().toString(info.lastRead())},
              {QStringLiteral("Attributes:"), attributes.trimmed().isEmpty() ? QStringLiteral("Normal") : attributes.trimmed()}});
}

void ShowPageProperties(QWidget* parent, TEmbeddedWB* browser) {
    const QUrl url(browser->LocationURL());
    const QVariant info = browser->EvaluateJavaScript(QStringLiteral(
        "[document.contentType || '', document.characterSet || '', document.lastModified || '',"
        " (document.documentElement ? document.documentElement.outerHTML.length : 0)]"));
    const QVariantList values = info.toList();
    auto value = [&](int i) { return i < values.size() ? values.at(i).toString() : QString(); };
    const QString scheme = url.scheme().toLower();
    const QString protocol = scheme == QLatin1String("https") ? QStringLiteral("HyperText Transfer Protocol with Privacy")
                             : scheme == QLatin1String("http") ? QStringLiteral("HyperText Transfer Protocol")
                                                               : scheme;
    showForm(parent, QStringLiteral("Properties"),
             {{QStringLiteral("Title:"), browser->DocumentTitle()},
              {QStringLiteral("Protocol:"), protocol},
              {QStringLiteral("Type:"), value(0)},
              {QStringLiteral("Encoding:"), value(1)},
              {QStringLiteral("Address (URL):"), url.toDisplayString()},
              {QStringLiteral("Size:"), sizeText(value(3).toLongLong())},
              {QStringLiteral("Modified:"), value(2)},
              {QStringLiteral("Connection:"), browser->SecurityLevel() == 6 ? QStringLiteral("Encrypted (TLS)")
                                                                            : QStringLiteral("Not encrypted")}});
}

namespace {
class TFindDialog : public QDialog {
public:
    TFindDialog(QWidget* parent, TEmbeddedWB* b) : QDialog(parent), browser(b) {
        setWindowTitle(QStringLiteral("Find"));
        setAttribute(Qt::WA_DeleteOnClose);
        auto* row = new QHBoxLayout(this);
        row->addWidget(new QLabel(QStringLiteral("Find what:"), this));
        row->addWidget(text = new QLineEdit(this), 1);
        row->addWidget(matchCase = new QCheckBox(QStringLiteral("Match case"), this));
        auto* next = new QPushButton(QStringLiteral("Find Next"), this);
        auto* previous = new QPushButton(QStringLiteral("Previous"), this);
        next->setDefault(true);
        row->addWidget(next);
        row->addWidget(previous);
        row->addWidget(status = new QLabel(this));
        connect(next, &QPushButton::clicked, this, [this] { find(false); });
        connect(previous, &QPushButton::clicked, this, [this] { find(true); });
        connect(browser, &QObject::destroyed, this, &QWidget::close);
        connect(browser->page(), &QWebEnginePage::findTextFinished, this, [this](const QWebEngineFindTextResult& r) {
            status->setText(r.numberOfMatches() == 0 ? QStringLiteral("Not found")
                                                     : QStringLiteral("%1 of %2").arg(r.activeMatch()).arg(r.numberOfMatches()));
        });
    }
    ~TFindDialog() override {
        if (browser)
            browser->page()->findText(QString()); // clears the marks
    }

private:
    void find(bool backward) {
        QWebEnginePage::FindFlags flags;
        if (backward)
            flags |= QWebEnginePage::FindBackward;
        if (matchCase->isChecked())
            flags |= QWebEnginePage::FindCaseSensitively;
        if (browser)
            browser->page()->findText(text->text(), flags);
    }
    QPointer<TEmbeddedWB> browser;
    QLineEdit* text;
    QCheckBox* matchCase;
    QLabel* status;
};
} // namespace

void ShowFindDialog(QWidget* parent, TEmbeddedWB* browser) {
    // One find dialog at a time, for the page it was opened on.
    for (QDialog* old : parent->findChildren<QDialog*>(QStringLiteral("FindDialog")))
        old->close();
    auto* dialog = new TFindDialog(parent, browser);
    dialog->setObjectName(QStringLiteral("FindDialog"));
    dialog->show();
    dialog->raise();
}

QString SavePage(TEmbeddedWB* browser, const QString& path, QWebEngineDownloadRequest::SavePageFormat format) {
    QWebEngineProfile* profile = browser->page()->profile();
    QPointer<QWebEngineDownloadRequest> request;
    QEventLoop loop;
    QString failure;
    auto started = QObject::connect(profile, &QWebEngineProfile::downloadRequested, &loop,
                                    [&](QWebEngineDownloadRequest* download) {
        if (!download->isSavePageDownload() || request)
            return;
        request = download;
        if (download->state() == QWebEngineDownloadRequest::DownloadRequested)
            download->accept();
        auto finish = [&, download] {
            if (download->state() == QWebEngineDownloadRequest::DownloadCompleted)
                loop.quit();
            else if (download->state() == QWebEngineDownloadRequest::DownloadInterrupted ||
                     download->state() == QWebEngineDownloadRequest::DownloadCancelled) {
                failure = QStringLiteral("EInOutError: ") + (download->interruptReasonString().isEmpty()
                                                                  ? QStringLiteral("the page could not be saved")
                                                                  : download->interruptReasonString());
                loop.quit();
            }
        };
        QObject::connect(download, &QWebEngineDownloadRequest::stateChanged, &loop, finish);
        finish();
    });
    const QFileInfo target(path);
    if (!target.absoluteDir().exists()) {
        QObject::disconnect(started);
        return QStringLiteral("EInOutError: the folder %1 does not exist").arg(QDir::toNativeSeparators(target.absolutePath()));
    }
    browser->page()->save(path, format);
    // A save the engine never starts must not hang the window.
    QTimer::singleShot(30000, &loop, [&] {
        if (!request) {
            failure = QStringLiteral("EInOutError: the engine did not start saving");
            loop.quit();
        }
    });
    loop.exec();
    QObject::disconnect(started);
    return failure;
}
