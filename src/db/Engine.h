#pragma once
// The meet database engine: one SQLite file per meet, or one database on a PostgreSQL server
// shared by several stations. Tables have no keys of their own and fields named by position;
// rows are addressed by their row identity, which is also the record order: SQLite's rowid,
// and on the server a column named rowid that the program fills and never shows.

#include "base/Status.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace arenor::db {

enum class FieldType { Text, Boolean, Integer, Double };
enum class Engine { SQLite, PostgreSQL };
struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
};

// The two file formats offered when a meet file is made; recorded in the file itself.
enum class Format { Modern = 30, Compact = 25 };

// The file's PRAGMA user_version holds both the format and the version of the schema (the
// number of migrations applied): 1000 x schema version + format code. Files of the first
// version hold the bare format code (30 or 25), so they read as schema version 0.
constexpr int kVersionStep = 1000;
constexpr int userVersion(Format format, int schemaVersion)
{
    return schemaVersion * kVersionStep + int(format);
}

// Why a file cannot be opened as a meet database.
enum class FileProblem {
    None,
    Missing,
    Empty,
    OldFormat,
    NotDatabase,
    Foreign,
    Unreadable,
    Incomplete,
    Newer,
    ServerDown,     // the server cannot be reached, or refused the user or database
    PasswordNeeded, // the server asks for a password that was not given or was wrong
};

// A meet on a server, as "postgresql://user@host:port/database" names it. The password is
// never part of it: it is asked, or libpq takes it from the user's ~/.pgpass.
struct ServerAddress {
    QString host; // a name, or a socket folder; empty: libpq's default
    int port = -1; // -1: libpq's default
    QString database;
    QString user;
    // Empty when text is not such an address or lacks the database.
    static std::optional<ServerAddress> parse(const QString &text);
    QString toString() const;
};
bool isServerAddress(const QString &text);

// "name" with every embedded double quote doubled: safe for any user text.
QString quoteIdentifier(const QString &name);

// The statement every writer shares: an UPDATE of a whole row addressed by rowid (values
// first, rowid last). The INSERT depends on the engine: Database::insertStatement.
QString updateByRowidStatement(const QString &table, const QStringList &fields);

class Database;
// Reads a table in record order: field names, rowids and rows. sortField orders by that field
// first (the record order breaks ties).
// versions, when given, gets each row's version on the server (empty on SQLite), for
// Database::updateUnchanged.
Status readTable(Database &db, const QString &table, QStringList &fields, std::vector<qint64> &rowids,
                 std::vector<QVariantList> &rows, const QString &sortField = {},
                 std::vector<QString> *versions = nullptr);

// Two records hold the same values as the user reads them (a number stored as text equals
// the number).
bool sameValues(const QVariantList &a, const QVariantList &b);

// Fields "0".."count-1" of one type.
QList<FieldDef> numberedFields(int count, FieldType type = FieldType::Text);

class Database {
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Makes a new, empty meet file of schema version 0. Fails when the file exists (unless
    // allowEmpty and it is empty) or cannot be written.
    static Status create(const QString &path, Format format, bool allowEmpty = false);
    // Looks at a file without changing it: its header, and that it is not cut short.
    static FileProblem checkFile(const QString &path);

    // Fails when the file is missing or is not a meet database; a failed open never
    // changes the file. A server address opens the meet on the server (password empty:
    // from ~/.pgpass, or none).
    Status open(const QString &path, FileProblem *problem = nullptr, const QString &password = {});
    // Marks an empty server database as a meet database of schema version 0, in the same
    // transaction as whatever else the caller writes first (an upload).
    Status markAsMeet(Format format);
    void close();
    bool isOpen() const;
    // The file's path, or the server address.
    QString path() const { return m_path; }
    Engine engine() const { return m_engine; }
    bool onServer() const { return m_engine == Engine::PostgreSQL; }
    // The password the server meet was opened with, kept in memory for reconnecting.
    QString password() const { return m_password; }
    Format format() const;
    int schemaVersion() const;
    // Sets the schema version, keeping the format.
    Status setSchemaVersion(int version);

    // Names match as SQLite matches them: "KULE" finds "Kule", "ØST" does not find "øst".
    bool tableExists(const QString &table) const;
    QStringList tables() const;
    Status createTable(const QString &table, const QList<FieldDef> &fields);
    Status dropTable(const QString &table);
    int recordCount(const QString &table) const;
    QStringList fieldNames(const QString &table) const;
    // The fields with their declared types, in order.
    QList<FieldDef> fields(const QString &table) const;
    Status addField(const QString &table, const FieldDef &field);

    // INSERT of the first `width` fields of a row; the row identity takes the next number.
    QString insertStatement(const QString &table, qsizetype width) const;
    // The fields of a table for a SELECT, in order, without the server's row identity.
    QString allFields(const QString &table) const;
    // A condition that a text field (quoted) equals a bound value blind to the case of ASCII
    // letters, as SQLite's NOCASE compares.
    QString equalsIgnoringCase(const QString &quotedField) const;
    // Runs an INSERT (from insertStatement) and gives the new row's rowid.
    Status insertReturningRowid(const QString &sql, const QVariantList &binds, qint64 &rowid);
    // The value as the server stores it: SQLite keeps numbers in text fields and takes true
    // as 1, so the server meet is given the same.
    static QVariant bindable(const QVariant &value);
    // A value read from the server as SQLite gives it back from a field of that type.
    static QVariant asStored(const QVariant &value, FieldType type);

    // Runs one statement; SQL text here never holds user text, which goes in binds.
    Status exec(const QString &sql, const QVariantList &binds = {});

    // Inserts whole rows in record order inside one transaction.
    Status insertRows(const QString &table, const QList<QVariantList> &rows);

    // Runs work inside a transaction: commit when it succeeds, rollback otherwise.
    Status transaction(const std::function<Status()> &work);

    QSqlDatabase handle() const;
    // A query for reading rows in one pass. Forward-only on SQLite; on the server a forward-only
    // query would lose its rows to the next statement on the connection, so it reads them all.
    QSqlQuery reader() const;
    QString connectionName() const { return m_connection; }

    // The declared types of a table's fields on the server (empty on SQLite).
    QList<FieldType> serverTypes(const QString &table) const;

    // ---- several stations on one server meet ----
    bool inTransaction() const { return m_inTransaction; }
    // Writes a whole row (values of fields, in order) unless another station changed it since
    // it was read as `version`. On SQLite, or with an empty version, the row is always written.
    // A written row gets its new version; a row changed elsewhere is left alone and
    // *changedElsewhere set.
    Status updateUnchanged(const QString &table, const QStringList &fields, const QVariantList &values,
                           qint64 rowid, QString &version, bool *changedElsewhere);
    // One row as stored now, with its version; *found false when it is gone.
    Status readRow(const QString &table, qint64 rowid, QVariantList &values, QString &version, bool *found);
    // After a failed statement outside a transaction: when the server connection is gone, it
    // is opened again with the same address and password. The watcher hears of the loss
    // (false) once, and of the connection working again (true).
    void checkConnection();
    bool connectionLost() const { return m_lost; }
    std::function<void(bool working)> connectionWatcher;

private:
    Status insertRowsOnServer(const QString &table, const QList<QVariantList> &rows);
    // A value as the text the server keeps, numbers in their shortest exact form.
    static QString textForServer(const QVariant &value);
    Status openServer(const QString &address, const QString &password, FileProblem *problem);
    // The query's error, after checking whether the connection was lost.
    Status lostOrFailed(QSqlQuery &q, const QString &what);
    void forgetTypes(const QString &table) const;
    void forgetAllTables() const;
    int readVersion() const;

    QString m_connection;
    QString m_path;
    QString m_password;
    Engine m_engine = Engine::SQLite;
    bool m_inTransaction = false;
    bool m_lost = false;
    bool m_checking = false;
    // What the server's catalogue says of a table, asked once.
    mutable std::map<QString, QList<FieldType>> m_types;
    mutable std::map<QString, QStringList> m_names;
};

// An ordered set of a table's records with a current position, as the windows navigate it.
// The records are read when the set is opened; update() writes the current record back.
class Recordset {
public:
    Status open(Database &db, const QString &table, const QString &sortField = {});
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString table() const { return m_table; }

    int recordCount() const { return int(m_rows.size()); }
    int fieldCount() const { return int(m_fields.size()); }
    QStringList fieldNames() const { return m_fields; }
    int position() const { return m_pos; } // 0-based; -1 before the first, count after the last
    bool bof() const { return m_pos < 0 || m_rows.empty(); }
    bool eof() const { return m_pos >= int(m_rows.size()) || m_rows.empty(); }

    // Moving discards an edit that was not stored with update().
    void moveFirst() { moveTo(0); }
    void moveLast() { moveTo(int(m_rows.size()) - 1); }
    void moveNext() { moveTo(m_pos + 1); }
    void movePrevious() { moveTo(m_pos - 1); }
    void move(int offset) { moveTo(m_pos + offset); }
    void moveTo(int position)
    {
        m_pending.clear();
        m_adding = false;
        m_pos = std::clamp(position, -1, int(m_rows.size()));
    }

    QVariant field(int index) const;
    QVariant field(const QString &name) const;
    QString text(int index) const { return field(index).toString(); }
    void setField(int index, const QVariant &value);
    void setField(const QString &name, const QVariant &value);

    // Starts a new record at the end; update() stores it.
    void addNew();
    // Stores the new or changed current record.
    Status update();
    qint64 rowid() const;

private:
    Database *m_db = nullptr;
    QString m_table;
    QStringList m_fields;
    std::vector<qint64> m_rowids;
    std::vector<QVariantList> m_rows;
    std::vector<QString> m_versions;
    QVariantList m_pending;
    bool m_adding = false;
    int m_pos = -1;
};

} // namespace arenor::db
