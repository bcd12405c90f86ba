#pragma once
// Sorting the rows a grid shows. Only the order shown changes: the rows keep their place (and
// rowid) in the table. Result-like columns sort by the value the result arithmetic reads,
// rows without a result last in either direction; whole-number columns by number; the others
// as text in the order a Norwegian reader expects (Æ, Ø, Å after Z). Ties keep the order shown.

#include "events/GridColumns.h"
#include "events/GridTable.h"

#include <QHash>
#include <QList>
#include <QSortFilterProxyModel>
#include <QVariant>
#include <optional>

namespace arenor::events {

enum class SortAs { Text, Number, Result };

// The key by which names sort: case folded, with Æ (Ä), Ø (Ö) and Å after Z as in the
// Norwegian alphabet.
QString norwegianKey(const QString &text);

// How a column of the grid sorts: by its role, or for a register table by its values.
SortAs sortAsFor(GridColumn column, const QVariant &sample);

// The sort window's proposal for an event grid: the Results column (1-based, as the window
// counts) and the direction that fits the category; nothing in register mode, no column for
// multi and special events, no direction for combined events.
struct SortProposal {
    std::optional<int> column;
    std::optional<bool> descending;
};
SortProposal sortProposal(const GridContext &context, bool registerMode);

// The sort expression as the window always wrote it: " 3 Desc", " 5 Asc".
QString sortExpression(int column, bool descending);

// Positions 0..n-1 of values (in the order shown) in their sorted order; stable.
QList<int> sortedPositions(const QList<QVariant> &values, SortAs as, ResultKind kind, TimeFormat format,
                           bool descending);

// Sits between a grid's table model and its view and holds the order shown.
class GridSortModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit GridSortModel(QObject *parent = nullptr);

    // SortGrid: shows the rows ordered by column (0-based).
    void sortGrid(int column, bool descending, SortAs as, ResultKind kind = ResultKind::Number,
                  TimeFormat format = TimeFormat::HoursMinutesSeconds);
    // The table row shown at a position, and the table rows in the order shown.
    int sourceRow(int shownRow) const;
    QList<int> shownOrder() const;
    // The rowids of the rows in the order shown (the class list is written in it); empty
    // when the table is not a meet table.
    QList<qint64> shownRowids() const;

    // Rows are numbered by where they are shown, not where they are stored; a row marked
    // (the advancement's Q, q or qR by table row) shows its mark beside the number.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void setRowMarks(const QHash<int, QString> &marks);

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    QList<int> m_rank; // table row -> position in the order shown
    QHash<int, QString> m_marks;
};

} // namespace arenor::events
