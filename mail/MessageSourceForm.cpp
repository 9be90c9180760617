#include "mail/MessageSourceForm.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TfrmMessageSource::TfrmMessageSource(const QList<QByteArray>& lines, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Message Source"));
    resize(595, 473);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Memo = new QPlainTextEdit(this);
    Memo->setReadOnly(true);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setBackgroundRole(QPalette::Button);
    QStringList text;
    for (const QByteArray& line : lines)
        text << QString::fromUtf8(line); // 8-bit bytes that are not UTF-8 show as replacement marks
    Memo->setPlainText(text.join(QLatin1Char('\n')));
    layout->addWidget(Memo);
}
