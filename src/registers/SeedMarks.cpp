#include "SeedMarks.h"

#include "db/Schema.h"

#include <QSqlQuery>

namespace arenor::registers {

namespace {

const QString &table()
{
    return schema::kSeedmerker;
}

QString keyWhere()
{
    return QStringLiteral(" WHERE \"0\" = ? AND \"1\" = ? AND \"2\" = ?");
}

// The stored fields of one key, or none.
std::optional<SeedEntry> stored(db::Database &database, int round, int event, int row)
{
    QSqlQuery q(database.handle());
    q.prepare(QStringLiteral("SELECT \"3\", \"4\" FROM ") + db::quoteIdentifier(table()) + keyWhere());
    q.addBindValue(QString::number(round + 1));
    q.addBindValue(QString::number(event));
    q.addBindValue(QString::number(row));
    if (!q.exec() || !q.next())
        return std::nullopt;
    return SeedEntry{q.value(0).toString(), q.value(1).toString().toInt()};
}

Status put(db::Database &database, int round, int event, int row, const SeedEntry &entry)
{
    const QVariantList key{QString::number(round + 1), QString::number(event), QString::number(row)};
    if (Status s =
            database.exec(QStringLiteral("DELETE FROM ") + db::quoteIdentifier(table()) + keyWhere(), key);
        !s)
        return s;
    if (entry.mark.isEmpty() && entry.rank == 0)
        return {};
    // exec, not insertRows: this runs inside the caller's transaction.
    return database.exec(database.insertStatement(table(), schema::kSeedmerkerFields),
                         key +
                             QVariantList{entry.mark, entry.rank ? QString::number(entry.rank) : QString()});
}

} // namespace

QHash<int, SeedEntry> readSeedMarks(db::Database &database, int round, int event)
{
    QHash<int, SeedEntry> marks;
    if (!database.isOpen() || !database.tableExists(table()))
        return marks;
    QSqlQuery q(database.handle());
    q.prepare(QStringLiteral("SELECT \"2\", \"3\", \"4\" FROM ") + db::quoteIdentifier(table()) +
              QStringLiteral(" WHERE \"0\" = ? AND \"1\" = ?"));
    q.addBindValue(QString::number(round + 1));
    q.addBindValue(QString::number(event));
    if (q.exec())
        while (q.next())
            marks.insert(q.value(0).toString().toInt(),
                         {q.value(1).toString(), q.value(2).toString().toInt()});
    return marks;
}

Status putSeedMark(db::Database &database, int round, int event, int row, const QString &mark)
{
    if (!database.isOpen() || !database.tableExists(table()))
        return Status::failure(QStringLiteral("the meet file has no table ") + table());
    SeedEntry entry = stored(database, round, event, row).value_or(SeedEntry{});
    entry.mark = mark.trimmed();
    return put(database, round, event, row, entry);
}

Status writeSeedMark(db::Database &database, int round, int event, int row, const QString &mark)
{
    if (!database.isOpen() || !database.tableExists(table()))
        return Status::failure(QStringLiteral("the meet file has no table ") + table());
    return database.transaction([&]() { return putSeedMark(database, round, event, row, mark); });
}

Status writeSeedRanks(db::Database &database, int round, int event, const QList<int> &rows)
{
    if (!database.isOpen() || !database.tableExists(table()))
        return Status::failure(QStringLiteral("the meet file has no table ") + table());
    return database.transaction([&]() -> Status {
        const QHash<int, SeedEntry> before = readSeedMarks(database, round, event);
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            if (it->rank && !rows.contains(it.key()))
                if (Status s = put(database, round, event, it.key(), {it->mark, 0}); !s)
                    return s;
        for (qsizetype i = 0; i < rows.size(); ++i)
            if (Status s = put(database, round, event, rows[i], {before.value(rows[i]).mark, int(i + 1)}); !s)
                return s;
        return {};
    });
}

} // namespace arenor::registers
