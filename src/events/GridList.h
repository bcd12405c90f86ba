#pragma once
// The class result list written from a grid, the names of the class and event result list
// files, and the check that a list file belongs to the chosen event and class.

#include "base/ListDocument.h"
#include "base/Status.h"
#include "base/TextTables.h"
#include "events/GridColumns.h"

#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace arenor::events {

// The event and class a list is made for, as chosen in the event setup.
struct ListSelection {
    QString roundTag; // round name + "_" ("Finale_")
    int event = 0;    // 1..36
    QString eventName;
    QString variant = QStringLiteral("_");
    int classNumber = 0; // 1..40
    QString className;
};

// User text made fit for a file name and a table name alike: "/", "\", the other characters
// a file name may not hold on common file systems (: * ? " < > |) and control characters each
// become "_", so no name leaves the meet directory and the table keeps its list's name.
QString safeNamePart(const QString &text);

// "Kl-F0311.txt", or with long names "Klasse_Finale_100m_Menn.txt" (without folder).
QString ClassListName(const TextTables &texts, const ListSelection &selection, bool longNames);
// "Ov-F03.txt", or with long names "Oevelse_Finale_100m.txt" (without folder).
QString EventListName(const TextTables &texts, const ListSelection &selection, bool longNames);
// The grid table of the event and class: the class list's name without ".txt".
QString gridTableName(const TextTables &texts, const ListSelection &selection, bool longNames);

// Grid tables and list files are named in the message language ("Kl-"/"Cl-", "Finale_"/
// "Final_"), so one made before the language was switched has the other language's name.
// These are every name one may have, the message language's first, each once.
QStringList classListNames(const TextTables &texts, const ListSelection &selection, bool longNames);
QStringList eventListNames(const TextTables &texts, const ListSelection &selection, bool longNames);
QStringList gridTableNames(const TextTables &texts, const ListSelection &selection, bool longNames);
// The beginning of the names of the round's event lists ("Ov-F", "Oevelse_Finale_") and of an
// event's class lists ("Kl-F03", "Klasse_Finale_100m") with the language's prefix, the round as
// the selection names it (see selectionIn).
QString eventListPrefix(const ListSelection &selection, Language language, bool longNames);
QString classListPrefix(const ListSelection &selection, Language language, bool longNames);
// The selection with its round named in the language; as it is when its round tag is none of
// the rounds' names.
ListSelection selectionIn(const ListSelection &selection, Language language);
// The language given first, then the other one.
std::array<Language, 2> languagesFrom(Language first);

// The heading line of a class list: event, variant without "_" (unless none), class, round;
// control characters (a line break typed into a name) become "_" as in the file name.
QString listHeadingLine(const ListSelection &selection);

// A grid as the list is written from it.
struct GridList {
    ListType type = ListType::Standard;
    bool separators = true;
    bool dateLine = false; // "Time and date in lists"
    QString startDate;
    QString startTime;
    QStringList infoLines; // Info.txt; its lines 5 to 8 head the list
    ListSelection selection;
    QStringList columns;     // the grid table's column names
    QList<QStringList> rows; // each row's values by column, in the order the grid shows
    // Lines printed under a row (its attempts or height card), by row; none for most lists.
    QList<QStringList> rowNotes;
    // Text after a row's last column, by row (seeded and advanced grids: Q, q or qR and the
    // seed mark); none, or an empty one, leaves the line as it always was.
    QStringList rowMarks;
};

// The list as a document. Fails, making nothing, when the grid lacks a column of its layout.
Status gridListDocument(const TextTables &texts, const GridList &list, ListDocument &document);
// Writes the list. Fails, writing nothing, when the grid lacks a column of its layout.
Status WriteGridList(QIODevice &device, const TextTables &texts, const GridList &list);
// Replaces the file with the list, atomically; a failure leaves the old file as it was.
// `made` gets the list's document when given.
Status writeGridListFile(const QString &path, const TextTables &texts, const GridList &list,
                         ListDocument *made = nullptr);

// True when the list file's seventh line is the heading of the selection (blanks at the end
// aside; the round named in either language); false for another event or class, or a file too
// short or unreadable. A false answer
// is message 23 for the caller, which shows the file all the same.
bool CheckListHeading(const QString &path, const ListSelection &selection);

} // namespace arenor::events
