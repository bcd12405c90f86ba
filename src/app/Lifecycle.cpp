#include "Lifecycle.h"

#include "base/Convert.h"
#include "app/MainCommands.h"
#include "app/MeetFile.h"
#include "db/Schema.h"
#include "lists/MeetTemplates.h"
#include "registers/RegisterReaders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <filesystem>
#include <limits>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace arenor::lifecycle {

namespace {

const QString kFilter = QStringLiteral("Database (*.mdb)|*.mdb");
const QString kWorkFile = QStringLiteral("Temp.mdb");
const QString kCopyFile = QStringLiteral("Kopi.mdb");

QString localText(const AppState &state, const char *norwegian, const char *english)
{
    return QString::fromUtf8(state.texts.messageLanguage() == Language::Norwegian ? norwegian : english);
}

QString absolutePathOf(const AppState &state, const QString &name)
{
    return QDir::isAbsolutePath(name) ? QDir::cleanPath(name) : state.programFile(name);
}

bool samePath(const QString &a, const QString &b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

void titleChanged(AppState &state)
{
    emit state.notifier.meetSwitched();
}

void writeSettings(AppState &state)
{
    state.saveSettings();
}

// Binds the windows; a failure says in plain words what is wrong with the file.
Status bindOrExplain(AppState &state)
{
    Status s = state.bindDataControls();
    if (s)
        return s;
    const db::FileProblem problem = db::Database::checkFile(state.databasePath());
    if (problem == db::FileProblem::None)
        return s;
    return Status::failure(fileProblemText(state.texts, problem, state.currentDatabase));
}

// The steps after every bind to another meet: the registers, the final round, the times.
void followMeet(AppState &state)
{
    registers::readRegisters(state);
    // The rounds procedure is reached the same way as from the round selector.
    MainCommands(state).selectRound(3);
    emit state.notifier.timeFilesChanged();
}

// A failed new or open: the remembered meet becomes current again, whole.
void recoverPrevious(AppState &state, const QString &previous, int message, const QString &detail)
{
    state.unbindDataControls();
    QString text = state.texts.message(message);
    if (!detail.isEmpty())
        text += QStringLiteral("\n\n") + detail;
    state.informText(text, Icon::Exclamation);
    state.currentDatabase = previous;
    titleChanged(state);
    // The meet directory goes back too, so lists are not written beside the failed meet.
    state.setMeetDirectory();
    state.roundLoaded.fill(false);
    state.setRoundTag(3);
    meetFilesCheck(state);
    if (Status b = bindOrExplain(state); !b)
        state.informText(b.error(), Icon::Exclamation);
    followMeet(state);
}

void informFailure(AppState &state, const Status &s)
{
    if (!s)
        state.informText(s.error(), Icon::Exclamation);
}

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

Status removeLeftover(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {};
    QFile f(path);
    if (!f.remove())
        return Status::failure(QStringLiteral("cannot delete ") + path + QStringLiteral(": ") +
                               f.errorString());
    QFile::remove(path + QStringLiteral("-journal"));
    return {};
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

// Runs one file command between unbinding and binding the windows, with the busy pointer.
template <typename Work> Status withFileReleased(AppState &state, Work work)
{
    Status s;
    Status b;
    {
        BusyScope busy(state.progressSink());
        state.unbindDataControls();
        s = work();
        b = bindOrExplain(state);
    }
    informFailure(state, s);
    informFailure(state, b);
    return s && b ? Status() : (s ? b : s);
}

// Compacts the meet under the work name, then puts it in place of target in one step: neither
// the meet nor an earlier copy is touched before the new file is complete.
Outcome writeCompacted(AppState &state, const QString &work, const QString &target)
{
    const QString path = state.databasePath();
    const Status s = withFileReleased(state, [&]() -> Status {
        Status r = removeLeftover(work);
        if (r)
            r = compactFile(path, work);
        if (r)
            r = replaceFile(work, target);
        if (!r)
            QFile::remove(work);
        return r;
    });
    return s ? Outcome::Done : Outcome::Failed;
}

QString workFileRefusal(const AppState &state, const QString &work)
{
    return QFileInfo(work).fileName() +
           localText(
               state,
               " er programmets arbeidsfil og kan ikke være det åpne stevnet. Åpne et annet stevne først.",
               " is the program's work file and cannot be the open meet. Open another meet first.");
}

// Temp.mdb beside the meet, so the new file can take the meet's place in one rename; nullopt,
// after saying why, when the open meet itself has that name.
std::optional<QString> workFileBesideMeet(AppState &state)
{
    const QString path = state.databasePath();
    const QString work = QFileInfo(path).absolutePath() + u'/' + kWorkFile;
    if (samePath(work, path)) {
        state.informText(workFileRefusal(state, work), Icon::Exclamation);
        return std::nullopt;
    }
    return work;
}

} // namespace

// ---- register sizes ----

std::optional<SizeAnswers> askSizeQuestions(AppState &state)
{
    if (!state.prompt)
        return std::nullopt;
    const Catalogs &c = state.catalogs;
    const QString title = state.texts.message(1);
    const QString defaults[3] = {numberText(qint64(c.personCount)), numberText(qint64(c.relayCount)),
                                 numberText(qint64(20))};
    const int prompts[3] = {48, 47, 49};
    QString answers[3];
    for (int i = 0; i < 3; ++i) {
        const std::optional<QString> a =
            state.prompt->input({state.texts.message(prompts[i]), title, defaults[i]});
        // An empty answer counts as a cancel, as an empty input box always has.
        if (!a || a->isEmpty())
            return std::nullopt;
        answers[i] = *a;
    }
    constexpr qint64 lo = std::numeric_limits<qint16>::min();
    constexpr qint64 hi = std::numeric_limits<qint16>::max();
    return SizeAnswers{toRoundedInteger(answers[0], lo, hi), toRoundedInteger(answers[1], lo, hi),
                       toInteger(answers[2], lo, hi)};
}

void storeLimitedSizes(Catalogs &catalogs, const SizeAnswers &answers)
{
    catalogs.personCount = int(std::clamp<qint64>(answers.persons, 0, kMaxPersons));
    catalogs.relayCount = int(std::clamp<qint64>(answers.relays, 0, kMaxRelays));
    catalogs.clubCount = int(std::clamp<qint64>(answers.clubs, 0, kMaxClubs));
}

void applyDefaultSizes(Catalogs &catalogs)
{
    if (catalogs.personCount <= 0)
        catalogs.personCount = kDefaultPersons;
    if (catalogs.relayCount <= 0)
        catalogs.relayCount = kDefaultRelays;
    if (catalogs.clubCount <= 0)
        catalogs.clubCount = kDefaultClubs;
}

void askRegisterSizes(AppState &state)
{
    Catalogs &c = state.catalogs;
    if (const std::optional<SizeAnswers> a = askSizeQuestions(state))
        storeLimitedSizes(c, *a);
    else
        storeLimitedSizes(c, {c.personCount, c.relayCount, c.clubCount});
    applyDefaultSizes(c);
}

QString summaryText(const AppState &state)
{
    const TextTables &t = state.texts;
    const Catalogs &c = state.catalogs;
    return t.message(36) + numberText(qint64(c.personCount)) + t.message(37) +
           numberText(qint64(c.clubCount)) + t.message(52) + numberText(qint64(c.relayCount)) + u'.';
}

QString storedDatabaseName(const AppState &state, const QString &chosen)
{
    if (!QDir::isAbsolutePath(chosen))
        return chosen;
    const QFileInfo file(chosen);
    const QFileInfo dir(file.absolutePath());
    const QFileInfo program(state.programDir);
    const bool inProgramDir =
        QDir::cleanPath(file.absolutePath()) == QDir::cleanPath(state.programDir) ||
        (dir.exists() && program.exists() && dir.canonicalFilePath() == program.canonicalFilePath());
    return inProgramDir ? file.fileName() : QDir::cleanPath(chosen);
}

// ---- the commands ----

Outcome makeNewDatabase(AppState &state)
{
    const QString previous = state.currentDatabase;
    if (!state.prompt)
        return Outcome::Stopped;
    const std::optional<QString> chosen = state.prompt->file(
        {state.texts.message(40), state.texts.message(42), kFilter, state.programDir, true});
    if (!chosen || chosen->isEmpty())
        return Outcome::Stopped;
    if (!chosen->toLower().endsWith(QLatin1String(".mdb"))) {
        state.inform(45);
        return Outcome::Stopped;
    }
    const QString name = storedDatabaseName(state, *chosen);
    const QString path = absolutePathOf(state, name);
    if (QFileInfo::exists(path)) {
        state.inform(46);
        return Outcome::Stopped;
    }

    state.currentDatabase = name;
    state.unbindDataControls();
    titleChanged(state);
    bool madeFile = false;
    const Status s = [&]() -> Status {
        if (!state.setMeetDirectory())
            return Status::failure(QStringLiteral("cannot make the meet directory ") + state.meetDir);
        askRegisterSizes(state);
        state.roundLoaded.fill(false);
        writeSettings(state);
        state.setRoundTag(3);
        if (Status m = meetFilesCheck(state); !m)
            return m;
        if (!QFileInfo::exists(path)) {
            if (Status c = createMeetFile(state); !c)
                return c;
            madeFile = true;
            if (Status o = state.database.open(path); !o)
                return o;
            if (Status i = schema::initAllTables(state); !i)
                return i;
        }
        return bindOrExplain(state);
    }();
    if (!s) {
        state.unbindDataControls();
        // The half-made file holds nothing yet; leaving it would block the same name next time.
        if (madeFile)
            QFile::remove(path);
        recoverPrevious(state, previous, 50, s.error());
        return Outcome::Recovered;
    }
    followMeet(state);
    state.informText(summaryText(state));
    return Outcome::Done;
}

Outcome openMeetDatabase(AppState &state)
{
    const QString previous = state.currentDatabase;
    if (!state.prompt)
        return Outcome::Stopped;
    const std::optional<QString> chosen =
        state.prompt->file({state.texts.message(38), QString(), kFilter, state.programDir, false});
    if (!chosen || chosen->isEmpty())
        return Outcome::Stopped;
    const QString name = storedDatabaseName(state, *chosen);
    // The same file, whatever the case and surrounding blanks of its name.
    auto key = [&state](const QString &n) {
        const QFileInfo f(absolutePathOf(state, n));
        return (f.absolutePath() + u'/' + f.fileName().trimmed()).toLower();
    };
    if (key(name) == key(previous) || samePath(absolutePathOf(state, name), state.databasePath())) {
        state.inform(39);
        return Outcome::Stopped;
    }
    const QString path = absolutePathOf(state, name);
    if (!QFileInfo(path).isFile()) {
        state.inform(41);
        return Outcome::Stopped;
    }
    // A file that is no meet database is refused before anything changes.
    if (const db::FileProblem p = db::Database::checkFile(path); p != db::FileProblem::None) {
        state.informText(fileProblemText(state.texts, p, name), Icon::Exclamation);
        return Outcome::Stopped;
    }

    state.currentDatabase = name;
    state.unbindDataControls();
    titleChanged(state);
    const Status s = [&]() -> Status {
        if (!state.setMeetDirectory())
            return Status::failure(QStringLiteral("cannot make the meet directory ") + state.meetDir);
        Catalogs &c = state.catalogs;
        storeLimitedSizes(c, {c.personCount, c.relayCount, c.clubCount});
        state.roundLoaded.fill(false);
        state.setRoundTag(3);
        if (Status m = meetFilesCheck(state); !m)
            return m;
        return bindOrExplain(state);
    }();
    if (!s) {
        recoverPrevious(state, previous, 43, s.error());
        return Outcome::Recovered;
    }
    followMeet(state);
    return Outcome::Done;
}

Outcome resetMeetDatabase(AppState &state)
{
    const std::optional<SizeAnswers> answers = askSizeQuestions(state);
    if (!answers) {
        if (state.prompt)
            state.prompt->message(
                {state.texts.message(34), state.texts.message(1), Buttons::OkCancel, Icon::Exclamation});
        return Outcome::Stopped;
    }
    storeLimitedSizes(state.catalogs, *answers);
    state.setMeetDirectory();
    state.unbindDataControls();
    const QString path = state.databasePath();

    // The lists and times go only once the user has agreed to overwrite the meet: answering
    // No keeps the file, so its lists stay with it.
    const bool existed = QFile::exists(path);
    const bool replace =
        !existed || (state.prompt && state.prompt->askYesNo(state.texts.message(25), state.texts.message(1)));
    Status s;
    if (replace) {
        // The meet file goes first: when it cannot be deleted, no list is lost either.
        if (existed && !QFile::remove(path))
            s = Status::failure(QStringLiteral("cannot delete ") + path);
        if (s) {
            const QDir dir(state.meetDir);
            for (const QString &f : dir.entryList({QStringLiteral("*.txt")}, QDir::Files))
                QFile::remove(dir.filePath(f));
            lists::writeInfoTemplate(state, state.meetFile(QStringLiteral("Info.txt")));
            lists::writeReportTemplate(state, state.meetFile(QStringLiteral("Rapport.txt")));
            writeSettings(state);
            s = createMeetFile(state);
        }
    } else {
        writeSettings(state);
    }
    state.roundLoaded.fill(false);
    if (s)
        s = state.database.open(path);
    if (s)
        s = schema::initAllTables(state);
    const Status b = bindOrExplain(state);
    followMeet(state);
    if (!s || !b) {
        informFailure(state, s);
        informFailure(state, b);
        return Outcome::Failed;
    }
    state.informText(summaryText(state));
    writeSettings(state);
    return Outcome::Done;
}

Outcome repairMeetDatabase(AppState &state)
{
    const QString path = state.databasePath();
    const std::optional<QString> work = workFileBesideMeet(state);
    if (!work)
        return Outcome::Stopped;
    if (const db::FileProblem p = db::Database::checkFile(path); p != db::FileProblem::None) {
        state.informText(fileProblemText(state.texts, p, state.currentDatabase), Icon::Exclamation);
        return Outcome::Failed;
    }
    RepairReport report;
    if (!withFileReleased(state, [&] { return repairFile(path, *work, &report); }))
        return Outcome::Failed;
    if (report.damaged) {
        registers::readRegisters(state);
        QString text =
            state.currentDatabase + localText(state, " var skadet. ", " was damaged. ") +
            numberText(report.rowsSaved) +
            localText(state, " poster ble berget over i en hel fil. Den skadde fila er tatt vare på som ",
                      " records were saved into a sound file. The damaged file was kept as ") +
            QFileInfo(report.keptOriginal).fileName() + u'.';
        if (!report.lostTables.isEmpty())
            text += localText(state, " Ingen poster kunne leses i: ", " No record could be read in: ") +
                    report.lostTables.join(QStringLiteral(", ")) + u'.';
        state.informText(text, Icon::Exclamation);
    }
    return Outcome::Done;
}

Outcome compactMeetDatabase(AppState &state)
{
    const std::optional<QString> work = workFileBesideMeet(state);
    return work ? writeCompacted(state, *work, state.databasePath()) : Outcome::Stopped;
}

Outcome copyMeetDatabase(AppState &state)
{
    const QString path = state.databasePath();
    const QString copy = state.programFile(kCopyFile);
    const QString work = state.programFile(kWorkFile);
    if (samePath(copy, path) || samePath(work, path)) {
        state.informText(workFileRefusal(state, samePath(copy, path) ? copy : work), Icon::Exclamation);
        return Outcome::Stopped;
    }
    return writeCompacted(state, work, copy);
}

Outcome runDatabaseCommand(AppState &state, const QString &command)
{
    if (command == QLatin1String("new"))
        return makeNewDatabase(state);
    if (command == QLatin1String("open"))
        return openMeetDatabase(state);
    if (command == QLatin1String("reset"))
        return resetMeetDatabase(state);
    if (command == QLatin1String("repair"))
        return repairMeetDatabase(state);
    if (command == QLatin1String("compact"))
        return compactMeetDatabase(state);
    if (command == QLatin1String("copy"))
        return copyMeetDatabase(state);
    return Outcome::Stopped;
}

// ---- file operations ----

Status compactFile(const QString &source, const QString &target)
{
    if (QFileInfo::exists(target))
        return Status::failure(QStringLiteral("the file exists: ") + target);
    Status s;
    {
        db::Database database;
        s = database.open(source);
        if (s)
            s = database.exec(QStringLiteral("VACUUM INTO ?"), {target});
    }
    if (s)
        s = flushToDisk(target);
    if (s && db::Database::checkFile(target) != db::FileProblem::None)
        s = Status::failure(QStringLiteral("the compacted file cannot be read: ") + target);
    if (!s)
        QFile::remove(target);
    return s;
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

Status repairFile(const QString &path, const QString &workFile, RepairReport *report)
{
    RepairReport r;
    db::Format format = db::Format::Modern;
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
        if (q.exec(QStringLiteral("PRAGMA user_version")) && q.next() &&
            q.value(0).toInt() == int(db::Format::Compact))
            format = db::Format::Compact;
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

        if (Status s = removeLeftover(workFile); !s)
            return s;
        if (Status s = db::Database::create(workFile, format); !s)
            return s;
        if (Status s = salvageInto(source, workFile, tables, r); !s) {
            QFile::remove(workFile);
            return s;
        }
    }
    if (Status s = flushToDisk(workFile); !s)
        return s;
    r.keptOriginal = damagedName(path);
    if (!QFile::copy(path, r.keptOriginal)) {
        QFile::remove(workFile);
        return Status::failure(QStringLiteral("cannot keep the damaged file as ") + r.keptOriginal);
    }
    if (Status s = replaceFile(workFile, path); !s) {
        QFile::remove(workFile);
        return s;
    }
    if (report)
        *report = r;
    return {};
}

} // namespace arenor::lifecycle
