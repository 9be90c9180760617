#pragma once
// Turns the raw bytes of a feed into text: byte-order mark, then the XML declaration's
// encoding (any encoding the system's converters know), then UTF-8, with Windows-1252
// as the fallback for undeclared or wrongly declared non-UTF-8 bytes.
#include <QByteArray>
#include <QString>

// The decoded document with its XML declaration removed (the text is no longer bytes in
// the declared encoding, so the declaration would mislead the XML reader).
QString DecodeFeedDocument(const QByteArray& data);

// The text of an HTML named entity that XML does not predefine ("hellip" -> "…"); an
// empty string for unknown names.
QString HtmlEntityText(const QString& name);
