#pragma once
// Field events as the officials run them: attempt series of the horizontal jumps and throws,
// height cards of the vertical jumps, and the places both give. Marks are whole centimetres,
// winds tenths of a metre per second, so every comparison is exact. The rules followed are
// those of the World Athletics Technical Rules, edition in force from 1 November 2019
// (amended 31 January 2020): best valid mark with ties broken by the next-best marks, the
// best eight after three rounds, countback and jump-off in the vertical jumps.

#include "base/TextTables.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace arenor::events {

// How an event's marks are taken, guessed from its name in either language ("Høyde", "Stav",
// "Pole vault" are vertical; "Lengde", "Tresteg", "Long jump", "Triple jump" measure wind).
struct FieldEventKind {
    bool vertical = false;
    bool wind = false;
};
FieldEventKind fieldEventKindOf(const QString &eventName);

// ---- Horizontal jumps and throws ------------------------------------------------------------

enum class AttemptKind { None, Mark, Foul, Pass, Retired };

struct Attempt {
    AttemptKind kind = AttemptKind::None; // None: not taken (yet)
    int mark = 0;                         // centimetres, for AttemptKind::Mark
    std::optional<int> wind;              // tenths of m/s, where the event measures it
    bool operator==(const Attempt &) const = default;
};

// One attempt as typed: a mark in metres with up to two decimals after "." or "," ("7.35",
// "7,35", "12"), "x" (foul), "-" (pass), "r" (retired), either case, blanks around it ignored;
// an empty text is an attempt not taken. Anything else ("0", "7.35 m", "xx o", a mark of more
// than 999.99 m) is refused with a message saying what to type.
std::optional<Attempt> parseAttempt(QStringView text, Language language, QString *error);
// The attempt as the grid and lists show it: "7.35", "x", "-", "r", or empty.
QString attemptText(const Attempt &attempt);
// A wind as typed: "+1.2", "-0,4", "2", "0.0" in m/s with at most one decimal, |wind| < 100.
std::optional<int> parseWind(QStringView text, Language language, QString *error);
// "+1.2", "-0.4", "0.0".
QString windText(int tenths);
// The most wind a mark may have for records: +2.0 m/s.
constexpr int kWindLimit = 20;

// The valid marks of a series, best first.
QList<int> validMarksBestFirst(const QList<Attempt> &series);
// The best valid attempt (the first of equal best marks), nullopt when none is valid.
std::optional<Attempt> bestAttempt(const QList<Attempt> &series);
// Compares two series by the rules: the best valid mark, then the second best, and so on; a
// series with a further valid mark beats one without. <0 when a ranks higher, 0 when tied.
int compareSeries(const QList<Attempt> &a, const QList<Attempt> &b);

struct FieldPlace {
    int place = 0;        // 1.., 0 for a competitor without a valid mark
    bool tied = false;    // shares the place with another
    bool jumpOff = false; // a tie for first the card cannot break: jump-off needed
};

// Places of competitors by their series (only the first `rounds` attempts of each count,
// all when rounds is 0). Ties the next-best marks cannot break share the place.
QList<FieldPlace> horizontalPlaces(const QList<QList<Attempt>> &series, int rounds = 0);

// Who gets rounds 4 to 6: every competitor when there are no more than `finalists`, else the
// best `finalists` with a valid mark after three rounds, with all tied for the last place.
// Returns a flag per competitor.
QList<bool> finalists(const QList<QList<Attempt>> &series, int finalists = 8);
// The attempt order of rounds 4 to 6: the finalists in reverse order of their standing after
// three rounds; those without a valid mark first, and tied competitors, in the order they had
// (the draw). Indexes into series.
QList<int> finalRoundsOrder(const QList<QList<Attempt>> &series, int finalists = 8);

// ---- Vertical jumps ----------------------------------------------------------------------

// One competitor at one bar height: failures (0..3) before either a clearance, a pass, or the
// end of the competitor's jumping. "o", "xo", "xxo", "xxx", "x", "xx", "-", "x-", "xx-".
struct HeightCell {
    int failures = 0;
    bool cleared = false;
    bool passed = false; // "-" after the failures: saved attempts for the next height
    bool empty() const { return failures == 0 && !cleared && !passed; }
    bool operator==(const HeightCell &) const = default;
};
std::optional<HeightCell> parseHeightCell(QStringView text, Language language, QString *error);
QString heightCellText(const HeightCell &cell);
// A bar height as typed: "1.85" or "1,85" in metres, whole centimetres.
std::optional<int> parseHeight(QStringView text, Language language, QString *error);
QString heightText(int centimetres);

struct HeightCard {
    QList<int> heights;               // the bar's heights in centimetres, rising
    QList<QList<HeightCell>> cells;   // per competitor, per height (missing cells are empty)
    QList<int> jumpOffHeights;        // heights of a jump-off for first, in the order jumped
    QList<QList<HeightCell>> jumpOff; // per competitor, per jump-off height: one attempt each
};

// An empty text when the card follows the rules, else what is wrong: heights not rising, an
// attempt after three failures in a row, more than three attempts at one height.
QString checkHeightCard(const HeightCard &card, Language language);

struct VerticalStanding {
    int best = 0;           // best height cleared, 0 for none
    int failuresAtBest = 0; // failures at that height
    int failuresTotal = 0;  // failures up to and including that height
};
VerticalStanding verticalStanding(const HeightCard &card, int competitor);

// Places by countback: best height, then fewest failures at it, then fewest failures up to
// and including it. A tie for first that is left is settled by the jump-off heights recorded
// (one attempt each: those who clear stay in, until one is left); while it is not settled
// the tied competitors share first with jumpOff set. Other ties share their place.
QList<FieldPlace> verticalPlaces(const HeightCard &card);

// ---- The card on paper ---------------------------------------------------------------------

// The field card as text lines for the officials: a heading, a column head (attempt numbers or
// bar heights, then jump-off heights), and one line per competitor (labels[i], typically start
// number and name) with each cell, best mark and place, in columns as wide as their widest text.
QStringList fieldCardLines(const QString &heading, const QStringList &labels,
                           const QList<QList<Attempt>> &series, const HeightCard *card,
                           const QList<FieldPlace> &places, Language language);

} // namespace arenor::events
