#pragma once
// The result of an operation that may fail: empty error text means success.

#include <QString>

namespace arenor {

class Status {
public:
    Status() = default;
    static Status failure(QString text) { Status s; s.m_error = text.isEmpty() ? QStringLiteral("error") : text; return s; }
    bool ok() const { return m_error.isEmpty(); }
    explicit operator bool() const { return ok(); }
    const QString &error() const { return m_error; }

private:
    QString m_error;
};

} // namespace arenor
