#include "MeetFile.h"

#include "lists/MeetTemplates.h"
#include "timing/TimeFileHeader.h"

#include <QFile>

namespace arenor {

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
    const QString title = state.texts.message(1);
    ProgressSink &progress = state.progressSink();
    const bool existed = QFile::exists(path);
    if (existed) {
        if (!state.prompt || !state.prompt->askYesNo(state.texts.message(25), title)) {
            if (outcome)
                *outcome = CreateOutcome::KeptOld;
            return {};
        }
        state.database.close();
        if (!QFile::remove(path))
            return Status::failure(QStringLiteral("cannot delete ") + path);
    } else {
        progress.setBusy(true);
    }
    const bool modern = !state.prompt || state.prompt->askYesNo(formatQuestion(state.texts), title);
    if (state.allMessages())
        state.inform(modern ? 31 : 32);
    Status s = db::Database::create(path, modern ? db::Format::Modern : db::Format::Compact);
    if (s.ok() && state.allMessages())
        state.inform(33);
    if (!existed) {
        progress.setBusy(false);
        progress.setProgressValue(0);
    }
    if (outcome)
        *outcome = CreateOutcome::Created;
    return s;
}

Status meetFilesCheck(AppState &state)
{
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

QString fileProblemText(const TextTables &texts, db::FileProblem problem, const QString &fileName)
{
    const bool no = texts.messageLanguage() == Language::Norwegian;
    QString what;
    switch (problem) {
    case db::FileProblem::None:
        return {};
    case db::FileProblem::Missing:
        what = no ? QStringLiteral("finnes ikke") : QStringLiteral("does not exist");
        break;
    case db::FileProblem::Empty:
        what = no ? QStringLiteral("er tom og er ingen stevnedatabase") : QStringLiteral("is empty and is no meet database");
        break;
    case db::FileProblem::OldFormat:
        what = no ? QStringLiteral("er i det gamle Windows-formatet, som dette programmet ikke kan lese")
                  : QStringLiteral("is of the old Windows format, which this program cannot read");
        break;
    case db::FileProblem::NotDatabase:
        what = no ? QStringLiteral("er ingen database, eller den er skadet")
                  : QStringLiteral("is not a database, or it is damaged");
        break;
    case db::FileProblem::Foreign:
        what = no ? QStringLiteral("er en database fra et annet program")
                  : QStringLiteral("is a database of another program");
        break;
    case db::FileProblem::Unreadable:
        what = no ? QStringLiteral("kan ikke leses") : QStringLiteral("cannot be read");
        break;
    }
    const QString untouched = no ? QStringLiteral(" Fila er ikke endret.") : QStringLiteral(" The file was left untouched.");
    return fileName + u' ' + what + u'.' + untouched;
}

} // namespace arenor
