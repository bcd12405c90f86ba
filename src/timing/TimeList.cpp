#include "TimeList.h"

#include "base/TextFile.h"

#include <QFile>
#include <algorithm>

namespace arenor::timing {

namespace {

// Columns count characters, so a character outside the Basic Multilingual Plane (two UTF-16
// units) takes one column and is never cut in half.
qsizetype columnCount(const QString &text)
{
    return text.size() - std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLowSurrogate(); });
}

QString padded(const QString &text, qsizetype columns)
{
    return text + QString(std::max<qsizetype>(0, columns - columnCount(text)), u' ');
}

// The characters of columns from+1 .. from+count.
QString columns(const QString &line, qsizetype from, qsizetype count)
{
    qsizetype start = 0;
    for (qsizetype column = 0; start < line.size() && column < from; ++column)
        start += line[start].isHighSurrogate() && start + 1 < line.size() ? 2 : 1;
    qsizetype end = start;
    for (qsizetype column = 0; end < line.size() && column < count; ++column)
        end += line[end].isHighSurrogate() && end + 1 < line.size() ? 2 : 1;
    return line.mid(start, end - start);
}

// A field after the index: from its column, after one blank; one that fills the whole
// column the reader gives it starts on that blank, so the reader gets it back whole.
QString field(const QString &text, qsizetype readWidth, bool last)
{
    if (columnCount(text) >= readWidth)
        return text;
    return u' ' + (last ? text : padded(text, readWidth - 1));
}

} // namespace

QString recordLine(const TimeRecord &r)
{
    QString line = padded(r.index, 8) + field(r.time, 10, false);
    if (r.message.isEmpty())
        return line + field(r.number, 10, true);
    return line + field(r.number, 10, false) + field(r.message, 50, true);
}

QString displayLine(const TimeRecord &r)
{
    static const QString gap(8, u' ');
    return r.index.trimmed() + gap + r.time.trimmed() + gap + r.number.trimmed() + gap + r.message.trimmed();
}

TimeRecord parseRecordLine(const QString &line)
{
    return {columns(line, 0, 8).trimmed(), columns(line, 8, 10).trimmed(), columns(line, 18, 10).trimmed(),
            columns(line, 28, 50).trimmed()};
}

QString registrationIndex(int channel, int sequence)
{
    return QString::number(channel) + u'-' + QStringLiteral("%1").arg(sequence, 4, 10, QChar(u'0'));
}

std::optional<IndexParts> parseRegistrationIndex(const QString &index)
{
    const QString t = index.trimmed();
    if (t.size() < 3 || t.size() > 8 || t[1] != u'-' || t[0] < u'1' || t[0] > u'6')
        return std::nullopt;
    int sequence = 0;
    for (qsizetype i = 2; i < t.size(); ++i) {
        if (t[i] < u'0' || t[i] > u'9')
            return std::nullopt;
        sequence = sequence * 10 + (t[i].unicode() - u'0');
    }
    return IndexParts{t[0].unicode() - u'0', sequence};
}

int ChannelCounters::next(int channel)
{
    if (!valid(channel))
        return 0;
    return ++m_values[size_t(channel)];
}

void ChannelCounters::raiseFrom(const QString &index)
{
    if (const auto parts = parseRegistrationIndex(index)) {
        int &v = m_values[size_t(parts->channel)];
        v = std::max(v, parts->sequence);
    }
}

QStringList TimeList::displayLines() const
{
    QStringList lines;
    lines.reserve(count());
    for (const TimeRecord &r : records)
        lines << displayLine(r);
    return lines;
}

void parseTimesFile(const QStringList &lines, TimeList &list, ChannelCounters &counters)
{
    list.clear();
    // Lines 1-3 are the header whatever they hold: guessing from their look would turn a
    // header of other rulers into records, which the next rewrite then stores as data.
    constexpr int headerLines = 3;
    const int n = int(lines.size());
    list.records.reserve(size_t(std::clamp(n - headerLines, 0, kMaxTimes)));
    for (int i = headerLines; i < n; ++i) {
        TimeRecord r = parseRecordLine(lines[i]);
        counters.raiseFrom(r.index);
        if (list.count() < kMaxTimes)
            list.records.push_back(std::move(r));
        else
            list.overflow << lines[i];
    }
}

Status readTimesFile(const QString &path, TimeList &list, ChannelCounters &counters)
{
    if (!QFile::exists(path)) {
        list.clear();
        return {};
    }
    // A read that fails part way counts as failed: half a list would be written back whole.
    QFile f(path);
    const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (!f.isOpen() || f.error() != QFileDevice::NoError) {
        list.clear();
        return Status::failure(QStringLiteral("cannot read ") + path + QStringLiteral(": ") +
                               f.errorString());
    }
    parseTimesFile(splitLines(decodeText(bytes)), list, counters);
    return {};
}

QStringList timesFileLines(const TimeList &list, const QString &title)
{
    QStringList lines = headerLines(title);
    lines.reserve(3 + list.count() + list.overflow.size());
    for (const TimeRecord &r : list.records)
        lines << recordLine(r);
    lines << list.overflow;
    return lines;
}

void writeTimesFile(QIODevice &device, const TimeList &list, const QString &title)
{
    writeLines(device, timesFileLines(list, title));
}

Status rewriteTimesFile(const QString &path, const TimeList &list, const QString &title)
{
    return writeFileAtomically(path, [&](QIODevice &d) { writeTimesFile(d, list, title); });
}

} // namespace arenor::timing
