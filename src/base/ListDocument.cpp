#include "ListDocument.h"

#include "base/TextFile.h"

namespace arenor {

namespace {

// The trimmed text of characters [first, end) as a cell starting where its text starts; no
// cell for blanks.
void appendCell(QList<ListCell> &cells, QStringView line, qsizetype first, qsizetype end)
{
    const QStringView part = characterMid(line, first, end < 0 ? -1 : end - first);
    qsizetype lead = 0;
    while (lead < part.size() && part[lead].isSpace())
        ++lead;
    const QStringView text = part.mid(lead).trimmed();
    if (text.isEmpty())
        return;
    cells.append(ListCell{int(first + characterCount(part.left(lead))) + 1, 0, text.toString(), false});
}

} // namespace

QList<int> separatorColumns(QStringView heading)
{
    QList<int> columns;
    int column = 0;
    for (qsizetype i = 0; i < heading.size(); ++i) {
        if (heading[i].isLowSurrogate())
            continue;
        ++column;
        if (heading[i] == u':')
            columns.append(column);
    }
    return columns;
}

QList<ListCell> cellsUnder(QStringView heading, QStringView row)
{
    QList<ListCell> cells;
    qsizetype start = 0;
    for (int column : separatorColumns(heading)) {
        appendCell(cells, row, start, column - 1);
        start = column;
    }
    appendCell(cells, row, start, -1);
    return cells;
}

QList<ListCell> headingCells(QStringView heading)
{
    return cellsUnder(heading, heading);
}

bool isRulerText(QStringView text)
{
    if (text.size() < 2 || (text[0] != u'=' && text[0] != u'-'))
        return false;
    for (QChar c : text)
        if (c != text[0])
            return false;
    return true;
}

} // namespace arenor
