#include "ServerMeet.h"

#include "app/MeetFile.h"
#include "base/Convert.h"
#include "db/Transfer.h"
#include "registers/RegisterReaders.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace arenor::lifecycle {

namespace {

constexpr int kDefaultPort = 5432;

// The passwords that opened a server meet in this run, by address; never written anywhere.
QHash<QString, QString> &passwords()
{
    static QHash<QString, QString> known;
    return known;
}

QString title(const AppState &state)
{
    return state.texts.message(Text::ServerTitle);
}

// A host, database or user name as the address can carry it. A host may be a socket folder;
// an empty host or user is libpq's default (this machine or PGHOST; PGUSER or the login).
bool usableName(const QString &name, bool host, bool mayBeEmpty)
{
    if (mayBeEmpty && name.isEmpty())
        return true;
    if (name.isEmpty() || name.contains(u' ') || name.contains(u'@') || name.contains(u'?'))
        return false;
    return host ? (name.startsWith(u'/') || !name.contains(u'/')) : !name.contains(u'/');
}

std::optional<QString> askPassword(AppState &state, const QString &address)
{
    if (!state.prompt)
        return std::nullopt;
    InputRequest request{state.texts.message(Text::ServerPasswordPrompt).arg(address), title(state), {}};
    request.password = true;
    return state.prompt->input(request);
}

} // namespace

QString knownPassword(const QString &address)
{
    return passwords().value(address.trimmed());
}

void rememberPassword(const QString &address, const QString &password)
{
    if (!password.isEmpty())
        passwords().insert(address.trimmed(), password);
}

std::optional<db::ServerAddress> askServerAddress(AppState &state, const db::ServerAddress &proposed)
{
    if (!state.prompt)
        return std::nullopt;
    const TextTables &t = state.texts;
    // An address without a port leaves it to libpq (PGPORT, else 5432), and is proposed so.
    const QString port = proposed.port > 0 ? numberText(qint64(proposed.port)) : QString();
    const QString questions[4] = {t.message(Text::ServerHostPrompt), t.message(Text::ServerPortPrompt),
                                  t.message(Text::ServerDatabasePrompt), t.message(Text::ServerUserPrompt)};
    const QString defaults[4] = {proposed.host, port, proposed.database, proposed.user};
    QString answers[4];
    for (int i = 0; i < 4; ++i) {
        const std::optional<QString> a = state.prompt->input({questions[i], title(state), defaults[i]});
        if (!a)
            return std::nullopt;
        answers[i] = a->trimmed();
        const bool usable = i == 1 || usableName(answers[i], i == 0, i != 2);
        if (!usable) {
            state.informText(t.message(Text::ServerNameBad).arg(*a), Icon::Exclamation);
            return std::nullopt;
        }
    }
    bool number = answers[1].isEmpty();
    const int p = number ? -1 : answers[1].toInt(&number);
    if (!number || (p != -1 && (p < 1 || p > 65535))) {
        state.informText(t.message(Text::ServerPortBad).arg(answers[1]), Icon::Exclamation);
        return std::nullopt;
    }
    db::ServerAddress address;
    address.host = answers[0];
    address.port = p;
    address.database = answers[2];
    address.user = answers[3];
    // What the question makes must read back as the same address.
    if (!db::ServerAddress::parse(address.toString())) {
        state.informText(t.message(Text::ServerNameBad).arg(address.toString()), Icon::Exclamation);
        return std::nullopt;
    }
    return address;
}

Status openServerDatabase(AppState &state, db::Database &database, const QString &address,
                          db::FileProblem *problem)
{
    db::FileProblem p = db::FileProblem::None;
    Status s = database.open(address, &p, knownPassword(address));
    if (!s && p == db::FileProblem::PasswordNeeded) {
        if (const std::optional<QString> password = askPassword(state, address)) {
            s = database.open(address, &p, *password);
            if (s || p != db::FileProblem::PasswordNeeded)
                rememberPassword(address, *password);
        }
    }
    if (problem)
        *problem = p;
    return s;
}

bool refusedOnServer(AppState &state)
{
    if (!db::isServerAddress(state.currentDatabase))
        return false;
    state.informText(state.texts.message(Text::ServerOnlyFiles), Icon::Exclamation);
    return true;
}

Outcome openServerMeet(AppState &state)
{
    db::ServerAddress proposed;
    if (const auto current = db::ServerAddress::parse(state.currentDatabase))
        proposed = *current;
    else
        proposed = {QStringLiteral("localhost"), kDefaultPort, QString(), QStringLiteral("arenor")};
    const std::optional<db::ServerAddress> chosen = askServerAddress(state, proposed);
    if (!chosen)
        return Outcome::Stopped;
    const QString address = chosen->toString();
    // The meet open already is read again: the windows show what the other stations stored.
    if (address == state.currentDatabase.trimmed()) {
        state.savePendingRecords();
        state.unbindDataControls();
        state.database.close();
        const Status s = meetBecameCurrent(state, MeetChange::Rebound);
        if (!s) {
            state.informText(s.error(), Icon::Exclamation);
            return Outcome::Failed;
        }
        registers::readRegisters(state);
        return Outcome::Done;
    }
    // A database that is no whole meet of this version is refused before anything changes.
    {
        db::Database probe;
        db::FileProblem problem = db::FileProblem::None;
        Status s = openServerDatabase(state, probe, address, &problem);
        probe.close();
        if (s)
            s = checkMeetFile(state.texts, address, address, &problem, knownPassword(address));
        if (!s) {
            const bool incomplete =
                problem == db::FileProblem::Incomplete || problem == db::FileProblem::Newer;
            const QString text = problem == db::FileProblem::None || incomplete
                                     ? s.error()
                                     : fileProblemText(state.texts, problem, address);
            state.informText(incomplete ? state.texts.message(43) + QStringLiteral("\n\n") + text : text,
                             Icon::Exclamation);
            return Outcome::Stopped;
        }
    }
    return switchToMeet(state, address, 43);
}

Outcome uploadToServer(AppState &state)
{
    if (!state.prompt)
        return Outcome::Stopped;
    const TextTables &t = state.texts;
    if (db::isServerAddress(state.currentDatabase)) {
        state.informText(t.message(Text::UploadFromServer).arg(state.currentDatabase), Icon::Exclamation);
        return Outcome::Stopped;
    }
    // What is typed in the windows goes up too.
    state.savePendingRecords();
    if (!state.database.isOpen() || state.database.path() != state.databasePath()) {
        if (Status s = meetBecameCurrent(state, MeetChange::Rebound); !s) {
            state.informText(s.error(), Icon::Exclamation);
            return Outcome::Stopped;
        }
    }
    const db::ServerAddress proposed{QStringLiteral("localhost"), kDefaultPort,
                                     QFileInfo(state.databasePath()).completeBaseName().toLower(),
                                     QStringLiteral("arenor")};
    const std::optional<db::ServerAddress> chosen = askServerAddress(state, proposed);
    if (!chosen)
        return Outcome::Stopped;
    const QString address = chosen->toString();

    db::Database target;
    db::FileProblem problem = db::FileProblem::None;
    if (const Status s = openServerDatabase(state, target, address, &problem); s || problem != db::FileProblem::Empty) {
        // Opened as a meet: somebody's meet is there already.
        state.informText(s ? t.message(Text::UploadTargetHoldsMeet).arg(address)
                           : fileProblemText(t, problem, address),
                         Icon::Exclamation);
        return Outcome::Stopped;
    }
    Status s;
    {
        BusyScope busy(state.progressSink());
        s = db::uploadMeet(state.database, target);
    }
    target.close();
    if (!s) {
        state.informText(t.message(Text::UploadFailed).arg(address, s.error()), Icon::Exclamation);
        return Outcome::Failed;
    }
    if (state.prompt->askYesNo(t.message(Text::UploadDone).arg(address), title(state), Icon::Question))
        return switchToMeet(state, address, 43);
    return Outcome::Done;
}

Outcome downloadFromServer(AppState &state)
{
    if (!state.prompt)
        return Outcome::Stopped;
    const TextTables &t = state.texts;
    const auto server = db::ServerAddress::parse(state.currentDatabase);
    if (!server) {
        state.informText(t.message(Text::DownloadNotServer), Icon::Exclamation);
        return Outcome::Stopped;
    }
    state.savePendingRecords();
    if (!state.database.isOpen() || !state.database.onServer()) {
        if (Status s = meetBecameCurrent(state, MeetChange::Rebound); !s) {
            state.informText(s.error(), Icon::Exclamation);
            return Outcome::Stopped;
        }
    }
    const std::optional<QString> name = askNewMeetFile(
        state, plainCaption(t.message(Text::ServerDownloadCommand)), server->database + QStringLiteral(".mdb"));
    if (!name)
        return Outcome::Stopped;
    const QString path = QDir::isAbsolutePath(*name) ? QDir::cleanPath(*name) : state.programFile(*name);
    Status s;
    {
        BusyScope busy(state.progressSink());
        s = db::downloadMeet(state.database, path);
    }
    if (!s) {
        state.informText(t.message(Text::DownloadFailed).arg(path, s.error()), Icon::Exclamation);
        return Outcome::Failed;
    }
    if (state.prompt->askYesNo(t.message(Text::DownloadDone).arg(path), title(state), Icon::Question))
        return switchToMeet(state, *name, 43);
    return Outcome::Done;
}

} // namespace arenor::lifecycle
