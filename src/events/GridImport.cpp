#include "GridImport.h"

#include "base/Convert.h"

#include <QHash>
#include <algorithm>
#include <limits>

namespace arenor::events {

namespace {

const QString kStruck = QStringLiteral("XXX");

} // namespace

int importTimes(timing::TimeList &list, const QStringList &numbers, QStringList &times,
                const Catalogs &catalogs)
{
    // Start number -> the rows holding it. Numbers below 1 belong to nobody (a blank row, a
    // record without a number), so they match nothing.
    QHash<qint64, QList<int>> rows;
    rows.reserve(numbers.size());
    for (int r = 0; r < numbers.size(); ++r)
        if (const qint64 n = toInteger(numbers[r], 0, std::numeric_limits<qint64>::max()); n > 0)
            rows[n].append(r);
    QList<bool> got(times.size(), false);
    for (timing::TimeRecord &record : list.records) {
        if (record.number == kStruck)
            continue;
        const qint64 n = toInteger(record.number, 0, std::numeric_limits<qint64>::max());
        const auto it = n > 0 ? rows.constFind(n) : rows.constEnd();
        if (it == rows.constEnd())
            continue;
        for (int r : *it) {
            if (r < times.size()) {
                times[r] = record.time;
                got[r] = true;
            }
        }
        const PersonSlot *person = Catalogs::validPerson(n) ? &catalogs.persons[size_t(n)] : nullptr;
        record.message = QStringLiteral("Ok, ") + (person ? person->name : QString()) + QStringLiteral(", ") +
                         (person ? person->cls : QString());
    }
    return int(std::count(got.begin(), got.end(), true));
}

void dropImported(timing::TimeList &list, bool keepImported)
{
    std::erase_if(list.records, [keepImported](const timing::TimeRecord &r) {
        return r.number == kStruck || (!keepImported && r.message.startsWith(QStringLiteral("Ok")));
    });
}

Status importFromTimesFile(const QString &path, const QStringList &numbers, QStringList &times,
                           const Catalogs &catalogs, timing::TimeList &list, int *matched)
{
    timing::ChannelCounters counters;
    if (Status s = timing::readTimesFile(path, list, counters); !s)
        return s;
    const int n = importTimes(list, numbers, times, catalogs);
    if (matched)
        *matched = n;
    return {};
}

Status rewriteImported(const QString &path, timing::Direction direction, timing::TimeList &list,
                       bool keepImported)
{
    dropImported(list, keepImported);
    return timing::rewriteTimesFile(path, list,
                                    timing::timesFileTitle(direction, timing::TitleStyle::GridImport));
}

} // namespace arenor::events
