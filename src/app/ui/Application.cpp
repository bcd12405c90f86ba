#include "Application.h"

#include "app/Lifecycle.h"
#include "app/MeetFile.h"
#include "app/Publishing.h"
#include "app/StationSync.h"
#include "app/ui/MainWindow.h"
#include "app/ui/OptionsWindow.h"
#include "app/ui/QtPrompt.h"
#include "app/ui/QtTranslations.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QRandomGenerator>
#include <QSplashScreen>

void arenorInitResources();

namespace arenor {

void initResources()
{
    static bool done = false;
    if (!done) {
        arenorInitResources();
        done = true;
    }
}

Application::Application(const QString &programDir, Prompt *prompt, EditorLauncher *editor,
                         timing::TimingClock *timingClock)
{
    initResources();
    m_state.programDir = QDir(programDir).absolutePath();
    m_commands = std::make_unique<MainCommands>(m_state);
    // Bound before the windows, so the adapter is let go of before anything else moves.
    m_timing = std::make_unique<timing::TimingController>(m_state, timingClock);
    m_testClock = timingClock != nullptr;
    m_main = std::make_unique<MainWindow>(m_state, *m_commands);
    m_main->setTimingController(m_timing.get());
    if (!prompt) {
        m_ownPrompt = std::make_unique<QtPrompt>(m_state.texts, m_main.get());
        prompt = m_ownPrompt.get();
    }
    if (!editor) {
        m_ownEditor = std::make_unique<ProcessEditorLauncher>();
        editor = m_ownEditor.get();
    }
    m_state.prompt = prompt;
    m_state.editor = editor;
    m_state.progress = m_main.get();
    // Every list made also goes to the results site while that option is on.
    m_publishing = std::make_unique<ResultsPublishing>(m_state);
    new StationSync(m_state, m_main.get()); // a server meet keeps up with its other stations
    QObject::connect(&m_state.notifier, &MeetNotifier::meetSwitched, m_main.get(), &MainWindow::updateTitle);
    m_settings = std::make_unique<SettingsFile>(m_state, createSettingsHost(m_state, *m_main));
    installSettings(m_state, *m_settings);
    // Qt's own texts follow the language: loaded before the windows are shown, switched with it.
    m_qtTexts = std::make_unique<QtTranslations>();
    m_qtTexts->use(m_state.texts.language());
    QObject::connect(&m_state.notifier, &MeetNotifier::languageChanged, m_main.get(),
                     [this] { m_qtTexts->use(m_state.texts.language()); });
}

Application::~Application()
{
    m_publishing.reset();
    m_state.unbindDataControls();
    m_state.progress = nullptr;
    m_state.settings = nullptr;
    m_main.reset();
}

bool Application::claimDirectory()
{
    if (!m_lock)
        m_lock = std::make_unique<ProgramLock>(m_state.programDir);
    return claimProgramDirectory(*m_lock, *m_state.prompt, m_state.texts);
}

StartUpResult Application::start(bool showSplash)
{
    QDir::setCurrent(m_state.programDir);
    MainWindow &main = *m_main;
    BusyScope busy(main);
    std::unique_ptr<QSplashScreen> splash;
    if (showSplash) {
        splash = std::make_unique<QSplashScreen>(QPixmap(QStringLiteral(":/images/splash.png")));
        splash->setObjectName(QStringLiteral("Form15"));
        splash->show();
        QApplication::processEvents();
    }

    prepareState(m_state);
    if (!m_startMeet.isEmpty()) {
        m_state.currentDatabase = m_startMeet;
        m_state.setMeetDirectory();
    }
    m_settings->load(false);
    m_state.setRoundTag(3);

    StartUpResult result = ensureMeetDatabase(m_state);
    if (Status s = meetFilesCheck(m_state); !s)
        m_state.informText(s.error(), Icon::Exclamation);

    main.loadChildWindows();
    // Times are taken from here on; they are registered once the time files are read.
    if (!m_testClock)
        m_timing->startPolling();
    m_settings->load(true);
    main.applyCaptions();
    main.fillRoundSelector();
    // The same sequence as after every database command; a file that is no whole meet is
    // left untouched and not used.
    if (result.status)
        result.status = lifecycle::meetBecameCurrent(m_state);
    if (!result.status) {
        if (splash)
            splash->hide();
        m_state.informText(result.status.error(), Icon::Exclamation);
        m_commands->selectRound(3);
    }
    main.updateTitle();
    main.roundSelector()->setCurrentIndex(std::min(3, main.roundSelector()->count() - 1));
    if (m_state.option(OptMaximiseAtStart))
        main.showMaximized();
    else
        main.show();
    main.setBackgroundPicture(
        m_commands->chooseBackgroundPicture([] { return QRandomGenerator::global()->generateDouble(); }));
    if (splash)
        splash->finish(&main);
    QApplication::processEvents();
    return result;
}

} // namespace arenor

// Resources of a static library must be registered by name, outside any namespace.
void arenorInitResources()
{
    Q_INIT_RESOURCE(resources);
}
