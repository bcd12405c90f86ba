#include "Lifecycle.h"

#include "app/MainCommands.h"
#include "app/MeetFile.h"
#include "app/ServerMeet.h"
#include "app/StartUp.h"
#include "base/Convert.h"
#include "db/Schema.h"
#include "lists/MeetTemplates.h"
#include "registers/RegisterReaders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace arenor::lifecycle {

namespace {

const QString kFilter = QStringLiteral("Database (*.mdb)|*.mdb");
const QString kCopyFile = QStringLiteral("Kopi.mdb");

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

void informFailure(AppState &state, const Status &s)
{
    if (!s)
        state.informText(s.error(), Icon::Exclamation);
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
    informFailure(state, meetBecameCurrent(state));
}

// Runs one file operation on the current meet between unbinding and the meet becoming
// current again, with the busy pointer.
template <typename Work> Status withFileReleased(AppState &state, Work work)
{
    Status s;
    {
        BusyScope busy(state.progressSink());
        state.unbindDataControls();
        s = work();
    }
    const Status b = meetBecameCurrent(state, MeetChange::Rebound);
    informFailure(state, s);
    informFailure(state, b);
    return s && b ? Status() : (s ? b : s);
}

QString copyNameRefusal(const AppState &state)
{
    return state.texts.message(Text::CopyNameRefused).arg(kCopyFile);
}

} // namespace

Status meetBecameCurrent(AppState &state, MeetChange change)
{
    const QString path = state.databasePath();
    if (!state.database.isOpen() || state.database.path() != path) {
        state.database.close();
        db::FileProblem problem = db::FileProblem::None;
        QStringList missing;
        const bool server = db::isServerAddress(path);
        Status s = schema::openMeet(state.database, path, &problem, &missing,
                                    server ? knownPassword(path) : QString());
        if (!s && server && problem == db::FileProblem::PasswordNeeded) {
            // Asked here, so a start or a return to the meet asks it too.
            db::Database probe;
            s = openServerDatabase(state, probe, path, &problem);
            probe.close();
            if (s)
                s = schema::openMeet(state.database, path, &problem, &missing, knownPassword(path));
        }
        if (!s) {
            // An empty server database stays open after its open fails; nothing is to use it.
            state.database.close();
            titleChanged(state);
            return problem == db::FileProblem::None
                       ? s
                       : Status::failure(
                             fileProblemText(state.texts, problem, state.currentDatabase, missing));
        }
    }
    const Status s = state.bindDataControls();
    if (!s || change == MeetChange::Rebound)
        return s;
    registers::readRegisters(state);
    // The rounds procedure is reached the same way as from the round selector.
    MainCommands(state).selectRound(3);
    emit state.notifier.timeFilesChanged();
    // Remembered now rather than at quit, so a program that is killed reopens it too.
    rememberCurrentMeet(state);
    return {};
}

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

std::optional<QString> askNewMeetFile(AppState &state, const QString &caption, const QString &proposal)
{
    const std::optional<QString> chosen =
        state.prompt->file({caption, proposal, kFilter, state.programDir, true});
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    if (!chosen->toLower().endsWith(QLatin1String(".mdb"))) {
        state.inform(45);
        return std::nullopt;
    }
    const QString name = storedDatabaseName(state, *chosen);
    const QString path = absolutePathOf(state, name);
    if (QFileInfo::exists(path)) {
        state.inform(46);
        return std::nullopt;
    }
    // The next copy would replace a meet of that name.
    if (QFileInfo(path).fileName().compare(kCopyFile, Qt::CaseInsensitive) == 0) {
        state.informText(copyNameRefusal(state), Icon::Exclamation);
        return std::nullopt;
    }
    return name;
}

Outcome makeNewDatabase(AppState &state)
{
    const QString previous = state.currentDatabase;
    if (!state.prompt)
        return Outcome::Stopped;
    const std::optional<QString> chosen =
        askNewMeetFile(state, state.texts.message(40), state.texts.message(42));
    if (!chosen)
        return Outcome::Stopped;
    const QString name = *chosen;
    const QString path = absolutePathOf(state, name);

    state.currentDatabase = name;
    state.unbindDataControls();
    titleChanged(state);
    const Status s = [&]() -> Status {
        if (!state.setMeetDirectory())
            return Status::failure(QStringLiteral("cannot make the meet directory ") + state.meetDir);
        askRegisterSizes(state);
        state.roundLoaded.fill(false);
        writeSettings(state);
        state.setRoundTag(3);
        if (Status m = meetFilesCheck(state); !m)
            return m;
        // The meet file appears whole or not at all.
        if (!QFileInfo::exists(path)) {
            if (Status c = createMeetFile(state); !c)
                return c;
        }
        return meetBecameCurrent(state);
    }();
    if (!s) {
        recoverPrevious(state, previous, 50, s.error());
        return Outcome::Recovered;
    }
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
    // A file that is no meet database, or not a whole one, is refused before anything changes.
    db::FileProblem problem = db::FileProblem::None;
    if (Status c = checkMeetFile(state.texts, path, name, &problem); !c) {
        const bool incomplete = problem == db::FileProblem::Incomplete || problem == db::FileProblem::Newer;
        state.informText(incomplete ? state.texts.message(43) + QStringLiteral("\n\n") + c.error()
                                    : c.error(),
                         Icon::Exclamation);
        return Outcome::Stopped;
    }

    return switchToMeet(state, name, 43);
}

Outcome switchToMeet(AppState &state, const QString &name, int failMessage)
{
    const QString previous = state.currentDatabase;
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
        return meetBecameCurrent(state);
    }();
    if (!s) {
        recoverPrevious(state, previous, failMessage, s.error());
        return Outcome::Recovered;
    }
    return Outcome::Done;
}

Outcome resetMeetDatabase(AppState &state)
{
    if (refusedOnServer(state))
        return Outcome::Stopped;
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

    // The new meet is built whole beside the old one and takes its place in one step; only
    // then do the lists and times go. Answering No at message 25 keeps the file and its lists.
    CreateOutcome made = CreateOutcome::KeptOld;
    Status s = createMeetFile(state, &made);
    removeLeftOverCopies(state.meetDir);
    if (s && made == CreateOutcome::Created) {
        const QDir dir(state.meetDir);
        for (const QString &f : dir.entryList({QStringLiteral("*.txt")}, QDir::Files))
            QFile::remove(dir.filePath(f));
        lists::writeInfoTemplate(state, state.meetFile(QStringLiteral("Info.txt")));
        lists::writeReportTemplate(state, state.meetFile(QStringLiteral("Rapport.txt")));
    }
    writeSettings(state);
    state.roundLoaded.fill(false);
    if (s && made == CreateOutcome::KeptOld) {
        // Each table is asked for on its own.
        s = schema::openMeet(state.database, state.databasePath());
        if (s)
            s = schema::initAllTables(state);
    }
    const Status b = meetBecameCurrent(state);
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
    if (refusedOnServer(state))
        return Outcome::Stopped;
    const QString path = state.databasePath();
    if (const db::FileProblem p = db::Database::checkFile(path);
        p != db::FileProblem::None && p != db::FileProblem::NotDatabase) {
        state.informText(fileProblemText(state.texts, p, state.currentDatabase), Icon::Exclamation);
        return Outcome::Failed;
    }
    RepairReport report;
    if (!withFileReleased(state, [&] { return repairFile(path, &report); }))
        return Outcome::Failed;
    if (report.damaged) {
        registers::readRegisters(state);
        QString text = state.texts.message(Text::RepairSaved)
                           .arg(state.currentDatabase, numberText(report.rowsSaved),
                                QFileInfo(report.keptOriginal).fileName());
        if (!report.lostTables.isEmpty())
            text +=
                state.texts.message(Text::RepairLostTables).arg(report.lostTables.join(QStringLiteral(", ")));
        state.informText(text, Icon::Exclamation);
    }
    return Outcome::Done;
}

Outcome compactMeetDatabase(AppState &state)
{
    if (refusedOnServer(state))
        return Outcome::Stopped;
    const QString path = state.databasePath();
    return withFileReleased(state, [&] { return compactFile(path, path); }) ? Outcome::Done : Outcome::Failed;
}

Outcome copyMeetDatabase(AppState &state)
{
    if (refusedOnServer(state))
        return Outcome::Stopped;
    const QString path = state.databasePath();
    const QString copy = state.programFile(kCopyFile);
    if (samePath(copy, path)) {
        state.informText(state.texts.message(Text::CopyIsOpenMeet).arg(QFileInfo(copy).fileName()),
                         Icon::Exclamation);
        return Outcome::Stopped;
    }
    // The current file stays unchanged; an earlier copy is replaced in one step.
    return withFileReleased(state, [&] { return compactFile(path, copy); }) ? Outcome::Done : Outcome::Failed;
}

} // namespace arenor::lifecycle
