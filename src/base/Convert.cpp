#include "Convert.h"

#include <cfloat>
#include <cmath>

namespace arenor {

double toDouble(const QString &text)
{
    // Hand-rolled scan: the prefix rule differs from QString::toDouble, which rejects
    // any trailing text.
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const int start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    int digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    int end = i;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        int j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        int expDigits = 0;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0)
            end = j;
    }
    bool ok = false;
    const double v = text.mid(start, end - start).toDouble(&ok);
    // Out of range comes back not ok: an overflow as an infinity, which saturates by sign,
    // and an underflow as 0, which is what a number too small to hold is.
    if (std::isinf(v))
        return v < 0 ? -DBL_MAX : DBL_MAX;
    return ok ? v : 0.0;
}

static qint64 clampDouble(double v, qint64 lo, qint64 hi)
{
    if (v <= static_cast<double>(lo))
        return lo;
    if (v >= static_cast<double>(hi))
        return hi;
    return static_cast<qint64>(v);
}

qint64 toInteger(const QString &text, qint64 lo, qint64 hi)
{
    return clampDouble(std::trunc(toDouble(text)), lo, hi);
}

qint64 toRoundedInteger(const QString &text, qint64 lo, qint64 hi)
{
    return clampDouble(std::nearbyint(toDouble(text)), lo, hi);
}

QString numberText(qint64 value)
{
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

QString numberText(double value)
{
    const QString digits = QString::number(value, 'g', 7);
    return value < 0 ? digits : u' ' + digits;
}

} // namespace arenor
