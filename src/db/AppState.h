#pragma once
// The current meet as every part of the program reads it: its database, directory, round
// tag, date stamp, editor, option flags, register sizes, catalogues, and the services through
// which the logic reaches the user (prompt, editor, progress, settings). What changes is told
// through the notifier; nothing here calls a window.

#include "base/Editor.h"
#include "base/Progress.h"
#include "base/Prompt.h"
#include "base/TextTables.h"
#include "db/Catalogs.h"
#include "db/Engine.h"
#include "db/EntryMatrix.h"
#include "db/MeetNotifier.h"
#include "db/RecordModel.h"

#include <QDate>
#include <QString>
#include <array>
#include <memory>
#include <vector>

namespace arenor {

// The sixteen options of the options window, by index.
enum Option {
    OptTestMode = 0,
    OptDifferences = 1,
    OptAllMessages = 2,
    OptSeparators = 3,
    OptMaximiseEditor = 4,
    OptSaveListSetups = 5,
    OptLongFileNames = 6,
    OptShowStatusBar = 7,
    OptShowToolBar = 8,
    OptShowButtonBar = 9,
    OptDisplayLocalTime = 10,
    OptAutoUpdateStartList = 11,
    OptTimeAndDateInLists = 12,
    OptAlwaysUseGrid = 13,
    OptMaximiseAtStart = 14,
    OptCloseWindowsMode = 15,
    OptionCount = 16
};

// A window (or model) that shows the current meet database. Bound in registration order.
class DataBound {
public:
    virtual ~DataBound() = default;
    // The database is open: (re)read what the window shows.
    virtual void bindDatabase(db::Database &database) = 0;
    // Let go of every query and model on the database.
    virtual void unbindDatabase() = 0;
    // Write what is edited but not yet stored; false when it could not be written.
    virtual bool savePending() { return true; }
};

// The shell's settings file as the logic asks for it (the lifecycle saves the settings
// before it replaces a meet). Owned by the shell; absent in most tests.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Writes the settings file; a failure is told to the user.
    virtual void save() = 0;
    // Reads the settings file, applying it or only taking the placements.
    virtual void load(bool apply) = 0;
};

class AppState {
public:
    AppState();
    AppState(const AppState &) = delete;
    AppState &operator=(const AppState &) = delete;

    // ---- paths ----
    // The program directory, absolute, without a trailing "/".
    QString programDir;
    // The current database: a name relative to the program directory ("Demomeet.mdb"),
    // or an absolute path for a meet kept elsewhere.
    QString currentDatabase = QStringLiteral("Demomeet.mdb");
    // The meet directory, absolute, ending in "/".
    QString meetDir;

    QString databasePath() const;                   // absolute path of the current database
    QString programFile(const QString &name) const; // a file of the program directory
    QString meetFile(const QString &name) const;    // a file of the meet directory
    // Derives the meet directory from the current database and creates it when missing.
    bool setMeetDirectory();
    // The meet directory belonging to a database path: the file's name less ".mdb" beside it.
    static QString meetDirFor(const QString &databasePath);

    // ---- shared values ----
    TextTables texts;
    QString roundTag;     // round name + "_"
    int currentRound = 3; // 0..3
    std::array<bool, kRounds> roundLoaded{};
    // The entries of every round as far as they are loaded, and the 36 event slot names
    // (1..36 used) as the entries window shows them.
    EntryMatrix entryMatrix;
    std::array<QString, kEventSlots + 1> eventNames;
    QString dateStamp; // yyyy.MM.dd
    QString editorCommand = defaultEditorCommand();
    int editorChoice = -1;  // -1 until chosen, else 0..2
    int languageChoice = 0; // 0..4, only 0 and 1 act

    std::array<int, OptionCount> options{}; // the check boxes, 0/1
    bool option(Option o) const { return options[size_t(o)] != 0; }
    bool testMode() const { return option(OptTestMode); }
    bool allMessages() const { return option(OptAllMessages); }
    bool maximiseEditor() const { return option(OptMaximiseEditor); }

    std::array<float, 45> placements{};

    Catalogs catalogs;
    bool readingRegister = false;

    // ---- what changed, for whoever listens ----
    MeetNotifier notifier;

    // ---- services ----
    Prompt *prompt = nullptr;
    EditorLauncher *editor = nullptr;
    ProgressSink *progress = nullptr;
    ProgressSink &progressSink() { return progress ? *progress : m_nullProgress; }
    SettingsStore *settings = nullptr;
    // Saves the settings file when the shell keeps one.
    void saveSettings();

    // ---- the meet database ----
    db::Database database;
    void addDataBound(DataBound *client);
    void removeDataBound(DataBound *client);
    // Opens the current database and binds every client in registration order.
    Status bindDataControls();
    // Unbinds every client and closes the file, so it may be replaced.
    void unbindDataControls();
    // Every client lets go of the open database and reads it again (after an import wrote
    // into the tables the windows show).
    void rebindDataControls();
    // Every client writes its edited record (but `except`), so the tables and catalogues hold
    // what the windows show. Run before a catalogue is offered elsewhere and before a list is
    // made. False when some record could not be written (the user was told).
    bool savePendingRecords(const DataBound *except = nullptr);

    // Background pictures: the "*.gif" files of the program directory, and the chosen one.
    QStringList backgroundPictures;
    QString backgroundPicture;

    // Sets the round tag from round index 0..3 in the caption language.
    void setRoundTag(int round);
    QString roundName() const { return roundTag.left(roundTag.size() - 1); }
    QString roundInitial() const { return roundTag.left(1); }

    QString windowTitle() const;
    static QString dateStampFor(const QDate &date);

    // Standard message box shorthands with title message 1.
    void inform(int messageNumber, Icon icon = Icon::None);
    void informText(const QString &text, Icon icon = Icon::None);
    // Starts the editor on a file (no check for the file); says so when no editor starts.
    bool startEditor(const QString &path);

    // ---- settings ----
    // Which placement numbers the last reading of Setup.ini found; only those are restored.
    std::array<bool, 45> placementRead{};

    // ---- registers ----
    // The point setups (table Poengoppsett), read when the meet is bound, and the one chosen
    // (its row, -1 when none; the first after binding). The points window edits this model and
    // chooses the setup; the points list takes its points from it (registers/Points.h).
    db::RecordModel pointSetups;
    int pointSetup = -1;
    // The class pick list as the class reader left it (at most the last 40 lines): the
    // classes window and the event setup window show it.
    QStringList classLines;

private:
    std::vector<DataBound *> m_bound;
    ProgressSink m_nullProgress;
};

} // namespace arenor
