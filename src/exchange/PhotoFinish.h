#pragma once
// The files of a photo-finish camera. Start lists go out as three comma-separated text files:
// the participants (".ppl": id, surname, first name, affiliation), the events with their
// heats (".evt": a line "event,round,heat,name" followed by one line ",id,lane,surname,first
// name,affiliation" per runner) and the schedule (".sch": "event,round,heat" in running
// order). A race comes back as one result file (".lif"): a first line "event,round,heat,
// name,wind,..." and one line per runner "place,id,lane,surname,first name,affiliation,time,
// ...". Fields after these are read over.
//
// A grid is the camera's event number 100 x event slot + class (1411: event 14, class 11),
// its round the round number 1..4 and the heat the grid's heat (1 for a grid without heats).

#include "db/AppState.h"
#include "events/ResultArithmetic.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace arenor::exchange {

int cameraEventNumber(int event, int cls);

struct FinishLine {
    int line = 0;  // in the file
    QString place; // "1", or DNS, DNF, DQ...
    QString id;
    QString lane;
    QString surname, firstName, affiliation;
    QString time;
};

struct FinishRace {
    int event = 0, round = 0, heat = 0;
    QString name;
    QString wind; // as written, empty when none
    QList<FinishLine> lines;
};

enum class FinishError { None, Empty, BadHeading, BadLine };

struct FinishRead {
    FinishRace race;
    FinishError error = FinishError::None;
    int errorLine = 0;
    bool ok() const { return error == FinishError::None; }
};

// Reads a result file. The first line must hold three whole numbers; a result line needs at
// least the place and the id (lines with fewer fields, or an id that is no number, are
// refused with their line number). Blank lines are left out.
FinishRead parseFinishFile(const QByteArray &bytes);

// A camera time ("10.234", "1:02.345", "1:02:03.4567") in the event's time format, the
// thousandths (and anything finer) rounded up to the format's smallest unit as the rules ask
// when a photo-finish time is handed over in hundredths or whole seconds: 10.231 is 10.24.
// nullopt for a text that is no time (then the runner has no result).
std::optional<QString> finishTimeText(QStringView time, events::TimeFormat format);

// The result text a line gives: its time in the format, or the place text ("DNS", "DNF",
// "DQ"), which the arithmetic reads as no result, when the runner did not finish.
QString finishResultText(const FinishLine &line, events::TimeFormat format);

struct FinishImport {
    QString table;
    int stored = 0;
};

// The time format of a grid table where a window shows it with choices not yet stored.
using GridFormat = std::function<std::optional<events::TimeFormat>(const QString &table)>;

// Puts the race's results into the result column of its grid, matching rows by start number,
// all in one transaction, in the time format of the grid's window when one is open, else of
// the stored event setup; the heat's wind is kept (table Vind: round, event, class, heat,
// wind). Refused, changing nothing, when the file does not read, names an
// event, class or round without a grid, or holds a start number not in the grid.
Status importFinishFile(AppState &state, const QByteArray &bytes, const QString &name, FinishImport &out,
                        const GridFormat &shownFormat = {});
// The wind kept for a heat (round 1..4), empty when none.
QString heatWind(AppState &state, int round, int event, int cls, int heat);

// Writes the start lists of every run event of the current round that has a heat or standard
// grid into the folder: <base>.ppl, <base>.evt and <base>.sch, each replaced atomically.
// grids gets the number of grids written.
Status writeStartLists(AppState &state, const QString &folder, const QString &base, int *grids = nullptr);

} // namespace arenor::exchange
