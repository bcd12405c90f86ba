#pragma once
// The texts of the exchange with other systems (spreadsheets, federation systems, the
// photo-finish camera), Norwegian and English side by side. "%1", "%2"... are filled in with
// one QString::arg call.

#include "base/TextTables.h"

#include <QString>

namespace arenor::exchange {

enum class ExText {
    // Reading a file
    FileUnreadable, // %1 file, %2 why
    FileNotText,    // %1 file
    FileOpenQuote,  // %1 file, %2 line
    FileEmpty,      // %1 file
    FileOnlyHeading,
    // Problems of a line
    LineDoesNotParse, // %1 fields, %2 the heading's fields
    NameMissing,
    ClassMissing,
    UnknownEvent,      // %1 the event as written
    StartNumberTaken,  // %1 start number, %2 who has it
    StartNumberNoSlot, // %1 start number, %2 register size
    RegisterFull,
    ClubRegisterFull,   // %1 club
    ClassRegisterFull,  // %1 class
    SeedMarkUnreadable, // %1 the mark as written
    SeedMarkEvents,     // %1 the mark, %2 events entered on the line
    NoNameColumn,
    Summary,     // %1 added, %2 known, %3 entries, %4 round, %5 clubs, %6 classes, %7 skipped
    LineProblem, // %1 line, %2 problem
    NothingToImport,
    // Columns
    ColumnIgnored,
    ColumnStartNo,
    ColumnFirstName,
    ColumnSurname,
    ColumnClub,
    ColumnClass,
    ColumnSex,
    ColumnBorn,
    ColumnEvents,
    ColumnEvent, // %1 event
    ColumnSeedMark,
    SummaryMarks, // %1 seed marks
    // Export headings
    HeadPlace,
    HeadName,
    HeadResult,
    HeadDifference,
    HeadHelp, // %1 number
    HeadEvent,
    HeadRound,
    Exported, // %1 rows, %2 file
    // Windows and commands
    ImportTitle,
    ImportFile,
    ImportPreview,
    ImportProblems,
    ImportColumns,
    ImportMeaning,
    ImportApply,
    ImportCommand,
    ImportButton,
    ExportCompetitorsCommand,
    ExportRoundCommand,
    ExportGridCommand,
    NoGridShown,
    CsvFilter,
    Overwrite, // %1 file
    CompetitorsFile,
    ResultsFile,       // %1 round
    FinishBadLine,     // %1 file, %2 line
    FinishNoGrid,      // %1 file, %2 event, %3 round, %4 heat
    FinishNotInGrid,   // %1 file, %2 line, %3 start number, %4 grid
    FinishStored,      // %1 count, %2 file, %3 grid
    StartListsWritten, // %1 grids, %2 folder
    StartListsCommand,
    FinishCommand,
    FinishFilter,
    ExportFailed, // %1 file, %2 why
    // The camera folder in the options
    CameraFrame,
    CameraFolder,
    CameraChoose,
    CameraClear,
    CameraWatch,
    CameraFolderTitle,
    CameraFolderUnusable, // %1 folder, %2 why
    CameraFolderMissing,
    CameraFolderReadOnly,
    CameraListsFailed, // %1 folder, %2 why
    CameraFileFailed,  // %1 file, %2 why
    Count
};

QString exchangeText(ExText id, Language language);
inline QString exchangeText(ExText id, const TextTables &texts)
{
    return exchangeText(id, texts.messageLanguage());
}

} // namespace arenor::exchange
