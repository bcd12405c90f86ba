#pragma once
// The frame of the program: menus, toolbar, button bar, round selector, status bar with its
// progress bar, and the nine child windows in a multiple-document area.

#include "app/MainCommands.h"
#include "app/ui/ChildWindow.h"
#include "db/AppState.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <array>
#include <map>

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

    // Menu and toolbar commands (public so tests can drive them).
    void quitCommand();
    void showHelp(bool search);
    void showAbout();

    QComboBox *roundSelector() const { return m_roundCombo; }
    QProgressBar *progressBar() const { return m_progress; }
    QToolBar *toolBar() const { return m_toolBar; }
    QAction *toolAction(char key) const;
    QAction *menuAction(const QString &name) const;
    QPushButton *barButton(int index) const { return m_barButtons[size_t(index)]; }

    // Database commands: filled in by the lifecycle layer.
    std::function<void(const QString &command)> databaseCommand;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildButtonBar();
    void buildStatusArea();
    QAction *addMenuAction(QMenu *menu, const QString &name, int caption, std::function<void()> fn);
    void roundChosen(int round);

    AppState &m_state;
    MainCommands &m_commands;
    timing::TimingController *m_timing = nullptr;
    QMdiArea *m_mdi = nullptr;
    std::array<ChildWindow *, kChildWindowCount> m_children{};
    std::array<QMdiSubWindow *, kChildWindowCount> m_subWindows{};

    std::map<QString, QAction *> m_menuActions; // item name -> action
    std::map<QString, int> m_menuCaptions;      // item name -> caption number
    std::map<QString, QMenu *> m_menus;
    std::vector<std::pair<QAction *, int>> m_toolCaptions;
    std::map<char, QAction *> m_toolActions;
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
