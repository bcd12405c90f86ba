#include "MainWindow.h"

#include "app/Lifecycle.h"
#include "app/ServerMeet.h"
#include "app/ui/AboutDialog.h"
#include "app/ui/HelpWindow.h"
#include "app/ui/OptionsWindow.h"
#include "base/Version.h"
#include "events/ui/CombinedEventsWindow.h"
#include "print/ListCommands.h"
#include "print/ui/ListPrintDialog.h"
#include "exchange/ui/ExchangeMenu.h"

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

#include <optional>

namespace arenor {

using lists::MeetList;

namespace {

// One row per command: the object name (the menu item's design name), the menu caption
// (negative: that caption between "&" and "...", zero: toolbar only), the toolbar tool tip caption
// (zero: not on the toolbar), the button-bar caption, the icon, the shortcut and what it runs.
struct CommandDef {
    Command command;
    const char *name;
    int menuCaption;
    int toolTip;
    std::optional<Text> barCaption;
    const char *themeIcon;
    QStyle::StandardPixmap fallbackIcon;
    QKeySequence::StandardKey shortcut;
    void (*run)(MainWindow &);
};

constexpr auto kNoIcon = QStyle::SP_CustomBase;
constexpr auto kNoKey = QKeySequence::UnknownKey;

template <lifecycle::Outcome (*F)(AppState &)> void database(MainWindow &w)
{
    F(w.state());
}
template <WindowId Id> void showWindow(MainWindow &w)
{
    w.showRegisterWindow(Id);
}
template <MeetList L> void makeList(MainWindow &w)
{
    w.commands().makeList(L);
}
template <MeetList L> void askAndMakeList(MainWindow &w)
{
    w.commands().makeListWithQuestion(L);
}
template <MeetList L> void viewList(MainWindow &w)
{
    w.commands().showList(L);
}
template <int R> void round(MainWindow &w)
{
    w.chooseRound(R);
}
void nothing(MainWindow &) {}

constexpr CommandDef kCommands[] = {
    {Command::NewMeet,
     "Lagnytt",
     213,
     267,
     {},
     "document-new",
     QStyle::SP_FileIcon,
     kNoKey,
     database<lifecycle::makeNewDatabase>},
    {Command::OpenMeet,
     "Åpne",
     214,
     268,
     {},
     "document-open",
     QStyle::SP_DialogOpenButton,
     kNoKey,
     database<lifecycle::openMeetDatabase>},
    {Command::ResetMeet,
     "DelLists",
     215,
     269,
     {},
     "edit-clear",
     QStyle::SP_BrowserReload,
     kNoKey,
     database<lifecycle::resetMeetDatabase>},
    {Command::RepairMeet,
     "Reparer",
     216,
     0,
     {},
     nullptr,
     kNoIcon,
     kNoKey,
     database<lifecycle::repairMeetDatabase>},
    {Command::CompactMeet,
     "Komprimer",
     217,
     0,
     {},
     nullptr,
     kNoIcon,
     kNoKey,
     database<lifecycle::compactMeetDatabase>},
    {Command::CopyMeet,
     "Kopier",
     218,
     0,
     {},
     nullptr,
     kNoIcon,
     kNoKey,
     database<lifecycle::copyMeetDatabase>},
    {Command::ShowInfoFile,
     "RunsData",
     219,
     0,
     {},
     nullptr,
     kNoIcon,
     kNoKey,
     [](MainWindow &w) { w.commands().showInfoFile(); }},
    {Command::ShowReportFile,
     "Report",
     220,
     0,
     {},
     nullptr,
     kNoIcon,
     kNoKey,
     [](MainWindow &w) { w.commands().showReportFile(); }},
    {Command::Quit,
     "Quit",
     221,
     295,
     {},
     "application-exit",
     QStyle::SP_DialogCloseButton,
     kNoKey,
     [](MainWindow &w) { w.quitCommand(); }},
    {Command::OpenAll,
     "ShowAll",
     223,
     292,
     {},
     "window-new",
     QStyle::SP_TitleBarNormalButton,
     kNoKey,
     [](MainWindow &w) { w.openAll(); }},
    {Command::CloseAll,
     "Cleanscreen",
     224,
     293,
     {},
     "window-close",
     QStyle::SP_TitleBarMinButton,
     kNoKey,
     [](MainWindow &w) { w.closeAll(); }},
    {Command::ShowEntries, "Catalog", 227, 0, Text::BarEntries, nullptr, kNoIcon, kNoKey,
     showWindow<WindowId::Entries>},
    {Command::ShowEventSetup, "Runs", 228, 0, Text::BarEventSetup, nullptr, kNoIcon, kNoKey,
     showWindow<WindowId::EventSetup>},
    {Command::ShowCompetitors, "Competitors", 229, 0, Text::BarCompetitors, nullptr, kNoIcon, kNoKey,
     showWindow<WindowId::Competitors>},
    {Command::ShowClubs, "ClubList", 230, 0, Text::BarClubs, nullptr, kNoIcon, kNoKey,
     showWindow<WindowId::Clubs>},
    {Command::ShowRelays, "Relays", 231, 0, Text::BarRelays, nullptr, kNoIcon, kNoKey,
     showWindow<WindowId::Relays>},
    {Command::ShowClasses, "Classes", 232, 0, Text::BarClasses, nullptr, kNoIcon, kNoKey,
     showWindow<WindowId::Classes>},
    {Command::ShowOptions, "Alternatives", 233, 0, Text::BarOptions, nullptr, kNoIcon, kNoKey,
     showWindow<WindowId::Options>},
    {Command::ShowPointsSetup, "PointSetup", 234, 0, Text::BarPoints, nullptr, kNoIcon, kNoKey,
     showWindow<WindowId::Points>},
    {Command::ShowTiming, "Timeing", -379, 0, Text::BarTiming, nullptr, kNoIcon, kNoKey,
     showWindow<WindowId::Timing>},
    {Command::Round1, "Rounds0", 236, 0, {}, nullptr, kNoIcon, kNoKey, round<0>},
    {Command::Round2, "Rounds1", 237, 0, {}, nullptr, kNoIcon, kNoKey, round<1>},
    {Command::Round3, "Rounds2", 238, 0, {}, nullptr, kNoIcon, kNoKey, round<2>},
    {Command::Round4, "Rounds3", 239, 0, {}, nullptr, kNoIcon, kNoKey, round<3>},
    {Command::MakeStartListText,
     "MakeCheckOn",
     241,
     280,
     {},
     "list-add",
     QStyle::SP_FileDialogNewFolder,
     kNoKey,
     askAndMakeList<MeetList::StartListText>},
    {Command::ViewStartListText,
     "ViewCheckOn",
     242,
     281,
     {},
     "format-justify-left",
     QStyle::SP_FileDialogListView,
     kNoKey,
     viewList<MeetList::StartListText>},
    {Command::MakeResultsList,
     "MakeAllfile",
     243,
     0,
     {},
     nullptr,
     kNoIcon,
     kNoKey,
     makeList<MeetList::Results>},
    {Command::ViewResultsList,
     "ViewAllFile",
     244,
     272,
     {},
     "document-print-preview",
     QStyle::SP_FileDialogContentsView,
     kNoKey,
     viewList<MeetList::Results>},
    {Command::MakeNewspaperList,
     "MakeAvisList",
     245,
     0,
     {},
     nullptr,
     kNoIcon,
     kNoKey,
     askAndMakeList<MeetList::Newspaper>},
    {Command::ViewNewspaperList,
     "ShowAvisList",
     246,
     0,
     {},
     nullptr,
     kNoIcon,
     kNoKey,
     viewList<MeetList::Newspaper>},
    {Command::MakeContingentList,
     "MakePayList",
     247,
     283,
     {},
     "accessories-calculator",
     QStyle::SP_DriveCDIcon,
     kNoKey,
     makeList<MeetList::Contingent>},
    {Command::ViewContingentList,
     "ShowPayList",
     248,
     284,
     {},
     "x-office-spreadsheet",
     QStyle::SP_DirIcon,
     kNoKey,
     viewList<MeetList::Contingent>},
    {Command::MakePointsList,
     "MakePointList",
     249,
     286,
     {},
     "emblem-favorite",
     QStyle::SP_DialogApplyButton,
     kNoKey,
     [](MainWindow &w) { w.commands().makePointsList(); }},
    {Command::ViewPointsList,
     "ShowPointList",
     250,
     287,
     {},
     "starred",
     QStyle::SP_DialogYesButton,
     kNoKey,
     viewList<MeetList::Points>},
    {Command::MakeTimeSchedule,
     "MakeRunsList",
     251,
     289,
     {},
     "appointment-new",
     QStyle::SP_ComputerIcon,
     kNoKey,
     makeList<MeetList::TimeSchedule>},
    {Command::ViewTimeSchedule,
     "ShowRunsList",
     252,
     290,
     {},
     "x-office-calendar",
     QStyle::SP_DesktopIcon,
     kNoKey,
     viewList<MeetList::TimeSchedule>},
    {Command::HelpContents,
     "GenralHelp",
     254,
     0,
     {},
     nullptr,
     kNoIcon,
     QKeySequence::HelpContents,
     [](MainWindow &w) { w.showHelp(false); }},
    {Command::HelpSearch,
     "Serchhelp",
     255,
     0,
     {},
     nullptr,
     kNoIcon,
     kNoKey,
     [](MainWindow &w) { w.showHelp(true); }},
    {Command::Manual,
     "Order",
     256,
     0,
     {},
     nullptr,
     kNoIcon,
     kNoKey,
     [](MainWindow &w) { w.commands().openManual(); }},
    {Command::About, "About", 257, 0, {}, nullptr, kNoIcon, kNoKey, [](MainWindow &w) { w.showAbout(); }},
    {Command::AskAndMakeResultsList,
     "tool_d",
     0,
     271,
     {},
     "document-save",
     QStyle::SP_DialogSaveButton,
     kNoKey,
     askAndMakeList<MeetList::Results>},
    {Command::MakeEventList,
     "tool_f",
     0,
     274,
     {},
     "document-save-as",
     QStyle::SP_DriveFDIcon,
     kNoKey,
     nothing},
    {Command::ViewEventList,
     "tool_g",
     0,
     275,
     {},
     "document-properties",
     QStyle::SP_FileDialogInfoView,
     kNoKey,
     nothing},
    {Command::MakeClassList,
     "tool_h",
     0,
     277,
     {},
     "document-export",
     QStyle::SP_DriveHDIcon,
     kNoKey,
     nothing},
    {Command::ViewClassList,
     "tool_i",
     0,
     278,
     {},
     "x-office-document",
     QStyle::SP_FileDialogDetailedView,
     kNoKey,
     nothing},
};

constexpr bool commandsInOrder()
{
    for (std::size_t i = 0; i < std::size(kCommands); ++i)
        if (kCommands[i].command != Command(i))
            return false;
    return std::size(kCommands) == std::size_t(Command::Count);
}
static_assert(commandsInOrder(), "one row per command, in the order of the names");

const CommandDef &definition(Command c)
{
    return kCommands[std::size_t(c)];
}

// Where the commands appear; Command::Count marks a separator.
constexpr Command kSeparator = Command::Count;
struct MenuDef {
    const char *name;
    int caption;
    std::initializer_list<Command> items;
};
const MenuDef kMenus[] = {
    {"Main",
     212,
     {Command::NewMeet, Command::OpenMeet, Command::ResetMeet, kSeparator, Command::RepairMeet,
      Command::CompactMeet, Command::CopyMeet, kSeparator, Command::ShowInfoFile, Command::ShowReportFile,
      kSeparator, Command::Quit}},
    {"Windowsview",
     222,
     {Command::OpenAll, Command::CloseAll, kSeparator, Command::ShowEntries, Command::ShowEventSetup,
      Command::ShowCompetitors, Command::ShowClubs, Command::ShowRelays, Command::ShowClasses,
      Command::ShowOptions, Command::ShowPointsSetup, Command::ShowTiming}},
    {"RoundsHeader", 235, {Command::Round1, Command::Round2, Command::Round3, Command::Round4}},
    {"Listsoperations",
     240,
     {Command::MakeStartListText, Command::ViewStartListText, kSeparator, Command::MakeResultsList,
      Command::ViewResultsList, kSeparator, Command::MakeNewspaperList, Command::ViewNewspaperList,
      kSeparator, Command::MakeContingentList, Command::ViewContingentList, kSeparator,
      Command::MakePointsList, Command::ViewPointsList, kSeparator, Command::MakeTimeSchedule,
      Command::ViewTimeSchedule}},
    {"Help", 253, {Command::HelpContents, Command::HelpSearch, Command::Manual, kSeparator, Command::About}},
};
const Command kToolBar[] = {
    Command::NewMeet,
    Command::OpenMeet,
    Command::ResetMeet,
    kSeparator,
    Command::AskAndMakeResultsList,
    Command::ViewResultsList,
    kSeparator,
    Command::MakeEventList,
    Command::ViewEventList,
    kSeparator,
    Command::MakeClassList,
    Command::ViewClassList,
    kSeparator,
    Command::MakeStartListText,
    Command::ViewStartListText,
    kSeparator,
    Command::MakeContingentList,
    Command::ViewContingentList,
    kSeparator,
    Command::MakePointsList,
    Command::ViewPointsList,
    kSeparator,
    Command::MakeTimeSchedule,
    Command::ViewTimeSchedule,
    kSeparator,
    Command::OpenAll,
    Command::CloseAll,
    kSeparator,
    Command::Quit,
};
const Command kButtonBar[9] = {Command::ShowEntries, Command::ShowEventSetup,  Command::ShowCompetitors,
                               Command::ShowClubs,   Command::ShowRelays,      Command::ShowClasses,
                               Command::ShowOptions, Command::ShowPointsSetup, Command::ShowTiming};

constexpr WindowId kOpenAllOrder[] = {WindowId::EventSetup,  WindowId::Options, WindowId::Entries,
                                      WindowId::Competitors, WindowId::Clubs,   WindowId::Points,
                                      WindowId::Relays,      WindowId::Classes, WindowId::Timing};
constexpr WindowId kCloseAllOrder[] = {WindowId::EventSetup, WindowId::Options,     WindowId::Points,
                                       WindowId::Entries,    WindowId::Competitors, WindowId::Clubs,
                                       WindowId::Relays,     WindowId::Classes,     WindowId::Timing};
constexpr WindowId kLoadOrder[] = {WindowId::Entries, WindowId::Competitors, WindowId::Clubs,
                                   WindowId::Points,  WindowId::Relays,      WindowId::EventSetup,
                                   WindowId::Classes, WindowId::Options,     WindowId::Timing};

// The letter that Alt reaches through "&", lower case; none for "&&" or no marker.
QChar mnemonicOf(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return caption[i + 1].toLower();
        ++i;
    }
    return {};
}

QString withoutMnemonic(QString caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return caption.remove(i, 1);
        ++i;
    }
    return caption;
}

} // namespace

MainWindow::MainWindow(AppState &state, MainCommands &commands, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_commands(commands)
{
    setObjectName(QStringLiteral("MDIForm1"));
    // The installed icon in all its sizes when there is one, else the built-in picture.
    setWindowIcon(
        QIcon::fromTheme(QLatin1String(kDesktopFileName), QIcon(QStringLiteral(":/images/icon.png"))));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdi);
    buildActions();
    buildMenus();
    buildToolBar();
    buildButtonBar();
    buildStatusArea();
    applyCaptions();
    resize(1200, 800);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildActions()
{
    for (const CommandDef &d : kCommands) {
        auto *a = new QAction(this);
        a->setObjectName(QString::fromUtf8(d.name));
        if (d.themeIcon) {
            a->setIcon(
                QIcon::fromTheme(QString::fromLatin1(d.themeIcon), style()->standardIcon(d.fallbackIcon)));
            a->setIconVisibleInMenu(false);
        }
        if (d.shortcut != kNoKey)
            a->setShortcut(d.shortcut);
        connect(a, &QAction::triggered, this, [this, run = d.run] { run(*this); });
        m_actions[size_t(d.command)] = a;
    }
    auto *rounds = new QActionGroup(this);
    for (Command c : {Command::Round1, Command::Round2, Command::Round3, Command::Round4}) {
        action(c)->setCheckable(true);
        rounds->addAction(action(c));
    }
    // The check mark and the selector show the current round, whoever changed it.
    connect(&m_state.notifier, &MeetNotifier::roundChanged, this, [this] { showCurrentRound(); });
}

void MainWindow::buildMenus()
{
    for (const MenuDef &d : kMenus) {
        QMenu *m = menuBar()->addMenu(QString());
        m->menuAction()->setObjectName(QString::fromLatin1(d.name));
        for (Command c : d.items) {
            if (c == kSeparator)
                m->addSeparator();
            else
                m->addAction(action(c));
        }
        m_menus.emplace_back(m, d.caption);
        if (d.caption == 240)
            buildPrintMenus(*m);
    }
    // A meet on a server: opened beside Open, moved there and back beside Copy.
    QMenu *database = m_menus.front().first;
    auto serverAction = [this](const char *name, lifecycle::Outcome (*run)(AppState &)) {
        auto *a = new QAction(this);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, run] { run(m_state); });
        return a;
    };
    m_openServer = serverAction("openServerMeetAction", lifecycle::openServerMeet);
    m_upload = serverAction("uploadToServerAction", lifecycle::uploadToServer);
    m_download = serverAction("downloadFromServerAction", lifecycle::downloadFromServer);
    database->insertAction(action(Command::ResetMeet), m_openServer);
    const QList<QAction *> items = database->actions();
    const qsizetype afterCopy = items.indexOf(action(Command::CopyMeet)) + 1;
    database->insertActions(afterCopy < items.size() ? items.at(afterCopy) : nullptr, {m_upload, m_download});
    // Import and export through CSV files, before the database menu's last separator.
    new exchange::ExchangeMenu(m_state, m_menus.front().first, action(Command::Quit), this, m_mdi);
}

namespace {

// The six lists as the print menus name them, after their show commands.
constexpr std::pair<MeetList, Command> kPrintedLists[] = {
    {MeetList::StartListText, Command::ViewStartListText},
    {MeetList::Results, Command::ViewResultsList},
    {MeetList::Newspaper, Command::ViewNewspaperList},
    {MeetList::Contingent, Command::ViewContingentList},
    {MeetList::Points, Command::ViewPointsList},
    {MeetList::TimeSchedule, Command::ViewTimeSchedule},
};

// "&Vis startliste tekst..." -> "&Startliste tekst": the show command's caption without its verb.
QString listCaption(const QString &showCaption)
{
    QString name = plainCaption(showCaption);
    name = name.mid(name.indexOf(u' ') + 1).trimmed();
    return name.isEmpty() ? name : u'&' + name.left(1).toUpper() + name.mid(1);
}

} // namespace

void MainWindow::buildPrintMenus(QMenu &lists)
{
    lists.addSeparator();
    m_printMenu = lists.addMenu(QString());
    m_printMenu->menuAction()->setObjectName(QStringLiteral("printListsMenu"));
    m_pdfMenu = lists.addMenu(QString());
    m_pdfMenu->menuAction()->setObjectName(QStringLiteral("pdfListsMenu"));
    for (const auto &[list, show] : kPrintedLists) {
        const auto documentOf = [this, list](ListDocument &document) {
            return m_state.savePendingRecords() && print::meetListForPrint(m_state, list, document);
        };
        connect(m_printMenu->addAction(QString()), &QAction::triggered, this, [this, documentOf] {
            ListDocument document;
            if (documentOf(document))
                print::printWithPreview(this, m_state, document);
        });
        connect(m_pdfMenu->addAction(QString()), &QAction::triggered, this, [this, documentOf] {
            ListDocument document;
            if (documentOf(document))
                print::saveListAsPdf(m_state, document);
        });
    }
    addCombinedEventsAction();
}

void MainWindow::addCombinedEventsAction()
{
    // The combined events window, at the end of the windows menu.
    QMenu *windows = nullptr;
    for (const auto &[menu, caption] : m_menus)
        if (menu->menuAction()->objectName() == QLatin1String("Windowsview"))
            windows = menu;
    if (!windows)
        return;
    auto *a = windows->addAction(QString());
    a->setObjectName(QStringLiteral("CombinedEvents"));
    auto caption = [this, a] {
        a->setText(m_state.texts.language() == Language::Norwegian ? QStringLiteral("&Mangekamp...")
                                                                   : QStringLiteral("Co&mbined events..."));
    };
    caption();
    connect(&m_state.notifier, &MeetNotifier::languageChanged, a, caption);
    connect(a, &QAction::triggered, this, [this] {
        if (!m_state.database.isOpen())
            return;
        // A window of its own, as the field card: inside the window area its letters would
        // compete with the menu and button bar's, and most of them would do nothing.
        auto *w = new CombinedEventsWindow(m_state, this);
        w->setWindowFlag(Qt::Window);
        w->setAttribute(Qt::WA_DeleteOnClose);
        // What it shows belongs to one meet.
        connect(&m_state.notifier, &MeetNotifier::meetSwitched, w, &QWidget::close);
        w->show();
        w->raise();
        w->activateWindow();
    });
}

void MainWindow::buildToolBar()
{
    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(22, 22));
    for (Command c : kToolBar) {
        if (c == kSeparator)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(action(c));
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
        connect(b, &QPushButton::clicked, action(kButtonBar[i]), &QAction::trigger);
        layout->addWidget(b);
        m_barButtons[size_t(i)] = b;
    }
    layout->addSpacing(16);
    m_roundCombo = new QComboBox(holder);
    m_roundCombo->setObjectName(QStringLiteral("Combo1"));
    m_roundCombo->setMinimumContentsLength(12);
    connect(m_roundCombo, &QComboBox::activated, this, [this](int index) { chooseRound(index); });
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
    m_progress->setTextVisible(false);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setFixedWidth(200);
    sb->addPermanentWidget(m_progress);
    m_statusArea = sb;
    m_statusPanels[0]->setText(m_state.dateStamp);
}

void MainWindow::applyCaptions()
{
    const TextTables &t = m_state.texts;
    QString menuLetters;
    for (auto &[menu, caption] : m_menus) {
        menu->setTitle(t.caption(caption));
        menuLetters += mnemonicOf(menu->title());
    }
    m_openServer->setText(t.caption(Text::ServerOpenCommand));
    m_upload->setText(t.caption(Text::ServerUploadCommand));
    m_download->setText(t.caption(Text::ServerDownloadCommand));
    m_printMenu->setTitle(t.message(Text::PrintCommand));
    m_pdfMenu->setTitle(t.message(Text::PdfCommand));
    for (qsizetype i = 0; i < qsizetype(std::size(kPrintedLists)); ++i) {
        const QString name = listCaption(t.caption(definition(kPrintedLists[i].second).menuCaption));
        m_printMenu->actions().at(i)->setText(name);
        m_pdfMenu->actions().at(i)->setText(name);
    }
    for (const CommandDef &d : kCommands) {
        QAction *a = action(d.command);
        const QString tip = t.caption(d.toolTip);
        if (d.menuCaption > 0)
            a->setText(t.caption(d.menuCaption));
        else if (d.menuCaption < 0)
            a->setText(u'&' + t.caption(-d.menuCaption) + QStringLiteral("..."));
        else
            a->setText(tip);
        if (d.toolTip) {
            // The toolbar button shows and speaks the tool tip, the menu item its own caption.
            a->setIconText(tip);
            a->setToolTip(tip);
        }
    }
    // Alt with a menu title's letter opens that menu: a button whose letter a menu title
    // already carries gives its letter up (the button stays reachable with Tab).
    for (int i = 0; i < 9; ++i) {
        QString text = t.caption(*definition(kButtonBar[i]).barCaption);
        if (const QChar letter = mnemonicOf(text); !letter.isNull() && menuLetters.contains(letter))
            text = withoutMnemonic(text);
        m_barButtons[size_t(i)]->setText(text);
        m_barButtons[size_t(i)]->setAccessibleName(plainCaption(text));
    }
    m_toolBar->setWindowTitle(t.caption(Text::ToolBar));
    m_buttonBar->setWindowTitle(t.caption(Text::ButtonBar));
    m_mdi->setAccessibleName(t.caption(Text::WindowArea));
    m_progress->setAccessibleName(t.caption(Text::Progress));
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
    if (round >= 0 && round < kRounds)
        action(Command(int(Command::Round1) + round))->setChecked(true);
}

void MainWindow::chooseRound(int round)
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
