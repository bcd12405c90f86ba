#include "Engine.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace arenor::db {

namespace {

constexpr int kApplicationId = 0x4172656E; // marks files made by this program

QString newConnectionName()
{
    return QStringLiteral("meet-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString sqlType(FieldType type)
{
    switch (type) {
    case FieldType::Text:
        return QStringLiteral("TEXT");
    case FieldType::Boolean:
        return QStringLiteral("BOOLEAN");
    case FieldType::Integer:
        return QStringLiteral("INTEGER");
    case FieldType::Double:
        return QStringLiteral("DOUBLE");
    }
    return QStringLiteral("TEXT");
}

Status errorStatus(const QString &what, const QSqlError &error)
{
    return Status::failure(what + QStringLiteral(": ") + error.text());
}

} // namespace

QString quoteIdentifier(const QString &name)
{
    QString out = name;
    out.replace(u'"', QStringLiteral("\"\""));
    return u'"' + out + u'"';
}

QString insertStatement(const QString &table, qsizetype width)
{
    QStringList marks(width, QStringLiteral("?"));
    return QStringLiteral("INSERT INTO ") + quoteIdentifier(table) + QStringLiteral(" VALUES (") +
           marks.join(u',') + u')';
}

QString updateByRowidStatement(const QString &table, const QStringList &fields)
{
    QStringList sets;
    for (const QString &f : fields)
        sets << quoteIdentifier(f) + QStringLiteral(" = ?");
    return QStringLiteral("UPDATE ") + quoteIdentifier(table) + QStringLiteral(" SET ") + sets.join(u", ") +
           QStringLiteral(" WHERE rowid = ?");
}

Status readTable(Database &db, const QString &table, QStringList &fields, std::vector<qint64> &rowids,
                 std::vector<QVariantList> &rows, const QString &sortField)
{
    fields.clear();
    rowids.clear();
    rows.clear();
    if (!db.isOpen())
        return Status::failure(QStringLiteral("no database is open"));
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    QString sql =
        QStringLiteral("SELECT rowid, * FROM ") + quoteIdentifier(table) + QStringLiteral(" ORDER BY ");
    if (!sortField.isEmpty())
        sql += quoteIdentifier(sortField) + QStringLiteral(", ");
    sql += QStringLiteral("rowid");
    if (!q.exec(sql))
        return Status::failure(QStringLiteral("cannot read ") + table + QStringLiteral(": ") +
                               q.lastError().text());
    const QSqlRecord rec = q.record();
    for (int i = 1; i < rec.count(); ++i)
        fields << rec.fieldName(i);
    const int width = int(fields.size());
    while (q.next()) {
        rowids.push_back(q.value(0).toLongLong());
        QVariantList row;
        row.reserve(width);
        for (int i = 0; i < width; ++i)
            row.append(q.value(i + 1));
        rows.push_back(std::move(row));
    }
    return {};
}

QList<FieldDef> numberedFields(int count, FieldType type)
{
    QList<FieldDef> fields;
    fields.reserve(count);
    for (int i = 0; i < count; ++i)
        fields.append({QString::number(i), type});
    return fields;
}

Database::Database() = default;

Database::~Database()
{
    close();
}

FileProblem Database::checkFile(const QString &path)
{
    QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return FileProblem::Missing;
    if (info.size() == 0)
        return FileProblem::Empty;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return FileProblem::Unreadable;
    const QByteArray head = f.read(100);
    if (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB")
        return FileProblem::OldFormat;
    if (head.size() < 100 || !head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return FileProblem::NotDatabase;
    // The application id lives big-endian at offset 68 of the header.
    const auto b = reinterpret_cast<const unsigned char *>(head.constData());
    const quint32 appId =
        (quint32(b[68]) << 24) | (quint32(b[69]) << 16) | (quint32(b[70]) << 8) | quint32(b[71]);
    if (appId != 0 && appId != quint32(kApplicationId))
        return FileProblem::Foreign;
    // A file cut short: the header's page count (valid when its change counter matches) asks
    // for more bytes than there are. A hot journal may still restore them, so then say nothing.
    auto be32 = [b](int at) {
        return (quint32(b[at]) << 24) | (quint32(b[at + 1]) << 16) | (quint32(b[at + 2]) << 8) |
               quint32(b[at + 3]);
    };
    const quint32 rawPageSize = (quint32(b[16]) << 8) | quint32(b[17]);
    const qint64 pageSize = rawPageSize == 1 ? 65536 : qint64(rawPageSize);
    if (be32(92) == be32(24) && !QFileInfo::exists(path + QStringLiteral("-journal")) &&
        qint64(be32(28)) * pageSize > info.size())
        return FileProblem::NotDatabase;
    return FileProblem::None;
}

Status Database::create(const QString &path, Format format, bool allowEmpty)
{
    QFileInfo info(path);
    if (info.exists() && !(allowEmpty && info.isFile() && info.size() == 0))
        return Status::failure(QStringLiteral("the file exists: ") + path);
    if (!info.exists()) {
        // Create the file ourselves so an unwritable place fails here, not at the first write.
        QFile f(path);
        if (!f.open(QIODevice::NewOnly | QIODevice::WriteOnly))
            return Status::failure(QStringLiteral("cannot write ") + path + QStringLiteral(": ") +
                                   f.errorString());
    }
    Status result;
    const QString name = newConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            result = errorStatus(QStringLiteral("cannot create ") + path, db.lastError());
        } else {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId)) ||
                !q.exec(QStringLiteral("PRAGMA user_version = %1").arg(int(format))) ||
                !q.exec(QStringLiteral("PRAGMA journal_mode = DELETE")))
                result = errorStatus(QStringLiteral("cannot create ") + path, q.lastError());
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!result.ok())
        QFile::remove(path);
    return result;
}

Status Database::open(const QString &path, FileProblem *problem)
{
    close();
    const FileProblem p = checkFile(path);
    if (problem)
        *problem = p;
    switch (p) {
    case FileProblem::None:
        break;
    case FileProblem::Missing:
        return Status::failure(QStringLiteral("no such file: ") + path);
    case FileProblem::Empty:
        return Status::failure(QStringLiteral("the file is empty: ") + path);
    case FileProblem::OldFormat:
        return Status::failure(QStringLiteral("the file is of the old Windows database format: ") + path);
    case FileProblem::NotDatabase:
        return Status::failure(QStringLiteral("the file is not a database: ") + path);
    case FileProblem::Foreign:
        return Status::failure(QStringLiteral("the file is a database of another program: ") + path);
    case FileProblem::Unreadable:
        return Status::failure(QStringLiteral("the file cannot be read: ") + path);
    case FileProblem::Incomplete:
    case FileProblem::Newer:
        break; // found only by the schema check above this layer
    }
    const QString name = newConnectionName();
    Status result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            result = errorStatus(QStringLiteral("cannot open ") + path, db.lastError());
        } else {
            // A damaged header only shows at the first read.
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
                if (problem)
                    *problem = FileProblem::NotDatabase;
                result = errorStatus(QStringLiteral("the file is not a database: ") + path, q.lastError());
            }
            q.finish();
            if (!result.ok())
                db.close();
        }
    }
    if (!result.ok()) {
        QSqlDatabase::removeDatabase(name);
        return result;
    }
    m_connection = name;
    m_path = path;
    return {};
}

void Database::close()
{
    if (m_connection.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_connection.clear();
    m_path.clear();
}

bool Database::isOpen() const
{
    return !m_connection.isEmpty() && QSqlDatabase::database(m_connection, false).isOpen();
}

QSqlDatabase Database::handle() const
{
    return QSqlDatabase::database(m_connection, false);
}

namespace {
int readUserVersion(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("PRAGMA user_version")) && q.next() ? q.value(0).toInt() : 0;
}
} // namespace

Format Database::format() const
{
    return readUserVersion(handle()) % kVersionStep == int(Format::Compact) ? Format::Compact
                                                                            : Format::Modern;
}

int Database::schemaVersion() const
{
    return readUserVersion(handle()) / kVersionStep;
}

Status Database::setSchemaVersion(int version)
{
    return exec(QStringLiteral("PRAGMA user_version = %1").arg(userVersion(format(), version)));
}

bool Database::tableExists(const QString &table) const
{
    QSqlQuery q(handle());
    // SQLite matches names blind to the case of ASCII letters only, as NOCASE compares: a name
    // this finds is one CREATE TABLE would refuse.
    q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    q.addBindValue(table);
    return q.exec() && q.next();
}

QStringList Database::tables() const
{
    QStringList names;
    QSqlQuery q(handle());
    if (q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid")))
        while (q.next())
            names << q.value(0).toString();
    return names;
}

Status Database::createTable(const QString &table, const QList<FieldDef> &fields)
{
    if (!isOpen())
        return Status::failure(QStringLiteral("no database is open"));
    if (fields.isEmpty())
        return Status::failure(QStringLiteral("a table needs at least one field"));
    QStringList cols;
    for (const FieldDef &f : fields)
        cols << quoteIdentifier(f.name) + u' ' + sqlType(f.type);
    QSqlQuery q(handle());
    if (!q.exec(QStringLiteral("CREATE TABLE ") + quoteIdentifier(table) + QStringLiteral(" (") +
                cols.join(u", ") + u')'))
        return errorStatus(QStringLiteral("cannot create table ") + table, q.lastError());
    return {};
}

Status Database::dropTable(const QString &table)
{
    QSqlQuery q(handle());
    if (!q.exec(QStringLiteral("DROP TABLE ") + quoteIdentifier(table)))
        return errorStatus(QStringLiteral("cannot delete table ") + table, q.lastError());
    return {};
}

int Database::recordCount(const QString &table) const
{
    QSqlQuery q(handle());
    if (q.exec(QStringLiteral("SELECT count(*) FROM ") + quoteIdentifier(table)) && q.next())
        return q.value(0).toInt();
    return 0;
}

QStringList Database::fieldNames(const QString &table) const
{
    QStringList names;
    const QSqlRecord rec = handle().record(quoteIdentifier(table));
    if (rec.isEmpty()) {
        // QSqlDatabase::record does not take quoted names on every version: ask SQLite.
        QSqlQuery q(handle());
        if (q.exec(QStringLiteral("SELECT * FROM ") + quoteIdentifier(table) + QStringLiteral(" LIMIT 0"))) {
            const QSqlRecord r = q.record();
            for (int i = 0; i < r.count(); ++i)
                names << r.fieldName(i);
        }
        return names;
    }
    for (int i = 0; i < rec.count(); ++i)
        names << rec.fieldName(i);
    return names;
}

Status Database::exec(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q(handle());
    if (!q.prepare(sql))
        return errorStatus(QStringLiteral("bad statement"), q.lastError());
    for (const QVariant &v : binds)
        q.addBindValue(v);
    if (!q.exec())
        return errorStatus(QStringLiteral("statement failed"), q.lastError());
    return {};
}

Status Database::transaction(const std::function<Status()> &work)
{
    QSqlDatabase db = handle();
    if (!db.transaction())
        return errorStatus(QStringLiteral("cannot start a transaction"), db.lastError());
    Status s = work();
    if (!s.ok()) {
        db.rollback();
        return s;
    }
    if (!db.commit()) {
        Status e = errorStatus(QStringLiteral("cannot commit"), db.lastError());
        db.rollback();
        return e;
    }
    return {};
}

Status Database::insertRows(const QString &table, const QList<QVariantList> &rows)
{
    if (rows.isEmpty())
        return {};
    return transaction([&]() -> Status {
        const qsizetype width = rows.first().size();
        QSqlQuery q(handle());
        if (!q.prepare(insertStatement(table, width)))
            return errorStatus(QStringLiteral("cannot write ") + table, q.lastError());
        for (const QVariantList &row : rows) {
            for (qsizetype i = 0; i < width; ++i)
                q.bindValue(int(i), i < row.size() ? row[i] : QVariant());
            if (!q.exec())
                return errorStatus(QStringLiteral("cannot write ") + table, q.lastError());
        }
        return {};
    });
}

// ---- Recordset ----

Status Recordset::open(Database &db, const QString &table, const QString &sortField)
{
    close();
    if (!db.isOpen())
        return Status::failure(QStringLiteral("no database is open"));
    if (!db.tableExists(table))
        return Status::failure(QStringLiteral("no table ") + table);
    if (Status s = readTable(db, table, m_fields, m_rowids, m_rows, sortField); !s)
        return s;
    m_db = &db;
    m_table = table;
    m_pos = m_rows.empty() ? -1 : 0;
    return {};
}

void Recordset::close()
{
    m_db = nullptr;
    m_table.clear();
    m_fields.clear();
    m_rowids.clear();
    m_rows.clear();
    m_pending.clear();
    m_adding = false;
    m_pos = -1;
}

QVariant Recordset::field(int index) const
{
    if (m_adding)
        return index >= 0 && index < m_pending.size() ? m_pending[index] : QVariant();
    if (m_pos < 0 || m_pos >= int(m_rows.size()) || index < 0 || index >= int(m_fields.size()))
        return {};
    return m_rows[size_t(m_pos)][index];
}

QVariant Recordset::field(const QString &name) const
{
    return field(int(m_fields.indexOf(name)));
}

void Recordset::setField(int index, const QVariant &value)
{
    if (index < 0 || index >= int(m_fields.size()))
        return;
    if (m_adding) {
        m_pending[index] = value;
        return;
    }
    if (m_pos < 0 || m_pos >= int(m_rows.size()))
        return;
    if (m_pending.isEmpty())
        m_pending = m_rows[size_t(m_pos)];
    m_pending[index] = value;
}

void Recordset::setField(const QString &name, const QVariant &value)
{
    setField(int(m_fields.indexOf(name)), value);
}

void Recordset::addNew()
{
    m_adding = true;
    m_pending = QVariantList(m_fields.size());
}

qint64 Recordset::rowid() const
{
    return m_pos >= 0 && m_pos < int(m_rowids.size()) ? m_rowids[size_t(m_pos)] : -1;
}

Status Recordset::update()
{
    if (!m_db)
        return Status::failure(QStringLiteral("the record set is closed"));
    QSqlQuery q(m_db->handle());
    if (m_adding) {
        q.prepare(insertStatement(m_table, m_fields.size()));
        for (const QVariant &v : m_pending)
            q.addBindValue(v);
        if (!q.exec())
            return Status::failure(QStringLiteral("cannot add a record: ") + q.lastError().text());
        m_rowids.push_back(q.lastInsertId().toLongLong());
        m_rows.push_back(m_pending);
        m_pos = int(m_rows.size()) - 1;
        m_adding = false;
        m_pending.clear();
        return {};
    }
    if (m_pending.isEmpty())
        return {};
    if (m_pos < 0 || m_pos >= int(m_rows.size()))
        return Status::failure(QStringLiteral("no current record"));
    q.prepare(updateByRowidStatement(m_table, m_fields));
    for (const QVariant &v : m_pending)
        q.addBindValue(v);
    q.addBindValue(m_rowids[size_t(m_pos)]);
    if (!q.exec())
        return Status::failure(QStringLiteral("cannot store the record: ") + q.lastError().text());
    m_rows[size_t(m_pos)] = m_pending;
    m_pending.clear();
    return {};
}

} // namespace arenor::db
