#pragma once
// The program's own texts: everything a user reads that the numbered caption and message
// tables lack, Norwegian and English side by side. Named rather than numbered, so the
// numbered tables keep the numbers the settings and lists rely on. "%1", "%2"... mark the
// parts filled in with QString::arg (one call with all parts, so a "%" in a name stays as typed).

namespace arenor {

enum class Text {
    // A meet file that is refused: "<file> <what>.<untouched>"
    FileMissing,
    FileEmpty,
    FileOldFormat,
    FileNotDatabase,
    FileForeign,
    FileUnreadable,
    FileIncomplete, // followed by the missing tables
    FileNewer,
    FileUntouched,
    // The database commands
    RepairSaved,      // %1 file, %2 records, %3 kept file
    RepairLostTables, // %1 tables
    CopyNameRefused,  // %1 the copy's name
    CopyIsOpenMeet,   // %1 the copy's name
    DirectoryInUse,   // %1 directory, %2 process
    // Lists, editor and quitting
    GridMissing,      // %1 grid table
    GridLacksColumns, // %1 columns
    NoEditor,         // %1 file
    QuitQuestion,
    // Registers
    EntriesLackRecord, // %1 record
    NumberNotTaken,    // %1 kind, %2 typed, %3 place, %4 stored
    StartNumber,
    ClubNumber,
    RelayTeamNumber,
    FirstRecord,
    PreviousRecord,
    NextRecord,
    LastRecord,
    // Timing
    TimesListFull, // %1 list, %2 maximum, %3 time, %4 channel
    OutTimesList,
    InTimesList,
    TimesOverflow,    // %1 file, %2 extra, %3 maximum
    TimeFileHeldBack, // %1 the reading problem
    StartSetupNotAvailable,
    // Sorting list files
    SortNoRuler,      // %1 file
    SortNoColumns,    // %1 file
    SortTooManyRows,  // %1 file, %2 the most rows
    SortUnknownOrder, // %1 the sort code
    // The event adapters; %1 the device
    AdapterMissing,
    AdapterDenied, // %2 the group
    AdapterBusy,
    AdapterNotSupported,
    AdapterUnplugged,
    AdapterBadSetup,
    AdapterError,
    NotWired, // %1 the channels
    GpioChip,
    GpioInputs,
    GpioOutputs,
    SerialPort,
    GpioLinesTip,
    PollingRate,
    PerSecond,
    IntervalLabel,
    DelayLabel,
    // Frame, help, prompt and windows
    ToolBar,
    ButtonBar,
    WindowArea,
    Progress,
    BarEntries,
    BarEventSetup,
    BarCompetitors,
    BarClubs,
    BarRelays,
    BarClasses,
    BarOptions,
    BarPoints,
    BarTiming,
    TitleEventSetup,
    TitleEntries,
    TitleOptions,
    TitleCompetitors,
    TitleClubs,
    TitlePoints,
    TitleRelays,
    TitleClasses,
    TitleTiming,
    OptionsFrame,
    EditorFrame,
    LanguageFrame,
    Help,
    HelpSearchLabel,
    HelpContents,
    HelpSearch,
    HelpPage,
    HelpFile,
    Ok,
    Cancel,
    Yes,
    No,
    Back,
    // Meet lists: start list text, contingent, points, newspaper
    ContingentRefused, // %1 what was typed
    ClubsHeading,
    // Command line and the about box
    CommandLineAbout,
    CommandLineDir, // %1 the default directory
    CommandLineDirValue,
    CommandLineHelp,
    CommandLineVersion,
    CommandLineStray,   // %1 the argument
    ProgramDirUnusable, // %1 directory
    VersionLine,        // %1 version
    // The event setup and its grid
    ChooseOptionsFirst, // %1 the option groups without a choice
    // Results, start times, result handling and the grid's import of times
    ResultsUnreadable,    // %1 how many, %2 their start numbers, %3 the time format
    StartsWithoutTime,    // %1 the first and last start number, %2 the last time the format holds
    HelpColumnsLacking,   // %1 the columns the grid lacks, %2 those used
    TimeFileNotRewritten, // %1 file, %2 why
    // Lists found under either language's name
    JoinFoundNothing, // %1 the joined list's file, %2 the names looked for
    // The results site
    PublishOption,
    PublishChooseFolder,
    PublishFolderTitle,
    PublishFailed,        // %1 folder, %2 why
    PublishRefused,       // %1 folder, %2 why
    PublishFolderMissing,
    PublishFolderReadOnly,
    PublishFolderIsMeet,
    PublishWriteFailed,   // %1 file, %2 the system's reason
    SiteHome,
    SiteRounds,
    SiteMeetLists,
    SiteEvents,
    SiteClasses,
    SiteOtherLists,
    SiteUpdated,          // %1 date and time
    SiteInProgress,
    CommandLinePublish,
    CommandLinePublishValue,
    // Printing and PDF
    PageOf,        // %1 the page, %2 the pages
    PrintCommand,  // the menu command, with its mnemonic
    PdfCommand,    // likewise
    ClassListItem, // the event setup's print menus: the class list
    EventListItem, // and the event list
    PdfFilter,     // the file dialog's filter
    PdfFailed,     // %1 file, %2 why
    PrintFailed,   // %1 why
    NoListToPrint, // %1 the list's file
    CommandLineMeet,
    CommandLineMeetValue,
    CommandLineMakeLists,
    CommandLinePdf,
    CommandLineOnlyWithLists, // %1 the option
    ListsMadeSummary,         // %1 how many lists, %2 the folder
    // Seeding heats and lanes, advancing between rounds
    LaneNotANumber, // %1 the word
    LaneTwice,      // %1 lane
    LaneMissing,    // %1 lanes
    LaneBeyond,     // %1 lane, %2 lane count
    LaneTableUnfit, // %1 lane count
    SeedNoLanes,
    SeedTooFewHeats,     // %1 heats, %2 entrants, %3 lanes, %4 heats made
    SeedMarksUnreadable, // %1 start numbers
    SeedQuestion,
    SeedMark, // the entries window's caption
    SeedMarkTip,
    AdvanceNoFinisher, // %1 heat
    AdvanceHeatShort,  // %1 heat, %2 placed, %3 asked
    AdvanceTooMany,    // %1 asked, %2 placed
    AdvanceTiePlace,   // %1 heat, %2 place, %3 slots, %4 start numbers
    AdvanceTieTime,    // %1 result, %2 slots, %3 start numbers
    AdvanceButton,
    AdvanceTitle,
    AdvanceRulePrompt,
    AdvanceRuleBad,     // %1 what was typed
    AdvanceTieQuestion, // %1 the tie
    AdvancePickPrompt,  // %1 slots, %2 the tied start numbers
    AdvancePickBad,     // %1 what was typed, %2 slots, %3 the tied start numbers
    AdvanceOverridePrompt,
    AdvanceOverrideBad, // %1 what was typed
    AdvanceNotHeats,
    AdvanceLastRound,
    AdvanceDone,  // %1 how many, %2 the next round
    LanePriority, // the options window's caption
    // A meet on a PostgreSQL server
    FileServerDown,       // after the address, like FileMissing
    FilePasswordNeeded,   // likewise
    FileServerNoMeet,     // likewise: an empty server database opened as a meet
    ServerUntouched,      // after a server problem, as FileUntouched after a file's
    ServerOpenCommand,    // the database menu, with its mnemonic
    ServerUploadCommand,  // likewise
    ServerDownloadCommand, // likewise
    ServerTitle,
    ServerHostPrompt,
    ServerPortPrompt,
    ServerDatabasePrompt,
    ServerUserPrompt,
    ServerPasswordPrompt, // %1 the address
    ServerPortBad,        // %1 what was typed
    ServerNameBad,        // %1 what was typed
    ServerOnlyFiles,      // the file commands on a server meet
    UploadFromServer,     // %1 the address of the open meet
    UploadTargetHoldsMeet, // %1 the address
    UploadFailed,         // %1 the address, %2 why
    UploadDone,           // %1 the address
    DownloadNotServer,
    DownloadFailed,       // %1 the file, %2 why
    DownloadDone,         // %1 the file
    CommandLineServer,
    CommandLineServerValue,
    CommandLineServerBad, // %1 what was given
    CommandLineServerAndMeet,
    Count
};

} // namespace arenor
