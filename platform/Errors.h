#pragma once
// Failures are exceptions. Each carries a user-readable message; what a handler does
// not catch reaches the general error report (platform/ErrorReport.h).
#include <QByteArray>
#include <QString>
#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(QString message) : Message(std::move(message)), utf8(Message.toUtf8()) {}
    const char* what() const noexcept override { return utf8.constData(); }
    const QString Message;

private:
    QByteArray utf8;
};

// Reading or writing a file failed.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// The settings store could not do what was asked (missing value, wrong type, unwritable hive).
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// A component's failure; the message is "code: text" (decimal code).
class EComponentError : public Exception {
public:
    EComponentError(int code, const QString& text)
        : Exception(QString::number(code) + QStringLiteral(": ") + text), Code(code), Text(text) {}
    const int Code;
    const QString Text;
};
