#include "Csv.h"

#include "base/TextFile.h"

namespace arenor::exchange {

namespace {

bool formulaStart(QStringView value)
{
    if (value.isEmpty())
        return false;
    const QChar c = value.front();
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

// A value whose first character after any apostrophes would start a formula: such a value
// is written with one more apostrophe, and reading takes exactly one away.
bool needsGuard(QStringView value)
{
    qsizetype i = 0;
    while (i < value.size() && value[i] == u'\'')
        ++i;
    return formulaStart(value.mid(i));
}

} // namespace

QChar detectSeparator(QStringView headingLine)
{
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (QChar c : headingLine) {
        if (c == u'"')
            quoted = !quoted;
        else if (c == u'\n' || c == u'\r') {
            if (!quoted)
                break;
        } else if (!quoted) {
            commas += c == u',';
            semicolons += c == u';';
            tabs += c == u'\t';
        }
    }
    if (semicolons > commas)
        return u';';
    if (commas == 0 && tabs > 0)
        return u'\t';
    return u',';
}

CsvRead parseCsv(const QByteArray &bytes, QChar separator)
{
    CsvRead read;
    if (bytes.contains('\0')) {
        read.error = CsvError::NotText;
        return read;
    }
    QString text = decodeText(bytes);
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    const QChar sep = separator.isNull() ? detectSeparator(text) : separator;
    read.separator = sep;

    const qsizetype n = text.size();
    QStringList record;
    QString field;
    bool quoted = false;    // inside quotes
    bool wasQuoted = false; // this field began with a quote
    bool any = false;       // the record has content (a blank line has none)
    int line = 1, recordLine = 1, quoteLine = 1;
    auto endField = [&] {
        record.append(unguardFormula(field));
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        endField();
        if (any) {
            read.records.append(record);
            read.lines.append(recordLine);
        }
        record.clear();
        any = false;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < n && text[i + 1] == u'\n')))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = any = true;
            quoteLine = line;
        } else if (c == sep) {
            any = true;
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            endRecord();
            recordLine = ++line;
        } else {
            // A quote inside an unquoted field, or text after a closing quote, is kept as it
            // stands, as spreadsheets do.
            field += c;
            any = true;
        }
    }
    if (quoted) {
        read.error = CsvError::OpenQuote;
        read.errorLine = quoteLine;
        return read;
    }
    if (any || !record.isEmpty())
        endRecord();
    return read;
}

QString unguardFormula(const QString &value)
{
    if (value.startsWith(u'\'') && needsGuard(QStringView(value).mid(1)))
        return value.mid(1);
    return value;
}

QString csvField(const QString &value, QChar separator)
{
    QString v = needsGuard(value) ? u'\'' + value : value;
    // Any of the three separators goes in quotes, so the heading line tells the separator.
    const bool quote = v.contains(separator) || v.contains(u',') || v.contains(u';') || v.contains(u'\t') ||
                       v.contains(u'"') || v.contains(u'\n') || v.contains(u'\r') ||
                       (!v.isEmpty() && (v.front().isSpace() || v.back().isSpace()));
    if (!quote)
        return v;
    v.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + v + u'"';
}

QString csvLine(const QStringList &fields, QChar separator)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += separator;
        line += csvField(fields[i], separator);
    }
    return line;
}

void writeCsv(QIODevice &device, const QList<QStringList> &records, QChar separator)
{
    QByteArray out("\xEF\xBB\xBF");
    for (const QStringList &r : records)
        out += csvLine(r, separator).toUtf8() + "\r\n";
    device.write(out);
}

} // namespace arenor::exchange
