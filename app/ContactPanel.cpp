#include "app/ContactPanel.h"

#include <QLabel>
#include <QVBoxLayout>

TContactPanel::TContactPanel(QWidget* parent) : TFloatingPanel(QStringLiteral("Hello"), parent) {
    setObjectName(QStringLiteral("Panel14"));
    auto* text = new QLabel(Body());
    text->setTextFormat(Qt::RichText);
    text->setOpenExternalLinks(true);
    text->setWordWrap(true);
    text->setText(QStringLiteral(
        "<p><b>Thank you for using Quillmoor.</b></p>"
        "<p>We would like to hear from you: comments, wishes and reports of problems are all welcome. "
        "Please tell us what you did, what you expected and what happened.</p>"
        "<p>Mail: <a href=\"mailto:feedback@quillmoor.example\">feedback@quillmoor.example</a></p>"
        "<p>Post: Quillmoor, 12 Harbour Lane, Port Ellis, PE1 2QM</p>"));
    auto* layout = qobject_cast<QVBoxLayout*>(Body()->layout());
    if (!layout)
        layout = new QVBoxLayout(Body());
    layout->addWidget(text);
    resize(360, 230);
    hide();
}
