#pragma once
// The raw source of a stored message, read-only.
#include <QByteArray>
#include <QDialog>
#include <QList>

class QPlainTextEdit;

class TfrmMessageSource : public QDialog {
    Q_OBJECT
public:
    TfrmMessageSource(const QList<QByteArray>& lines, QWidget* parent = nullptr);
    QPlainTextEdit* Memo;
};
