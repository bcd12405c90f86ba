#pragma once
// The main window's commands that need no window: showing list files in the editor, the
// make commands with their overwrite question, quitting, the manual, rounds and pictures.

#include "db/AppState.h"
#include "lists/ListNames.h"

#include <functional>
#include <map>

namespace arenor {

// A list writer: makes the list into the named file of the meet directory.
using ListWriter = std::function<Status(AppState &, const QString &path)>;

class MainCommands {
public:
    explicit MainCommands(AppState &state);

    // Puts another writer in place of a meet list's own (tests watch the make commands so).
    void setListWriter(lists::MeetList list, ListWriter writer) { m_writers[list] = std::move(writer); }

    QString listPath(lists::MeetList list) const;

    // Starts the editor on a file of the meet directory (no check for the file).
    bool startEditor(const QString &path);

    // The show commands with their rule for a missing file.
    void showList(lists::MeetList list);
    void showInfoFile();
    void showReportFile();

    // Toolbar d and j: overwrite question, then the writer. Returns true when a list was made.
    bool makeListWithQuestion(lists::MeetList list);
    // Makes the list without a question (menu items whose writers ask their own).
    bool makeList(lists::MeetList list);
    // Toolbar u: the points list needs the meet results list first.
    bool makePointsList();

    // The quit question; true when the user answered Yes.
    bool confirmQuit();

    // The manual document, started through the editor command.
    bool openManual();
    static QString manualName(int languageChoice);

    // The rounds procedure (events/Rounds.h), as the menu, the selector and the database
    // commands reach it.
    void selectRound(int round);

    // Fills the picture list from "*.gif" of the program directory and picks one at random.
    // Returns the chosen file's path, or an empty text when there is none.
    QString chooseBackgroundPicture(const std::function<double()> &random);

private:
    AppState &m_state;
    std::map<lists::MeetList, ListWriter> m_writers;
};

// The progress bar's new width in pixels when the main window is at least 9600 twips wide.
// -1 when the width is to be left as it is. dpi is the screen's logical dots per inch.
int progressBarWidth(int windowWidthPixels, double dpi);

} // namespace arenor
