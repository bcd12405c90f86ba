#pragma once
// The process-wide state every part of the program reads: current meet, its directory,
// round tag, date stamp, editor, option flags, register sizes, catalogues, and the
// services through which the logic reaches the user (prompt, editor, progress).

#include "base/Editor.h"
#include "base/Progress.h"
#include "base/Prompt.h"
#include "base/TextTables.h"
#include "db/Catalogs.h"
#include "db/EntryMatrix.h"
#include "db/Engine.h"

#include <QDate>
#include <QString>
#include <array>
#include <functional>
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

    QString databasePath() const;                  // absolute path of the current database
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
    bool testMode = false;
    bool differences = true;
    bool allMessages = false;
    bool separators = true;
    bool maximiseEditor = false;
    bool option(Option o) const { return options[size_t(o)] != 0; }

    std::array<float, 45> placements{};

    Catalogs catalogs;
    bool readingRegister = false;

    // ---- services ----
    Prompt *prompt = nullptr;
    EditorLauncher *editor = nullptr;
    ProgressSink *progress = nullptr;
    ProgressSink &progressSink() { return progress ? *progress : m_nullProgress; }

    // ---- the meet database ----
    db::Database database;
    void addDataBound(DataBound *client);
    void removeDataBound(DataBound *client);
    // Opens the current database and binds every client in registration order.
    Status bindDataControls();
    // Unbinds every client and closes the file, so it may be replaced.
    void unbindDataControls();

    // Hooks filled in by the windows that own the behaviour, so the logic can ask for it
    // before those windows exist.
    std::function<void()> refreshStartList;        // the entries window's lists
    std::function<void(int round)> selectRound;    // the rounds procedure
    std::function<void()> titleChanged;            // the main window's title
    std::function<void()> writeSettings;           // Setup.ini
    std::function<void(bool apply)> readSettings;  // Setup.ini, applying it or not
    std::function<void()> readTimeFiles;           // both time lists into the timing window

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

    // ---- settings and database lifecycle ----
    // The window side of the settings: bars, captions, placements (none in tests).
    class SettingsHost *settingsHost = nullptr;
    // Which placement numbers the last reading of Setup.ini found; only those are restored.
    std::array<bool, 45> placementRead{};
    // Called with the option's index after a click or a reading changed it.
    std::vector<std::function<void(int option)>> optionListeners;

    // ---- registers ----
    // The point setup the points window shows: its row in the table (-1: none yet) and the
    // texts of places 1..40 as its fields hold them, unsaved edits included. The points list
    // takes its points from here (registers/Points.h).
    struct ShownPoints {
        int row = -1;
        std::array<QString, 40> places;
    };
    ShownPoints shownPoints;
    // True while a register window has the grid window open over its table (register mode).
    bool registerGrid = false;
    // The class pick list as the class reader left it (at most the last 40 lines): the
    // classes window and the event setup window show it.
    QStringList classLines;
    // Windows that show classLines, keyed by the window; each is told after every class read.
    std::vector<std::pair<const void *, std::function<void()>>> classLineViewers;

    // ---- timing ----
    // Opens the start setup to write planned start times into the out-times file; empty
    // until the start setup is there.
    std::function<void()> generateStartTimes;

private:
    std::vector<DataBound *> m_bound;
    ProgressSink m_nullProgress;
};

} // namespace arenor
