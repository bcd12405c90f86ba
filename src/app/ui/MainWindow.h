#pragma once
// The frame of the program: menus, toolbar, button bar, round selector, status bar with its
// progress bar, and the nine child windows in a multiple-document area.

#include "app/MainCommands.h"
#include "app/ui/ChildWindow.h"
#include "db/AppState.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <array>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolBar;
class QWidget;

namespace arenor {

namespace timing {
class TimingController;
}
class HelpWindow;

// Every command of the frame. Each has one action, shared by its menu item, toolbar button
// and button-bar button; the table in MainWindow.cpp says its captions, icon, shortcut and what
// it runs.
enum class Command {
    NewMeet,
    OpenMeet,
    ResetMeet,
    RepairMeet,
    CompactMeet,
    CopyMeet,
    ShowInfoFile,
    ShowReportFile,
    Quit,
    OpenAll,
    CloseAll,
    ShowEntries,
    ShowEventSetup,
    ShowCompetitors,
    ShowClubs,
    ShowRelays,
    ShowClasses,
    ShowOptions,
    ShowPointsSetup,
    ShowTiming,
    Round1,
    Round2,
    Round3,
    Round4,
    MakeStartListText,
    ViewStartListText,
    MakeResultsList,
    ViewResultsList,
    MakeNewspaperList,
    ViewNewspaperList,
    MakeContingentList,
    ViewContingentList,
    MakePointsList,
    ViewPointsList,
    MakeTimeSchedule,
    ViewTimeSchedule,
    HelpContents,
    HelpSearch,
    Manual,
    About,
    // Toolbar only: the meet results list after the overwrite question, and the event and
    // class lists, which the event setup window makes and shows.
    AskAndMakeResultsList,
    MakeEventList,
    ViewEventList,
    MakeClassList,
    ViewClassList,
    Count
};

class MainWindow : public QMainWindow, public ProgressSink {
    Q_OBJECT
public:
    MainWindow(AppState &state, MainCommands &commands, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Makes the nine child windows (hidden), in the order of loading.
    void loadChildWindows();
    // The timing the timing window shows; set before the child windows are loaded.
    void setTimingController(timing::TimingController *timing) { m_timing = timing; }
    timing::TimingController *timingController() const { return m_timing; }
    ChildWindow *childWindow(WindowId id) const;
    QMdiSubWindow *subWindow(WindowId id) const;
    // The area the child windows (and the grid windows) sit in.
    QMdiArea *windowArea() const { return m_mdi; }

    // The common steps of every command that opens a child window.
    void showRegisterWindow(WindowId id);
    void openAll();
    void closeAll();

    // Relabels the frame and every child window from the caption table.
    void applyCaptions();
    void fillRoundSelector();
    // The round selector and the round menu's check mark show the current round.
    void showCurrentRound();
    void updateTitle();
    void setBackgroundPicture(const QString &path);

    // Option 7, 8, 9: status area, toolbar, button bar.
    void setStatusAreaVisible(bool on);
    void setToolBarVisible(bool on);
    void setButtonBarVisible(bool on);

    // ProgressSink
    void setStatusText(const QString &text) override;
    void setProgressMaximum(int maximum) override;
    void setProgressValue(int value) override;
    void setBusy(bool busy) override;

    // What the commands run.
    void quitCommand();
    void showHelp(bool search);
    void showAbout();
    void chooseRound(int round);
    AppState &state() const { return m_state; }
    MainCommands &commands() const { return m_commands; }

    QComboBox *roundSelector() const { return m_roundCombo; }
    QProgressBar *progressBar() const { return m_progress; }
    QToolBar *toolBar() const { return m_toolBar; }
    QAction *action(Command command) const { return m_actions[size_t(command)]; }
    QPushButton *barButton(int index) const { return m_barButtons[size_t(index)]; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void addCombinedEventsAction();
    void buildToolBar();
    void buildButtonBar();
    void buildStatusArea();
    void buildActions();

    AppState &m_state;
    MainCommands &m_commands;
    timing::TimingController *m_timing = nullptr;
    QMdiArea *m_mdi = nullptr;
    std::array<ChildWindow *, kChildWindowCount> m_children{};
    std::array<QMdiSubWindow *, kChildWindowCount> m_subWindows{};

    std::array<QAction *, size_t(Command::Count)> m_actions{};
    std::vector<std::pair<QMenu *, int>> m_menus; // with their title captions
    // The list menu's "Print …" and "Save as PDF …", each with the six lists.
    QMenu *m_printMenu = nullptr;
    QMenu *m_pdfMenu = nullptr;
    // The database menu's commands for a meet on a server.
    QAction *m_openServer = nullptr;
    QAction *m_upload = nullptr;
    QAction *m_download = nullptr;
    void buildPrintMenus(QMenu &lists);
    QToolBar *m_toolBar = nullptr;
    QWidget *m_buttonBar = nullptr;
    std::array<QPushButton *, 9> m_barButtons{};
    QComboBox *m_roundCombo = nullptr;
    QWidget *m_statusArea = nullptr;
    QLabel *m_statusPanels[3] = {};
    QProgressBar *m_progress = nullptr;
    HelpWindow *m_help = nullptr;
    int m_busyDepth = 0;
    QElapsedTimer m_progressPainted;
};

} // namespace arenor
