#include "GridSort.h"

#include "db/RecordModel.h"

#include <algorithm>
#include <numeric>

namespace arenor::events {

SortAs sortAsFor(GridColumn column, const QVariant &sample)
{
    switch (column.role) {
    case ColumnRole::Results:
    case ColumnRole::Difference:
    case ColumnRole::Out:
    case ColumnRole::In:
    case ColumnRole::Help:
        return SortAs::Result;
    case ColumnRole::None:
        break;
    default:
        return isIntegerColumn(column.role) ? SortAs::Number : SortAs::Text;
    }
    const int type = sample.typeId();
    return type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Double ? SortAs::Number
                                                                                              : SortAs::Text;
}

SortProposal sortProposal(const GridContext &context, bool registerMode)
{
    SortProposal p;
    if (registerMode)
        return p;
    if (context.run)
        p.descending = false;
    else if (context.technical)
        p.descending = true;
    switch (context.type) {
    case ListType::Standard:
    case ListType::Step:
        p.column = 5;
        break;
    case ListType::Heat:
        p.column = 8;
        break;
    case ListType::Relay:
        p.column = 6;
        break;
    default:
        break;
    }
    return p;
}

QString sortExpression(int column, bool descending)
{
    return QStringLiteral(" %1 %2").arg(column).arg(descending ? QStringLiteral("Desc")
                                                               : QStringLiteral("Asc"));
}

QString norwegianKey(const QString &text)
{
    QString key = text.trimmed().toCaseFolded();
    for (QChar &c : key) {
        switch (c.unicode()) {
        case 0xE6: // æ
        case 0xE4: // ä
            c = QChar(u'z' + 1);
            break;
        case 0xF8: // ø
        case 0xF6: // ö
            c = QChar(u'z' + 2);
            break;
        case 0xE5: // å
            c = QChar(u'z' + 3);
            break;
        default:
            break;
        }
    }
    return key;
}

QList<int> sortedPositions(const QList<QVariant> &values, SortAs as, ResultKind kind, TimeFormat format,
                           bool descending)
{
    QList<int> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    if (as == SortAs::Result) {
        // Read each value once: (has a result, value).
        std::vector<std::optional<qint64>> keys;
        keys.reserve(size_t(values.size()));
        for (const QVariant &v : values)
            keys.push_back(resultValue(kind, format, v.toString()));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const auto &x = keys[size_t(a)];
            const auto &y = keys[size_t(b)];
            if (!x || !y)
                return x.has_value() && !y.has_value();
            return descending ? *x > *y : *x < *y;
        });
    } else if (as == SortAs::Number) {
        std::vector<double> keys;
        for (const QVariant &v : values)
            keys.push_back(v.toDouble());
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return descending ? keys[size_t(a)] > keys[size_t(b)] : keys[size_t(a)] < keys[size_t(b)];
        });
    } else {
        QStringList keys;
        for (const QVariant &v : values)
            keys << norwegianKey(v.toString());
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int c = keys[a].compare(keys[b]);
            return descending ? c > 0 : c < 0;
        });
    }
    return order;
}

GridSortModel::GridSortModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    // The order is a snapshot: an edited value does not move its row.
    setDynamicSortFilter(false);
}

void GridSortModel::sortGrid(int column, bool descending, SortAs as, ResultKind kind, TimeFormat format)
{
    QAbstractItemModel *source = sourceModel();
    if (!source || column < 0 || column >= source->columnCount())
        return;
    const QList<int> shown = shownOrder();
    QList<QVariant> values;
    values.reserve(shown.size());
    for (int row : shown)
        values << source->index(row, column).data(Qt::EditRole);
    const QList<int> positions = sortedPositions(values, as, kind, format, descending);
    m_rank = QList<int>(source->rowCount(), 0);
    for (int p = 0; p < positions.size(); ++p)
        m_rank[shown[positions[p]]] = p;
    // Ranks are unique, so the proxy's own direction and stability play no part.
    invalidate();
    sort(column, Qt::AscendingOrder);
}

bool GridSortModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const int l = left.row();
    const int r = right.row();
    // Rows added since the sort come after the sorted ones, in table order.
    const int rl = l < m_rank.size() ? m_rank[l] : int(m_rank.size()) + l;
    const int rr = r < m_rank.size() ? m_rank[r] : int(m_rank.size()) + r;
    return rl < rr;
}

int GridSortModel::sourceRow(int shownRow) const
{
    return mapToSource(index(shownRow, 0)).row();
}

QList<int> GridSortModel::shownOrder() const
{
    QList<int> rows;
    rows.reserve(rowCount());
    for (int r = 0; r < rowCount(); ++r)
        rows << sourceRow(r);
    return rows;
}

QList<qint64> GridSortModel::shownRowids() const
{
    const auto *table = qobject_cast<const db::RecordModel *>(sourceModel());
    QList<qint64> rowids;
    if (!table)
        return rowids;
    rowids.reserve(rowCount());
    for (int r = 0; r < rowCount(); ++r)
        rowids << table->rowid(sourceRow(r));
    return rowids;
}

void GridSortModel::setRowMarks(const QHash<int, QString> &marks)
{
    m_marks = marks;
    if (rowCount() > 0)
        emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

QVariant GridSortModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && section >= 0 && section < rowCount()) {
        const QString mark = m_marks.value(sourceRow(section));
        return mark.isEmpty() ? QVariant(section + 1)
                              : QVariant(QStringLiteral("%1 %2").arg(section + 1).arg(mark));
    }
    return QSortFilterProxyModel::headerData(section, orientation, role);
}

} // namespace arenor::events
