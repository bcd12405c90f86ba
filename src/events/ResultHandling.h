#pragma once
// Bulk operations between the result column and the help columns of a grid table: moving
// results to and from a help column, adding or subtracting two help columns, picking the best
// of the attempts, clearing a column. Each runs over every row in one transaction, so it
// either completes for the whole grid or leaves the table as it was.

#include "base/TextTables.h"
#include "db/Engine.h"
#include "events/GridTable.h"

#include <QList>
#include <QStringList>

namespace arenor::events {

// In the order of the result handling window's options.
enum class HandleOperation {
    ResultToHelp = 0,  // help n = result, result = "-"
    HelpToResult = 1,  // result = help n, help n = "-"
    AddHelp = 2,       // result = help a + help b
    SubtractHelp = 3,  // result = help b - help a
    LowestOfHelp = 4,  // result = the lowest result among the help columns
    HighestOfHelp = 5, // result = the highest
    ClearHelp = 6,     // help n = "-"
    ClearResult = 7    // result = "-"
};

struct HandleRequest {
    HandleOperation operation = HandleOperation::ClearResult;
    int a = 0; // the help column of options 0, 1 and 6, the first of options 2 and 3
    int b = 0; // the second help column of options 2 and 3
};

// The help columns an operation addresses (1-based), in the order a, b.
QList<int> helpColumnsOf(const HandleRequest &request);

// An empty text when every help column the request addresses lies within 1..helpCount (and so
// within 1..6), else the message that says which number is wrong.
QString checkHelpColumns(const HandleRequest &request, int helpCount, Language language);

// The operation over columns held in memory: results one per row, help[n - 1] the texts of help
// column n (helpCount columns of the same length). The request must have passed
// checkHelpColumns. Lowest and highest compare the values the result arithmetic reads and skip
// attempts without a result; a row with no result in any help column gets "-".
void handleColumns(const HandleRequest &request, ResultKind kind, TimeFormat format, QStringList &results,
                   QList<QStringList> &help);

// The operation over a grid table, by rowid, in one transaction. Fails with a message, changing
// nothing, for a help column number out of range or a table that lacks a column it needs. A
// grid made before the event's help-column count grew is worked on with the help columns it
// has: lowest and highest take the best of those. *notice then names the columns it lacks, and
// the start numbers of attempts the time format cannot read, which are left out.
Status handleGridTable(db::Database &database, const QString &table, const GridContext &context,
                       const HandleRequest &request, Language language, QString *notice = nullptr);

} // namespace arenor::events
