#pragma once
// Advancing from a round with heats: the first N of each heat by place (Q), then the n best
// of the others by result (q). A tie at the last place or the last result slot is never
// decided here: it is reported with the tied rows until the referee's decision is given, and
// the referee may also put a row in or out by hand (qR). Pure functions: no database.

#include "events/Seeding.h"

#include <QHash>

namespace arenor::events {

struct AdvanceRule {
    int byPlace = 0; // N of each heat
    int byTime = 0;  // n of the others
};
// "2+2", "2 + 2", "3" (by place only); nullopt for anything else or a negative count.
std::optional<AdvanceRule> parseAdvanceRule(QStringView text);
QString advanceRuleText(const AdvanceRule &rule);

// One row of a heat: an id the caller knows it by, the start number for messages, the heat,
// the place in the heat (0: none given) and the result as typed.
struct HeatRow {
    int id = 0;
    int number = 0;
    int heat = 0;
    int place = 0;
    QString result;
};

enum class Qualifier { None, Place, Time, Referee };
// "Q", "q", "qR", or empty.
QString qualifierText(Qualifier q);
Qualifier qualifierFromText(QStringView text);

// The referee's answer for a tied row, or a row put in (true) or out (false) by hand.
enum class Decision { Advance, Drop };

struct Advancer {
    int id = 0;
    Qualifier qualifier = Qualifier::None;
    bool decided = false; // came through a tie the referee decided
};
struct Tie {
    int heat = 0; // the heat of a tie at the last place; 0 for a tie at the last result slot
    int place = 0;
    QString result;
    int openPlaces = 0; // how many of them the rule takes
    QList<int> ids;     // the tied rows
    QList<int> numbers;
};
struct Advancement {
    // In the order of the next round's ranking: Q by place, then by result, then q by result,
    // then the rows put in by hand.
    QList<Advancer> advancers;
    QList<Tie> ties; // undecided: the advancers are not final while any is left
    QList<Notice> notices;
    bool complete() const { return ties.isEmpty(); }
};

// The advancement of the heats under the rule. A heat without places given is placed by its
// results (equal results share a place); rows without a result and a place never advance on
// time. decisions settle ties (every tied row needs one); overrides put rows in or out.
Advancement advance(const QList<HeatRow> &rows, const AdvanceRule &rule, ResultKind kind, TimeFormat format,
                    const QHash<int, Decision> &decisions = {}, const QHash<int, bool> &overrides = {});

} // namespace arenor::events
