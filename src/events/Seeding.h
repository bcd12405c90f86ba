#pragma once
// Seeding heats by performance: entrants ranked by their seed marks (read with the result
// arithmetic), spread over the heats in a zigzag so the heats are even, and lanes drawn by
// rank groups from a lane table. Every draw comes from one stored number, so making the same
// heats again gives the same heats. Pure functions: no database, no questions.

#include "base/ProgramTexts.h"
#include "events/ResultArithmetic.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace arenor::events {

// Something a seeding or advancement met and the user should hear of: a text of the
// program's own and what fills its "%1", "%2"...
struct Notice {
    Text text;
    QStringList args;
};
QString noticeText(const TextTables &texts, const Notice &notice);

// The draws: the plain 32-bit Mersenne twister, which every platform runs alike, with the
// numbers below n taken by multiplication so a stored seed gives the same draw everywhere.
class DrawRandom {
public:
    explicit DrawRandom(quint32 seed);
    // 0 .. n - 1; 0 when n < 1.
    int below(int n);
    template <typename T> void shuffle(QList<T> &list)
    {
        for (qsizetype i = list.size() - 1; i > 0; --i)
            list.swapItemsAt(i, below(int(i + 1)));
    }

private:
    quint32 m_state[624];
    int m_index = 624;
};

// Where lanes matter differently: races on the straight, 200 m, and 400 m or longer.
enum class EventGroup { Straight, TwoHundred, FourHundred };
// The group of an event by its name: its leading distance ("100_m", "110_m_hekk"); relays
// ("4x100_m_staf") and anything unreadable count as 400 m or longer.
EventGroup eventGroupOf(const QString &eventName);

// The lanes of each rank group, best ranked group first; every lane 1..lanes once.
struct LaneTable {
    QList<QList<int>> groups;
    int lanes() const;
};

// A lane table typed as lanes separated by blanks, groups by "/" ("3 4 5 6 / 2 7 / 1 8"); a
// priority without "/" ("3 4 2 5 1 6") gives each lane to one rank. lanes 0 takes the count
// from the text. nullopt with a notice for a lane twice, a lane missing or beyond the count,
// or a word that is no lane.
std::optional<LaneTable> parseLaneTable(QStringView text, int lanes, Notice *problem = nullptr);
// Lanes from the centre outwards in pairs (6 lanes: 3 4 / 2 5 / 1 6; an odd count starts
// with the middle lane on its own).
LaneTable centreOutTable(int lanes);
// The shipped table of a group and lane count, nullopt when there is none.
std::optional<LaneTable> shippedLaneTable(EventGroup group, int lanes);
// The rule book the shipped tables follow, as their file names it.
QString laneTableSource();
// The table a draw uses: the meet's own priority when it is set and fits the lane count, else
// the shipped table, else centre-out. problem tells why the meet's priority was not used.
LaneTable laneTableFor(EventGroup group, int lanes, const QString &meetPriority, Notice *problem = nullptr);

// One entrant to seed: an id the caller knows it by (its register slot) and its seed mark.
struct SeedEntrant {
    int id = 0;
    QString mark;
};

// The value of a seed mark as results are read, except that a time holding anything but
// digits, "." and "," ("1:02.5") is no mark. unreadable: a digit was typed but no mark read.
std::optional<qint64> seedMarkValue(ResultKind kind, TimeFormat format, QStringView mark,
                                    bool *unreadable = nullptr);

struct Ranking {
    QList<int> order;      // ids, best first; entrants without a mark last, in drawn order
    QList<int> unreadable; // ids whose mark holds a digit the time format cannot read
    int withoutMark = 0;   // entrants ranked last: no mark, "NM", "DNS" or unreadable
};
// Ranks by mark: the lowest time first, the greatest distance or height first when
// higherIsBetter. Equal marks are drawn among themselves, as are the entrants without one.
Ranking rankByMark(const QList<SeedEntrant> &entrants, ResultKind kind, TimeFormat format,
                   bool higherIsBetter, DrawRandom &random);

// The heat index 0..heats-1 of each rank 0..count-1: 1 to the first heat, 2 to the second,
// ... the last heat, then back from the last (the zigzag), so sizes differ by one at most.
QList<int> zigzagHeats(int count, int heats);

struct Placement {
    int id = 0;
    int heat = 0; // 1..
    int lane = 0; // 1..lanes
};
struct SeedPlan {
    QList<Placement> placements; // by heat, then lane
    int heats = 0;
    QList<Notice> notices;
};
// Places the ranked ids in heats of at most `lanes`: as many heats as needed, or `heats` when
// it is given and enough; the zigzag spreads the ranks, and within a heat its ranked entrants
// fill the table's groups in order, each group's lanes drawn by lot. A table that does not fit
// the lane count is replaced by centre-out (with a notice). Nobody is left out: with no lane
// (lanes < 1) everybody gets heat 0 and lane 0 and the plan says why.
SeedPlan seedHeats(const QList<int> &ranked, int lanes, const LaneTable &table, int heats,
                   DrawRandom &random);

} // namespace arenor::events
