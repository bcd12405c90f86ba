#include "TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace arenor {

void writeLines(QIODevice &device, const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    device.write(out);
}

Status writeFileAtomically(const QString &path, const std::function<void(QIODevice &)> &writer)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::failure(QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString());
    writer(file);
    if (!file.commit())
        return Status::failure(QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString());
    return {};
}

Status writeTextFile(const QString &path, const QStringList &lines)
{
    return writeFileAtomically(path, [&](QIODevice &d) { writeLines(d, lines); });
}

namespace {

// Windows-1252 for 0x80..0x9F; the rest of the upper half is Latin-1.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar cp1252(unsigned char b)
{
    if (b >= 0x80 && b < 0xA0)
        return QChar(kCp1252High[b - 0x80]);
    return QChar(b);
}

// Length of the valid UTF-8 sequence starting at i, or 0 when it is not valid.
int utf8Length(const unsigned char *p, qsizetype n, qsizetype i)
{
    const unsigned char c = p[i];
    int len = 0;
    char32_t min = 0;
    if (c < 0x80)
        return 1;
    if ((c & 0xE0) == 0xC0) {
        len = 2;
        min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3;
        min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > n)
        return 0;
    char32_t cp = c & (0x7F >> len);
    for (int k = 1; k < len; ++k) {
        if ((p[i + k] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

} // namespace

QString decodeText(const QByteArray &bytes)
{
    QStringDecoder strict(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString fast = strict.decode(bytes);
    if (!strict.hasError())
        return fast;
    QString out;
    out.reserve(bytes.size());
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const int len = utf8Length(p, n, i);
        if (len == 0) {
            out += cp1252(p[i]);
            ++i;
        } else {
            out += QString::fromUtf8(reinterpret_cast<const char *>(p + i), len);
            i += len;
        }
    }
    return out;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            lines << text.mid(start, i - start);
            if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

QStringList readTextLines(const QString &path, bool *ok)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    const QByteArray bytes = f.readAll();
    if (ok)
        *ok = f.error() == QFileDevice::NoError;
    return splitLines(decodeText(bytes));
}

qsizetype characterCount(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    return count;
}

QStringView characterMid(QStringView text, qsizetype first, qsizetype count)
{
    // The offset of character `n` after `from`, or the end of the text.
    auto advance = [&text](qsizetype from, qsizetype n) {
        qsizetype i = from;
        for (; i < text.size() && n > 0; --n)
            i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        return i;
    };
    const qsizetype start = advance(0, std::max<qsizetype>(first, 0));
    const qsizetype end = count < 0 ? text.size() : advance(start, count);
    return text.sliced(start, end - start);
}

} // namespace arenor
