#include "RecordModel.h"

#include "StationTexts.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QMetaMethod>
#include <QSqlRecord>

namespace arenor::db {

namespace {
std::vector<RecordModel *> &liveModels()
{
    static std::vector<RecordModel *> models;
    return models;
}
} // namespace

RecordModel::RecordModel(QObject *parent) : QAbstractTableModel(parent)
{
    liveModels().push_back(this);
}

RecordModel::~RecordModel()
{
    std::erase(liveModels(), this);
}

void RecordModel::changedElsewhere(Database &database, const QString &table)
{
    // A copy: a listener may make or drop models.
    const std::vector<RecordModel *> models = liveModels();
    for (RecordModel *m : models) {
        if (m->m_db != &database || (!table.isEmpty() && m->m_table.compare(table, Qt::CaseInsensitive) != 0))
            continue;
        if (m->isSignalConnected(QMetaMethod::fromSignal(&RecordModel::storedChanged)))
            emit m->storedChanged();
        else
            m->refresh();
    }
}

void RecordModel::changedElsewhere(Database &database)
{
    changedElsewhere(database, QString());
}

bool RecordModel::open(Database &database, const QString &table)
{
    beginResetModel();
    m_db = nullptr;
    m_fields.clear();
    m_rowids.clear();
    m_rows.clear();
    m_table = table;
    m_error.clear();
    const Status s = readTable(database, table, m_fields, m_rowids, m_rows, {}, &m_versions);
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
    m_versions.clear();
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
    if (setValue(index.row(), index.column(), value))
        return true;
    if (m_changedElsewhere)
        emit refused(m_error);
    return false;
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
    m_changedElsewhere = false;
    const size_t at = size_t(row);
    bool elsewhere = false;
    if (Status s = m_db->updateUnchanged(m_table, m_fields, values, m_rowids[at], m_versions[at], &elsewhere); !s) {
        m_error = s.error();
        return false;
    }
    QVariantList stored;
    bool found = false;
    if (elsewhere) {
        if (Status r = m_db->readRow(m_table, m_rowids[at], stored, m_versions[at], &found); !r) {
            m_error = r.error();
            return false;
        }
        // A new version with the values as read (a write rolled back, the same values written
        // elsewhere) is no change: written over it.
        if (found && sameValues(stored, m_rows[at])) {
            if (Status s = m_db->updateUnchanged(m_table, m_fields, values, m_rowids[at], m_versions[at], &elsewhere); !s) {
                m_error = s.error();
                return false;
            }
        }
    }
    if (!elsewhere)
        return true;
    // Another station wrote the record since it was read: show what it stored, say what.
    if (Status r = m_db->readRow(m_table, m_rowids[at], stored, m_versions[at], &found); !r) {
        m_error = r.error();
        return false;
    }
    m_error = changedElsewhereText(m_table, m_fields, m_rows[at], stored, !found);
    m_changedElsewhere = true;
    if (found && stored.size() == m_fields.size()) {
        m_rows[at] = stored;
        emit dataChanged(index(row, 0), index(row, int(m_fields.size()) - 1));
    }
    return false;
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
    // The new row's version, so a later edit of it is checked like any other.
    QString version;
    if (m_db->onServer()) {
        QVariantList stored;
        m_db->readRow(m_table, rowid, stored, version, nullptr);
    }
    const int n = int(m_rows.size());
    beginInsertRows({}, n, n);
    m_rowids.push_back(rowid);
    m_rows.push_back(row);
    m_versions.push_back(version);
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
    m_versions.erase(m_versions.begin() + row, m_versions.begin() + row + count);
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    endRemoveRows();
    return true;
}

} // namespace arenor::db
