#include "ResultArithmetic.h"

#include <algorithm>
#include <array>

namespace arenor::events {

namespace {

constexpr qint64 kMaxFirstPart = 999999;
constexpr int kMicroDigits = 6;      // numbers are held in millionths
constexpr int kMaxNumberDigits = 18; // below 10^12 with six decimals: sums stay in 64 bits

struct FormatShape {
    int parts;
    std::array<qint64, 3> base; // base of each part; the first part has none
};

FormatShape shapeOf(TimeFormat format)
{
    switch (format) {
    case TimeFormat::HoursMinutesSeconds:
        return {3, {0, 60, 60}};
    case TimeFormat::MinutesSecondsHundredths:
        return {3, {0, 60, 100}};
    case TimeFormat::SecondsHundredths:
        break;
    }
    return {2, {0, 100, 0}};
}

QStringView tokenView(QStringView text, qsizetype &position, QStringView delimiters)
{
    const qsizetype n = text.size();
    position = std::clamp<qsizetype>(position, 0, n);
    while (position < n && delimiters.contains(text[position]))
        ++position;
    const qsizetype start = position;
    while (position < n && !delimiters.contains(text[position]))
        ++position;
    return text.mid(start, position - start);
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool holdsDigit(QStringView text)
{
    for (QChar c : text) {
        if (isAsciiDigit(c))
            return true;
    }
    return false;
}

// The leading whole number of one time part after leading blanks; a part without digits is 0.
// A hundredths part is a decimal fraction ("3" is 30 hundredths). nullopt for a negative or
// oversized part, and for a hundredths part of more than two digits.
std::optional<qint64> partValue(QStringView part, bool hundredths)
{
    qsizetype i = 0;
    while (i < part.size() && (part[i] == u' ' || part[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < part.size() && (part[i] == u'+' || part[i] == u'-')) {
        negative = part[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    int digits = 0;
    for (; i < part.size() && isAsciiDigit(part[i]); ++i) {
        ++digits;
        value = value * 10 + (part[i].unicode() - u'0');
        if (value > kMaxFirstPart || (hundredths && digits > 2))
            return std::nullopt;
    }
    // An exponent ("1e9") would make a part of any size: never a time part.
    if (digits > 0 && i + 1 < part.size() && (part[i] == u'e' || part[i] == u'E') &&
        isAsciiDigit(part[i + 1]))
        return std::nullopt;
    // A negative part, "-00" too, is no time: read as 0 it would rank "-00.22.68" (an in-time
    // before the out-time) as 22.68.
    if (negative)
        return std::nullopt;
    return hundredths && digits == 1 ? value * 10 : value;
}

std::optional<qint64> timeValue(TimeFormat format, QStringView text)
{
    if (!holdsDigit(text))
        return std::nullopt;
    const FormatShape shape = shapeOf(format);
    const bool withHundredths = shape.base[size_t(shape.parts - 1)] == 100;
    std::array<QStringView, 3> tokens;
    qsizetype count = 0;
    qsizetype position = 0;
    // A comma is the decimal point where the user's locale writes one ("11,98").
    const QStringView separators(u".,");
    for (;;) {
        const QStringView token = tokenView(text, position, separators);
        if (token.isEmpty())
            break;
        if (count >= shape.parts)
            return std::nullopt;
        tokens[size_t(count++)] = token;
    }
    // A lone number is whole seconds; otherwise the typed parts are the last parts of the
    // format ("12.45" in minutes, seconds and hundredths is 12.45 seconds). The first typed
    // part may pass its base (75.30 seconds), the others may not.
    if (count == 1 && withHundredths)
        tokens[size_t(count++)] = QStringView();
    qint64 total = 0;
    const qsizetype offset = shape.parts - count;
    for (int p = 0; p < shape.parts; ++p) {
        qint64 v = 0;
        if (p >= offset) {
            const bool hundredths = p == shape.parts - 1 && withHundredths;
            const std::optional<qint64> read = partValue(tokens[size_t(p - offset)], hundredths);
            if (!read || (p > offset && *read >= shape.base[size_t(p)]))
                return std::nullopt;
            v = *read;
        }
        total = p == 0 ? v : total * shape.base[size_t(p)] + v;
    }
    return total;
}

std::optional<qint64> numberValue(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // value = digits * 10^exponent, digits without leading zeros.
    QString digits;
    int exponent = 0;
    bool anyDigit = false;
    bool afterPoint = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isAsciiDigit(c)) {
            anyDigit = true;
            if (digits.size() > kMaxNumberDigits + kMicroDigits) {
                // Too many digits to matter: a long fraction is cut, a long whole part
                // only grows (and ends out of range).
                if (!afterPoint)
                    ++exponent;
                continue;
            }
            if (afterPoint)
                --exponent;
            if (!digits.isEmpty() || c != u'0')
                digits += c;
        } else if ((c == u'.' || c == u',') && !afterPoint) {
            afterPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    if (i + 1 < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        bool expNegative = false;
        if (text[j] == u'+' || text[j] == u'-') {
            expNegative = text[j] == u'-';
            ++j;
        }
        int e = 0;
        bool expDigits = false;
        for (; j < n && isAsciiDigit(text[j]); ++j) {
            expDigits = true;
            if (e < 100000)
                e = e * 10 + (text[j].unicode() - u'0');
        }
        if (expDigits)
            exponent += expNegative ? -e : e;
    }
    const qsizetype shift = qsizetype(exponent) + kMicroDigits;
    if (shift < 0) {
        digits.chop(std::min(digits.size(), -shift)); // beyond a millionth
    } else if (!digits.isEmpty()) {
        if (digits.size() + shift > kMaxNumberDigits)
            return std::nullopt;
        digits += QString(shift, u'0');
    }
    if (digits.size() > kMaxNumberDigits)
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return negative ? -value : value;
}

QString twoDigits(qint64 v)
{
    return v < 10 ? u'0' + QString::number(v) : QString::number(v);
}

QString timeText(TimeFormat format, qint64 value)
{
    const FormatShape shape = shapeOf(format);
    const bool negative = value < 0;
    qint64 rest = negative ? -value : value;
    std::array<qint64, 3> parts{};
    for (int p = shape.parts - 1; p > 0; --p) {
        parts[size_t(p)] = rest % shape.base[size_t(p)];
        rest /= shape.base[size_t(p)];
    }
    parts[0] = rest;
    QString text = negative ? QStringLiteral("-") : QString();
    for (int p = 0; p < shape.parts; ++p) {
        if (p > 0)
            text += u'.';
        text += twoDigits(parts[size_t(p)]);
    }
    return text;
}

QString numberText(qint64 micro)
{
    const bool negative = micro < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(micro) : quint64(micro);
    constexpr quint64 scale = 1000000;
    const quint64 whole = magnitude / scale;
    QString fraction = QString::number(magnitude % scale).rightJustified(kMicroDigits, u'0');
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    QString text = negative ? QStringLiteral("-") : QString();
    if (whole != 0 || fraction.isEmpty())
        text += QString::number(whole);
    if (!fraction.isEmpty())
        text += u'.' + fraction;
    return text;
}

} // namespace

TimeFormat timeFormatFromCode(int code)
{
    switch (code) {
    case 1:
        return TimeFormat::MinutesSecondsHundredths;
    case 2:
        return TimeFormat::SecondsHundredths;
    default:
        return TimeFormat::HoursMinutesSeconds;
    }
}

QString NextToken(QStringView text, qsizetype &position, QStringView delimiters)
{
    return tokenView(text, position, delimiters).toString();
}

std::optional<qint64> resultValue(ResultKind kind, TimeFormat format, QStringView text)
{
    return kind == ResultKind::Time ? timeValue(format, text) : numberValue(text);
}

QString resultText(ResultKind kind, TimeFormat format, qint64 value)
{
    return kind == ResultKind::Time ? timeText(format, value) : numberText(value);
}

bool isUnreadableResult(ResultKind kind, TimeFormat format, QStringView text)
{
    return kind == ResultKind::Time && holdsDigit(text) && !timeValue(format, text);
}

QStringList unreadableResultNumbers(ResultKind kind, TimeFormat format, const QStringList &texts,
                                    const QStringList &numbers)
{
    QStringList found;
    for (qsizetype i = 0; i < texts.size(); ++i)
        if (isUnreadableResult(kind, format, texts[i]))
            found << (i < numbers.size() ? numbers[i].trimmed() : QString::number(i + 1));
    return found;
}

QString unreadableResultsText(Language language, TimeFormat format, const QStringList &numbers)
{
    if (numbers.isEmpty())
        return {};
    constexpr qsizetype kShown = 5;
    QString shown = numbers.first(std::min(numbers.size(), kShown)).join(QStringLiteral(", "));
    if (numbers.size() > kShown)
        shown += QStringLiteral(" \u2026");
    // The format by the caption of its option in the event setup, where it is changed.
    const QString formatName = plainCaption(TextTables::caption(355 + int(format), language));
    return TextTables::text(Text::ResultsUnreadable, language)
        .arg(QString::number(numbers.size()), shown, formatName);
}

QString ResultArithmetic(ResultKind kind, Order order, QStringView a, QStringView b, Operation operation,
                         TimeFormat format)
{
    const std::optional<qint64> va = resultValue(kind, format, a);
    const std::optional<qint64> vb = resultValue(kind, format, b);
    if (!va || !vb)
        return kNoResult;
    qint64 value = 0;
    if (operation == Operation::Sum)
        value = *va + *vb;
    else
        value = order == Order::BMinusA ? *vb - *va : *va - *vb;
    return resultText(kind, format, value);
}

int compareResults(ResultKind kind, TimeFormat format, QStringView a, QStringView b, bool descending)
{
    const std::optional<qint64> va = resultValue(kind, format, a);
    const std::optional<qint64> vb = resultValue(kind, format, b);
    if (!va || !vb)
        return int(!va) - int(!vb);
    if (*va == *vb)
        return 0;
    return (*va < *vb) != descending ? -1 : 1;
}

} // namespace arenor::events
