#include "TestSupport.h"

#include "app/MeetFile.h"
#include "lists/MeetTemplates.h"
#include "timing/TimeFileHeader.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace arenor;
using namespace arenor::test;

class TestMeetFiles : public QObject {
    Q_OBJECT
private slots:
    // The files made for a new meet, byte for byte.
    void newMeetFilesMatchGolden_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("golden");
        QTest::newRow("info") << "Info.txt" << "Info_no.txt";
        QTest::newRow("report") << "Rapport.txt" << "Rapport_no.txt";
        QTest::newRow("out times") << "UtTider.txt" << "UtTider_empty.txt";
        QTest::newRow("in times") << "InnTider.txt" << "InnTider_empty.txt";
    }
    void newMeetFilesMatchGolden()
    {
        QFETCH(QString, file);
        QFETCH(QString, golden);
        TestMeet meet;
        QVERIFY(meetFilesCheck(meet.state).ok());
        const QByteArray expected = readFile(dataFile(golden));
        QVERIFY(!expected.isEmpty());
        QCOMPARE(readFile(meet.state.meetFile(file)), expected);
    }

    void templateLinesInBothLanguages()
    {
        TextTables t;
        for (Language l : {Language::Norwegian, Language::English}) {
            t.load(l);
            const QStringList info = lists::infoTemplateLines(t, false);
            QCOMPARE(info.size(), 8);
            QCOMPARE(info[0], QString(82, u'-'));
            QCOMPARE(info[4], QString(67, u'-'));
            // The heading lines close with ":" at the same place in both languages.
            QCOMPARE(info[1].size(), 80);
            QCOMPARE(info[3].size(), 78);
            QVERIFY(info[1].endsWith(u':') && info[3].endsWith(u':'));
            QCOMPARE(info[5].size(), 67);
            QCOMPARE(info[6].size(), 67);
            QVERIFY(lists::infoTemplateLines(t, true)[6].contains(QStringLiteral("25.05.58")));
            QCOMPARE(lists::reportTemplateLines(t)[1], QString(44, u'-'));
        }
        t.load(Language::English);
        QCOMPARE(lists::infoTemplateLines(t, false)[1].left(22), QStringLiteral(":TEXTFILE FOR MEETDATA"));
    }

    void checkKeepsExistingFiles()
    {
        TestMeet meet;
        QFile f(meet.state.meetFile(QStringLiteral("UtTider.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("registered times\r\n");
        f.close();
        QVERIFY(meetFilesCheck(meet.state).ok());
        QCOMPARE(readFile(f.fileName()), QByteArray("registered times\r\n"));
        QVERIFY(QFile::exists(meet.state.meetFile(QStringLiteral("InnTider.txt"))));
    }

    void unwritableMeetDirectoryIsReported()
    {
        TestMeet meet;
        meet.state.meetDir = meet.dir.path() + QStringLiteral("/no/such/place/");
        QVERIFY(!meetFilesCheck(meet.state).ok());
    }
};

QTEST_GUILESS_MAIN(TestMeetFiles)
#include "TestMeetFiles.moc"
