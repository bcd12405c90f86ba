#pragma once
// A list as a document: the lines of the text file with what each line is and the cells it
// holds at their print positions. The text file is the lines' text joined, byte for byte as
// before; printing, PDF and the web pages use the kinds and cells, so none of them re-parses a
// text file.

#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace arenor {

enum class ListLineKind {
    Header,  // the header block above the list (meet name, place, date from Info.txt)
    Title,   // the list's title line ("Resultater 100m Menn")
    Section, // a heading inside the list: an event, a class, a heat, a club
    Columns, // the column headings of the rows that follow
    Ruler,   // a line of "=" or "-": drawn as a table rule, never printed as characters
    Row,     // one row of the table under the last column headings
    Note,    // any other text (remarks, totals, sums)
    Blank,
};

// Text at a print position. Positions count characters from 1; width 0 means "to the end".
struct ListCell {
    int column = 1;
    int width = 0;
    QString text;
    bool rightAligned = false;

    bool operator==(const ListCell &) const = default;
};

struct ListDocLine {
    ListLineKind kind = ListLineKind::Note;
    QString text;          // the line exactly as the text file holds it
    QList<ListCell> cells; // empty for blanks and rulers; one cell for plain text

    bool operator==(const ListDocLine &) const = default;
};

struct ListDocument {
    QString title;     // shown in page headers and as the web page's title
    QString kind;      // what list it is ("class", "event", "results", "startlist", ...)
    QString roundName; // the round the list belongs to, empty for meet-wide lists
    QString fileName;  // the text file's name in the meet directory
    QString meetName;  // the meet's name as the header block gives it (may be empty)
    QList<ListDocLine> lines;

    // The text file's lines (without line ends).
    QStringList textLines() const
    {
        QStringList out;
        out.reserve(lines.size());
        for (const ListDocLine &line : lines)
            out.append(line.text);
        return out;
    }
    // The widest line in characters: decides portrait or landscape.
    qsizetype width() const
    {
        qsizetype widest = 0;
        for (const ListDocLine &line : lines)
            widest = std::max(widest, qsizetype(line.text.toUcs4().size()));
        return widest;
    }
    void add(ListLineKind lineKind, const QString &text, QList<ListCell> cells = {})
    {
        if (cells.isEmpty() && !text.isEmpty() && lineKind != ListLineKind::Ruler &&
            lineKind != ListLineKind::Blank)
            cells.append(ListCell{1, 0, text, false});
        lines.append(ListDocLine{lineKind, text, std::move(cells)});
    }
};

// The cells of a column heading line: the texts between its ":" separators, trimmed, each at
// the position where it starts.
QList<ListCell> headingCells(QStringView heading);
// The cells of a row as read from a file: cut where the heading has its separators.
QList<ListCell> cellsUnder(QStringView heading, QStringView row);
// The print positions of the heading's ":" separators: where a table draws its rules.
QList<int> separatorColumns(QStringView heading);
// True for a line of one repeated "=" or "-" (at least two).
bool isRulerText(QStringView text);

} // namespace arenor
