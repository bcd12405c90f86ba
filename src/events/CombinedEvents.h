#pragma once
// Combined events scored by the published tables: the constants of each event's formula for
// men and women, indoors and outdoors, come from one data file that names its source edition
// (events/data/CombinedScoring.txt); the functions here are pure, so tests feed tables
// of their own.

#include "base/TextTables.h"
#include "events/ResultArithmetic.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace arenor::events {

enum class ScoringKind { Track, Jump, Throw };
enum class Sex { Men, Women };
enum class Venue { Outdoor, Indoor };

struct ScoringEvent {
    QString code; // "100m", "LJ", "110mH"
    Sex sex = Sex::Men;
    Venue venue = Venue::Outdoor;
    ScoringKind kind = ScoringKind::Track;
    double a = 0, b = 0, c = 0;
    int handAdjust = 0; // hundredths of a second added to a hand time
};

// A combined event of the table: its name and events in order.
struct CombinedDefinition {
    QString name;
    Sex sex = Sex::Men;
    Venue venue = Venue::Outdoor;
    QStringList events;
};

class ScoringTable {
public:
    // Reads the data file's text; nullopt with the line that is wrong in *error.
    static std::optional<ScoringTable> parse(const QString &text, QString *error);
    // The table the program carries.
    static const ScoringTable &builtIn();

    const QString &source() const { return m_source; }
    const ScoringEvent *find(const QString &code, Sex sex, Venue venue) const;
    const QList<ScoringEvent> &events() const { return m_events; }
    const QList<CombinedDefinition> &definitions() const { return m_definitions; }
    // The table's event a meet's event name stands for ("Lengde", "Long_jump", "800_m"), or
    // an empty text.
    QString codeForEventName(const QString &name) const;

private:
    QString m_source;
    QList<ScoringEvent> m_events;
    QList<CombinedDefinition> m_definitions;
    QHash<QString, QString> m_aliases; // plain name to code
};

// A mark as the formula takes it: hundredths of a second for track events (handTimed for a
// hand time, which gets the table's adjustment), centimetres for jumps and throws.
struct CombinedMark {
    std::optional<qint64> value; // none: no mark (did not start, no valid attempt)
    bool handTimed = false;
};

// Points for one mark: the formula cut to whole points; 0 for no mark and for a mark at or
// beyond the formula's base (a time slower than B), never negative.
int combinedPoints(const ScoringEvent &event, const CombinedMark &mark);

// A result text of the grid as a mark for the formula: times in the event's time format,
// distances and heights in metres. No value when the text holds no result.
CombinedMark combinedMark(const ScoringEvent &event, QStringView text, TimeFormat format,
                          bool handTimed = false);

struct CombinedLine {
    QList<int> points;  // per event
    QList<int> running; // total after each event
    int total = 0;
    QList<int> noMark; // the events without a mark (scored 0)
    int place = 0;
    bool tied = false;
};

// Points, running totals and places by total (equal totals share the place) for competitors'
// marks over the events (marks[c][e]; missing ones count as no mark).
QList<CombinedLine> scoreCombined(const QList<ScoringEvent> &events, const QList<QList<CombinedMark>> &marks);

// The note a line gets for its events without a mark: "No mark in LJ, JT: 0 points".
QString noMarkNote(const QList<ScoringEvent> &events, const CombinedLine &line, Language language);

} // namespace arenor::events
