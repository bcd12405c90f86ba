#include "MeetFile.h"

#include "db/Schema.h"
#include "lists/MeetTemplates.h"
#include "timing/TimeFileHeader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QUuid>

#include <filesystem>
#include <limits>
#include <optional>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace arenor {

namespace {

Status flushToDisk(const QString &path)
{
#ifdef Q_OS_UNIX
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite))
        return Status::failure(QStringLiteral("cannot write ") + path + QStringLiteral(": ") +
                               f.errorString());
    if (::fsync(f.handle()) != 0)
        return Status::failure(QStringLiteral("cannot flush ") + path);
#else
    Q_UNUSED(path);
#endif
    return {};
}

void flushDirectory([[maybe_unused]] const QString &dir)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

// A private connection to one file, removed again when it goes out of scope.
class Connection {
public:
    explicit Connection(const QString &path)
        : m_name(QStringLiteral("lifecycle-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        m_open = db.open();
        if (!m_open)
            m_error = db.lastError().text();
    }
    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool isOpen() const { return m_open; }
    QString error() const { return m_error; }
    QSqlDatabase handle() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
    QString m_error;
    bool m_open = false;
};

// "ok" from the engine's full check; anything else, or a check that cannot run, is damage.
bool soundFile(const Connection &c)
{
    QSqlQuery q(c.handle());
    if (!q.exec(QStringLiteral("PRAGMA integrity_check")))
        return false;
    QStringList rows;
    while (q.next())
        rows << q.value(0).toString();
    return !q.lastError().isValid() && rows == QStringList{QStringLiteral("ok")};
}

struct Column {
    QString name;
    QString type;
};

QList<Column> columnsOf(const Connection &c, const QString &table)
{
    QList<Column> columns;
    QSqlQuery q(c.handle());
    if (q.exec(QStringLiteral("PRAGMA table_info(") + db::quoteIdentifier(table) + u')'))
        while (q.next())
            columns.append({q.value(1).toString(), q.value(2).toString()});
    return columns;
}

// Copies every row of one table that can still be read, keeping rowids so the record order
// stays. A damaged page breaks the scan: the scan resumes at ever larger steps beyond the last
// good row until it lands past the damage.
qint64 salvageRows(const Connection &from, const Connection &to, const QString &table,
                   const QList<Column> &columns)
{
    QStringList names{QStringLiteral("rowid")};
    QStringList marks{QStringLiteral("?")};
    for (const Column &c : columns) {
        names << db::quoteIdentifier(c.name);
        marks << QStringLiteral("?");
    }
    QSqlQuery insert(to.handle());
    if (!insert.prepare(QStringLiteral("INSERT INTO ") + db::quoteIdentifier(table) + QStringLiteral(" (") +
                        names.join(u',') + QStringLiteral(") VALUES (") + marks.join(u',') + u')'))
        return 0;
    const QString select = QStringLiteral("SELECT ") + names.join(u',') + QStringLiteral(" FROM ") +
                           db::quoteIdentifier(table) + QStringLiteral(" WHERE rowid > ? ORDER BY rowid");
    qint64 saved = 0;
    qint64 last = std::numeric_limits<qint64>::min();
    for (;;) {
        QSqlQuery q(from.handle());
        q.setForwardOnly(true);
        q.prepare(select);
        q.addBindValue(last);
        bool broke = !q.exec();
        while (!broke && q.next()) {
            for (int i = 0; i < names.size(); ++i)
                insert.bindValue(i, q.value(i));
            if (insert.exec()) {
                ++saved;
                last = q.value(0).toLongLong();
            }
        }
        broke = broke || q.lastError().isValid();
        if (!broke)
            return saved;
        // Find the first readable row beyond the damage.
        bool resumed = false;
        const qint64 start = last == std::numeric_limits<qint64>::min() ? 0 : last;
        for (qint64 step = 1; step > 0 && step < (qint64(1) << 40); step *= 2) {
            QSqlQuery probe(from.handle());
            probe.prepare(QStringLiteral("SELECT rowid FROM ") + db::quoteIdentifier(table) +
                          QStringLiteral(" WHERE rowid > ? ORDER BY rowid LIMIT 1"));
            probe.addBindValue(start + step);
            if (!probe.exec())
                continue;
            if (probe.next()) {
                last = probe.value(0).toLongLong() - 1;
                resumed = true;
                break;
            }
            if (!probe.lastError().isValid())
                return saved; // nothing readable lies beyond
        }
        if (!resumed)
            return saved;
    }
}

// Builds every table in the new file from its column list and carries the readable rows over.
Status salvageInto(const Connection &source, const QString &workFile,
                   const QList<std::pair<QString, QList<Column>>> &tables, RepairReport &r)
{
    Connection target(workFile);
    if (!target.isOpen())
        return Status::failure(QStringLiteral("cannot open ") + workFile + QStringLiteral(": ") +
                               target.error());
    QSqlDatabase t = target.handle();
    if (!t.transaction())
        return Status::failure(QStringLiteral("cannot write ") + workFile);
    for (const auto &[name, columns] : tables) {
        if (columns.isEmpty()) {
            r.lostTables << name;
            continue;
        }
        QStringList defs;
        for (const Column &c : columns) {
            // The type comes from a damaged file: keep only what a type name may hold.
            QString type;
            for (QChar ch : c.type)
                if (ch.isLetterOrNumber() || ch == u' ')
                    type += ch;
            defs << db::quoteIdentifier(c.name) + u' ' +
                        (type.trimmed().isEmpty() ? QStringLiteral("TEXT") : type.trimmed());
        }
        QSqlQuery create(t);
        if (!create.exec(QStringLiteral("CREATE TABLE ") + db::quoteIdentifier(name) + QStringLiteral(" (") +
                         defs.join(QStringLiteral(", ")) + u')')) {
            r.lostTables << name;
            continue;
        }
        const qint64 saved = salvageRows(source, target, name, columns);
        r.rowsSaved += saved;
        if (saved == 0) {
            // An empty table is no loss; one that cannot even be counted is.
            QSqlQuery count(source.handle());
            if (!count.exec(QStringLiteral("SELECT count(*) FROM ") + db::quoteIdentifier(name)) ||
                !count.next() || count.value(0).toLongLong() != 0)
                r.lostTables << name;
        }
    }
    if (!t.commit()) {
        t.rollback();
        return Status::failure(QStringLiteral("cannot write ") + workFile);
    }
    if (!soundFile(target))
        return Status::failure(QStringLiteral("the repaired file is not sound: ") + workFile);
    return {};
}

QString damagedName(const QString &path)
{
    QString name = path + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = path + QStringLiteral(".damaged") + QString::number(n);
    return name;
}

// Makes the meet file at path with every table under a work name and puts it in place.
Status buildMeetFile(AppState &state, const QString &path, db::Format format)
{
    WorkFile work(path);
    if (!work.status())
        return work.status();
    state.database.close();
    if (Status s = db::Database::create(work.path(), format, true); !s)
        return s;
    if (Status s = state.database.open(work.path()); !s)
        return s;
    const Status s = schema::initAllTables(state);
    state.database.close();
    return s ? work.putInPlaceOf(path) : s;
}

} // namespace

WorkFile::WorkFile(const QString &beside)
{
    QTemporaryFile file(QFileInfo(beside).absolutePath() + QStringLiteral("/.arenor-work-XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open()) {
        m_status = Status::failure(QStringLiteral("cannot make a work file beside ") + beside +
                                   QStringLiteral(": ") + file.errorString());
        return;
    }
    m_path = file.fileName();
}

WorkFile::~WorkFile()
{
    if (m_placed || m_path.isEmpty())
        return;
    QFile::remove(m_path);
    QFile::remove(m_path + QStringLiteral("-journal"));
}

Status WorkFile::putInPlaceOf(const QString &target)
{
    if (Status s = flushToDisk(m_path); !s)
        return s;
    Status s = replaceFile(m_path, target);
    m_placed = s.ok();
    return s;
}

QString formatQuestion(const TextTables &texts)
{
    QString q;
    for (int m = 26; m <= 30; ++m)
        q += texts.message(m);
    return q;
}

Status createMeetFile(AppState &state, CreateOutcome *outcome)
{
    const QString path = state.databasePath();
    // A new meet on a server is made as a file and uploaded.
    if (db::isServerAddress(path))
        return Status::failure(state.texts.message(Text::ServerOnlyFiles));
    const QString title = state.texts.message(1);
    // Yes replaces the meet and everything typed into it: Enter keeps it.
    if (QFile::exists(path) &&
        (!state.prompt || !state.prompt->askYesNo(state.texts.message(25), title, Icon::None, Answer::No))) {
        if (outcome)
            *outcome = CreateOutcome::KeptOld;
        return {};
    }
    state.database.close();
    const bool modern = !state.prompt || state.prompt->askYesNo(formatQuestion(state.texts), title);
    if (state.allMessages())
        state.inform(modern ? 31 : 32);
    Status s;
    {
        BusyScope busy(state.progressSink());
        s = buildMeetFile(state, path, modern ? db::Format::Modern : db::Format::Compact);
    }
    if (s.ok() && state.allMessages())
        state.inform(33);
    if (outcome)
        *outcome = CreateOutcome::Created;
    return s;
}

Status checkMeetFile(const TextTables &texts, const QString &path, const QString &shownName,
                     db::FileProblem *problem, const QString &password)
{
    db::FileProblem p = db::FileProblem::None;
    QStringList missing;
    {
        db::Database d;
        if (d.open(path, &p, password)) {
            if (d.schemaVersion() > schema::kSchemaVersion)
                p = db::FileProblem::Newer;
            else if (missing = schema::missingParts(d); !missing.isEmpty())
                p = db::FileProblem::Incomplete;
        }
    }
    if (problem)
        *problem = p;
    return p == db::FileProblem::None ? Status()
                                      : Status::failure(fileProblemText(texts, p, shownName, missing));
}

void removeLeftOverCopies(const QString &dir)
{
    static const QRegularExpression copy(QStringLiteral("\\.txt\\.[A-Za-z0-9]{6}$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QDir directory(dir);
    for (const QString &name :
         directory.entryList({QStringLiteral("*.txt.??????")}, QDir::Files | QDir::Hidden | QDir::System))
        if (copy.match(name).hasMatch())
            QFile::remove(directory.filePath(name));
}

Status meetFilesCheck(AppState &state)
{
    removeLeftOverCopies(state.meetDir);
    Status result;
    auto keep = [&result](Status s) {
        if (!s && result)
            result = s;
    };
    for (auto d : {timing::Direction::In, timing::Direction::Out}) {
        const QString p = state.meetFile(timing::timesFileName(d));
        if (!QFile::exists(p))
            keep(timing::createEmptyTimesFile(p, d));
    }
    if (!QFile::exists(state.meetFile(QStringLiteral("Info.txt"))))
        keep(lists::writeInfoTemplate(state, state.meetFile(QStringLiteral("Info.txt"))));
    if (!QFile::exists(state.meetFile(QStringLiteral("Rapport.txt"))))
        keep(lists::writeReportTemplate(state, state.meetFile(QStringLiteral("Rapport.txt"))));
    return result;
}

QString fileProblemText(const TextTables &texts, db::FileProblem problem, const QString &fileName,
                        const QStringList &missing)
{
    Text what = Text::FileUnreadable;
    switch (problem) {
    case db::FileProblem::None:
        return {};
    case db::FileProblem::Missing:
        what = Text::FileMissing;
        break;
    case db::FileProblem::Empty:
        what = Text::FileEmpty;
        break;
    case db::FileProblem::OldFormat:
        what = Text::FileOldFormat;
        break;
    case db::FileProblem::NotDatabase:
        what = Text::FileNotDatabase;
        break;
    case db::FileProblem::Foreign:
        what = Text::FileForeign;
        break;
    case db::FileProblem::Unreadable:
        what = Text::FileUnreadable;
        break;
    case db::FileProblem::ServerDown:
        what = Text::FileServerDown;
        break;
    case db::FileProblem::PasswordNeeded:
        what = Text::FilePasswordNeeded;
        break;
    case db::FileProblem::Incomplete:
        what = Text::FileIncomplete;
        break;
    case db::FileProblem::Newer:
        what = Text::FileNewer;
        break;
    }
    const bool server = db::isServerAddress(fileName);
    if (server && problem == db::FileProblem::Empty)
        what = Text::FileServerNoMeet;
    const QString lacking =
        problem == db::FileProblem::Incomplete ? missing.join(QStringLiteral(", ")) : QString();
    return fileName + u' ' + texts.message(what) + lacking + u'.' +
           texts.message(server ? Text::ServerUntouched : Text::FileUntouched);
}

Status compactFile(const QString &source, const QString &target)
{
    // A server meet is looked after by its server; PRAGMAs and file renames are no use there.
    if (db::isServerAddress(source))
        return Status::failure(QStringLiteral("not a meet file: ") + source);
    WorkFile work(target);
    if (!work.status())
        return work.status();
    Status s;
    {
        db::Database database;
        s = database.open(source);
        if (s)
            s = database.exec(QStringLiteral("VACUUM INTO ?"), {work.path()});
    }
    if (s && db::Database::checkFile(work.path()) != db::FileProblem::None)
        s = Status::failure(QStringLiteral("the compacted file cannot be read: ") + work.path());
    return s ? work.putInPlaceOf(target) : s;
}

Status replaceFile(const QString &from, const QString &to)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), ec);
    if (ec)
        return Status::failure(QStringLiteral("cannot put ") + from + QStringLiteral(" in place of ") + to +
                               QStringLiteral(": ") + QString::fromStdString(ec.message()));
    flushDirectory(QFileInfo(to).absolutePath());
    return {};
}

Status repairFile(const QString &path, RepairReport *report)
{
    // A server meet is looked after by its server; PRAGMAs and file renames are no use there.
    if (db::isServerAddress(path))
        return Status::failure(QStringLiteral("not a meet file: ") + path);
    RepairReport r;
    int userVersion = 0;
    std::optional<WorkFile> work;
    QList<std::pair<QString, QList<Column>>> tables;
    {
        Connection source(path);
        if (!source.isOpen())
            return Status::failure(QStringLiteral("cannot open ") + path + QStringLiteral(": ") +
                                   source.error());
        if (soundFile(source)) {
            if (report)
                *report = r;
            return {};
        }
        r.damaged = true;
        QSqlQuery q(source.handle());
        if (q.exec(QStringLiteral("PRAGMA user_version")) && q.next())
            userVersion = q.value(0).toInt();
        q.finish();
        if (!q.exec(QStringLiteral(
                "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
                "ESCAPE '\\' ORDER BY rowid")))
            return Status::failure(QStringLiteral("the table list of ") + path +
                                   QStringLiteral(" cannot be read"));
        while (q.next())
            tables.append({q.value(0).toString(), {}});
        q.finish();
        for (auto &[name, columns] : tables)
            columns = columnsOf(source, name);

        work.emplace(path);
        if (!work->status())
            return work->status();
        const db::Format format = userVersion % db::kVersionStep == int(db::Format::Compact)
                                      ? db::Format::Compact
                                      : db::Format::Modern;
        if (Status s = db::Database::create(work->path(), format, true); !s)
            return s;
        if (Status s = salvageInto(source, work->path(), tables, r); !s)
            return s;
        // The salvaged file keeps the version of the original, schema version included.
        Connection target(work->path());
        QSqlQuery v(target.handle());
        if (!v.exec(QStringLiteral("PRAGMA user_version = %1").arg(userVersion)))
            return Status::failure(QStringLiteral("cannot write ") + work->path());
    }
    r.keptOriginal = damagedName(path);
    if (!QFile::copy(path, r.keptOriginal))
        return Status::failure(QStringLiteral("cannot keep the damaged file as ") + r.keptOriginal);
    if (Status s = work->putInPlaceOf(path); !s)
        return s;
    if (report)
        *report = r;
    return {};
}

} // namespace arenor
