#include "TestSupport.h"

#include "app/Publishing.h"
#include "app/Settings.h"
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "app/ui/OptionsWindow.h"
#include "base/TextFile.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using namespace arenor;
using namespace arenor::test;

namespace {

struct Running {
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    RecordingEditorLauncher editor;
    std::unique_ptr<Application> app;

    explicit Running(const QStringList &setupLines = {})
    {
        if (!setupLines.isEmpty())
            writeTextFile(dir.path() + QStringLiteral("/Setup.ini"), setupLines);
        prompt.setNextAnswer(Answer::Yes); // the format question of the first start
        app = std::make_unique<Application>(dir.path(), &prompt, &editor);
        app->start(false);
        prompt.clear();
    }
    AppState &state() { return app->state(); }
    MainWindow &main() { return app->mainWindow(); }
    OptionsWindow *options() { return dynamic_cast<OptionsWindow *>(main().childWindow(WindowId::Options)); }
};

// Everything the user reads on the frame and the options window.
QStringList visibleTexts(Running &r)
{
    MainWindow &w = r.main();
    QStringList texts{w.windowTitle()};
    for (QAction *a : w.menuBar()->actions()) {
        texts << a->text();
        if (a->menu())
            for (QAction *item : a->menu()->actions())
                texts << item->text();
    }
    for (QAction *a : w.toolBar()->actions())
        texts << a->toolTip();
    for (int i = 0; i < 9; ++i)
        texts << w.barButton(i)->text();
    for (int i = 0; i < w.roundSelector()->count(); ++i)
        texts << w.roundSelector()->itemText(i);
    for (int id = 0; id < kChildWindowCount; ++id)
        texts << w.subWindow(WindowId(id))->windowTitle();
    for (QAbstractButton *b : r.options()->findChildren<QAbstractButton *>())
        texts << b->text();
    for (QLabel *l : r.options()->findChildren<QLabel *>())
        texts << l->text();
    texts << r.state().roundTag << r.state().texts.message(39);
    return texts;
}

} // namespace

class TestOptionsWindow : public QObject {
    Q_OBJECT
private slots:
    // The second reading at start-up applies the file: language, bars, the options window,
    // and each window placed by its first two numbers.
    void startUpAppliesTheSettingsFile()
    {
        AppState defaults;
        setDefaultOptions(defaults);
        defaults.languageChoice = 1;
        defaults.options[size_t(OptShowToolBar)] = 0;
        defaults.placements[35] = 150;
        defaults.placements[36] = 90;
        // The file ends before the timing window's numbers.
        Running r(settingsLines(defaults).mid(0, kSettingsLineCount - kPlacementsPerWindow));
        QCOMPARE(r.state().texts.language(), Language::English);
        QCOMPARE(r.main().windowTitle(), QStringLiteral("Arenor [Demomeet.mdb]"));
        QVERIFY(!r.main().toolBar()->isVisible());
        QVERIFY(r.main().statusBar()->isVisible());
        QVERIFY(!r.options()->optionBox(OptShowToolBar)->isChecked());
        QVERIFY(r.options()->languageButton(1)->isChecked());
        r.main().showRegisterWindow(WindowId::Classes);
        QCOMPARE(r.main().subWindow(WindowId::Classes)->pos(), QPoint(150, 90));
        // The window the file did not place keeps its cascade position.
        QCOMPARE(r.main().subWindow(WindowId::Timing)->pos(), QPoint(28 * 8, 24 * 8));
        QCOMPARE(r.prompt.unexpected(), 0);
    }

    // English relabels everything at once; Norwegian again gives exactly what start-up showed.
    void languageSwitchRelabelsEverythingAndBack()
    {
        Running r;
        const QStringList startUp = visibleTexts(r);
        // A screen reader's toggle action chooses as a click does.
        QAccessible::queryAccessibleInterface(r.options()->languageButton(1))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
        QCoreApplication::processEvents();
        const QStringList english = visibleTexts(r);
        QVERIFY(english.contains(QStringLiteral("&Make new...")));
        QVERIFY(english.contains(QStringLiteral("Make new database")));
        QVERIFY(english.contains(QStringLiteral("&Run in testmode")));
        QVERIFY(english.contains(QStringLiteral("Final")));
        QVERIFY(english.contains(QStringLiteral("Final_")));
        QVERIFY(english.contains(QStringLiteral("Allready open, sorry!")));
        QCOMPARE(r.main().roundSelector()->currentText(), QStringLiteral("Final"));
        r.options()->languageButton(0)->click();
        QCoreApplication::processEvents();
        QCOMPARE(visibleTexts(r), startUp);
    }

    void barsFollowTheirOptions_data()
    {
        QTest::addColumn<int>("option");
        QTest::newRow("status bar") << int(OptShowStatusBar);
        QTest::newRow("toolbar") << int(OptShowToolBar);
        QTest::newRow("button bar") << int(OptShowButtonBar);
    }
    void barsFollowTheirOptions()
    {
        QFETCH(int, option);
        Running r;
        MainWindow &w = r.main();
        auto bar = [&]() -> QWidget * {
            if (option == OptShowStatusBar)
                return w.statusBar();
            if (option == OptShowToolBar)
                return w.toolBar();
            return w.barButton(0);
        };
        QCheckBox *box = r.options()->optionBox(option);
        QVERIFY(box->isChecked());
        QVERIFY(bar()->isVisible());
        box->click();
        QVERIFY(!bar()->isVisible());
        QCOMPARE(r.state().options[size_t(option)], 0);
        box->click();
        QVERIFY(bar()->isVisible());
    }

    // Save writes what the window shows, Load brings it back, Close hides the window.
    void saveLoadAndClose()
    {
        Running r;
        OptionsWindow *o = r.options();
        r.main().showRegisterWindow(WindowId::Options);
        o->optionBox(OptLongFileNames)->click();
        o->editorButton(1)->click();
        QCOMPARE(r.state().editorCommand, QStringLiteral("Write.exe "));
        QMdiSubWindow *clubs = r.main().subWindow(WindowId::Clubs);
        clubs->show();
        clubs->move(210, 130);
        o->commandButton(0)->click();
        const QStringList lines = readTextLines(settingsPath(r.state()));
        QCOMPARE(lines.size(), kSettingsLineCount);
        QCOMPARE(lines[OptLongFileNames].left(3), QStringLiteral(" 1 "));
        QCOMPARE(lines[17].left(4), QStringLiteral("True"));
        QCOMPARE(lines[24 + 20], QStringLiteral(" 210     [Plassering vindu klubber]"));
        QCOMPARE(lines[24 + 21], QStringLiteral(" 130"));

        o->optionBox(OptLongFileNames)->click();
        o->editorButton(2)->click();
        QVERIFY(!o->optionBox(OptLongFileNames)->isChecked());
        o->commandButton(1)->click();
        QVERIFY(o->optionBox(OptLongFileNames)->isChecked());
        QVERIFY(o->editorButton(1)->isChecked());
        QCOMPARE(r.state().editorCommand, QStringLiteral("Write.exe "));

        // The meet's lane priority: a table with a lane twice is told and the kept one stays.
        QVERIFY(o->storeLanePriority(QStringLiteral(" 3 4 2 5 1 6 ")));
        QVERIFY(!o->storeLanePriority(QStringLiteral("1 2 2")));
        QCOMPARE(r.prompt.lastMessage(), QStringLiteral("Bane 2 står to ganger i banetabellen."));
        QCOMPARE(o->lanePriorityBox()->text(), QStringLiteral("3 4 2 5 1 6"));

        o->commandButton(2)->click();
        QVERIFY(!r.main().subWindow(WindowId::Options)->isVisible());
        QCOMPARE(r.prompt.unexpected(), 0);
    }

    // Publishing asks for a folder, refuses the meet directory with a message and stays off, and
    // with a usable folder writes the site's index at once and keeps the choice in Arenor.ini.
    void publishOption()
    {
        Running r;
        OptionsWindow *o = r.options();
        QCOMPARE(o->publishBox()->text(), QStringLiteral("&Publiser resultater til mappe"));
        r.prompt.setNextFile(r.state().meetDir);
        o->publishBox()->click();
        QVERIFY(r.prompt.lastMessage().contains(QStringLiteral("stevnekatalogen")));
        QVERIFY(!o->publishBox()->isChecked() && !publishSetting(r.state()).on);

        const QString site = r.dir.filePath(QStringLiteral("site"));
        QVERIFY(QDir().mkpath(site));
        r.prompt.setNextFile(site);
        o->publishBox()->click();
        QVERIFY(o->publishBox()->isChecked() && QFile::exists(site + QStringLiteral("/index.html")));
        QCOMPARE(o->publishFolderEdit()->text(), site);
        o->publishBox()->click();
        QCOMPARE(publishSetting(r.state()).on, false);
        QCOMPARE(publishSetting(r.state()).folder, site);
        QCOMPARE(r.prompt.unexpected(), 0);
    }

    void controlsCarryTheirCaptions()
    {
        Running r;
        OptionsWindow *o = r.options();
        QCOMPARE(o->optionBox(0)->text(), QStringLiteral("&Kjør i testmodus"));
        QCOMPARE(o->optionBox(14)->text(), QStringLiteral("&Maximer v/start."));
        QCOMPARE(o->optionBox(15)->text(), QStringLiteral("&Lukk vinduer modus."));
        QCOMPARE(o->languageButton(0)->text(), QStringLiteral("Norsk"));
        QCOMPARE(o->commandButton(1)->text(), QStringLiteral("&Hente"));
        QCOMPARE(o->pictureList()->accessibleName(), QStringLiteral("Bakgrunnsbilde i hovedvindu"));
        auto *label = o->findChild<QLabel *>(QStringLiteral("pictureLabel"));
        QCOMPARE(label->buddy(), o->pictureList());
    }

    // The menu reaches the lifecycle: a new meet becomes current and shows in the title.
    void databaseMenuMakesANewMeet()
    {
        Running r;
        r.prompt.setNextFile(r.dir.path() + QStringLiteral("/Meet.mdb"));
        for (const char *size : {"10", "2", "3"})
            r.prompt.setNextInput(QString::fromLatin1(size));
        r.prompt.setNextAnswer(Answer::Yes);
        r.main().action(Command::NewMeet)->trigger();
        QCOMPARE(r.main().windowTitle(), QStringLiteral("Kvelmo [Meet.mdb]"));
        QCOMPARE(r.state().catalogs.personCount, 10);
        QCOMPARE(r.prompt.unexpected(), 0);
        QVERIFY(QFile::exists(settingsPath(r.state())));

        r.main().action(Command::OpenMeet)->trigger(); // open: the dialog is cancelled
        QCOMPARE(r.state().currentDatabase, QStringLiteral("Meet.mdb"));
        r.main().action(Command::CompactMeet)->trigger();
        QVERIFY(r.state().database.isOpen());
        QVERIFY(!QFile::exists(r.dir.path() + QStringLiteral("/Temp.mdb")));
    }
};

QTEST_MAIN(TestOptionsWindow)
#include "TestOptionsWindow.moc"
