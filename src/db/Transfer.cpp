#include "Transfer.h"

#include <QFile>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

namespace arenor::db {

namespace {

// A value as the receiving engine takes it with nothing lost: the server keeps text, so
// numbers are written in their shortest exact form.
QVariant forTarget(const QVariant &value, const Database &to)
{
    if (!to.onServer() || value.isNull())
        return Database::bindable(value);
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        // An infinite real (SQLite's for an overflowing "1e999") as text that a numeric field
        // of a file takes back as that real; "inf" would come back as text.
        const double real = value.toDouble();
        if (std::isinf(real))
            return real > 0 ? QStringLiteral("1e999") : QStringLiteral("-1e999");
        return QString::number(real, 'g', QLocale::FloatingPointShortest);
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return QString::number(Database::bindable(value).toLongLong());
    default:
        return value;
    }
}

Status copyTable(Database &from, Database &to, const QString &table)
{
    const QList<FieldDef> fields = from.fields(table);
    if (fields.isEmpty())
        return Status::failure(QStringLiteral("cannot read the fields of ") + table);
    if (Status s = to.createTable(table, fields); !s)
        return s;
    QStringList names;
    for (const FieldDef &f : fields)
        names << quoteIdentifier(f.name);
    QSqlQuery read(from.handle());
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("SELECT rowid, ") + names.join(u',') + QStringLiteral(" FROM ") +
                   quoteIdentifier(table) + QStringLiteral(" ORDER BY rowid")))
        return Status::failure(QStringLiteral("cannot read ") + table + QStringLiteral(": ") +
                               read.lastError().text());
    QSqlQuery write(to.handle());
    const QStringList marks(names.size() + 1, QStringLiteral("?"));
    if (!write.prepare(QStringLiteral("INSERT INTO ") + quoteIdentifier(table) + QStringLiteral(" (") +
                       names.join(u',') + QStringLiteral(",rowid) VALUES (") + marks.join(u',') + u')'))
        return Status::failure(QStringLiteral("cannot write ") + table + QStringLiteral(": ") +
                               write.lastError().text());
    const bool fromServer = from.onServer();
    qint64 last = 0;
    while (read.next()) {
        for (int i = 0; i < names.size(); ++i) {
            const QVariant v = read.value(i + 1);
            write.bindValue(i, forTarget(fromServer ? Database::asStored(v, fields[i].type) : v, to));
        }
        last = read.value(0).toLongLong();
        write.bindValue(int(names.size()), last);
        if (!write.exec())
            return Status::failure(QStringLiteral("cannot write ") + table + QStringLiteral(": ") +
                                   write.lastError().text());
    }
    if (read.lastError().isValid())
        return Status::failure(QStringLiteral("cannot read ") + table + QStringLiteral(": ") +
                               read.lastError().text());
    // New records on the server follow the ones copied, as they would in the file.
    if (to.onServer() && last > 0)
        return to.exec(QStringLiteral("ALTER TABLE ") + quoteIdentifier(table) +
                       QStringLiteral(" ALTER COLUMN rowid RESTART WITH %1").arg(last + 1));
    return {};
}

// The server keeps at most 63 bytes of a name and cuts a longer one short without a word,
// which would part a table from its name (or two tables into one). Such a meet is refused
// before anything is written, naming what is too long.
constexpr qsizetype kServerNameBytes = 63;

Status namesFitTheServer(Database &from)
{
    for (const QString &table : from.tables()) {
        if (table.toUtf8().size() > kServerNameBytes)
            return Status::failure(QStringLiteral("the table name is too long for the server (at most %1 bytes): ")
                                       .arg(kServerNameBytes) +
                                   table);
        for (const QString &field : from.fieldNames(table))
            if (field.toUtf8().size() > kServerNameBytes)
                return Status::failure(
                    QStringLiteral("the field name is too long for the server (at most %1 bytes): ").arg(kServerNameBytes) +
                    table + u'.' + field);
    }
    return {};
}

Status copyMeet(Database &from, Database &to)
{
    for (const QString &table : from.tables())
        if (Status s = copyTable(from, to, table); !s)
            return s;
    return to.setSchemaVersion(from.schemaVersion());
}

} // namespace

Status uploadMeet(Database &from, Database &to)
{
    if (!from.isOpen() || !to.isOpen() || !to.onServer())
        return Status::failure(QStringLiteral("no meet and server database are open"));
    if (Status s = namesFitTheServer(from); !s)
        return s;
    return to.transaction([&]() -> Status {
        // Two stations uploading at once: the second waits here, then finds the meet.
        if (Status s = to.exec(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('arenor upload'))")); !s)
            return s;
        QSqlQuery q(to.handle());
        if (!q.exec(QStringLiteral("SELECT to_regclass('arenor_meet') IS NULL")) || !q.next() ||
            !q.value(0).toBool() || !to.tables().isEmpty())
            return Status::failure(QStringLiteral("the database on the server is not empty: ") + to.path());
        if (Status s = to.markAsMeet(from.format()); !s)
            return s;
        return copyMeet(from, to);
    });
}

Status downloadMeet(Database &from, const QString &path)
{
    if (!from.isOpen())
        return Status::failure(QStringLiteral("no meet is open"));
    if (Status s = Database::create(path, from.format()); !s)
        return s;
    Database to;
    Status s = to.open(path);
    if (s)
        s = to.transaction([&] { return copyMeet(from, to); });
    to.close();
    if (!s)
        QFile::remove(path);
    return s;
}

} // namespace arenor::db
