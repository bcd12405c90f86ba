#include "TimeList.h"

#include "base/TextFile.h"

#include <QFile>
#include <algorithm>

namespace arenor::timing {

QString recordLine(const TimeRecord &r)
{
    QString line = r.index.leftJustified(9) + r.time.leftJustified(10);
    if (r.message.isEmpty())
        return line + r.number;
    return line + r.number.leftJustified(10) + r.message;
}

QString displayLine(const TimeRecord &r)
{
    static const QString gap(8, u' ');
    return r.index.trimmed() + gap + r.time.trimmed() + gap + r.number.trimmed() + gap + r.message.trimmed();
}

TimeRecord parseRecordLine(const QString &line)
{
    return {line.mid(0, 8).trimmed(), line.mid(8, 10).trimmed(), line.mid(18, 10).trimmed(),
            line.mid(28, 50).trimmed()};
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
