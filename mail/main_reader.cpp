// The reader page: showing a stored message, its bodies and attachments.
#include "mail/main.h"

#include "components/browser/EmbeddedWB.h"
#include "platform/Files.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

QWidget* TMainForm::buildReaderPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* header = new QFormLayout;
    edtFrom = new QLineEdit(page);
    edtTo = new QLineEdit(page);
    edtCc = new QLineEdit(page);
    edtBcc = new QLineEdit(page);
    edtSubject = new QLineEdit(page);
    lvAttach = new QListWidget(page);
    lvAttach->setMaximumHeight(48);
    lvAttach->setFlow(QListView::LeftToRight);
    cmbPriority = new QComboBox(page);
    cmbPriority->addItems({QStringLiteral("Low"), QStringLiteral("Normal"), QStringLiteral("High")});
    cbEmail = new QComboBox(page);
    cbEmail->addItems({QStringLiteral("Other Email System"), QStringLiteral("Yahoo Mail"), QStringLiteral("Gmail"),
                       QStringLiteral("Hot Mail")});
    header->addRow(QStringLiteral("From"), edtFrom);
    header->addRow(QStringLiteral("To:"), edtTo);
    header->addRow(QStringLiteral("Cc:"), edtCc);
    header->addRow(QStringLiteral("Bcc:"), edtBcc);
    header->addRow(QStringLiteral("Subject"), edtSubject);
    header->addRow(QStringLiteral("Attach"), lvAttach);
    header->addRow(QStringLiteral("Priority"), cmbPriority);
    header->addRow(QString(), cbEmail);
    layout->addLayout(header);
    wbBody = new TEmbeddedWB(page);
    layout->addWidget(wbBody, 1);

    lvAttach->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lvAttach, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        QListWidgetItem* row = lvAttach->currentItem();
        QAction* insert = menu.addAction(QStringLiteral("Insert File Attachment"));
        QAction* remove = menu.addAction(QStringLiteral("Delete File Attachment"));
        QAction* save = menu.addAction(QStringLiteral("Save File Attachment"));
        insert->setEnabled(false); // editing attachments belongs to the composer
        remove->setEnabled(false);
        save->setEnabled(ReadOnlyView && row);
        if (menu.exec(lvAttach->viewport()->mapToGlobal(at)) == save)
            SaveAttachment(row, false);
    });
    connect(lvAttach, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* row) { SaveAttachment(row, true); });
    connect(cbEmail, &QComboBox::activated, this, &TMainForm::cbEmailChange);

    MessageParser->OnGetBodyStream = [this](const TclMessageBody& body, const QString& fileName) -> std::unique_ptr<QIODevice> {
        const QString inFolder = GetMessageTempDir() + fileName;
        if (!ReadOnlyView)
            return std::make_unique<QFile>(inFolder);
        if (!SaveAttachmentName.isEmpty() && SaveAttachmentName == fileName) {
            SaveAttachmentName.clear();
            const QString path = QFileDialog::getSaveFileName(this, QString(), fileName);
            if (path.isEmpty())
                return nullptr;
            LastAttachmentName = path;
            return std::make_unique<QFile>(path);
        }
        if (body.Kind == TclBodyKind::Image)
            return std::make_unique<QFile>(inFolder);
        return nullptr;
    };
    return page;
}

void TMainForm::ApplyReadOnlyState() {
    for (QLineEdit* field : {edtFrom, edtSubject, edtTo, edtCc, edtBcc}) {
        field->setReadOnly(ReadOnlyView);
        field->setBackgroundRole(ReadOnlyView ? QPalette::Button : QPalette::Base);
    }
    cmbPriority->setEnabled(!ReadOnlyView);
}

bool TMainForm::ShowMessage(TclMailMessageItem* record) {
    ReadOnlyView = record->Status() != msDraft;
    DisplayMessage(record);
    if (!ReadOnlyView)
        StoreMessageHeader(record);
    record->SetMarkedAsRead(true);
    return true;
}

bool TMainForm::NewMessage(TclMailMessageItem* record, const QString& sender) {
    ReadOnlyView = record->Status() != msDraft;
    DisplayMessage(record);
    edtFrom->setText(sender);
    if (!ReadOnlyView)
        StoreMessageHeader(record);
    record->SetMarkedAsRead(true);
    return true;
}

namespace {
void collect(const std::vector<TclMessageBody>& bodies, QStringList& text, bool& html, QList<const TclMessageBody*>& images,
             QStringList& attachments) {
    for (const TclMessageBody& body : bodies) {
        switch (body.Kind) {
        case TclBodyKind::Multipart: collect(body.Parts, text, html, images, attachments); break;
        case TclBodyKind::Text:
            text = body.Lines; // the last text body wins
            html = body.ContentType == QLatin1String("text/html");
            break;
        case TclBodyKind::Attachment: attachments << body.FileName; break;
        case TclBodyKind::Image: images << &body; break;
        }
    }
}
} // namespace

void TMainForm::DisplayMessage(TclMailMessageItem* record) {
    CurrentLines = record->MailMessage();
    MessageParser->ParseLines(CurrentLines);
    edtSubject->setText(MessageParser->Subject());
    edtFrom->setText(MessageParser->From());
    edtTo->setText(MessageParser->To().join(QStringLiteral(", ")));
    edtCc->setText(MessageParser->Cc().join(QStringLiteral(", ")));
    edtBcc->setText(MessageParser->Bcc().join(QStringLiteral(", ")));
    cmbPriority->setCurrentIndex(int(MessageParser->Priority()));
    lvAttach->clear();
    QStringList text, attachments;
    bool html = false;
    QList<const TclMessageBody*> images;
    collect(MessageParser->Bodies(), text, html, images, attachments);
    for (const QString& name : attachments)
        new QListWidgetItem(style()->standardIcon(QStyle::SP_FileIcon), name, lvAttach);
    QString working = text.join(QLatin1Char('\n'));
    // Plain text is shown as text, never run as markup.
    if (!html)
        working = QStringLiteral("<pre>") + working.toHtmlEscaped() + QStringLiteral("</pre>");
    for (const TclMessageBody* image : images)
        if (!image->ContentId.isEmpty())
            working.replace(QStringLiteral("cid:") + image->ContentId, image->FileName, Qt::CaseInsensitive);
    const QString page = GetMessageTempDir() + QStringLiteral("htmlbody.htm");
    // The text is decoded already; the byte-order mark makes the browser read it as UTF-8.
    SaveFileAtomically(page, "\xEF\xBB\xBF" + working.toUtf8());
    wbBody->Navigate(QUrl::fromLocalFile(page).toString());
    btnReply->setEnabled(false);
}

void TMainForm::StoreMessageHeader(TclMailMessageItem* record) {
    QCoreApplication::processEvents();
    MessageParser->SetSubject(edtSubject->text());
    MessageParser->SetFrom(edtFrom->text());
    MessageParser->SetTo(TclMailMessage::SplitAddresses(edtTo->text()));
    MessageParser->SetCc(TclMailMessage::SplitAddresses(edtCc->text()));
    MessageParser->SetBcc(TclMailMessage::SplitAddresses(edtBcc->text()));
    MessageParser->SetPriority(TclMessagePriority(qBound(0, cmbPriority->currentIndex(), 2)));
    record->SetMailMessage(MessageParser->BuildSource());
}

void TMainForm::SaveAttachment(QListWidgetItem* row, bool open) {
    if (!row)
        return;
    SaveAttachmentName = row->text();
    LastAttachmentName.clear();
    try {
        MessageParser->ParseLines(CurrentLines);
    } catch (const std::exception& e) {
        reportError(e);
    }
    SaveAttachmentName.clear();
    if (open && !LastAttachmentName.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(LastAttachmentName));
}

void TMainForm::cbEmailChange(int index) {
    switch (index) {
    case 0:
        wbBody->GoHome();
        StatusBar1->showMessage(QStringLiteral("Have a nice day !"));
        break;
    case 1:
        wbBody->Navigate(QStringLiteral("https://login.yahoo.com/?done=https%3A%2F%2Fmail.yahoo.com%2F"));
        StatusBar1->showMessage(QStringLiteral("Connecting to Yahoo email system..."));
        break;
    case 2:
        wbBody->Navigate(QStringLiteral("https://accounts.google.com/ServiceLogin?service=mail"));
        StatusBar1->showMessage(QStringLiteral("Connecting to Gmail system..."));
        break;
    case 3:
        wbBody->Navigate(QStringLiteral("https://login.live.com/login.srf?wa=wsignin1.0&wreply=https%3A%2F%2Foutlook.live.com%2Fmail%2F"));
        StatusBar1->showMessage(QStringLiteral("Connecting to HotMail system..."));
        break;
    }
}

void TMainForm::btnPrintClick() {
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setPageMargins(QMarginsF(0.75, 0.75, 0.75, 0.75), QPageLayout::Inch);
    QPrintDialog dialog(printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        delete printer;
        return;
    }
    connect(wbBody, &QWebEngineView::printFinished, this, [printer](bool) { delete printer; }, Qt::SingleShotConnection);
    wbBody->print(printer);
}
