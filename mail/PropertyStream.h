#pragma once
// The binary property-stream encoding of "messages.dat" and "accounts.dat": one-byte value
// tags, little-endian integers, 1-byte-length property names.
#include "platform/Errors.h"

#include <QByteArray>
#include <QString>

// The stored data does not follow the format; the message says what and where.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

namespace PropTag {
enum : unsigned char {
    Null = 0x00, List = 0x01, Int8 = 0x02, Int16 = 0x03, Int32 = 0x04,
    String = 0x06, Ident = 0x07, False = 0x08, True = 0x09, LString = 0x0C, Collection = 0x0E,
};
}

class TPropWriter {
public:
    QByteArray Data;
    void WriteTag(unsigned char tag) { Data.append(char(tag)); }
    // A 1-byte-length name or class name, no tag.
    void WriteName(const QByteArray& name);
    void WriteInteger(qint32 value); // smallest tag that holds it
    void WriteString(const QByteArray& value); // 0x06 up to 255 bytes, 0x0C beyond
    void WriteIdent(const QByteArray& value);
    void WriteBoolean(bool value) { WriteTag(value ? PropTag::True : PropTag::False); }
};

class TPropReader {
public:
    TPropReader(QByteArray data, QString what) : data(std::move(data)), what(std::move(what)) {}
    bool AtEnd() const { return pos >= data.size(); }
    qsizetype Position() const { return pos; }
    unsigned char PeekTag();
    unsigned char ReadTag();
    void ExpectTag(unsigned char tag, const char* meaning);
    QByteArray ReadName();
    QByteArray ReadBytes(qsizetype count);
    // Value readers: each reads the tag and refuses a tag of the wrong kind.
    qint32 ReadInteger();
    QByteArray ReadString(); // 0x06 or 0x0C
    QByteArray ReadIdent();
    bool ReadBoolean();
    [[noreturn]] void Fail(const QString& reason, qsizetype at = -1) const;

private:
    QByteArray data;
    QString what;
    qsizetype pos = 0;
};
