#include "Engine.h"

#include "StationTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>
#include <cmath>

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

std::optional<FieldType> typeNamed(const QString &name)
{
    for (FieldType t : {FieldType::Text, FieldType::Boolean, FieldType::Integer, FieldType::Double})
        if (name.compare(sqlType(t), Qt::CaseInsensitive) == 0)
            return t;
    return std::nullopt;
}

Status errorStatus(const QString &what, const QSqlError &error)
{
    return Status::failure(what + QStringLiteral(": ") + error.text());
}

// The server meet's own marks: which program made it, and the version as SQLite's
// user_version holds it. The triggers tell every station which table changed.
const QString kMetaTable = QStringLiteral("arenor_meet");
const QString kApplication = QStringLiteral("Arenor");
const QString kChannel = QStringLiteral("arenor");

// The server's tables of the current schema, matched the way SQLite matches table names.
const QString kServerTables = QStringLiteral(
    "SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
    "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'p') AND c.relname <> 'arenor_meet'");
const QString kServerTableOid = QStringLiteral(
    "(SELECT c.oid FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
    "WHERE n.nspname = current_schema() AND c.relname = ?)");

} // namespace

std::optional<ServerAddress> ServerAddress::parse(const QString &text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QStringLiteral("postgresql") && url.scheme() != QStringLiteral("postgres")))
        return std::nullopt;
    ServerAddress a;
    a.host = url.host();
    a.port = url.port(-1);
    a.user = url.userName();
    a.database = url.path().mid(1);
    // libpq's own form for a socket folder: postgresql:///meet?host=/run/postgresql
    const QUrlQuery query(url);
    if (a.host.isEmpty() && query.hasQueryItem(QStringLiteral("host")))
        a.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    if (a.database.isEmpty() || a.database.contains(u'/') || !url.password().isEmpty())
        return std::nullopt;
    return a;
}

QString ServerAddress::toString() const
{
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    if (host.startsWith(u'/')) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("host"), host);
        url.setQuery(query);
        url.setHost(QStringLiteral(""));
    } else {
        url.setHost(host);
    }
    if (port > 0)
        url.setPort(port);
    url.setUserName(user);
    url.setPath(u'/' + database);
    // Without a host QUrl drops the empty authority ("postgresql:/meet"), which no longer
    // reads as a server address: the address must open the same meet again.
    QString text = url.toString();
    const QString scheme = QStringLiteral("postgresql:");
    if (!text.startsWith(scheme + QStringLiteral("//")))
        text.insert(scheme.size(), QStringLiteral("//"));
    return text;
}

bool isServerAddress(const QString &text)
{
    const QString t = text.trimmed();
    return t.startsWith(QStringLiteral("postgresql://")) || t.startsWith(QStringLiteral("postgres://"));
}

QString quoteIdentifier(const QString &name)
{
    QString out = name;
    out.replace(u'"', QStringLiteral("\"\""));
    return u'"' + out + u'"';
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
                 std::vector<QVariantList> &rows, const QString &sortField, std::vector<QString> *versions)
{
    fields.clear();
    rowids.clear();
    rows.clear();
    if (versions)
        versions->clear();
    if (!db.isOpen())
        return Status::failure(QStringLiteral("no database is open"));
    const QList<FieldType> types = db.serverTypes(table);
    QSqlQuery q = db.reader();
    // On the server each row's version (xmin) comes along, so a write can tell whether another
    // station changed the row since.
    const bool versioned = versions && db.onServer();
    const int first = versioned ? 2 : 1;
    QString sql = QStringLiteral("SELECT rowid, ") + (versioned ? QStringLiteral("xmin::text, ") : QString()) +
                  db.allFields(table) + QStringLiteral(" FROM ") + quoteIdentifier(table) + QStringLiteral(" ORDER BY ");
    if (!sortField.isEmpty())
        sql += quoteIdentifier(sortField) + QStringLiteral(", ");
    sql += QStringLiteral("rowid");
    if (!q.exec(sql)) {
        const QString e = q.lastError().text();
        q.finish();
        db.checkConnection();
        return Status::failure(QStringLiteral("cannot read ") + table + QStringLiteral(": ") + e);
    }
    const QSqlRecord rec = q.record();
    for (int i = first; i < rec.count(); ++i)
        fields << rec.fieldName(i);
    const int width = int(fields.size());
    while (q.next()) {
        rowids.push_back(q.value(0).toLongLong());
        if (versions)
            versions->push_back(versioned ? q.value(1).toString() : QString());
        QVariantList row;
        row.reserve(width);
        for (int i = 0; i < width; ++i)
            row.append(i < types.size() ? Database::asStored(q.value(i + first), types[i]) : q.value(i + first));
        rows.push_back(std::move(row));
    }
    return {};
}

bool sameValues(const QVariantList &a, const QVariantList &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].toString() != b[i].toString() || a[i].isNull() != b[i].isNull())
            return false;
    return true;
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

Status Database::open(const QString &path, FileProblem *problem, const QString &password)
{
    close();
    if (isServerAddress(path))
        return openServer(path, password, problem);
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
    case FileProblem::ServerDown:
    case FileProblem::PasswordNeeded:
        break; // found only by the schema check above this layer, or only on a server
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
    m_engine = Engine::SQLite;
    return {};
}

Status Database::openServer(const QString &address, const QString &password, FileProblem *problem)
{
    auto fail = [&](FileProblem p, const QString &text) {
        if (problem)
            *problem = p;
        return Status::failure(text);
    };
    const std::optional<ServerAddress> a = ServerAddress::parse(address);
    if (!a)
        return fail(FileProblem::ServerDown, QStringLiteral("not a server address: ") + address);
    if (problem)
        *problem = FileProblem::None;
    const QString name = newConnectionName();
    Status result;
    FileProblem found = FileProblem::None;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        // What the address leaves out, libpq takes from PGHOST, PGPORT and PGUSER.
        db.setHostName(a->host);
        if (a->port > 0)
            db.setPort(a->port);
        db.setDatabaseName(a->database);
        db.setUserName(a->user);
        db.setPassword(password);
        db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=Arenor"));
        if (!db.open()) {
            const QString e = db.lastError().text();
            // A refused password has its SQL state; a missing one only libpq's words.
            const QString state = db.lastError().nativeErrorCode();
            found = state == QStringLiteral("28P01") || e.contains(QStringLiteral("password"))
                        ? FileProblem::PasswordNeeded
                        : FileProblem::ServerDown;
            result = errorStatus(QStringLiteral("cannot open ") + a->toString(), db.lastError());
        } else {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("SET client_min_messages = warning")) ||
                !q.exec(QStringLiteral("SELECT count(*) FROM (") + kServerTables + QStringLiteral(") t")) || !q.next()) {
                found = FileProblem::Unreadable;
                result = errorStatus(QStringLiteral("cannot read ") + a->toString(), q.lastError());
            } else {
                const int tables = q.value(0).toInt();
                QSqlQuery m(db);
                const bool marked =
                    m.exec(QStringLiteral("SELECT application FROM arenor_meet")) && m.next() &&
                    m.value(0).toString() == kApplication;
                if (!marked) {
                    found = tables == 0 ? FileProblem::Empty : FileProblem::Foreign;
                    result = Status::failure(
                        (tables == 0 ? QStringLiteral("the database holds no meet: ")
                                     : QStringLiteral("the database is a database of another program: ")) +
                        a->toString());
                }
            }
            // An empty database stays open so a meet can be uploaded into it.
            if (!result.ok() && found != FileProblem::Empty)
                db.close();
        }
    }
    if (problem)
        *problem = found;
    if (!result.ok() && found != FileProblem::Empty) {
        QSqlDatabase::removeDatabase(name);
        return result;
    }
    m_connection = name;
    m_path = a->toString();
    m_password = password;
    m_engine = Engine::PostgreSQL;
    return result;
}

Status Database::markAsMeet(Format format)
{
    if (!onServer())
        return Status::failure(QStringLiteral("only a server database is marked"));
    const QString function = QStringLiteral(
        "CREATE OR REPLACE FUNCTION arenor_changed() RETURNS trigger LANGUAGE plpgsql AS "
        "$$ BEGIN PERFORM pg_notify('%1', TG_TABLE_NAME); RETURN NULL; END $$").arg(kChannel);
    if (Status s = exec(QStringLiteral("CREATE TABLE arenor_meet (application text NOT NULL, user_version integer NOT NULL)")); !s)
        return s;
    if (Status s = exec(function); !s)
        return s;
    return exec(QStringLiteral("INSERT INTO arenor_meet VALUES (?, ?)"), {kApplication, int(format)});
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
    m_password.clear();
    forgetAllTables();
    m_engine = Engine::SQLite;
    m_lost = false;
}

bool Database::isOpen() const
{
    return !m_connection.isEmpty() && QSqlDatabase::database(m_connection, false).isOpen();
}

QSqlDatabase Database::handle() const
{
    return QSqlDatabase::database(m_connection, false);
}

QSqlQuery Database::reader() const
{
    QSqlQuery q(handle());
    q.setForwardOnly(!onServer());
    return q;
}

int Database::readVersion() const
{
    QSqlQuery q(handle());
    const QString sql = onServer() ? QStringLiteral("SELECT user_version FROM arenor_meet")
                                   : QStringLiteral("PRAGMA user_version");
    return q.exec(sql) && q.next() ? q.value(0).toInt() : 0;
}

Format Database::format() const
{
    return readVersion() % kVersionStep == int(Format::Compact) ? Format::Compact : Format::Modern;
}

int Database::schemaVersion() const
{
    return readVersion() / kVersionStep;
}

Status Database::setSchemaVersion(int version)
{
    if (onServer())
        return exec(QStringLiteral("UPDATE arenor_meet SET user_version = ?"), {userVersion(format(), version)});
    return exec(QStringLiteral("PRAGMA user_version = %1").arg(userVersion(format(), version)));
}

bool Database::tableExists(const QString &table) const
{
    QSqlQuery q(handle());
    // SQLite matches names blind to the case of ASCII letters only, as NOCASE compares: a name
    // this finds is one CREATE TABLE would refuse. The server is asked the same.
    if (onServer())
        q.prepare(QStringLiteral("SELECT 1 FROM (") + kServerTables +
                  QStringLiteral(") t WHERE ") + equalsIgnoringCase(QStringLiteral("relname")));
    else
        q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    q.addBindValue(table);
    return q.exec() && q.next();
}

QStringList Database::tables() const
{
    QStringList names;
    QSqlQuery q(handle());
    // The server's tables in the order they were made, as SQLite's catalogue keeps them.
    const QString sql = onServer() ? kServerTables + QStringLiteral(" ORDER BY c.oid")
                                   : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid");
    if (q.exec(sql))
        while (q.next())
            names << q.value(0).toString();
    return names;
}

QString Database::equalsIgnoringCase(const QString &quotedField) const
{
    if (!onServer())
        return quotedField + QStringLiteral(" = ? COLLATE NOCASE");
    static const QString upper = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    static const QString lower = upper.toLower();
    const QString fold = QStringLiteral("translate(%1, '") + upper + QStringLiteral("', '") + lower +
                         QStringLiteral("')");
    return fold.arg(quotedField) + QStringLiteral(" = ") + fold.arg(QStringLiteral("?"));
}

QString Database::insertStatement(const QString &table, qsizetype width) const
{
    const QStringList marks(width, QStringLiteral("?"));
    QString columns;
    if (onServer()) {
        // Fields added later stand after the row identity: name the ones written.
        QStringList names = fieldNames(table).mid(0, width);
        for (QString &n : names)
            n = quoteIdentifier(n);
        columns = QStringLiteral(" (") + names.join(u',') + u')';
    }
    return QStringLiteral("INSERT INTO ") + quoteIdentifier(table) + columns + QStringLiteral(" VALUES (") +
           marks.join(u',') + u')';
}

QString Database::allFields(const QString &table) const
{
    if (!onServer())
        return QStringLiteral("*");
    QStringList names = fieldNames(table);
    for (QString &n : names)
        n = quoteIdentifier(n);
    return names.join(QStringLiteral(", "));
}

Status Database::insertReturningRowid(const QString &sql, const QVariantList &binds, qint64 &rowid)
{
    QSqlQuery q(handle());
    if (!q.prepare(onServer() ? sql + QStringLiteral(" RETURNING rowid") : sql))
        return errorStatus(QStringLiteral("bad statement"), q.lastError());
    for (const QVariant &v : binds)
        q.addBindValue(bindable(v));
    if (!q.exec())
        return lostOrFailed(q, QStringLiteral("cannot add a record"));
    rowid = onServer() ? (q.next() ? q.value(0).toLongLong() : -1) : q.lastInsertId().toLongLong();
    return {};
}

QVariant Database::bindable(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.isNull() ? QVariant(QMetaType(QMetaType::LongLong)) : QVariant(qlonglong(value.toBool()));
    return value;
}

QVariant Database::asStored(const QVariant &value, FieldType type)
{
    // SQLite's affinity: numeric fields keep text that reads as a number as that number, and
    // real fields keep every number as a real.
    if (type == FieldType::Text || value.isNull() || value.typeId() != QMetaType::QString)
        return value;
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return value;
    bool ok = false;
    const qlonglong whole = text.toLongLong(&ok);
    if (ok)
        return type == FieldType::Double ? QVariant(double(whole)) : QVariant(whole);
    const double real = text.toDouble(&ok);
    if (!ok || !std::isfinite(real) || text.contains(u'x', Qt::CaseInsensitive))
        return value;
    if (type != FieldType::Double && real == std::floor(real) && std::fabs(real) < 9.2e18)
        return QVariant(qlonglong(real));
    return QVariant(real);
}

QList<FieldType> Database::serverTypes(const QString &table) const
{
    if (!onServer())
        return {};
    const auto it = m_types.find(table);
    if (it != m_types.end())
        return it->second;
    QList<FieldType> types;
    QSqlQuery q(handle());
    q.prepare(QStringLiteral("SELECT obj_description(") + kServerTableOid + QStringLiteral(", 'pg_class')"));
    q.addBindValue(table);
    if (q.exec() && q.next())
        for (const QString &word : q.value(0).toString().split(u' ', Qt::SkipEmptyParts))
            types << typeNamed(word).value_or(FieldType::Text);
    m_types[table] = types;
    return types;
}

void Database::forgetAllTables() const
{
    m_types.clear();
    m_names.clear();
}

void Database::forgetTypes(const QString &table) const
{
    m_types.erase(table);
    m_names.erase(table);
}

Status Database::createTable(const QString &table, const QList<FieldDef> &fields)
{
    if (!isOpen())
        return Status::failure(QStringLiteral("no database is open"));
    if (fields.isEmpty())
        return Status::failure(QStringLiteral("a table needs at least one field"));
    QStringList cols;
    QStringList types;
    for (const FieldDef &f : fields) {
        // The server keeps every field as text, as SQLite may, and its declared type beside.
        cols << quoteIdentifier(f.name) + u' ' + (onServer() ? QStringLiteral("text") : sqlType(f.type));
        types << sqlType(f.type);
    }
    forgetTypes(table);
    QSqlQuery q(handle());
    if (!onServer()) {
        if (!q.exec(QStringLiteral("CREATE TABLE ") + quoteIdentifier(table) + QStringLiteral(" (") +
                    cols.join(u", ") + u')'))
            return errorStatus(QStringLiteral("cannot create table ") + table, q.lastError());
        return {};
    }
    // The server cuts longer names short, and the table would no longer be found by its name.
    constexpr qsizetype kLongestName = 63;
    QStringList names{table};
    for (const FieldDef &f : fields)
        names << f.name;
    for (const QString &n : names)
        if (n.toUtf8().size() > kLongestName)
            return Status::failure(QStringLiteral("cannot create table ") + table +
                                   QStringLiteral(": the name is too long for the server (at most 63 bytes): ") + n);
    const QString name = quoteIdentifier(table);
    cols << QStringLiteral("rowid bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    const QStringList statements{
        QStringLiteral("CREATE TABLE ") + name + QStringLiteral(" (") + cols.join(u", ") + u')',
        QStringLiteral("COMMENT ON TABLE ") + name + QStringLiteral(" IS '") + types.join(u' ') + u'\'',
        QStringLiteral("CREATE TRIGGER arenor_changed AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON ") + name +
            QStringLiteral(" FOR EACH STATEMENT EXECUTE FUNCTION arenor_changed()")};
    return transaction([&]() -> Status {
        for (const QString &sql : statements)
            if (!q.exec(sql))
                return errorStatus(QStringLiteral("cannot create table ") + table, q.lastError());
        return {};
    });
}

Status Database::addField(const QString &table, const FieldDef &field)
{
    QList<FieldDef> now = fields(table);
    now.append(field);
    QStringList types;
    for (const FieldDef &f : now)
        types << sqlType(f.type);
    forgetTypes(table);
    const QString name = quoteIdentifier(table);
    if (!onServer())
        return exec(QStringLiteral("ALTER TABLE ") + name + QStringLiteral(" ADD COLUMN ") +
                    quoteIdentifier(field.name) + u' ' + sqlType(field.type));
    return transaction([&]() -> Status {
        if (Status s = exec(QStringLiteral("ALTER TABLE ") + name + QStringLiteral(" ADD COLUMN ") +
                            quoteIdentifier(field.name) + QStringLiteral(" text"));
            !s)
            return s;
        return exec(QStringLiteral("COMMENT ON TABLE ") + name + QStringLiteral(" IS '") + types.join(u' ') + u'\'');
    });
}

QList<FieldDef> Database::fields(const QString &table) const
{
    QList<FieldDef> out;
    if (onServer()) {
        const QStringList names = fieldNames(table);
        const QList<FieldType> types = serverTypes(table);
        for (qsizetype i = 0; i < names.size(); ++i)
            out.append({names[i], i < types.size() ? types[i] : FieldType::Text});
        return out;
    }
    QSqlQuery q(handle());
    if (q.exec(QStringLiteral("PRAGMA table_info(") + quoteIdentifier(table) + u')'))
        while (q.next())
            out.append({q.value(1).toString(), typeNamed(q.value(2).toString()).value_or(FieldType::Text)});
    return out;
}

Status Database::dropTable(const QString &table)
{
    forgetTypes(table);
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
    if (onServer()) {
        if (const auto it = m_names.find(table); it != m_names.end())
            return it->second;
        QSqlQuery q(handle());
        q.prepare(QStringLiteral("SELECT attname FROM pg_attribute WHERE attrelid = ") + kServerTableOid +
                  QStringLiteral(" AND attnum > 0 AND NOT attisdropped AND attname <> 'rowid' ORDER BY attnum"));
        q.addBindValue(table);
        if (q.exec())
            while (q.next())
                names << q.value(0).toString();
        if (!names.isEmpty())
            m_names[table] = names;
        return names;
    }
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
    // The server prepares only statements that read or write rows.
    if (binds.isEmpty() && onServer()) {
        if (!q.exec(sql))
            return lostOrFailed(q, QStringLiteral("statement failed"));
        return {};
    }
    if (!q.prepare(sql))
        return lostOrFailed(q, QStringLiteral("bad statement"));
    for (const QVariant &v : binds)
        q.addBindValue(bindable(v));
    if (!q.exec())
        return lostOrFailed(q, QStringLiteral("statement failed"));
    return {};
}

Status Database::lostOrFailed(QSqlQuery &q, const QString &what)
{
    Status s = errorStatus(what, q.lastError());
    q.finish();
    checkConnection();
    return s;
}

void Database::checkConnection()
{
    // A statement inside a transaction fails the transaction; it is checked once rolled back.
    if (!onServer() || m_inTransaction || m_checking || m_connection.isEmpty())
        return;
    m_checking = true;
    QSqlDatabase db = handle();
    bool working = false;
    {
        QSqlQuery probe(db);
        working = db.isOpen() && probe.exec(QStringLiteral("SELECT 1"));
    }
    if (!working) {
        if (!m_lost) {
            m_lost = true;
            if (connectionWatcher)
                connectionWatcher(false);
        }
        // The same connection opened again: same address, user and password; the server
        // may take a moment to come back, so the next failed statement tries again.
        db.close();
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SET client_min_messages = warning"));
            forgetAllTables();
            working = true;
        }
    }
    if (working && m_lost) {
        m_lost = false;
        if (connectionWatcher)
            connectionWatcher(true);
    }
    m_checking = false;
}

Status Database::updateUnchanged(const QString &table, const QStringList &fields, const QVariantList &values,
                                 qint64 rowid, QString &version, bool *changedElsewhere)
{
    if (changedElsewhere)
        *changedElsewhere = false;
    QSqlQuery q(handle());
    const bool versioned = onServer() && !version.isEmpty();
    QString sql = updateByRowidStatement(table, fields);
    if (versioned)
        sql += QStringLiteral(" AND xmin = ?::xid RETURNING xmin::text");
    if (!q.prepare(sql))
        return lostOrFailed(q, QStringLiteral("cannot store the record"));
    for (const QVariant &v : values)
        q.addBindValue(bindable(v));
    q.addBindValue(rowid);
    if (versioned)
        q.addBindValue(version);
    if (!q.exec())
        return lostOrFailed(q, QStringLiteral("cannot store the record"));
    if (!versioned)
        return {};
    if (q.next()) {
        version = q.value(0).toString();
        return {};
    }
    if (changedElsewhere)
        *changedElsewhere = true;
    return {};
}

Status Database::readRow(const QString &table, qint64 rowid, QVariantList &values, QString &version, bool *found)
{
    values.clear();
    version.clear();
    if (found)
        *found = false;
    const QList<FieldType> types = serverTypes(table);
    QSqlQuery q(handle());
    const QString sql = QStringLiteral("SELECT ") + (onServer() ? QStringLiteral("xmin::text, ") : QStringLiteral("'', ")) +
                        allFields(table) + QStringLiteral(" FROM ") + quoteIdentifier(table) +
                        QStringLiteral(" WHERE rowid = ?");
    if (!q.prepare(sql))
        return lostOrFailed(q, QStringLiteral("cannot read ") + table);
    q.addBindValue(rowid);
    if (!q.exec())
        return lostOrFailed(q, QStringLiteral("cannot read ") + table);
    if (!q.next())
        return {};
    version = q.value(0).toString();
    const int width = q.record().count() - 1;
    for (int i = 0; i < width; ++i)
        values.append(i < types.size() ? asStored(q.value(i + 1), types[i]) : q.value(i + 1));
    if (found)
        *found = true;
    return {};
}

Status Database::transaction(const std::function<Status()> &work)
{
    // Work inside a transaction already running is part of it: it stands or falls with it.
    if (m_inTransaction)
        return work();
    QSqlDatabase db = handle();
    if (!db.transaction()) {
        Status e = errorStatus(QStringLiteral("cannot start a transaction"), db.lastError());
        checkConnection();
        return e;
    }
    m_inTransaction = true;
    Status s = work();
    m_inTransaction = false;
    if (!s.ok()) {
        db.rollback();
        if (onServer())
            forgetAllTables(); // tables made in it are gone again
        checkConnection();
        return s;
    }
    if (!db.commit()) {
        Status e = errorStatus(QStringLiteral("cannot commit"), db.lastError());
        db.rollback();
        forgetAllTables();
        checkConnection();
        return e;
    }
    return {};
}

Status Database::insertRows(const QString &table, const QList<QVariantList> &rows)
{
    if (rows.isEmpty())
        return {};
    if (onServer())
        return insertRowsOnServer(table, rows);
    return transaction([&]() -> Status {
        const qsizetype width = rows.first().size();
        QSqlQuery q(handle());
        if (!q.prepare(insertStatement(table, width)))
            return errorStatus(QStringLiteral("cannot write ") + table, q.lastError());
        for (const QVariantList &row : rows) {
            for (qsizetype i = 0; i < width; ++i)
                q.bindValue(int(i), i < row.size() ? bindable(row[i]) : QVariant());
            if (!q.exec())
                return errorStatus(QStringLiteral("cannot write ") + table, q.lastError());
        }
        return {};
    });
}

QString Database::textForServer(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::Bool:
        return QString::number(int(value.toBool()));
    default:
        return value.toString();
    }
}

Status Database::insertRowsOnServer(const QString &table, const QList<QVariantList> &rows)
{
    // All rows in one statement, a text array per field: a grid of thousands of rows costs one
    // round trip instead of thousands. The ordinality keeps the record order.
    const qsizetype width = rows.first().size();
    QStringList names = fieldNames(table).mid(0, width);
    if (names.size() < width)
        return Status::failure(QStringLiteral("cannot write ") + table + QStringLiteral(": too few fields"));
    QStringList arrays, marks, columns;
    for (qsizetype i = 0; i < width; ++i) {
        QString array = QStringLiteral("{");
        for (const QVariantList &row : rows) {
            if (array.size() > 1)
                array += u',';
            const QVariant v = i < row.size() ? row[i] : QVariant();
            if (v.isNull()) {
                array += QStringLiteral("NULL");
                continue;
            }
            QString text = textForServer(v);
            text.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
            array += u'"' + text + u'"';
        }
        arrays << array + u'}';
        marks << QStringLiteral("?::text[]");
        columns << QStringLiteral("c%1").arg(i);
        names[i] = quoteIdentifier(names[i]);
    }
    QVariantList binds(arrays.cbegin(), arrays.cend());
    return transaction([&]() -> Status {
        if (Status s = exec(QStringLiteral("INSERT INTO ") + quoteIdentifier(table) + QStringLiteral(" (") +
                                names.join(u',') + QStringLiteral(") SELECT ") + columns.join(u',') +
                                QStringLiteral(" FROM unnest(") + marks.join(u',') +
                                QStringLiteral(") WITH ORDINALITY AS u(") + columns.join(u',') +
                                QStringLiteral(", n) ORDER BY n"),
                            binds);
            !s)
            return Status::failure(QStringLiteral("cannot write ") + table + QStringLiteral(": ") + s.error());
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
    if (Status s = readTable(db, table, m_fields, m_rowids, m_rows, sortField, &m_versions); !s)
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
    m_versions.clear();
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
    if (m_adding) {
        qint64 rowid = -1;
        if (Status s = m_db->insertReturningRowid(m_db->insertStatement(m_table, m_fields.size()), m_pending, rowid); !s)
            return Status::failure(QStringLiteral("cannot add a record: ") + s.error());
        m_rowids.push_back(rowid);
        m_rows.push_back(m_pending);
        QString version;
        if (m_db->onServer()) {
            QVariantList stored;
            m_db->readRow(m_table, rowid, stored, version, nullptr);
        }
        m_versions.push_back(version);
        m_pos = int(m_rows.size()) - 1;
        m_adding = false;
        m_pending.clear();
        return {};
    }
    if (m_pending.isEmpty())
        return {};
    if (m_pos < 0 || m_pos >= int(m_rows.size()))
        return Status::failure(QStringLiteral("no current record"));
    const size_t at = size_t(m_pos);
    bool elsewhere = false;
    if (Status s = m_db->updateUnchanged(m_table, m_fields, m_pending, m_rowids[at], m_versions[at], &elsewhere); !s)
        return s;
    QVariantList stored;
    bool found = false;
    if (elsewhere) {
        if (Status r = m_db->readRow(m_table, m_rowids[at], stored, m_versions[at], &found); !r)
            return r;
        // A new version with the values as read (a write rolled back, the same values written
        // elsewhere) is no change: written over it.
        if (found && sameValues(stored, m_rows[at]))
            if (Status s = m_db->updateUnchanged(m_table, m_fields, m_pending, m_rowids[at], m_versions[at], &elsewhere); !s)
                return s;
    }
    if (elsewhere) {
        // Another station wrote the record since it was read: its values are taken, not ours.
        if (Status r = m_db->readRow(m_table, m_rowids[at], stored, m_versions[at], &found); !r)
            return r;
        const QString why = changedElsewhereText(m_table, m_fields, m_rows[at], stored, !found);
        if (found)
            m_rows[at] = stored;
        m_pending.clear();
        return Status::failure(why);
    }
    m_rows[at] = m_pending;
    m_pending.clear();
    return {};
}

} // namespace arenor::db
