#include "StartUp.h"

#include "app/MeetFile.h"
#include "db/Schema.h"

#include <QFile>

namespace arenor {

void prepareState(AppState &state)
{
    state.texts.loadMessages(Language::Norwegian);
    state.texts.loadCaptions(Language::Norwegian);
    state.editorCommand = defaultEditorCommand();
    state.dateStamp = AppState::dateStampFor(QDate::currentDate());
    state.currentDatabase = QStringLiteral("Demomeet.mdb");
    state.setMeetDirectory();
    state.options[size_t(OptDifferences)] = 1;
    state.options[size_t(OptSeparators)] = 1;
    state.setRoundTag(3);
}

StartUpResult ensureMeetDatabase(AppState &state)
{
    StartUpResult result;
    const QString path = state.databasePath();
    if (QFile::exists(path)) {
        result.problem = db::Database::checkFile(path);
        if (result.problem != db::FileProblem::None)
            result.status = Status::failure(fileProblemText(state.texts, result.problem, state.currentDatabase));
        return result;
    }
    Catalogs &c = state.catalogs;
    if (c.personCount == 0)
        c.personCount = kDefaultPersons;
    if (c.relayCount == 0)
        c.relayCount = kDefaultRelays;
    if (c.clubCount == 0)
        c.clubCount = kDefaultClubs;
    state.database.close();
    if (Status s = createMeetFile(state); !s) {
        result.status = s;
        return result;
    }
    if (Status s = state.database.open(path, &result.problem); !s) {
        result.status = s;
        return result;
    }
    result.status = schema::initAllTables(state);
    result.createdDatabase = result.status.ok();
    return result;
}

} // namespace arenor
