#include "SeedStore.h"

#include "db/Schema.h"

#include <QSqlQuery>

namespace arenor::events {

namespace {

bool usable(db::Database &database, const QString &name)
{
    return database.isOpen() && database.tableExists(name);
}

Status missing(const QString &name)
{
    return Status::failure(QStringLiteral("the meet file has no table ") + name);
}

Status deleteRows(db::Database &database, const QString &name, const QString &table)
{
    return database.exec(QStringLiteral("DELETE FROM ") + db::quoteIdentifier(name) +
                             QStringLiteral(" WHERE ") + database.equalsIgnoringCase(QStringLiteral("\"0\"")),
                         {table});
}

} // namespace

Status storeDraw(db::Database &database, const QString &table, const DrawRecord &draw)
{
    if (!usable(database, schema::kTrekninger))
        return missing(schema::kTrekninger);
    return database.transaction([&]() -> Status {
        if (Status s = deleteRows(database, schema::kTrekninger, table); !s)
            return s;
        return database.exec(database.insertStatement(schema::kTrekninger, schema::kTrekningerFields),
                             {table, QString::number(draw.seed), draw.how, draw.laneTable});
    });
}

std::optional<DrawRecord> readDraw(db::Database &database, const QString &table)
{
    if (!usable(database, schema::kTrekninger))
        return std::nullopt;
    QSqlQuery q(database.handle());
    q.prepare(QStringLiteral("SELECT \"1\", \"2\", \"3\" FROM ") + db::quoteIdentifier(schema::kTrekninger) +
              QStringLiteral(" WHERE ") + database.equalsIgnoringCase(QStringLiteral("\"0\"")));
    q.addBindValue(table);
    if (!q.exec() || !q.next())
        return std::nullopt;
    bool ok = false;
    const quint32 seed = q.value(0).toString().toUInt(&ok);
    if (!ok)
        return std::nullopt;
    return DrawRecord{seed, q.value(1).toString(), q.value(2).toString()};
}

Status storeAdvancement(db::Database &database, const QString &table, const AdvanceRule &rule,
                        const QList<AdvanceRecord> &records)
{
    if (!usable(database, schema::kAvansement))
        return missing(schema::kAvansement);
    return database.transaction([&]() -> Status {
        if (Status s = deleteRows(database, schema::kAvansement, table); !s)
            return s;
        for (const AdvanceRecord &r : records)
            if (Status s = database.exec(database.insertStatement(schema::kAvansement, schema::kAvansementFields),
                                         {table, QString::number(r.number), qualifierText(r.qualifier), r.how,
                                          advanceRuleText(rule)});
                !s)
                return s;
        return {};
    });
}

QHash<int, AdvanceRecord> readAdvancement(db::Database &database, const QString &table)
{
    QHash<int, AdvanceRecord> records;
    if (!usable(database, schema::kAvansement))
        return records;
    QSqlQuery q(database.handle());
    q.prepare(QStringLiteral("SELECT \"1\", \"2\", \"3\" FROM ") + db::quoteIdentifier(schema::kAvansement) +
              QStringLiteral(" WHERE ") + database.equalsIgnoringCase(QStringLiteral("\"0\"")));
    q.addBindValue(table);
    if (q.exec())
        while (q.next()) {
            const int number = q.value(0).toString().toInt();
            records.insert(number, {number, qualifierFromText(q.value(1).toString()), q.value(2).toString()});
        }
    return records;
}

namespace {
// The meet's own row among the draws: no grid can be named so, as "*" never stays in a name.
const QString kMeetRow = QStringLiteral("*");
} // namespace

QString meetLanePriority(db::Database &database)
{
    const std::optional<DrawRecord> meet = readDraw(database, kMeetRow);
    return meet ? meet->laneTable : QString();
}

Status storeMeetLanePriority(db::Database &database, const QString &text, Notice *problem)
{
    const QString typed = text.simplified();
    if (!typed.isEmpty() && !parseLaneTable(typed, 0, problem))
        return Status::failure(QStringLiteral("no lane table: ") + typed);
    if (typed.isEmpty()) {
        if (!usable(database, schema::kTrekninger))
            return {};
        return deleteRows(database, schema::kTrekninger, kMeetRow);
    }
    return storeDraw(database, kMeetRow, {0, QStringLiteral("meet"), typed});
}

Status forgetGrid(db::Database &database, const QString &table, bool draw)
{
    if (usable(database, schema::kAvansement))
        if (Status s = deleteRows(database, schema::kAvansement, table); !s)
            return s;
    if (draw && usable(database, schema::kTrekninger))
        return deleteRows(database, schema::kTrekninger, table);
    return {};
}

bool hasAdvancement(db::Database &database, const QString &table)
{
    return !readAdvancement(database, table).isEmpty();
}

} // namespace arenor::events
