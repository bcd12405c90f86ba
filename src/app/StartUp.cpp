#include "StartUp.h"

#include "app/MeetFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace arenor {

void prepareState(AppState &state)
{
    state.texts.loadMessages(Language::Norwegian);
    state.texts.loadCaptions(Language::Norwegian);
    state.editorCommand = defaultEditorCommand();
    state.dateStamp = AppState::dateStampFor(QDate::currentDate());
    state.currentDatabase = rememberedMeet(state);
    // A server meet cannot be looked for here: its open says what is wrong with it.
    if (state.currentDatabase.isEmpty() ||
        (!db::isServerAddress(state.currentDatabase) && !QFileInfo(state.databasePath()).isFile()))
        state.currentDatabase = QStringLiteral("Demomeet.mdb");
    state.setMeetDirectory();
    state.options[size_t(OptDifferences)] = 1;
    state.options[size_t(OptSeparators)] = 1;
    state.setRoundTag(3);
}

namespace {

const QString kCurrentMeetKey = QStringLiteral("Meet/Current");

QString memoryPath(const AppState &state)
{
    return state.programFile(QStringLiteral("Arenor.ini"));
}

} // namespace

void rememberCurrentMeet(const AppState &state)
{
    QSettings memory(memoryPath(state), QSettings::IniFormat);
    memory.setValue(kCurrentMeetKey, state.currentDatabase);
}

QString rememberedMeet(const AppState &state)
{
    return QSettings(memoryPath(state), QSettings::IniFormat).value(kCurrentMeetKey).toString();
}

StartUpResult ensureMeetDatabase(AppState &state)
{
    StartUpResult result;
    // An existing file is checked when it becomes current, and never replaced.
    if (db::isServerAddress(state.currentDatabase) || QFile::exists(state.databasePath()))
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
