// GLib's headers use "signals" as a name, so they come before any Qt header.
#include <gmime/gmime.h>

#include "components/mail/MailMessage.h"

#include "platform/Files.h"

#include <QTimeZone>
#include <QUuid>
#include <mutex>

namespace {
void initGMime() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

QString utf8(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

QStringList addressList(InternetAddressList* list) {
    QStringList out;
    if (!list)
        return out;
    for (int i = 0; i < internet_address_list_length(list); ++i) {
        InternetAddress* ia = internet_address_list_get_address(list, i);
        if (INTERNET_ADDRESS_IS_GROUP(ia)) {
            out << addressList(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(ia)));
            continue;
        }
        char* text = internet_address_to_string(ia, nullptr, FALSE);
        out << utf8(text);
        g_free(text);
    }
    return out;
}

TclMessagePriority priorityOf(GMimeObject* message) {
    const QByteArray x = QByteArray(g_mime_object_get_header(message, "X-Priority")).trimmed();
    if (!x.isEmpty()) {
        if (x.startsWith('1') || x.startsWith('2'))
            return TclMessagePriority::mpHigh;
        if (x.startsWith('4') || x.startsWith('5'))
            return TclMessagePriority::mpLow;
        return TclMessagePriority::mpNormal;
    }
    const QByteArray importance = QByteArray(g_mime_object_get_header(message, "Importance")).trimmed().toLower();
    if (importance == "high")
        return TclMessagePriority::mpHigh;
    if (importance == "low")
        return TclMessagePriority::mpLow;
    return TclMessagePriority::mpNormal;
}

QString extensionFor(GMimeContentType* type) {
    const QByteArray sub = QByteArray(g_mime_content_type_get_media_subtype(type)).toLower();
    if (sub == "jpeg")
        return QStringLiteral(".jpg");
    if (sub.isEmpty() || sub == "octet-stream" || sub.contains('+') || sub.size() > 8)
        return QStringLiteral(".dat");
    return QLatin1Char('.') + QString::fromLatin1(sub);
}

struct Walker {
    const TclMailMessage::GetBodyStream& callback;
    int counter = 0;

    void writeBody(GMimePart* part, const TclMessageBody& body) {
        if (!callback)
            return;
        std::unique_ptr<QIODevice> device = callback(body, body.FileName);
        if (!device)
            return;
        QByteArray data;
        if (GMimeDataWrapper* content = g_mime_part_get_content(part)) {
            GMimeStream* mem = g_mime_stream_mem_new();
            g_mime_data_wrapper_write_to_stream(content, mem);
            GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(mem));
            data = QByteArray(reinterpret_cast<const char*>(bytes->data), qsizetype(bytes->len));
            g_object_unref(mem);
        }
        if (!device->isOpen() && !device->open(QIODevice::WriteOnly))
            throw EMailMessageError(QStringLiteral("Cannot write \"%1\": %2").arg(body.FileName, device->errorString()));
        if (device->write(data) != data.size())
            throw EMailMessageError(QStringLiteral("Cannot write \"%1\": %2").arg(body.FileName, device->errorString()));
        device->close();
    }

    TclMessageBody walk(GMimeObject* object) {
        TclMessageBody body;
        ++counter;
        GMimeContentType* type = g_mime_object_get_content_type(object);
        char* mime = type ? g_mime_content_type_get_mime_type(type) : nullptr;
        body.ContentType = mime ? QString::fromUtf8(mime).toLower() : QStringLiteral("text/plain");
        g_free(mime);
        if (GMIME_IS_MULTIPART(object)) {
            body.Kind = TclBodyKind::Multipart;
            GMimeMultipart* multi = GMIME_MULTIPART(object);
            for (int i = 0; i < g_mime_multipart_get_count(multi); ++i)
                body.Parts.push_back(walk(g_mime_multipart_get_part(multi, i)));
            return body;
        }
        const bool isAttachment = QByteArray(g_mime_object_get_disposition(object)).toLower() == "attachment";
        if (GMIME_IS_MESSAGE_PART(object)) {
            // An attached message: written out whole as its own .eml file.
            body.Kind = TclBodyKind::Attachment;
            body.FileName = QStringLiteral("message%1.eml").arg(counter);
            if (callback) {
                if (std::unique_ptr<QIODevice> device = callback(body, body.FileName)) {
                    GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
                    char* text = inner ? g_mime_object_to_string(GMIME_OBJECT(inner), nullptr) : nullptr;
                    const QByteArray data(text ? text : "");
                    g_free(text);
                    if ((!device->isOpen() && !device->open(QIODevice::WriteOnly)) || device->write(data) != data.size())
                        throw EMailMessageError(QStringLiteral("Cannot write \"%1\": %2").arg(body.FileName, device->errorString()));
                }
            }
            return body;
        }
        if (!GMIME_IS_PART(object))
            return body;
        GMimePart* part = GMIME_PART(object);
        body.ContentId = utf8(g_mime_part_get_content_id(part));
        if (GMIME_IS_TEXT_PART(object) && !isAttachment) {
            body.Kind = TclBodyKind::Text;
            char* text = g_mime_text_part_get_text(GMIME_TEXT_PART(object));
            QString decoded = utf8(text);
            g_free(text);
            decoded.remove(QLatin1Char('\r'));
            body.Lines = decoded.split(QLatin1Char('\n'));
            if (!body.Lines.isEmpty() && body.Lines.last().isEmpty())
                body.Lines.removeLast();
            return body;
        }
        const bool image = body.ContentType.startsWith(QLatin1String("image/")) && (!body.ContentId.isEmpty() || !isAttachment);
        body.Kind = image ? TclBodyKind::Image : TclBodyKind::Attachment;
        // Names from the message never leave the folder they are written into.
        body.FileName = SafeBaseName(utf8(g_mime_part_get_filename(part)));
        if (body.FileName.isEmpty())
            body.FileName = QStringLiteral("%1%2%3").arg(image ? QStringLiteral("image") : QStringLiteral("attachment"))
                                .arg(counter).arg(extensionFor(type));
        writeBody(part, body);
        return body;
    }
};
} // namespace

struct TclMailMessage::Impl {
    GMimeMessage* message = nullptr;
    void reset(GMimeMessage* next = nullptr) {
        if (message)
            g_object_unref(message);
        message = next;
    }
    ~Impl() { reset(); }
};

TclMailMessage::TclMailMessage() : d(std::make_unique<Impl>()) { initGMime(); }
TclMailMessage::~TclMailMessage() = default;

void TclMailMessage::Clear() {
    d->reset();
    from.clear();
    subject.clear();
    date = QDateTime();
    priority = TclMessagePriority::mpNormal;
    to.clear();
    cc.clear();
    bcc.clear();
    bodies.clear();
}

void TclMailMessage::ParseLines(const QList<QByteArray>& lines) {
    Clear();
    if (lines.isEmpty())
        return;
    QByteArray source;
    for (const QByteArray& line : lines) {
        source += line;
        source += "\r\n";
    }
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(source.constData(), size_t(source.size()));
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
    g_object_unref(parser);
    g_object_unref(stream);
    if (!message)
        return;
    d->reset(message);
    from = addressList(g_mime_message_get_from(message)).join(QStringLiteral(", "));
    subject = utf8(g_mime_message_get_subject(message));
    to = addressList(g_mime_message_get_addresses(message, GMIME_ADDRESS_TYPE_TO));
    cc = addressList(g_mime_message_get_addresses(message, GMIME_ADDRESS_TYPE_CC));
    bcc = addressList(g_mime_message_get_addresses(message, GMIME_ADDRESS_TYPE_BCC));
    priority = priorityOf(GMIME_OBJECT(message));
    if (GDateTime* when = g_mime_message_get_date(message))
        date = QDateTime::fromSecsSinceEpoch(g_date_time_to_unix(when),
                                             QTimeZone(int(g_date_time_get_utc_offset(when) / G_TIME_SPAN_SECOND)));
    if (GMimeObject* root = g_mime_message_get_mime_part(message)) {
        Walker walker{OnGetBodyStream};
        bodies.push_back(walker.walk(root));
    }
}

namespace {
void setAddresses(GMimeMessage* message, GMimeAddressType type, const QStringList& list) {
    InternetAddressList* target = g_mime_message_get_addresses(message, type);
    internet_address_list_clear(target);
    for (const QString& entry : list) {
        if (entry.trimmed().isEmpty())
            continue;
        if (InternetAddressList* parsed = internet_address_list_parse(nullptr, entry.toUtf8().constData())) {
            internet_address_list_append(target, parsed);
            g_object_unref(parsed);
        }
    }
}
} // namespace

QList<QByteArray> TclMailMessage::BuildSource() const {
    GMimeMessage* message = d->message;
    if (message) {
        g_object_ref(message);
    } else {
        message = g_mime_message_new(TRUE);
        const QByteArray subtype = ContentType.section(QLatin1Char('/'), 1).toLatin1();
        GMimeTextPart* text = g_mime_text_part_new_with_subtype(subtype.isEmpty() ? "plain" : subtype.constData());
        g_mime_text_part_set_charset(text, CharSet.toLatin1().constData());
        g_mime_text_part_set_text(text, "");
        g_mime_message_set_mime_part(message, GMIME_OBJECT(text));
        g_object_unref(text);
        GDateTime* now = g_date_time_new_now_local();
        g_mime_message_set_date(message, now);
        g_date_time_unref(now);
        const QByteArray id = QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + "@quillmoor";
        g_mime_message_set_message_id(message, id.constData());
    }
    GMimeObject* object = GMIME_OBJECT(message);
    setAddresses(message, GMIME_ADDRESS_TYPE_FROM, from.isEmpty() ? QStringList() : QStringList{from});
    setAddresses(message, GMIME_ADDRESS_TYPE_TO, to);
    setAddresses(message, GMIME_ADDRESS_TYPE_CC, cc);
    setAddresses(message, GMIME_ADDRESS_TYPE_BCC, bcc);
    g_mime_message_set_subject(message, subject.toUtf8().constData(), "utf-8");
    g_mime_object_remove_header(object, "Importance");
    switch (priority) {
    case TclMessagePriority::mpHigh: g_mime_object_set_header(object, "X-Priority", "1 (Highest)", nullptr); break;
    case TclMessagePriority::mpLow: g_mime_object_set_header(object, "X-Priority", "5 (Lowest)", nullptr); break;
    case TclMessagePriority::mpNormal: g_mime_object_remove_header(object, "X-Priority"); break;
    }
    if (!MailAgent.isEmpty() && !g_mime_object_get_header(object, "X-Mailer"))
        g_mime_object_set_header(object, "X-Mailer", MailAgent.toUtf8().constData(), nullptr);
    char* text = g_mime_object_to_string(object, nullptr);
    const QByteArray source(text ? text : "");
    g_free(text);
    g_object_unref(message);
    QList<QByteArray> lines = source.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

QStringList TclMailMessage::SplitAddresses(const QString& text) {
    initGMime();
    QString normalised = text;
    normalised.replace(QLatin1Char(';'), QLatin1Char(','));
    QStringList out;
    if (InternetAddressList* list = internet_address_list_parse(nullptr, normalised.toUtf8().constData())) {
        out = addressList(list);
        g_object_unref(list);
    }
    return out;
}

QString TclMailMessage::FormatAddress(const QString& name, const QString& address) {
    initGMime();
    InternetAddress* ia = internet_address_mailbox_new(name.toUtf8().constData(), address.toUtf8().constData());
    char* text = internet_address_to_string(ia, nullptr, FALSE);
    const QString out = utf8(text);
    g_free(text);
    g_object_unref(ia);
    return out;
}

QString TclMailMessage::AddressOf(const QString& mailbox) {
    initGMime();
    QString out;
    if (InternetAddressList* list = internet_address_list_parse(nullptr, mailbox.toUtf8().constData())) {
        for (int i = 0; i < internet_address_list_length(list) && out.isEmpty(); ++i) {
            InternetAddress* ia = internet_address_list_get_address(list, i);
            if (INTERNET_ADDRESS_IS_MAILBOX(ia))
                out = utf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(ia)));
        }
        g_object_unref(list);
    }
    return out.isEmpty() ? mailbox.trimmed() : out;
}
