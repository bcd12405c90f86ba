#pragma once
// The columns of a grid table and what each one is for. A grid table's column names come
// from the interface language at the time it was made ("Results" or "Resultat"), so every
// command finds its columns by role, recognising the names of either language.

#include "base/TextTables.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace arenor::events {

// The event setup's list type.
enum class ListType { Standard = 0, Heat = 1, Relay = 2, Step = 3, Multi = 4, Special = 5 };

// A list type code 0..5; anything else is the standard list.
ListType listTypeFromCode(int code);
// The layout a list type's grid and grid list use. Multi and special events have no layout
// of their own and use the standard one, so their results can still be typed and listed.
ListType gridLayoutOf(ListType type);

enum class ColumnRole {
    None,
    Heat,
    Lane,
    HeatPlace,
    Place,
    Number,
    Name,
    Club,
    ClubName,
    Class,
    Results,
    Difference,
    Out,
    In,
    Help
};

struct GridColumn {
    ColumnRole role = ColumnRole::None;
    int help = 0; // 1.. for help columns
    bool operator==(const GridColumn &) const = default;
};

// The message that names a role's column (the help columns' name is followed by their number).
int columnMessage(ColumnRole role);
// Heat, lane and the three number columns are whole numbers; the others text.
bool isIntegerColumn(ColumnRole role);
// The column's name in a language: "Resultat", "Hjelp-2".
QString columnName(GridColumn column, Language language);
// The role of a column name of either language, ignoring case and surrounding blanks, as the
// database does; ColumnRole::None for a name of neither.
GridColumn columnRole(const QString &name);

// The columns of a grid table in table order; the help columns stand after Results.
QList<GridColumn> gridColumnLayout(ListType type, int helpCount);

// The roles found in one grid table's column names.
class GridColumns {
public:
    GridColumns() = default;
    explicit GridColumns(const QStringList &names);

    // The position of the role's first column, -1 when the table has none.
    int index(ColumnRole role) const;
    // The position of help column n, -1 when the table has none.
    int helpIndex(int n) const;
    // The columns of the layout (help columns aside) the table lacks, so that a grid edited
    // by hand is refused with their names instead of being read wrongly.
    QList<GridColumn> missing(ListType type) const;
    // What an edit of column `position` changes: a start-list column (entries, heats, lanes and
    // who runs) or a result. Columns the layout does not know count as start-list columns.
    bool holdsStartList(int position) const;

private:
    QList<GridColumn> m_columns;
};

// The names of missing columns for a message: "Resultat, Differanse".
QString columnNames(const QList<GridColumn> &columns, Language language);

} // namespace arenor::events
