#pragma once
// The exchange commands of the Database menu as far as they need no window: choosing a file,
// the exports with their questions and messages, and storing an import with its summary.

#include "db/AppState.h"
#include "exchange/CsvImport.h"
#include "exchange/PhotoFinish.h"

#include <optional>

namespace arenor::exchange {

// A CSV file to read (save false) or write, suggested in the meet directory; nullopt on Cancel.
// A file to write that exists is replaced only when the user says so.
std::optional<QString> chooseCsvFile(AppState &state, bool save, const QString &suggestedName = {});

// "Export competitors" and "Export the round's results": the file chosen, written, and the
// count told. False when nothing was written (cancelled, or the failure was told).
bool exportCompetitorsCommand(AppState &state);
bool exportRoundResultsCommand(AppState &state);
// "Export the grid": the class list results of one grid table (best first).
bool exportGridCommand(AppState &state, const QString &table);

// "Write photo-finish start lists": into the camera's folder of the options when one is set,
// else the folder and base name chosen as the .evt file to write (the meet directory's
// "Maalfoto" folder proposed); then the three files written.
bool startListsCommand(AppState &state);
// "Read photo-finish result file": a .lif file chosen and put into its grid, or refused whole.
// The grid table that got the results, nullopt when none did.
std::optional<QString> finishFileCommand(AppState &state, const GridFormat &shownFormat = {});

// Stores the import (every good line or nothing) and tells the summary or the failure.
bool applyImport(AppState &state, const CsvImport &import);

} // namespace arenor::exchange
