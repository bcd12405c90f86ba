#include "TestSupport.h"

#include "app/Lifecycle.h"
#include "app/ui/Application.h"
#include "app/ui/HelpWindow.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QtPrompt.h"
#include "base/TextFile.h"
#include "db/Schema.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QProgressBar>
#include <QMessageBox>
#include <QTimer>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using namespace arenor;
using namespace arenor::test;

// The program started on a fresh program directory, questions answered by the scripted prompt.
struct StartedApp {
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    RecordingEditorLauncher editor;
    Application app{dir.path(), &prompt, &editor};
    StartedApp() { app.start(false); }
};

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startUpMakesTheDefaultMeet()
    {
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        RecordingEditorLauncher editor;
        prompt.setNextAnswer(Answer::Yes); // the format question, the only one
        Application app(dir.path(), &prompt, &editor);
        StartUpResult r = app.start(false);
        QVERIFY2(r.status.ok(), qPrintable(r.status.error()));
        QVERIFY(r.createdDatabase);
        QCOMPARE(prompt.asked().size(), size_t(1));
        QVERIFY(prompt.asked()[0].message.text.startsWith(QStringLiteral("Du kan velge hvilken database versjon")));
        QCOMPARE(prompt.unexpected(), 0);

        QCOMPARE(app.state().database.tables(),
                 QStringList({"Klasser", "Klubber", "Oppsett", "Øvelser", "Påmelding", "Personer", "Poengoppsett",
                              "Tidtakingoppsett", "Stafettlag", "Forsøk", "Høyder", "Høydekort", "Mangekamp",
                              "Seedmerker", "Trekninger", "Avansement", "Vind"}));
        QCOMPARE(app.state().database.recordCount(QStringLiteral("Personer")), 15);
        QCOMPARE(app.state().database.recordCount(QStringLiteral("Påmelding")), 4 * (15 + 5));
        for (const char *f : {"InnTider.txt", "UtTider.txt", "Info.txt", "Rapport.txt"})
            QVERIFY2(QFile::exists(dir.path() + QStringLiteral("/Demomeet/") + QString::fromLatin1(f)), f);

        MainWindow &w = app.mainWindow();
        QCOMPARE(w.windowTitle(), QStringLiteral("Kvelmo [Demomeet.mdb]"));
        QCOMPARE(w.roundSelector()->currentText(), QStringLiteral("Finale"));
        QCOMPARE(w.roundSelector()->count(), 4);
        QCOMPARE(app.state().roundTag, QStringLiteral("Finale_"));
        QCOMPARE(app.state().catalogs.personCount, 15);
    }

    void frameHasEveryCommand()
    {
        StartedApp started;
        Application &app = started.app;
        MainWindow &w = app.mainWindow();
        QToolBar *tb = w.toolBar();
        int buttons = 0, separators = 0;
        for (QAction *a : tb->actions()) {
            if (a->isSeparator()) {
                ++separators;
            } else {
                ++buttons;
                QVERIFY(!a->toolTip().isEmpty());
                QVERIFY(!a->icon().isNull());
            }
        }
        QCOMPARE(buttons, 20);
        QCOMPARE(separators, 9);
        QCOMPARE(w.action(Command::NewMeet)->toolTip(), QStringLiteral("Lag ny database"));
        QCOMPARE(w.action(Command::Quit)->toolTip(), QStringLiteral("Avslutt"));
        QStringList titles;
        for (QAction *a : w.menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, QStringList({"&Database", "&Vinduer", "&Runder", "&Rundelister", "&Hjelp"}));
        QCOMPARE(w.action(Command::ShowTiming)->text(), QStringLiteral("&Tidtaking..."));
        QCOMPARE(w.barButton(4)->text(), QStringLiteral("&Satfettlag"));
        for (int i = 0; i < 9; ++i)
            QVERIFY(!w.barButton(i)->accessibleName().isEmpty());
    }

    // The "Deltakere" button gives up its D, so Alt+D opens the Database menu.
    void altWithAMenuLetterOpensTheMenu()
    {
        StartedApp started;
        Application &app = started.app;
        MainWindow &w = app.mainWindow();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_D, Qt::AltModifier);
        QMenu *database = w.menuBar()->actions().first()->menu();
        QTRY_VERIFY(database->isVisible());
        QVERIFY(!w.barButton(2)->hasFocus());
        database->hide();
    }

    void windowsOpenHideAndFollowCloseMode()
    {
        StartedApp started;
        Application &app = started.app;
        MainWindow &w = app.mainWindow();
        for (int i = 0; i < kChildWindowCount; ++i)
            QVERIFY(!w.subWindow(WindowId(i))->isVisible());
        w.openAll();
        for (int i = 0; i < kChildWindowCount; ++i)
            QVERIFY(w.subWindow(WindowId(i))->isVisible());
        w.closeAll();
        for (int i = 0; i < kChildWindowCount; ++i)
            QVERIFY(!w.subWindow(WindowId(i))->isVisible());

        w.barButton(2)->click(); // competitors
        w.action(Command::ShowClubs)->trigger();
        QVERIFY(w.subWindow(WindowId::Competitors)->isVisible());
        QVERIFY(w.subWindow(WindowId::Clubs)->isVisible());
        app.state().options[OptCloseWindowsMode] = 1;
        w.action(Command::ShowClasses)->trigger();
        QVERIFY(!w.subWindow(WindowId::Competitors)->isVisible());
        QVERIFY(!w.subWindow(WindowId::Clubs)->isVisible());
        QVERIFY(w.subWindow(WindowId::Classes)->isVisible());

        // A closed child window is only hidden and comes back as it was.
        ChildWindow *classes = w.childWindow(WindowId::Classes);
        w.subWindow(WindowId::Classes)->close();
        QVERIFY(!w.subWindow(WindowId::Classes)->isVisible());
        w.showRegisterWindow(WindowId::Classes);
        QCOMPARE(w.childWindow(WindowId::Classes), classes);
        QVERIFY(w.subWindow(WindowId::Classes)->isVisible());
    }

    void languageSwitchRelabelsAndRestores()
    {
        StartedApp started;
        Application &app = started.app;
        MainWindow &w = app.mainWindow();
        auto snapshot = [&] {
            QStringList s;
            for (QAction *a : w.findChildren<QAction *>())
                s << a->objectName() + u'=' + a->text() + u'|' + a->toolTip();
            for (int i = 0; i < 9; ++i)
                s << w.barButton(i)->text();
            for (int i = 0; i < kChildWindowCount; ++i)
                s << w.childWindow(WindowId(i))->windowTitle();
            s << w.windowTitle();
            return s;
        };
        const QStringList before = snapshot();
        app.state().texts.load(Language::English);
        w.applyCaptions();
        QCOMPARE(w.windowTitle(), QStringLiteral("Arenor [Demomeet.mdb]"));
        QCOMPARE(w.action(Command::ViewResultsList)->toolTip(), QStringLiteral("Show results list"));
        QCOMPARE(w.action(Command::Quit)->text(), QStringLiteral("&Quit..."));
        QVERIFY(snapshot() != before);
        app.state().texts.load(Language::Norwegian);
        w.applyCaptions();
        QCOMPARE(snapshot(), before);
    }

    // A restart reopens the meet current at the last exit (Setup.ini keeps its 69 lines); once
    // that meet's file is gone, the default meet.
    void restartReopensTheLastMeet()
    {
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        RecordingEditorLauncher editor;
        const QString other = dir.filePath(QStringLiteral("Vårstevne.mdb"));
        prompt.setNextAnswer(Answer::Yes); // the format question of the default meet
        for (const QString expected : {"Demomeet.mdb", "Vårstevne.mdb", "Demomeet.mdb"}) {
            Application app(dir.path(), &prompt, &editor);
            QVERIFY(app.start(false).status.ok() && app.state().currentDatabase == expected);
            if (!QFile::exists(other)) // open another meet, else remove it
                prompt.setNextFile(other);
            QVERIFY(QFile::exists(other)
                        ? QFile::remove(other)
                        : QFile::copy(app.state().databasePath(), other) &&
                              lifecycle::openMeetDatabase(app.state()) == lifecycle::Outcome::Done);
            app.state().saveSettings();
            QCOMPARE(readTextLines(dir.filePath(QStringLiteral("Setup.ini"))).size(), 69);
        }
        QCOMPARE(prompt.unexpected(), 0);
    }

    // Qt's own texts (a file dialog's) speak Norwegian with the program and switch with it.
    void qtTextsFollowTheLanguage()
    {
        StartedApp started;
        const auto lookIn = [] { return QCoreApplication::translate("QFileDialog", "Look in:"); };
        QVERIFY2(lookIn() != QStringLiteral("Look in:"), "qt6-translations-l10n is not installed");
        chooseLanguage(started.app.state(), 1);
        QCOMPARE(lookIn(), QStringLiteral("Look in:"));
        chooseLanguage(started.app.state(), 0);
        QVERIFY(lookIn() != QStringLiteral("Look in:"));
    }

    void roundSelectorSetsRoundTag()
    {
        StartedApp started;
        Application &app = started.app;
        app.mainWindow().action(Command::Round2)->trigger();
        QCOMPARE(app.state().roundTag, QStringLiteral("Kvartfinale_"));
        QCOMPARE(app.mainWindow().roundSelector()->currentIndex(), 1);
    }

    // A file that is not a meet database is reported and never replaced.
    void foreignDemomeetIsLeftUntouched_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("just some notes\n");
        QTest::newRow("truncated sqlite") << QByteArray("SQLite format 3\0\x10\0", 19);
        QTest::newRow("old format") << QByteArray("\0\x01\0\0Standard Jet DB\0\0\0\0", 23).leftJustified(200, '\0');
        // Whole SQLite files that are no whole meet: another program's, and a meet lacking a table.
        for (const char *sql : {"CREATE TABLE notes (text)", "DROP TABLE \"Tidtakingoppsett\""}) {
            TestMeet meet;
            meet.makeDatabase(1, 0, 1);
            if (sql[0] == 'C')
                for (const QString &t : meet.state.database.tables())
                    QVERIFY(meet.state.database.dropTable(t).ok());
            QVERIFY(meet.state.database.exec(QStringLiteral("PRAGMA application_id = 0")).ok());
            QVERIFY(meet.state.database.exec(QString::fromLatin1(sql)).ok());
            meet.state.database.close();
            QTest::newRow(sql) << readFile(meet.state.databasePath());
        }
    }
    void foreignDemomeetIsLeftUntouched()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/Demomeet.mdb");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        ScriptedPrompt prompt;
        RecordingEditorLauncher editor;
        Application app(dir.path(), &prompt, &editor);
        StartUpResult r = app.start(false);
        QVERIFY(!r.status.ok());
        QVERIFY(prompt.lastMessage().contains(QStringLiteral("Demomeet.mdb")));
        QCOMPARE(readFile(path), content);
        QVERIFY(app.mainWindow().isVisible());
    }

    void manualIsPutBesideTheMeetsAndShown()
    {
        StartedApp started;
        Application &app = started.app;
        app.mainWindow().action(Command::Manual)->trigger();
        QCOMPARE(started.editor.launches.size(), size_t(1));
        QCOMPARE(started.editor.launches[0].file, started.dir.path() + QStringLiteral("/Mann7093.doc"));
        QVERIFY(QFile::exists(started.editor.launches[0].file));
        app.state().languageChoice = 1;
        app.commands().openManual();
        QCOMPARE(started.editor.launches.back().file, started.dir.path() + QStringLiteral("/Mane7093.doc"));
    }

    // The on-screen prompt: Norwegian button texts, and Cancel told from an empty answer.
    void onScreenPromptSpeaksTheLanguage()
    {
        TextTables texts;
        QWidget parent;
        QtPrompt prompt(texts, &parent);
        QStringList seen;
        // Questions show the normal pointer while a long command shows the busy one.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QList<Qt::CursorShape> pointers;
        auto clickLater = [&](const QString &button) {
            QTimer::singleShot(50, [&, button] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(box);
                pointers << QApplication::overrideCursor()->shape();
                for (QAbstractButton *b : box->buttons()) {
                    seen << b->text();
                    if (b->text() == button)
                        b->click();
                }
            });
        };
        clickLater(QStringLiteral("&Nei"));
        QCOMPARE(prompt.message({QStringLiteral("?"), QStringLiteral("Info"), Buttons::YesNo, Icon::None}), Answer::No);
        QCOMPARE(seen, QStringList({"&Ja", "&Nei"}));
        seen.clear();
        clickLater(QStringLiteral("Avbryt"));
        QCOMPARE(prompt.message({QStringLiteral("?"), QStringLiteral("Info"), Buttons::OkCancel, Icon::Exclamation}),
                 Answer::Cancel);
        QCOMPARE(seen, QStringList({"OK", "Avbryt"}));
        // Enter gives the default button the question names.
        QTimer::singleShot(50, [&] {
            pointers << QApplication::overrideCursor()->shape();
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
        });
        QCOMPARE(prompt.message(
                     {QStringLiteral("?"), QStringLiteral("Info"), Buttons::YesNo, Icon::None, Answer::No}),
                 Answer::No);

        auto answerInput = [&](bool accept) {
            QTimer::singleShot(50, [accept] {
                auto *d = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
                QVERIFY(d);
                d->setTextValue(QString());
                accept ? d->accept() : d->reject();
            });
        };
        answerInput(true);
        std::optional<QString> empty = prompt.input({QStringLiteral("?"), QStringLiteral("Info"), QStringLiteral(" 20")});
        QVERIFY(empty.has_value() && empty->isEmpty());
        answerInput(false);
        QVERIFY(!prompt.input({QStringLiteral("?"), QStringLiteral("Info"), QStringLiteral(" 20")}).has_value());
        QCOMPARE(QtPrompt::qtFilter(QStringLiteral("Database (*.mdb)|*.mdb")), QStringLiteral("Database (*.mdb)"));
        QCOMPARE(pointers, QList<Qt::CursorShape>(3, Qt::ArrowCursor));
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QApplication::restoreOverrideCursor();
    }

    // Building a table paints its status text and progress while it works, without the event
    // loop running.
    void longWorkPaintsItsProgress()
    {
        StartedApp started;
        Application &app = started.app;
        struct Paints : QObject {
            int count = 0;
            bool eventFilter(QObject *, QEvent *e) override
            {
                count += e->type() == QEvent::Paint;
                return false;
            }
        } bar, status;
        app.mainWindow().progressBar()->installEventFilter(&bar);
        app.mainWindow().findChild<QLabel *>(QStringLiteral("statusPanel3"))->installEventFilter(&status);
        started.prompt.setNextAnswer(Answer::Yes); // overwrite the entries
        QVERIFY(schema::initEntries(app.state()).ok());
        QVERIFY(bar.count > 0);
        QVERIFY(status.count > 0);
    }

    void helpShowsContentsAndFinds()
    {
        HelpWindow help;
        help.setLanguage(Language::English);
        QVERIFY(help.contents()->count() >= 5);
        QVERIFY(help.find(QStringLiteral("Rapport.txt")));
        QVERIFY(!help.find(QStringLiteral("no such words here")));
        help.setLanguage(Language::Norwegian);
        QVERIFY(help.find(QStringLiteral("stevnekatalogen")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
