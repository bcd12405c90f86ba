#include "RecordModel.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace arenor::db {

RecordModel::RecordModel(QObject *parent) : QAbstractTableModel(parent) {}

bool RecordModel::open(Database &database, const QString &table)
{
    beginResetModel();
    m_db = nullptr;
    m_fields.clear();
    m_rowids.clear();
    m_rows.clear();
    m_table = table;
    m_error.clear();
    const Status s = readTable(database, table, m_fields, m_rowids, m_rows);
    if (s)
        m_db = &database;
    else
        m_error = s.error();
    endResetModel();
    return s.ok();
}

void RecordModel::close()
{
    beginResetModel();
    m_db = nullptr;
    m_fields.clear();
    m_rowids.clear();
    m_rows.clear();
    endResetModel();
}

bool RecordModel::refresh()
{
    if (!m_db)
        return false;
    return open(*m_db, m_table);
}

int RecordModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RecordModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant RecordModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return value(index.row(), index.column());
}

QVariant RecordModel::value(int row, int field) const
{
    if (row < 0 || row >= int(m_rows.size()) || field < 0 || field >= int(m_fields.size()))
        return {};
    return m_rows[size_t(row)][field];
}

bool RecordModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || m_readOnly)
        return false;
    if (check) {
        if (QString why = check(index.row(), index.column(), value); !why.isEmpty()) {
            m_error = why;
            emit refused(why);
            return false;
        }
    }
    return setValue(index.row(), index.column(), value);
}

bool RecordModel::setValue(int row, int field, const QVariant &v)
{
    if (row < 0 || row >= int(m_rows.size()) || field < 0 || field >= int(m_fields.size()))
        return false;
    if (m_batch) {
        auto it = m_batchDirty.find(row);
        QVariantList &values =
            it != m_batchDirty.end() ? it->second : (m_batchDirty[row] = m_rows[size_t(row)]);
        values[field] = v;
        return true;
    }
    QVariantList values = m_rows[size_t(row)];
    values[field] = v;
    if (values == m_rows[size_t(row)])
        return true;
    return setRecord(row, values);
}

bool RecordModel::endBatch()
{
    m_batch = false;
    bool ok = true;
    std::map<int, QVariantList> dirty;
    dirty.swap(m_batchDirty);
    for (auto &[row, values] : dirty)
        if (values != m_rows[size_t(row)])
            ok = setRecord(row, values) && ok;
    return ok;
}

bool RecordModel::setRecord(int row, const QVariantList &values)
{
    if (row < 0 || row >= int(m_rows.size()) || values.size() != m_fields.size())
        return false;
    if (!writeRow(row, values))
        return false;
    // Only the span of fields that changed, so listeners can tell which column was edited.
    const QVariantList &before = m_rows[size_t(row)];
    int first = 0, last = int(values.size()) - 1;
    while (first < last && values[first] == before[first])
        ++first;
    while (last > first && values[last] == before[last])
        --last;
    m_rows[size_t(row)] = values;
    emit dataChanged(index(row, first), index(row, last));
    emit recordWritten(row);
    return true;
}

bool RecordModel::writeRow(int row, const QVariantList &values)
{
    if (!m_db) {
        m_error = QStringLiteral("no database is open");
        return false;
    }
    QSqlQuery q(m_db->handle());
    q.prepare(updateByRowidStatement(m_table, m_fields));
    for (const QVariant &v : values)
        q.addBindValue(Database::bindable(v));
    q.addBindValue(m_rowids[size_t(row)]);
    if (!q.exec()) {
        m_error = q.lastError().text();
        return false;
    }
    return true;
}

QVariantList RecordModel::record(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)] : QVariantList();
}

qint64 RecordModel::rowid(int row) const
{
    return row >= 0 && row < int(m_rowids.size()) ? m_rowids[size_t(row)] : -1;
}

QVariant RecordModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_fields.size() ? QVariant(m_fields[section]) : QVariant();
    return section + 1;
}

Qt::ItemFlags RecordModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (!m_readOnly)
        f |= Qt::ItemIsEditable;
    return f;
}

int RecordModel::appendRecord(const QVariantList &values)
{
    if (!m_db || m_readOnly)
        return -1;
    QVariantList row = values;
    while (row.size() < m_fields.size())
        row.append(QVariant());
    row = row.mid(0, m_fields.size());
    qint64 rowid = -1;
    if (Status s = m_db->insertReturningRowid(m_db->insertStatement(m_table, m_fields.size()), row, rowid); !s) {
        m_error = s.error();
        return -1;
    }
    const int n = int(m_rows.size());
    beginInsertRows({}, n, n);
    m_rowids.push_back(rowid);
    m_rows.push_back(row);
    endInsertRows();
    emit recordWritten(n);
    return n;
}

bool RecordModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row != int(m_rows.size()) || count < 1)
        return false;
    for (int i = 0; i < count; ++i)
        if (appendRecord({}) < 0)
            return false;
    return true;
}

bool RecordModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || !m_db || m_readOnly || row < 0 || count < 1 || row + count > int(m_rows.size()))
        return false;
    Status s = m_db->transaction([&]() -> Status {
        for (int i = row; i < row + count; ++i)
            if (Status e = m_db->exec(QStringLiteral("DELETE FROM ") + quoteIdentifier(m_table) +
                                          QStringLiteral(" WHERE rowid = ?"),
                                      {m_rowids[size_t(i)]});
                !e)
                return e;
        return {};
    });
    if (!s) {
        m_error = s.error();
        return false;
    }
    beginRemoveRows({}, row, row + count - 1);
    m_rowids.erase(m_rowids.begin() + row, m_rowids.begin() + row + count);
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    endRemoveRows();
    return true;
}

} // namespace arenor::db
