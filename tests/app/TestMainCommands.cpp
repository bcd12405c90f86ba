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
    // List file names: long ones carry the round, short ones its initial.
    void listNamesFollowRoundLanguageAndOption_data()
    {
        Cases<int, bool, QString, QString>::columns();
        using L = MeetList;
        // clang-format off
        for (auto [list, longNames, tag, name] : {
             std::tuple{L::Results, true, "Finale_", "Hele_stevnet_Finale_.txt"}, {L::Results, false, "Finale_", "Al-F.txt"},
             {L::StartListText, true, "Final_", "Final_Innsjekk.txt"}, {L::StartListText, false, "Finale_", "På-F.txt"},
             {L::Newspaper, true, "Semifinale_", "Hele_stevnet_Semifinale_Avis.txt"}, {L::Points, false, "Kvartfinale_", "Po-K.txt"}})
            QTest::newRow(name) << int(list) << longNames << QString::fromUtf8(tag) << QString::fromUtf8(name);
        // clang-format on
    }
    void listNamesFollowRoundLanguageAndOption()
    {
        auto [list, longNames, roundTag, name] = Cases<int, bool, QString, QString>::fetch();
        QCOMPARE(lists::listFileName(MeetList(list), roundTag, longNames), name);
    }

    // What each show command does when its file is missing: message 4 (with Cancel for the
    // schedule); the contingent list is still shown.
    void showMissingList_data()
    {
        QTest::addColumn<int>("list");
        for (MeetList l : {MeetList::Results, MeetList::Newspaper, MeetList::Contingent, MeetList::Points,
                           MeetList::TimeSchedule})
            QTest::newRow(qPrintable(QString::number(int(l)))) << int(l);
    }
    void showMissingList()
    {
        QFETCH(int, list);
        TestMeet meet;
        MainCommands commands(meet.state);
        commands.showList(MeetList(list));
        QCOMPARE(meet.prompt.lastMessage(), meet.state.texts.message(4));
        QCOMPARE(meet.prompt.asked().back().message.buttons,
                 list == int(MeetList::TimeSchedule) ? Buttons::OkCancel : Buttons::Ok);
        QCOMPARE(meet.editor.launches.size(), size_t(list == int(MeetList::Contingent)));
        if (list == int(MeetList::Contingent))
            QCOMPARE(meet.editor.launches.back().file, commands.listPath(MeetList(list)));
    }

    // An existing list goes to the editor with its command; the info and report files and the
    // start list are made first when missing.
    void showStartsTheEditor()
    {
        TestMeet meet;
        meet.state.options[OptMaximiseEditor] = true;
        meet.state.editorCommand = QStringLiteral("Write.exe ");
        MainCommands commands(meet.state);
        const QString path = commands.listPath(MeetList::Results);
        QVERIFY(writeTextFile(path, {QStringLiteral("x")}).ok());
        commands.showList(MeetList::Results);
        commands.setListWriter(MeetList::StartListText, [](AppState &, const QString &file) {
            return writeTextFile(file, {QStringLiteral("list")});
        });
        commands.showList(MeetList::StartListText);
        commands.showInfoFile();
        commands.showReportFile();
        QCOMPARE(meet.prompt.asked().size(), size_t(0));
        QCOMPARE(meet.editor.launches.size(), size_t(4));
        QCOMPARE(meet.editor.launches[0].command, QStringLiteral("Write.exe "));
        QCOMPARE(meet.editor.launches[0].file, path);
        QVERIFY(meet.editor.launches[0].maximised);
        for (const QString &file :
             {commands.listPath(MeetList::StartListText), meet.state.meetFile(QStringLiteral("Info.txt")),
              meet.state.meetFile(QStringLiteral("Rapport.txt"))})
            QVERIFY(QFile::exists(file));
    }

    // Make asks before overwriting a list; a writer that fails never claims success and writes
    // nothing; the points list needs the results list; quitting asks Yes/No.
    void makeAndQuitAsk()
    {
        TestMeet meet;
        MainCommands commands(meet.state);
        commands.setListWriter(MeetList::Results,
                               [](AppState &, const QString &) { return Status::failure("no"); });
        QVERIFY(!commands.makeListWithQuestion(MeetList::Results));
        QVERIFY(!QFile::exists(commands.listPath(MeetList::Results)));
        QVERIFY(!commands.makePointsList());
        QCOMPARE(meet.prompt.messageTexts().size(), 2);
        QCOMPARE(meet.prompt.lastMessage(), meet.state.texts.message(3));
        int written = 0;
        commands.setListWriter(MeetList::StartListText, [&](AppState &, const QString &path) {
            ++written;
            return writeTextFile(path, {QStringLiteral("list")});
        });
        QVERIFY(commands.makeListWithQuestion(MeetList::StartListText)); // no file: no question
        meet.prompt.setNextEnter();                                      // Enter keeps the list
        QVERIFY(!commands.makeListWithQuestion(MeetList::StartListText));
        QCOMPARE(meet.prompt.lastMessage(), meet.state.texts.message(2));
        meet.prompt.setNextAnswer(Answer::Ok);
        QVERIFY(commands.makeListWithQuestion(MeetList::StartListText));
        QCOMPARE(written, 2);
        QCOMPARE(meet.prompt.messageTexts().size(), 4);
        meet.prompt.setNextAnswer(Answer::No);
        QVERIFY(!commands.confirmQuit());
        QCOMPARE(meet.prompt.asked().back().message.buttons, Buttons::YesNo);
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
        for (auto [r, name] : {std::pair{0.0, "a.gif"}, {0.99, "c.gif"}, {1.0, "c.gif"}})
            QCOMPARE(QFileInfo(commands.chooseBackgroundPicture([r] { return r; })).fileName(),
                     QString::fromLatin1(name));
    }
};

QTEST_GUILESS_MAIN(TestMainCommands)
#include "TestMainCommands.moc"
