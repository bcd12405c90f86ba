#pragma once
// A meet table as an item model: rows in record order (rowid), columns the numbered fields.
// Edits are written to the database at once, addressed by rowid. On a server meet a record
// another station changed since it was read is not overwritten: the write is refused, the
// model takes the stored values and lastError() names the fields that changed.

#include "db/Engine.h"

#include <QAbstractTableModel>
#include <functional>
#include <map>
#include <vector>

namespace arenor::db {

class RecordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordModel(QObject *parent = nullptr);
    ~RecordModel() override;

    // Reads the whole table; false (and lastError) when it cannot be read.
    bool open(Database &database, const QString &table);
    // Forgets the table and lets go of the database.
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString table() const { return m_table; }
    // Reads the table again, e.g. after another part of the program changed it.
    bool refresh();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // New records are added at the end only (the record order is the order of adding).
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    // Convenience for logic and tests.
    QVariant value(int row, int field) const;
    QString text(int row, int field) const { return value(row, field).toString(); }
    bool setValue(int row, int field, const QVariant &value);
    // Writes a whole record in one statement.
    bool setRecord(int row, const QVariantList &values);
    QVariantList record(int row) const;
    qint64 rowid(int row) const;
    // Appends a record; returns its row or -1.
    int appendRecord(const QVariantList &values);
    QStringList fieldNames() const { return m_fields; }
    const QString &lastError() const { return m_error; }

    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // Asked before setData writes a value (a grid cell, a form's control): a non-empty answer
    // refuses the value, becomes lastError() and is announced by refused().
    std::function<QString(int row, int field, const QVariant &value)> check;

    // Gathers the edits of one record (a form saving all its fields) into one write.
    void beginBatch()
    {
        m_batch = true;
        m_batchDirty.clear();
    }
    bool endBatch();

    // Another station changed this table of the server meet: each model open on it is told
    // through storedChanged(), or re-reads itself when no one listens to that.
    static void changedElsewhere(Database &database, const QString &table);
    // Every open model on the database (after the connection was opened again).
    static void changedElsewhere(Database &database);

signals:
    // Another station changed the table: re-read it (refresh()) once no edit is in the way.
    void storedChanged();
    // A record was written to the database (row in the model).
    void recordWritten(int row);
    // setData refused a value; why says so in the user's words.
    void refused(const QString &why);

private:
    bool writeRow(int row, const QVariantList &values);
    Database *m_db = nullptr;
    QString m_table;
    QStringList m_fields;
    std::vector<qint64> m_rowids;
    std::vector<QVariantList> m_rows;
    std::vector<QString> m_versions; // each row's version on the server, as read
    QString m_error;
    bool m_changedElsewhere = false; // the last write was refused for another station's change
    bool m_readOnly = false;
    bool m_batch = false;
    std::map<int, QVariantList> m_batchDirty; // row -> values not yet written
};

} // namespace arenor::db
