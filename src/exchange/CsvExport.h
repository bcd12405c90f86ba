#pragma once
// Writing the registers and results as CSV for spreadsheets and federation systems. Each
// writer builds its records; the file is replaced atomically. The separator follows the
// message language: ";" for Norwegian (spreadsheets there use the decimal comma), "," for
// English.

#include "db/AppState.h"
#include "events/GridList.h"

#include <QList>
#include <QStringList>

namespace arenor::exchange {

QChar exportSeparator(const AppState &state);

// Every competitor with a name: start number, first name, surname, club, class, sex, born and
// the events entered in the current round (" | " between them), under headings the import
// maps back.
Status competitorRecords(AppState &state, QList<QStringList> &records);

// One grid table's results, best first (rows without a place last): place, start number,
// name, club, result, difference and the help columns the grid has.
Status gridRecords(AppState &state, const QString &table, QList<QStringList> &records);

// Every result of the current round: one row per grid row with its event, class and round,
// heat, lane, place, start number, name, club, result, difference and help columns 1..5.
Status roundResultRecords(AppState &state, QList<QStringList> &records);

// Writes records into the file; rows gets the number of data rows.
Status writeCsvFile(const AppState &state, const QString &path, const QList<QStringList> &records);

} // namespace arenor::exchange
