#pragma once
// The event setup of a round, event and class: one record of Oppsett each, numbered
// (round - 1) x 1440 + (event - 1) x 40 + class, and the two pick lists with their counts.

#include "db/AppState.h"
#include "events/GridList.h"

#include <QStringList>
#include <array>
#include <optional>

namespace arenor::events {

// The fields of an event setup record.
enum SetupField {
    SetupIndex = 0,
    SetupCategory = 1,   // 0 run, 1 technical, 2 combined
    SetupListType = 2,   // 0 standard, 1 heat, 2 relay, 3 out/in, 4 multi, 5 special
    SetupSorting = 3,    // 0 increasing .. 5 heat
    SetupTimeFormat = 4, // 0 h.m.s, 1 m.s.hundredths, 2 s.hundredths
    SetupDate = 5,
    SetupStartTime = 6,
    SetupVariant = 7,
    SetupHelpColumns = 8,
};
constexpr int kListTypeRelay = 2;

// Record number for round 0..3, event 1..36, class 1..40.
int setupRecordNumber(int round, int event, int cls);
// The record "OppsettMover" moves to: 1..5760, nullopt for anything else (never an overflow).
std::optional<int> setupMoverTarget(const QString &text);

// The options of an event setup as a command takes them (stored in the record, or clicked
// since): the index within the group, nullopt where none is chosen.
struct SetupOptions {
    std::optional<int> category;   // 0..2
    std::optional<int> listType;   // 0..5
    std::optional<int> timeFormat; // 0..2
    std::optional<int> sorting;    // 0..5
};
// A stored option field as a choice: its number within 0..count-1, else none (a field emptied
// or edited by hand is no choice).
std::optional<int> storedOption(const QString &text, int count);
// What a command lacks, in the window's order (SetupListType, SetupCategory, SetupTimeFormat,
// SetupSorting): the list commands need the list type and category, and the time format for
// a run; a sort needs the category, the time format for a run, and the sorting.
QList<SetupField> missingOptions(const SetupOptions &options, bool sorts);

// The help-column box as shown and stored: above 5 becomes "5", below 0 "0", else as it is.
QString clampedHelpColumns(const QString &text);

// Whether a category enables the time formats: run yes, technical no, combined leaves them.
std::optional<bool> timeFormatsEnabled(int category);

// The variant drop-down, in order.
QStringList variantTexts();

// Entries of every event in the current round: an entrant counts when the matrix holds it and
// its class is not "-". Index 0 unused.
std::array<int, kEventSlots + 1> eventCounts(const AppState &state);
// The event list: count with its sign blank, "> " or two blanks, the name, ",".
QStringList eventListLines(const AppState &state);
// The class list of an event 1..36: one line per class 1..40, so position p is class p + 1;
// relay teams are counted while the list type is relay, otherwise competitors.
QStringList classListLines(const AppState &state, int event, bool relays);

// The event and class chosen (1-based numbers; 0 for none) as the list names and headings take
// them: the current round tag, the event and class names, the variant.
ListSelection listSelection(const AppState &state, int event, int cls, const QString &variant);
// The grid table name of the chosen event and class: long ("Klasse_" + round tag + event name
// + trimmed variant + class name) or short ("Kl-" + round initial + two-digit event and class),
// unsafe characters made "_" as in the class list's file name.
QString gridTableName(const AppState &state, int event, int cls, const QString &variant);

// Status bar panel 3: round tag, event name, trimmed variant, class name, run together.
QString setupStatusText(const AppState &state, int event, int cls, const QString &variant);

// One whole record of Oppsett by number (1..5760) and one field written at once by rowid.
// Every record of Oppsett of the meet at once, in record order, each with all its fields: for
// a list that looks at many of them (one read instead of one per record).
Status readSetupRecords(AppState &state, std::vector<QStringList> &records);
Status readSetupRecord(AppState &state, int record, QStringList &fields);
Status writeSetupField(AppState &state, int record, int field, const QString &value);

} // namespace arenor::events
