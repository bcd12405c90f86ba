#include "StartUp.h"

#include "app/MeetFile.h"

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
    // An existing file is checked when it becomes current, and never replaced.
    if (QFile::exists(state.databasePath()))
        return result;
    Catalogs &c = state.catalogs;
    if (c.personCount == 0)
        c.personCount = kDefaultPersons;
    if (c.relayCount == 0)
        c.relayCount = kDefaultRelays;
    if (c.clubCount == 0)
        c.clubCount = kDefaultClubs;
    state.database.close();
    result.status = createMeetFile(state);
    result.createdDatabase = result.status.ok();
    return result;
}

} // namespace arenor
