#include "TestSupport.h"

#include "app/MainCommands.h"
#include "base/TextFile.h"

#include <QFile>
#include <QTest>

using namespace arenor;
using namespace arenor::test;
using lists::MeetList;

class TestMainCommands : public QObject {
    Q_OBJECT
private slots:
    void listNamesFollowRoundLanguageAndOption_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<bool>("longNames");
        QTest::addColumn<QString>("roundTag");
        QTest::addColumn<QString>("name");
        QTest::newRow("results long") << int(MeetList::Results) << true << "Finale_" << "Hele_stevnet_Finale_.txt";
        QTest::newRow("results short") << int(MeetList::Results) << false << "Finale_" << "Al-F.txt";
        QTest::newRow("start list long") << int(MeetList::StartListText) << true << "Finale_" << "Finale_Innsjekk.txt";
        QTest::newRow("start list english") << int(MeetList::StartListText) << true << "Final_" << "Final_Innsjekk.txt";
        QTest::newRow("start list short") << int(MeetList::StartListText) << false << "Finale_" << "På-F.txt";
        QTest::newRow("newspaper") << int(MeetList::Newspaper) << true << "Semifinale_" << "Hele_stevnet_Semifinale_Avis.txt";
        QTest::newRow("newspaper short") << int(MeetList::Newspaper) << false << "Semifinale_" << "Av-S.txt";
        QTest::newRow("contingent") << int(MeetList::Contingent) << true << "Opening_" << "Opening_Kontigent.txt";
        QTest::newRow("contingent short") << int(MeetList::Contingent) << false << "Opening_" << "Ko-O.txt";
        QTest::newRow("points") << int(MeetList::Points) << true << "Kvartfinale_" << "Poeng_Kvartfinale_.txt";
        QTest::newRow("points short") << int(MeetList::Points) << false << "Kvartfinale_" << "Po-K.txt";
        QTest::newRow("schedule") << int(MeetList::TimeSchedule) << true << "Innledende_" << "Innledende_Tidskjema.txt";
        QTest::newRow("schedule short") << int(MeetList::TimeSchedule) << false << "Innledende_" << "Ti-I.txt";
    }
    void listNamesFollowRoundLanguageAndOption()
    {
        QFETCH(int, list);
        QFETCH(bool, longNames);
        QFETCH(QString, roundTag);
        QFETCH(QString, name);
        QCOMPARE(lists::listFileName(MeetList(list), roundTag, longNames), name);
    }

    // What each show command does when its file is missing.
    void showMissingList_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<bool>("message4");
        QTest::addColumn<bool>("editorStarted");
        QTest::addColumn<int>("buttons");
        QTest::newRow("results") << int(MeetList::Results) << true << false << int(Buttons::Ok);
        QTest::newRow("newspaper") << int(MeetList::Newspaper) << true << false << int(Buttons::Ok);
        QTest::newRow("contingent") << int(MeetList::Contingent) << true << true << int(Buttons::Ok);
        QTest::newRow("points") << int(MeetList::Points) << true << false << int(Buttons::Ok);
        QTest::newRow("schedule") << int(MeetList::TimeSchedule) << true << false << int(Buttons::OkCancel);
    }
    void showMissingList()
    {
        QFETCH(int, list);
        QFETCH(bool, message4);
        QFETCH(bool, editorStarted);
        QFETCH(int, buttons);
        TestMeet meet;
        MainCommands commands(meet.state);
        commands.showList(MeetList(list));
        QCOMPARE(meet.prompt.lastMessage() == meet.state.texts.message(4), message4);
        QCOMPARE(int(meet.prompt.asked().back().message.buttons), buttons);
        QCOMPARE(!meet.editor.launches.empty(), editorStarted);
        if (editorStarted)
            QCOMPARE(meet.editor.launches.back().file, commands.listPath(MeetList(list)));
    }

    void showExistingListStartsEditorWithCommand()
    {
        TestMeet meet;
        meet.state.options[OptMaximiseEditor] = true;
        meet.state.editorCommand = QStringLiteral("Write.exe ");
        MainCommands commands(meet.state);
        const QString path = commands.listPath(MeetList::Results);
        QVERIFY(writeTextFile(path, {QStringLiteral("x")}).ok());
        commands.showList(MeetList::Results);
        QCOMPARE(meet.prompt.asked().size(), size_t(0));
        QCOMPARE(meet.editor.launches.size(), size_t(1));
        QCOMPARE(meet.editor.launches[0].command, QStringLiteral("Write.exe "));
        QCOMPARE(meet.editor.launches[0].file, path);
        QVERIFY(meet.editor.launches[0].maximised);
    }

    void missingInfoAndReportAreWrittenFirst()
    {
        TestMeet meet;
        MainCommands commands(meet.state);
        commands.showInfoFile();
        commands.showReportFile();
        QVERIFY(QFile::exists(meet.state.meetFile(QStringLiteral("Info.txt"))));
        QVERIFY(QFile::exists(meet.state.meetFile(QStringLiteral("Rapport.txt"))));
        QCOMPARE(meet.editor.launches.size(), size_t(2));
    }

    // Without a writer a make command never claims success, and nothing is written.
    void makeWithoutWriterReportsNotMade()
    {
        TestMeet meet;
        MainCommands commands(meet.state);
        QVERIFY(!commands.makeListWithQuestion(MeetList::Results));
        QCOMPARE(meet.prompt.messageTexts().size(), 1);
        QVERIFY(!QFile::exists(commands.listPath(MeetList::Results)));
    }

    void makeAsksBeforeOverwriting()
    {
        TestMeet meet;
        MainCommands commands(meet.state);
        int written = 0;
        commands.setListWriter(MeetList::StartListText, [&](AppState &, const QString &path) {
            ++written;
            return writeTextFile(path, {QStringLiteral("list")});
        });
        QVERIFY(commands.makeListWithQuestion(MeetList::StartListText)); // no file: no question
        QCOMPARE(meet.prompt.asked().size(), size_t(0));
        meet.prompt.setNextAnswer(Answer::Cancel);
        QVERIFY(!commands.makeListWithQuestion(MeetList::StartListText));
        QCOMPARE(written, 1);
        QCOMPARE(meet.prompt.lastMessage(), meet.state.texts.message(2));
        meet.prompt.setNextAnswer(Answer::Ok);
        QVERIFY(commands.makeListWithQuestion(MeetList::StartListText));
        QCOMPARE(written, 2);
    }

    void startListIsMadeWhenShownMissing()
    {
        TestMeet meet;
        MainCommands commands(meet.state);
        commands.setListWriter(MeetList::StartListText, [](AppState &, const QString &path) {
            return writeTextFile(path, {QStringLiteral("list")});
        });
        commands.showList(MeetList::StartListText);
        QCOMPARE(meet.editor.launches.size(), size_t(1));
        QVERIFY(QFile::exists(commands.listPath(MeetList::StartListText)));
    }

    void pointsListNeedsResultsList()
    {
        TestMeet meet;
        MainCommands commands(meet.state);
        QVERIFY(!commands.makePointsList());
        QCOMPARE(meet.prompt.lastMessage(), meet.state.texts.message(3));
    }

    void quitAsksYesNo()
    {
        TestMeet meet;
        MainCommands commands(meet.state);
        meet.prompt.setNextAnswer(Answer::No);
        QVERIFY(!commands.confirmQuit());
        QCOMPARE(meet.prompt.asked().back().message.buttons, Buttons::YesNo);
        QCOMPARE(meet.prompt.asked().back().message.title, QStringLiteral("Info"));
        meet.prompt.setNextAnswer(Answer::Yes);
        QVERIFY(commands.confirmQuit());
    }

    void backgroundPictureIsOneOfTheGifs()
    {
        TestMeet meet;
        MainCommands commands(meet.state);
        QVERIFY(commands.chooseBackgroundPicture([] { return 0.5; }).isEmpty());
        for (const char *n : {"a.gif", "b.gif", "c.gif"})
            QVERIFY(writeTextFile(meet.state.programFile(QString::fromLatin1(n)), {}).ok());
        QCOMPARE(QFileInfo(commands.chooseBackgroundPicture([] { return 0.0; })).fileName(), QStringLiteral("a.gif"));
        QCOMPARE(QFileInfo(commands.chooseBackgroundPicture([] { return 0.99; })).fileName(), QStringLiteral("c.gif"));
        QCOMPARE(QFileInfo(commands.chooseBackgroundPicture([] { return 1.0; })).fileName(), QStringLiteral("c.gif"));
        QCOMPARE(meet.state.backgroundPictures.size(), 3);
    }

    void progressBarFollowsWideWindowsOnly()
    {
        QCOMPARE(progressBarWidth(600, 96), -1);     // 9000 twips
        QCOMPARE(progressBarWidth(640, 96), 640 - 507); // 9600 twips: width less 7600 twips
        QCOMPARE(progressBarWidth(1200, 96), 1200 - 507);
    }
};

QTEST_GUILESS_MAIN(TestMainCommands)
#include "TestMainCommands.moc"
