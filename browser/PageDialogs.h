#pragma once
// The dialogs behind the page commands.
#include <QString>
#include <QWebEngineDownloadRequest>

class QWidget;
class TEmbeddedWB;

// A file's properties: name, type, folder, size, dates, attributes.
void ShowFileProperties(QWidget* parent, const QString& path);
// A page's properties: title, address, protocol, type, security, size of its text.
void ShowPageProperties(QWidget* parent, TEmbeddedWB* browser);
// The find bar of a page: find next/previous, match case; one per browser.
void ShowFindDialog(QWidget* parent, TEmbeddedWB* browser);
// Saves the page and waits for the engine to finish. Returns "" on success, otherwise
// the failure as "<kind>: <message>".
QString SavePage(TEmbeddedWB* browser, const QString& path, QWebEngineDownloadRequest::SavePageFormat format);
