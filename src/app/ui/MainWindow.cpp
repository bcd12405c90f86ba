#include "MainWindow.h"

#include "app/ui/AboutDialog.h"
#include "app/ui/HelpWindow.h"
#include "app/ui/OptionsWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace arenor {

using lists::MeetList;

namespace {

struct ToolDef {
    char key;
    const char *themeIcon;
    QStyle::StandardPixmap fallback;
};

// Toolbar buttons in order; a zero key is a separator. Each entry, separators included,
// takes the next tool tip caption from 267 on.
const ToolDef kTools[] = {
    {'a', "document-new", QStyle::SP_FileIcon},
    {'b', "document-open", QStyle::SP_DialogOpenButton},
    {'c', "edit-clear", QStyle::SP_BrowserReload},
    {0, nullptr, QStyle::SP_CustomBase},
    {'d', "document-save", QStyle::SP_DialogSaveButton},
    {'e', "document-print-preview", QStyle::SP_FileDialogContentsView},
    {0, nullptr, QStyle::SP_CustomBase},
    {'f', "document-save-as", QStyle::SP_DriveFDIcon},
    {'g', "document-properties", QStyle::SP_FileDialogInfoView},
    {0, nullptr, QStyle::SP_CustomBase},
    {'h', "document-export", QStyle::SP_DriveHDIcon},
    {'i', "x-office-document", QStyle::SP_FileDialogDetailedView},
    {0, nullptr, QStyle::SP_CustomBase},
    {'j', "list-add", QStyle::SP_FileDialogNewFolder},
    {'k', "format-justify-left", QStyle::SP_FileDialogListView},
    {0, nullptr, QStyle::SP_CustomBase},
    {'l', "accessories-calculator", QStyle::SP_DriveCDIcon},
    {'m', "x-office-spreadsheet", QStyle::SP_DirIcon},
    {0, nullptr, QStyle::SP_CustomBase},
    {'u', "emblem-favorite", QStyle::SP_DialogApplyButton},
    {'v', "starred", QStyle::SP_DialogYesButton},
    {0, nullptr, QStyle::SP_CustomBase},
    {'x', "appointment-new", QStyle::SP_ComputerIcon},
    {'y', "x-office-calendar", QStyle::SP_DesktopIcon},
    {0, nullptr, QStyle::SP_CustomBase},
    {'n', "window-new", QStyle::SP_TitleBarNormalButton},
    {'o', "window-close", QStyle::SP_TitleBarMinButton},
    {0, nullptr, QStyle::SP_CustomBase},
    {'p', "application-exit", QStyle::SP_DialogCloseButton},
};

// The button bar: design captions (kept as they stand) and the window each opens.
struct BarButton {
    const char *norwegian;
    int englishCaption; // the menu caption that names the same window
    WindowId window;
};
const BarButton kBarButtons[9] = {
    {"&Startliste", 227, WindowId::Entries},       {"&Øvelser", 228, WindowId::EventSetup},
    {"&Deltakere", 229, WindowId::Competitors},    {"&Klubber", 230, WindowId::Clubs},
    {"&Satfettlag", 231, WindowId::Relays},        {"&Klasser", 232, WindowId::Classes},
    {"&Alternativer", 233, WindowId::Options},     {"&Poeng", 234, WindowId::Points},
    {"&Tidtaking", 379, WindowId::Timing},
};

constexpr WindowId kOpenAllOrder[] = {WindowId::EventSetup,  WindowId::Options, WindowId::Entries,
                                      WindowId::Competitors, WindowId::Clubs,   WindowId::Points,
                                      WindowId::Relays,      WindowId::Classes, WindowId::Timing};
constexpr WindowId kCloseAllOrder[] = {WindowId::EventSetup, WindowId::Options, WindowId::Points,
                                       WindowId::Entries,    WindowId::Competitors, WindowId::Clubs,
                                       WindowId::Relays,     WindowId::Classes, WindowId::Timing};
constexpr WindowId kLoadOrder[] = {WindowId::Entries, WindowId::Competitors, WindowId::Clubs,
                                   WindowId::Points,  WindowId::Relays,      WindowId::EventSetup,
                                   WindowId::Classes, WindowId::Options,     WindowId::Timing};

QString withoutEllipsis(QString s)
{
    if (s.endsWith(QLatin1String("...")))
        s.chop(3);
    return s;
}

} // namespace

MainWindow::MainWindow(AppState &state, MainCommands &commands, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_commands(commands)
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setAccessibleName(QStringLiteral("Windows"));
    setCentralWidget(m_mdi);
    buildMenus();
    buildToolBar();
    buildButtonBar();
    buildStatusArea();
    applyCaptions();
    resize(1200, 800);
}

MainWindow::~MainWindow() = default;

QAction *MainWindow::addMenuAction(QMenu *menu, const QString &name, int caption, std::function<void()> fn)
{
    auto *a = menu->addAction(QString());
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [fn = std::move(fn)] { fn(); });
    m_menuActions[name] = a;
    m_menuCaptions[name] = caption;
    return a;
}

void MainWindow::buildMenus()
{
    auto db = [this](const char *cmd) {
        return [this, cmd] {
            if (databaseCommand)
                databaseCommand(QString::fromLatin1(cmd));
        };
    };
    auto show = [this](WindowId id) { return [this, id] { showRegisterWindow(id); }; };
    auto make = [this](MeetList l) { return [this, l] { m_commands.makeList(l); }; };
    auto view = [this](MeetList l) { return [this, l] { m_commands.showList(l); }; };

    QMenu *m = menuBar()->addMenu(QString());
    m_menus[QStringLiteral("Main")] = m;
    addMenuAction(m, QStringLiteral("Lagnytt"), 213, db("new"));
    addMenuAction(m, QStringLiteral("Åpne"), 214, db("open"));
    addMenuAction(m, QStringLiteral("DelLists"), 215, db("reset"));
    m->addSeparator();
    addMenuAction(m, QStringLiteral("Reparer"), 216, db("repair"));
    addMenuAction(m, QStringLiteral("Komprimer"), 217, db("compact"));
    addMenuAction(m, QStringLiteral("Kopier"), 218, db("copy"));
    m->addSeparator();
    addMenuAction(m, QStringLiteral("RunsData"), 219, [this] { m_commands.showInfoFile(); });
    addMenuAction(m, QStringLiteral("Report"), 220, [this] { m_commands.showReportFile(); });
    m->addSeparator();
    addMenuAction(m, QStringLiteral("Quit"), 221, [this] { quitCommand(); });

    m = menuBar()->addMenu(QString());
    m_menus[QStringLiteral("Windowsview")] = m;
    addMenuAction(m, QStringLiteral("ShowAll"), 223, [this] { openAll(); });
    addMenuAction(m, QStringLiteral("Cleanscreen"), 224, [this] { closeAll(); });
    m->addSeparator();
    addMenuAction(m, QStringLiteral("Catalog"), 227, show(WindowId::Entries));
    addMenuAction(m, QStringLiteral("Runs"), 228, show(WindowId::EventSetup));
    addMenuAction(m, QStringLiteral("Competitors"), 229, show(WindowId::Competitors));
    addMenuAction(m, QStringLiteral("ClubList"), 230, show(WindowId::Clubs));
    addMenuAction(m, QStringLiteral("Relays"), 231, show(WindowId::Relays));
    addMenuAction(m, QStringLiteral("Classes"), 232, show(WindowId::Classes));
    addMenuAction(m, QStringLiteral("Alternatives"), 233, show(WindowId::Options));
    addMenuAction(m, QStringLiteral("PointSetup"), 234, show(WindowId::Points));
    addMenuAction(m, QStringLiteral("Timeing"), -379, show(WindowId::Timing));

    m = menuBar()->addMenu(QString());
    m_menus[QStringLiteral("RoundsHeader")] = m;
    auto *rounds = new QActionGroup(this);
    for (int r = 0; r < kRounds; ++r) {
        QAction *a = addMenuAction(m, QStringLiteral("Rounds%1").arg(r), 236 + r, [this, r] { roundChosen(r); });
        a->setCheckable(true);
        rounds->addAction(a);
    }
    // The check mark and the selector show the current round, whoever changed it.
    connect(&m_state.notifier, &MeetNotifier::roundChanged, this, [this] { showCurrentRound(); });

    m = menuBar()->addMenu(QString());
    m_menus[QStringLiteral("Listsoperations")] = m;
    addMenuAction(m, QStringLiteral("MakeCheckOn"), 241, [this] { m_commands.makeListWithQuestion(MeetList::StartListText); });
    addMenuAction(m, QStringLiteral("ViewCheckOn"), 242, view(MeetList::StartListText));
    m->addSeparator();
    addMenuAction(m, QStringLiteral("MakeAllfile"), 243, make(MeetList::Results));
    addMenuAction(m, QStringLiteral("ViewAllFile"), 244, view(MeetList::Results));
    m->addSeparator();
    addMenuAction(m, QStringLiteral("MakeAvisList"), 245, [this] { m_commands.makeListWithQuestion(MeetList::Newspaper); });
    addMenuAction(m, QStringLiteral("ShowAvisList"), 246, view(MeetList::Newspaper));
    m->addSeparator();
    addMenuAction(m, QStringLiteral("MakePayList"), 247, make(MeetList::Contingent));
    addMenuAction(m, QStringLiteral("ShowPayList"), 248, view(MeetList::Contingent));
    m->addSeparator();
    addMenuAction(m, QStringLiteral("MakePointList"), 249, [this] { m_commands.makePointsList(); });
    addMenuAction(m, QStringLiteral("ShowPointList"), 250, view(MeetList::Points));
    m->addSeparator();
    addMenuAction(m, QStringLiteral("MakeRunsList"), 251, make(MeetList::TimeSchedule));
    addMenuAction(m, QStringLiteral("ShowRunsList"), 252, view(MeetList::TimeSchedule));

    m = menuBar()->addMenu(QString());
    m_menus[QStringLiteral("Help")] = m;
    addMenuAction(m, QStringLiteral("GenralHelp"), 254, [this] { showHelp(false); })->setShortcut(QKeySequence::HelpContents);
    addMenuAction(m, QStringLiteral("Serchhelp"), 255, [this] { showHelp(true); });
    addMenuAction(m, QStringLiteral("Order"), 256, [this] { m_commands.openManual(); });
    m->addSeparator();
    addMenuAction(m, QStringLiteral("About"), 257, [this] { showAbout(); });
    m_menuCaptions[QStringLiteral("Main")] = 212;
    m_menuCaptions[QStringLiteral("Windowsview")] = 222;
    m_menuCaptions[QStringLiteral("RoundsHeader")] = 235;
    m_menuCaptions[QStringLiteral("Listsoperations")] = 240;
    m_menuCaptions[QStringLiteral("Help")] = 253;
}

void MainWindow::buildToolBar()
{
    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(22, 22));
    int caption = 267;
    for (const ToolDef &t : kTools) {
        if (t.key == 0) {
            m_toolBar->addSeparator();
            ++caption;
            continue;
        }
        QIcon icon = QIcon::fromTheme(QString::fromLatin1(t.themeIcon), style()->standardIcon(t.fallback));
        QAction *a = m_toolBar->addAction(icon, QString());
        a->setObjectName(QStringLiteral("tool_") + QChar::fromLatin1(t.key));
        m_toolActions[t.key] = a;
        m_toolCaptions.emplace_back(a, caption++);
        const char key = t.key;
        connect(a, &QAction::triggered, this, [this, key] {
            switch (key) {
            case 'a':
                if (databaseCommand) databaseCommand(QStringLiteral("new"));
                break;
            case 'b':
                if (databaseCommand) databaseCommand(QStringLiteral("open"));
                break;
            case 'c':
                if (databaseCommand) databaseCommand(QStringLiteral("reset"));
                break;
            case 'd':
                m_commands.makeListWithQuestion(MeetList::Results);
                break;
            case 'e':
                m_commands.showList(MeetList::Results);
                break;
            case 'j':
                m_commands.makeListWithQuestion(MeetList::StartListText);
                break;
            case 'k':
                m_commands.showList(MeetList::StartListText);
                break;
            case 'l':
                m_commands.makeList(MeetList::Contingent);
                break;
            case 'm':
                m_commands.showList(MeetList::Contingent);
                break;
            case 'u':
                m_commands.makePointsList();
                break;
            case 'v':
                m_commands.showList(MeetList::Points);
                break;
            case 'x':
                m_commands.makeList(MeetList::TimeSchedule);
                break;
            case 'y':
                m_commands.showList(MeetList::TimeSchedule);
                break;
            case 'n':
                openAll();
                break;
            case 'o':
                closeAll();
                break;
            case 'p':
                quitCommand();
                break;
            default: // f, g, h, i: the event and class lists live in the event setup window
                break;
            }
        });
    }
}

void MainWindow::buildButtonBar()
{
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("Picture1"));
    bar->setMovable(false);
    addToolBarBreak();
    addToolBar(Qt::TopToolBarArea, bar);
    m_buttonBar = bar;
    auto *holder = new QWidget(bar);
    auto *layout = new QHBoxLayout(holder);
    layout->setContentsMargins(2, 2, 2, 2);
    for (int i = 0; i < 9; ++i) {
        auto *b = new QPushButton(holder);
        b->setObjectName(QStringLiteral("hbutt%1").arg(i));
        b->setFocusPolicy(Qt::TabFocus);
        const WindowId id = kBarButtons[i].window;
        connect(b, &QPushButton::clicked, this, [this, id] { showRegisterWindow(id); });
        layout->addWidget(b);
        m_barButtons[size_t(i)] = b;
    }
    layout->addSpacing(16);
    m_roundCombo = new QComboBox(holder);
    m_roundCombo->setObjectName(QStringLiteral("Combo1"));
    m_roundCombo->setMinimumContentsLength(12);
    connect(m_roundCombo, &QComboBox::activated, this, [this](int index) { roundChosen(index); });
    layout->addWidget(m_roundCombo);
    layout->addStretch(1);
    bar->addWidget(holder);
}

void MainWindow::buildStatusArea()
{
    QStatusBar *sb = statusBar();
    sb->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 0; i < 3; ++i) {
        m_statusPanels[i] = new QLabel(sb);
        m_statusPanels[i]->setObjectName(QStringLiteral("statusPanel%1").arg(i + 1));
        m_statusPanels[i]->setMinimumWidth(i == 2 ? 260 : 90);
        sb->addWidget(m_statusPanels[i], i == 2 ? 1 : 0);
    }
    m_progress = new QProgressBar(sb);
    m_progress->setObjectName(QStringLiteral("prosess"));
    m_progress->setAccessibleName(QStringLiteral("Progress"));
    m_progress->setTextVisible(false);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setFixedWidth(200);
    sb->addPermanentWidget(m_progress);
    m_statusArea = sb;
    m_statusPanels[0]->setText(m_state.dateStamp);
}

QAction *MainWindow::toolAction(char key) const
{
    auto it = m_toolActions.find(key);
    return it == m_toolActions.end() ? nullptr : it->second;
}

QAction *MainWindow::menuAction(const QString &name) const
{
    auto it = m_menuActions.find(name);
    return it == m_menuActions.end() ? nullptr : it->second;
}

void MainWindow::applyCaptions()
{
    const TextTables &t = m_state.texts;
    for (auto &[name, menu] : m_menus) {
        menu->setTitle(t.caption(m_menuCaptions[name]));
        menu->menuAction()->setObjectName(name);
    }
    for (auto &[name, action] : m_menuActions) {
        const int c = m_menuCaptions[name];
        action->setText(c < 0 ? u'&' + t.caption(-c) + QStringLiteral("...") : t.caption(c));
    }
    for (auto &[action, caption] : m_toolCaptions) {
        action->setText(t.caption(caption));
        action->setToolTip(t.caption(caption));
    }
    const bool no = t.language() == Language::Norwegian;
    for (int i = 0; i < 9; ++i) {
        QString text = no ? QString::fromUtf8(kBarButtons[i].norwegian)
                          : (kBarButtons[i].englishCaption == 379 ? u'&' + t.caption(379)
                                                                  : withoutEllipsis(t.caption(kBarButtons[i].englishCaption)));
        m_barButtons[size_t(i)]->setText(text);
        m_barButtons[size_t(i)]->setAccessibleName(plainCaption(text));
    }
    m_toolBar->setWindowTitle(no ? QStringLiteral("Verktøylinje") : QStringLiteral("Toolbar"));
    m_buttonBar->setWindowTitle(no ? QStringLiteral("Knappelinje") : QStringLiteral("Buttonbar"));
    m_roundCombo->setAccessibleName(t.caption(235).remove(u'&'));
    for (ChildWindow *w : m_children)
        if (w)
            w->retranslate();
    for (int i = 0; i < kChildWindowCount; ++i)
        if (m_subWindows[size_t(i)])
            m_subWindows[size_t(i)]->setWindowTitle(m_children[size_t(i)]->windowTitle());
    if (m_help)
        m_help->setLanguage(t.language());
    updateTitle();
}

void MainWindow::fillRoundSelector()
{
    const QSignalBlocker block(m_roundCombo);
    m_roundCombo->clear();
    m_roundCombo->addItems(m_state.texts.roundNames());
    showCurrentRound();
}

void MainWindow::showCurrentRound()
{
    const int round = m_state.currentRound;
    if (round >= 0 && round < m_roundCombo->count()) {
        const QSignalBlocker block(m_roundCombo);
        m_roundCombo->setCurrentIndex(round);
    }
    if (QAction *a = menuAction(QStringLiteral("Rounds%1").arg(round)))
        a->setChecked(true);
}

void MainWindow::roundChosen(int round)
{
    m_commands.selectRound(round);
    showCurrentRound();
}

void MainWindow::updateTitle()
{
    setWindowTitle(m_state.windowTitle());
}

void MainWindow::loadChildWindows()
{
    for (WindowId id : kLoadOrder) {
        const auto i = size_t(id);
        if (m_children[i])
            continue;
        ChildWindow *w = createChildWindow(id, m_state, *this);
        w->retranslate();
        QMdiSubWindow *sub = m_mdi->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        sub->setWindowIcon(windowIcon());
        // Until placements are restored, cascade the windows so none hides another.
        sub->resize(w->sizeHint().expandedTo(QSize(380, 260)) + QSize(8, 32));
        sub->move(28 * int(i), 24 * int(i));
        restorePlacement(m_state, id, sub);
        sub->setObjectName(QStringLiteral("sub_") + w->objectName());
        sub->setWindowTitle(w->windowTitle());
        sub->hide();
        m_children[i] = w;
        m_subWindows[i] = sub;
    }
}

ChildWindow *MainWindow::childWindow(WindowId id) const
{
    return m_children[size_t(id)];
}

QMdiSubWindow *MainWindow::subWindow(WindowId id) const
{
    return m_subWindows[size_t(id)];
}

void MainWindow::showRegisterWindow(WindowId id)
{
    if (m_state.option(OptCloseWindowsMode))
        for (QMdiSubWindow *s : m_subWindows)
            if (s)
                s->hide();
    QMdiSubWindow *sub = subWindow(id);
    if (!sub)
        return;
    sub->showNormal();
    sub->show();
    sub->raise();
    m_mdi->setActiveSubWindow(sub);
}

void MainWindow::openAll()
{
    for (WindowId id : kOpenAllOrder)
        if (QMdiSubWindow *s = subWindow(id))
            s->show();
}

void MainWindow::closeAll()
{
    for (WindowId id : kCloseAllOrder)
        if (QMdiSubWindow *s = subWindow(id))
            s->hide();
}

void MainWindow::setBackgroundPicture(const QString &path)
{
    QPixmap pix;
    if (!path.isEmpty())
        pix.load(path);
    m_mdi->setBackground(pix.isNull() ? palette().brush(QPalette::Dark) : QBrush(pix));
}

void MainWindow::setStatusAreaVisible(bool on)
{
    statusBar()->setVisible(on);
}

void MainWindow::setToolBarVisible(bool on)
{
    m_toolBar->setVisible(on);
}

void MainWindow::setButtonBarVisible(bool on)
{
    m_buttonBar->setVisible(on);
}

// Long work runs without returning to the event loop: what it reports is painted at once
// (the bar at most every 40 ms, so a fast loop is not slowed down by painting).
void MainWindow::setStatusText(const QString &text)
{
    m_statusPanels[2]->setText(text);
    if (m_statusPanels[2]->isVisible())
        m_statusPanels[2]->repaint();
}

void MainWindow::setProgressMaximum(int maximum)
{
    m_progress->setMaximum(std::max(1, maximum));
}

void MainWindow::setProgressValue(int value)
{
    m_progress->setValue(std::clamp(value, 0, m_progress->maximum()));
    if (m_progress->isVisible() && (!m_progressPainted.isValid() || m_progressPainted.elapsed() >= 40)) {
        m_progress->repaint();
        m_progressPainted.start();
    }
}

void MainWindow::setBusy(bool busy)
{
    if (busy) {
        if (m_busyDepth++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0) {
        if (--m_busyDepth == 0)
            QApplication::restoreOverrideCursor();
    }
}

void MainWindow::quitCommand()
{
    m_state.saveSettings();
    if (m_commands.confirmQuit())
        QApplication::exit(0);
}

void MainWindow::showHelp(bool search)
{
    if (!m_help)
        m_help = new HelpWindow(this);
    m_help->setLanguage(m_state.texts.language());
    m_help->showContents();
    if (search)
        m_help->startSearch();
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::showAbout()
{
    AboutDialog about(m_state.texts, this);
    about.exec();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    // The multiple-document area keeps minimised windows arranged itself.
    QMainWindow::resizeEvent(event);
    const double dpi = screen() ? screen()->logicalDotsPerInchX() : 96.0;
    const int w = progressBarWidth(width(), dpi);
    if (w > 0 && m_progress)
        m_progress->setFixedWidth(w);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing the frame ends the program at once, without settings or questions.
    event->accept();
    QApplication::exit(0);
}

} // namespace arenor
