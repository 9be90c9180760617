#include "mail/PropertyStream.h"

#include <QtEndian>

void TPropWriter::WriteName(const QByteArray& name) {
    Data.append(char(quint8(qMin<qsizetype>(name.size(), 255))));
    Data.append(name.left(255));
}

void TPropWriter::WriteInteger(qint32 value) {
    if (value >= -128 && value <= 127) {
        WriteTag(PropTag::Int8);
        Data.append(char(qint8(value)));
    } else if (value >= -32768 && value <= 32767) {
        WriteTag(PropTag::Int16);
        char buf[2];
        qToLittleEndian<qint16>(qint16(value), buf);
        Data.append(buf, 2);
    } else {
        WriteTag(PropTag::Int32);
        char buf[4];
        qToLittleEndian<qint32>(value, buf);
        Data.append(buf, 4);
    }
}

void TPropWriter::WriteString(const QByteArray& value) {
    if (value.size() <= 255) {
        WriteTag(PropTag::String);
        Data.append(char(quint8(value.size())));
    } else {
        WriteTag(PropTag::LString);
        char buf[4];
        qToLittleEndian<qint32>(qint32(value.size()), buf);
        Data.append(buf, 4);
    }
    Data.append(value);
}

void TPropWriter::WriteIdent(const QByteArray& value) {
    WriteTag(PropTag::Ident);
    WriteName(value);
}

void TPropReader::Fail(const QString& reason, qsizetype at) const {
    throw EReadError(QStringLiteral("%1 is damaged: %2 at byte %3").arg(what, reason).arg(at < 0 ? pos : at));
}

QByteArray TPropReader::ReadBytes(qsizetype count) {
    if (count < 0 || count > data.size() - pos)
        Fail(QStringLiteral("the data ends too early"));
    const QByteArray out = data.mid(pos, count);
    pos += count;
    return out;
}

unsigned char TPropReader::PeekTag() {
    if (AtEnd())
        Fail(QStringLiteral("the data ends too early"));
    return uchar(data[pos]);
}

unsigned char TPropReader::ReadTag() {
    const unsigned char tag = PeekTag();
    ++pos;
    return tag;
}

void TPropReader::ExpectTag(unsigned char tag, const char* meaning) {
    const qsizetype at = pos;
    if (ReadTag() != tag)
        Fail(QStringLiteral("expected %1").arg(QLatin1String(meaning)), at);
}

QByteArray TPropReader::ReadName() {
    const qsizetype length = uchar(ReadBytes(1)[0]);
    return ReadBytes(length);
}

qint32 TPropReader::ReadInteger() {
    const qsizetype at = pos;
    switch (ReadTag()) {
    case PropTag::Int8: return qint8(ReadBytes(1)[0]);
    case PropTag::Int16: return qFromLittleEndian<qint16>(ReadBytes(2).constData());
    case PropTag::Int32: return qFromLittleEndian<qint32>(ReadBytes(4).constData());
    default: Fail(QStringLiteral("expected an integer value"), at);
    }
}

QByteArray TPropReader::ReadString() {
    const qsizetype at = pos;
    switch (ReadTag()) {
    case PropTag::String: return ReadBytes(uchar(ReadBytes(1)[0]));
    case PropTag::LString: return ReadBytes(qFromLittleEndian<qint32>(ReadBytes(4).constData()));
    default: Fail(QStringLiteral("expected a string value"), at);
    }
}

QByteArray TPropReader::ReadIdent() {
    ExpectTag(PropTag::Ident, "an identifier value");
    return ReadName();
}

bool TPropReader::ReadBoolean() {
    const qsizetype at = pos;
    switch (ReadTag()) {
    case PropTag::False: return false;
    case PropTag::True: return true;
    default: Fail(QStringLiteral("expected a Boolean value"), at);
    }
}
