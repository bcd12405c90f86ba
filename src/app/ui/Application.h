#pragma once
// Puts the program together: shared state, the on-screen prompt and editor, the main window,
// and the start-up sequence in its fixed order.

#include "app/MainCommands.h"
#include "app/ProgramLock.h"
#include "app/Settings.h"
#include "app/StartUp.h"
#include "db/AppState.h"
#include "timing/TimingController.h"

#include <memory>

namespace arenor {

class MainWindow;
class QtTranslations;
class ResultsPublishing;

class Application {
public:
    // prompt and editor may be given by tests; otherwise the on-screen ones are used. A timing
    // clock given by a test replaces the system's, and the timing then polls only when the
    // test says so (TimingController::pollOnce).
    Application(const QString &programDir, Prompt *prompt = nullptr, EditorLauncher *editor = nullptr,
                timing::TimingClock *timingClock = nullptr);
    ~Application();

    // Takes the program directory for this program (one program per directory); false when the
    // user chose to quit because another program holds it.
    bool claimDirectory();

    // The meet the start opens instead of the remembered one (the command line's --server).
    void openAtStart(const QString &meet) { m_startMeet = meet; }

    // Runs the start-up procedure and shows the main window. showSplash: the start-up picture.
    StartUpResult start(bool showSplash = true);

    AppState &state() { return m_state; }
    MainCommands &commands() { return *m_commands; }
    MainWindow &mainWindow() { return *m_main; }
    timing::TimingController &timing() { return *m_timing; }

private:
    AppState m_state;
    std::unique_ptr<ProgramLock> m_lock;
    std::unique_ptr<Prompt> m_ownPrompt;
    std::unique_ptr<EditorLauncher> m_ownEditor;
    std::unique_ptr<MainCommands> m_commands;
    std::unique_ptr<timing::TimingController> m_timing; // outlives the windows that show it
    bool m_testClock = false;
    QString m_startMeet;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<SettingsFile> m_settings;
    std::unique_ptr<QtTranslations> m_qtTexts;
    std::unique_ptr<ResultsPublishing> m_publishing;
};

// Registers the built-in pictures, help pages and manuals.
void initResources();

} // namespace arenor
