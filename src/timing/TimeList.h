#pragma once
// The time records of one time file: the fixed-column line layout, the in-memory list of at
// most 3000 records, and the per-channel sequence counters the registration indexes come from.

#include "timing/TimeFileHeader.h"

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace arenor::timing {

constexpr int kMaxTimes = 3000;
constexpr int kChannels = 6;
// The widest number that the reader gets back whole from its column.
constexpr int kNumberWidth = 9;

struct TimeRecord {
    QString index;
    QString time;
    QString number;
    QString message;
    bool operator==(const TimeRecord &) const = default;
};

// The file line: index from column 1, time from 10, number from 20, message from 30; with
// the message empty the line ends after the number.
QString recordLine(const TimeRecord &r);
// The line of the display list: the trimmed fields with eight blanks between them.
QString displayLine(const TimeRecord &r);
// The fields of a file line, cut at the fixed columns 1-8, 9-18, 19-28 and 29-78 and trimmed.
TimeRecord parseRecordLine(const QString &line);

// "1-0001": channel digit, "-", sequence with at least four digits.
QString registrationIndex(int channel, int sequence);
struct IndexParts {
    int channel = 0;
    int sequence = 0;
};
// The channel and sequence of an index made by a registration; nullopt for anything else,
// such as the bare start numbers of planned start times ("0042", "1234").
std::optional<IndexParts> parseRegistrationIndex(const QString &index);

// One counter per channel 1..6, shared by the out-times and in-times lists.
class ChannelCounters {
public:
    int value(int channel) const { return valid(channel) ? m_values[size_t(channel)] : 0; }
    // Takes the next sequence number of the channel.
    int next(int channel);
    // Raises the counter to the sequence of an index read from a file; never lowers it.
    void raiseFrom(const QString &index);
    void reset() { m_values.fill(0); }

private:
    static bool valid(int channel) { return channel >= 1 && channel <= kChannels; }
    std::array<int, kChannels + 1> m_values{};
};

class TimeList {
public:
    std::vector<TimeRecord> records; // slots 1..count in file order, at most kMaxTimes
    // Lines of a file that held more than kMaxTimes records, kept verbatim so that rewriting
    // the file never drops them.
    QStringList overflow;

    int count() const { return int(records.size()); }
    bool full() const { return count() >= kMaxTimes; }
    void clear()
    {
        records.clear();
        overflow.clear();
    }
    QStringList displayLines() const;
};

// Fills the list from the lines of a time file and raises the counters from every index in it
// (also those past the list's size). Lines 1-3 are the header and are skipped whatever they
// hold.
void parseTimesFile(const QStringList &lines, TimeList &list, ChannelCounters &counters);

// Reads the file into the list. A missing file gives an empty list without an error.
Status readTimesFile(const QString &path, TimeList &list, ChannelCounters &counters);

// The whole file: header, every record, then any overflow lines.
QStringList timesFileLines(const TimeList &list, const QString &title);
void writeTimesFile(QIODevice &device, const TimeList &list, const QString &title);
// Replaces the file atomically, so a failure never leaves half a file.
Status rewriteTimesFile(const QString &path, const TimeList &list, const QString &title);

} // namespace arenor::timing
