#pragma once
// What every text list shares: lines built by print positions with ":" separators that turn
// into blanks when separators are off, the header block taken from Info.txt, and the reading
// of a list's column header to know which layout a list file has.

#include "base/ListDocument.h"
#include "base/TextFile.h"
#include "db/AppState.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace arenor::lists {

// One line of a list. Positions count from 1. A value printed at a position the line has
// already passed follows right after what the line holds.
class ListLine {
public:
    explicit ListLine(bool separators) : m_separators(separators) {}

    // Text at a position; cut to `width` characters when width > 0.
    ListLine &text(int column, QStringView value, int width = 0);
    // A number with a blank in place of its plus sign (" 7", "-7").
    ListLine &number(int column, qint64 value);
    // ":" when separators are on, a blank otherwise, so later columns keep their place.
    ListLine &separator(int column);
    // Separators at each of the columns.
    ListLine &separators(std::initializer_list<int> columns);
    // Blanks up to and including the column.
    ListLine &blankTo(int column);

    const QString &line() const { return m_line; }
    // What the line holds at its positions: each text and number, separators left out.
    const QList<ListCell> &cells() const { return m_cells; }
    // The print positions the line holds (characters, not UTF-16 units).
    qsizetype size() const { return m_characters; }

private:
    void padTo(int column);
    ListLine &place(int column, QStringView value, int width, bool rightAligned);
    QString m_line;
    QList<ListCell> m_cells;
    qsizetype m_characters = 0;
    bool m_separators;
};

// Characters first..last (1-based, both included) of a line: blanks where the line is
// shorter, so hand-edited short lines read as empty fields.
QString field(QStringView line, int first, int last);
QString trimmedField(QStringView line, int first, int last);

// The header block of the lists: lines 5 to 8 of the meet's Info.txt (blank lines where the
// file is shorter). A missing Info.txt is written from its template first, as start-up would.
Status infoHeaderLines(const AppState &state, QStringList &lines);

// The round name of the round tag ("Finale_" -> "Finale").
inline QString roundNameOf(const QString &roundTag)
{
    return roundTag.left(roundTag.size() - 1);
}

// How far a list's columns stand to the right of the standard layout, read from its column
// header line: 22 for the heat layout (positions 3-6 "Heat"), 0 for the standard one
// (positions 3-7 "Co.pl" / "Øv.pl"), 7 for relay lists (positions 3-6 "Lane" / "Bane").
// Either language is recognised, so a list made before the language was switched still reads.
// -1 for any other line.
constexpr int kNoLayout = -1;
int layoutShift(QStringView headerLine);

// Adds a made line to a list document.
inline void addLine(ListDocument &document, ListLineKind kind, const ListLine &line)
{
    document.add(kind, line.line(), line.cells());
}
// Adds a column heading line with its cells between the separators.
inline void addColumns(ListDocument &document, const QString &heading)
{
    document.add(ListLineKind::Columns, heading, headingCells(heading));
}
inline void addRuler(ListDocument &document, QChar c, int n)
{
    document.add(ListLineKind::Ruler, ruler(c, n));
}
// The header block, its first line taken as the meet's name.
void addHeaderLines(ListDocument &document, const QStringList &header);

// A list read back from a file (sorted or joined): its lines classified by the layout every
// list shares. The title first, the header block of Info.txt next, a column heading between a
// "-" and a "=" ruler (or one of the known headings), its rows up to the next ruler, cut where
// the heading has its separators; a text after a blank line or a table is a section heading.
ListDocument classifiedList(const QStringList &lines);

} // namespace arenor::lists
