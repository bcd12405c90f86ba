#pragma once
// Where the attempts, winds, height cards and combined events of a meet are kept: the tables
// of schema version 3, keyed by the grid table and start number, so a grid made again keeps
// what was typed for the competitors still in it. Results and places go back into the grid.

#include "db/Engine.h"
#include "events/CombinedEvents.h"
#include "events/FieldEvents.h"

#include <QHash>
#include <QStringList>

namespace arenor::events {

// The competitors of a grid table in table order: start number, name, club, and the rowid.
struct FieldCompetitor {
    qint64 rowid = 0;
    QString number;
    QString name;
    QString club;
};
Status readFieldCompetitors(db::Database &database, const QString &table, QList<FieldCompetitor> &out);

// Attempts by start number; a stored text that no longer reads (edited by hand) is left out
// and its start number named in *unread.
Status loadAttempts(db::Database &database, const QString &table, QHash<QString, QList<Attempt>> &out,
                    QStringList *unread = nullptr);
// Replaces one competitor's attempts in one transaction.
Status saveAttempts(db::Database &database, const QString &table, const QString &number,
                    const QList<Attempt> &attempts);

// The card of a grid table with its rows in the order of numbers.
Status loadHeightCard(db::Database &database, const QString &table, const QStringList &numbers,
                      HeightCard &card, QStringList *unread = nullptr);
// Replaces the whole card of the table in one transaction; refused, storing nothing, when
// checkHeightCard finds a fault.
Status saveHeightCard(db::Database &database, const QString &table, const QStringList &numbers,
                      const HeightCard &card, Language language);

// Writes result and place into the grid table by rowid, in one transaction: results[i] and
// places[i] for competitors[i] (place 0 writes an empty place). The grid must have both columns.
Status writeFieldResults(db::Database &database, const QString &table,
                         const QList<FieldCompetitor> &competitors, const QStringList &results,
                         const QList<FieldPlace> &places);

// The lines a class list prints under each competitor with attempts or a height card
// ("Forsøk: 7.10 x 7.30(+2.3w)", "Høyder: 1.60 o 1.65 xo"), numbers in the list's row order;
// an empty list for a competitor without, so lists of events without attempts stay as they were.
QList<QStringList> fieldListNotes(db::Database &database, const QString &table, const QStringList &numbers,
                                  Language language);

// A combined event of the meet: events of the scoring table bound to the meet's events.
struct CombinedSetup {
    QString name;
    int cls = 0; // 1..40
    Sex sex = Sex::Men;
    Venue venue = Venue::Outdoor;
    QStringList codes;     // the scoring table's events, in order
    QList<int> events;     // the meet's event numbers 1..36, one per code (0: not bound)
    QStringList handTimed; // codes of events timed by hand
};
Status loadCombinedSetups(db::Database &database, QList<CombinedSetup> &out);
// Replaces every stored combined event in one transaction.
Status saveCombinedSetups(db::Database &database, const QList<CombinedSetup> &setups);

} // namespace arenor::events
