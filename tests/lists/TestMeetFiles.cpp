#include "TestSupport.h"

#include "app/MeetFile.h"

#include <QFile>
#include <QTest>

using namespace arenor;
using namespace arenor::test;

class TestMeetFiles : public QObject {
    Q_OBJECT
private slots:
    // The files made for a new meet, byte for byte, in both languages and in test mode.
    void newMeetFilesMatchGolden_data()
    {
        Cases<QString, bool, bool, QString>::columns();
        QTest::newRow("info") << "Info.txt" << false << false << "Info_no.txt";
        QTest::newRow("info, English") << "Info.txt" << true << false << "Info_en.txt";
        QTest::newRow("info, test mode") << "Info.txt" << false << true << "Info_test.txt";
        QTest::newRow("report") << "Rapport.txt" << false << false << "Rapport_no.txt";
        QTest::newRow("report, English") << "Rapport.txt" << true << false << "Rapport_en.txt";
        QTest::newRow("in times") << "InnTider.txt" << false << false << "InnTider_empty.txt";
    }
    void newMeetFilesMatchGolden()
    {
        auto [file, english, testMode, golden] = Cases<QString, bool, bool, QString>::fetch();
        TestMeet meet;
        meet.state.texts.load(english ? Language::English : Language::Norwegian);
        meet.state.options[OptTestMode] = testMode;
        QVERIFY(meetFilesCheck(meet.state).ok());
        compareWithGolden(readFile(meet.state.meetFile(file)), golden);
    }

    // Files already there are kept, but not the copy a list write killed before its rename left;
    // a meet directory that cannot be made is reported.
    void checkKeepsExistingFiles()
    {
        TestMeet meet;
        writeFile(meet.state.meetFile(QStringLiteral("UtTider.txt")), "registered times\r\n");
        for (const char *name : {"Al-F.txt.UelZSq", "Al-F.txt.Uel", "Notes.doc.UelZSq", "Ov-F01.txt.UelZS-"})
            writeFile(meet.state.meetFile(name), "x");
        QVERIFY(meetFilesCheck(meet.state).ok());
        QCOMPARE(filesIn(meet.state.meetDir).filter(".txt.").size(), 2);
        QVERIFY(!QFile::exists(meet.state.meetFile("Al-F.txt.UelZSq")));
        QCOMPARE(readFile(meet.state.meetFile(QStringLiteral("UtTider.txt"))),
                 QByteArray("registered times\r\n"));
        QVERIFY(QFile::exists(meet.state.meetFile(QStringLiteral("InnTider.txt"))));
        meet.state.meetDir = meet.dir.path() + QStringLiteral("/no/such/place/");
        QVERIFY(!meetFilesCheck(meet.state).ok());
    }
};

QTEST_GUILESS_MAIN(TestMeetFiles)
#include "TestMeetFiles.moc"
