#pragma once
// Every list of a meet's current round made without a window, for scripts and servers: the
// command line's --make-lists.

#include "db/AppState.h"

#include <QStringList>

namespace arenor {

struct ListBatchResult {
    QStringList made;     // the text files written, in order
    QStringList pdfs;     // the PDF files written
    QStringList failures; // what went wrong, one text each; the other lists are still made
};

// Makes every list of the state's current meet and round: each class list that has entrants
// (from its grid when the grid table is there, since it holds the results, otherwise the form
// from the entries), each event list joining them, the meet results list, the newspaper, start
// list text, contingent (at the default fee), points and time schedule lists. With pdfDir set
// every list made is saved there as PDF too, named as its text file. The meet must be open.
ListBatchResult makeEveryList(AppState &state, const QString &pdfDir);

// The command line's run: opens the meet (`meet`: a name in the program directory, a path or a
// server address; empty for the meet the program would open), makes every list, and reports to the streams.
// Returns the exit status: 0 when every list was made, 1 otherwise.
int runListBatch(const QString &programDir, const QString &meet, const QString &pdfDir,
                 const QString &publishDir = QString());

} // namespace arenor
