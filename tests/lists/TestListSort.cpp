#include "TestSupport.h"
#include "base/TextFile.h"
#include "events/EventSetup.h"
#include "lists/ListSort.h"
#include "lists/ListText.h"
#include "lists/MeetLists.h"

#include <QTest>

using namespace arenor;
using namespace arenor::test;
using namespace arenor::lists;

constexpr auto kSeconds = events::TimeFormat::SecondsHundredths;

class TestListSort : public QObject {
    Q_OBJECT
private slots:
    // Every sort code on each layout, then separators off, differences off (the old column kept)
    // and the points selector; one golden file per list, messages included.
    void sorts_data()
    {
        Cases<QString, int>::columns();
        for (const char *name : {"standard", "heat", "relay", "step"})
            QTest::newRow(name) << name << 2;
        QTest::newRow("technical") << "technical" << 1;
    }
    void sorts()
    {
        const auto [name, category] = Cases<QString, int>::fetch();
        TestMeet meet;
        const QString path = meet.dir.filePath("list.txt");
        QList<std::array<int, 4>> steps{{1, 0, 1, 1}, {2, 0, 1, 1}, {3, 0, 1, 1}, {4, 0, 1, 1},
                                        {5, 0, 1, 1}, {6, 0, 1, 1}, {1, 0, 0, 1}, {2, 0, 1, 0}};
        if (category == 1)
            steps.append({2, SortPointsList, 1, 1});
        QByteArray all;
        for (const auto &step : steps) { // code, selector, separators, differences
            writeFile(path, readFile(dataFile("lists_sort_" + name + ".in")));
            meet.state.options[OptSeparators] = step[2];
            meet.state.options[OptDifferences] = step[3];
            meet.prompt.clear();
            MadeLists made(meet.state);
            const Status s = SortListFile(meet.state, path, step[0], category, kSeconds, step[1]);
            // A sorted list is told with its document, read back by the layout of its heading.
            if (s && made.documents.size() == 1)
                QVERIFY(checkedDocument(made.documents[0], path).contains(u'R'));
            else
                QVERIFY(!s || step[0] == SortByHeat);
            QStringList head{"####"};
            for (int value : step)
                head << QString::number(value);
            head << "->" << s.error() << meet.prompt.messageTexts().join(u'|') << "\r\n";
            all += head.join(u' ').toUtf8() + readFile(path);
        }
        compareWithGolden(all, "lists_sort_" + name + ".txt");
    }

    // Hand-edited files: a clear message and the file untouched, or a best effort; never a crash.
    void handEdited_data()
    {
        Cases<QByteArray, bool>::columns();
        const QByteArray head = readFile(dataFile("lists_sort_standard.in")).left(800);
        const QByteArray header = head.left(head.indexOf("====")) + QByteArray(82, '=') + "\r\n";
        QByteArray garbage, many = header;
        for (int i = 0; i < 4000; ++i)
            garbage += char((i * 7919) % 256);
        for (int i = 0; i < 100000; ++i)
            many += ":       :  12   : Kari                      : Askoy        : 12.34    :\r\n";
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("no rulers") << QByteArray(header).replace('=', '-') << true;
        QTest::newRow("no column line") << QByteArray(header).replace(": Øv.pl", "") << true;
        QTest::newRow("header too long") << QByteArray(20, '\n') + header << true;
        QTest::newRow("100000 lines") << many << true;
        QTest::newRow("no closing ruler") << header + ": : 3\r\n:\r\n  : 7 : x : y : 1" << false;
        QTest::newRow("garbage rows") << header + garbage << false;
        QTest::newRow("garbage only") << garbage << true;
        QTest::newRow("row of unread columns") << QByteArray("--Lane\r=\rm") << false;
    }
    void handEdited()
    {
        const auto [bytes, refused] = Cases<QByteArray, bool>::fetch();
        TestMeet meet;
        const QString path = meet.dir.filePath("list.txt");
        for (int code = 1; code <= 6; ++code) {
            writeFile(path, bytes);
            const Status s = SortListFile(meet.state, path, code, 2, kSeconds, SortResultList);
            QCOMPARE(s.ok(), !refused);
            QVERIFY(!refused || (s.error().contains("list.txt") && readFile(path) == bytes));
            // Sorted again the same way, a list stays as it is: no row lost, none moved.
            const QByteArray sorted = readFile(path);
            QCOMPARE(SortListFile(meet.state, path, code, 2, kSeconds, SortResultList).ok(), !refused);
            QCOMPARE(readFile(path), sorted);
        }
        QVERIFY(!SortListFile(meet.state, path + "x", 1, 2, kSeconds, 0) &&
                !SortListFile(meet.state, path, 7, 2, kSeconds, 0));
    }

    // A running event's results are read in its time format, never guessed from the results;
    // print positions count characters, so a name outside the basic plane moves no column.
    void eventFormatAndCharacters_data()
    {
        Cases<int, QStringList, QStringList>::columns(); // time format, rows (number|club|result), sorted
        QTest::newRow("h.m.s") << 0 << QStringList{"12|IL|00.46.10", "7|IL|00.45.50"}
                               << QStringList{"1|7|IL|00.45.50|00.00.00", "2|12|IL|00.46.10|00.00.20"};
        QTest::newRow("outside the basic plane")
            << 2 << QStringList{"12|Klubbx😀😀😀😀|12.05", "3|Bergen|11.98"}
            << QStringList{"1|3|Bergen|11.98|00.00", "2|12|Klubbx😀😀😀😀|12.05|00.07"};
    }
    void eventFormatAndCharacters()
    {
        const auto [format, rows, sorted] = Cases<int, QStringList, QStringList>::fetch();
        TestMeet meet;
        meet.state.options[OptSeparators] = meet.state.options[OptDifferences] = 1;
        events::GridContext context{
            {"Finale_", 3, "100m", "_", 11, "Menn"}, events::ListType::Standard, 0, true};
        context.format = events::TimeFormat(format);
        QStringList lines{ruler(u'-', 82), meet.state.texts.message(72), ruler(u'=', 82)};
        for (const QString &row : rows) {
            const QStringList f = row.split(u'|');
            ListLine line(true);
            line.separators({1, 9}).text(11, f[0]).separators({17, 45}).text(47, f[1], 12).separator(60);
            lines << line.text(62, f[2]).separators({71, 82}).line();
        }
        const QString path =
            meet.state.meetFile(events::ClassListName(meet.state.texts, context.selection, false));
        QVERIFY(writeTextFile(path, lines << ruler(u'=', 82)).ok());
        QVERIFY(sortClassListCommand(meet.state, context, SortIncreasing));
        QStringList written; // place, number, club, result, difference
        for (const QString &line : readTextLines(path).mid(3, rows.size()))
            for (auto [first, last] : {std::pair(3, 8), {11, 16}, {47, 59}, {61, 70}, {73, 81}})
                written << trimmedField(line, first, last);
        QCOMPARE(written.join(u'|'), sorted.join(u'|'));
    }

    // "Sorter": message 4 without the list; message 23 for another class's list, sorted all the same.
    void classListCommand()
    {
        TestMeet meet;
        const TextTables &t = meet.state.texts;
        events::GridContext context{
            {"Finale_", 3, "100m", "_", 11, "Menn"}, events::ListType::Standard, 0, true};
        QVERIFY(!sortClassListCommand(meet.state, context, SortIncreasing));
        const QString path = meet.state.meetFile(events::ClassListName(t, context.selection, false));
        // A time no format reads is named, and sorts last.
        writeFile(path, readFile(dataFile("lists_sort_standard.in")).replace("DNF    ", "1.2.3.4"));
        QVERIFY(sortClassListCommand(meet.state, context, SortIncreasing));
        context.selection.className = "Kvinner";
        QVERIFY(!sortClassListCommand(meet.state, context, SortByHeat));
        QStringList told = meet.prompt.messageTexts();
        QVERIFY(told.size() == 5 && told[2].startsWith("1 av resultatene kan ikke leses med tidsformatet") &&
                told.takeAt(2).contains("(startnummer 9)"));
        QCOMPARE(told, (QStringList{t.message(4), " 1" + t.message(15), t.message(23), t.message(14)}));
    }

    // The time schedule in both languages: Cancel keeps the event order ("Sorted by competition"),
    // OK sorts by date and time, rows without a time last; unused slots and empty events left out.
    void timeSchedule_data()
    {
        Cases<bool>::columns();
        for (bool english : {false, true})
            QTest::newRow(english ? "en" : "no") << english;
    }
    void timeSchedule()
    {
        const auto [english] = Cases<bool>::fetch();
        TestMeet meet;
        meet.makeDatabase();
        AppState &s = meet.state;
        s.texts.load(english ? Language::English : Language::Norwegian);
        s.setRoundTag(s.currentRound);
        s.options[OptSeparators] = 1;
        Catalogs &c = s.catalogs;
        c.classes[1] = "Junior", c.classes[2] = "Menn", c.classes[3] = "Kvinner_senior_klasse";
        const int classOf[] = {0, 1, 2, 2, 3, 1, 2};
        for (int p = 1; p <= 6; ++p)
            c.persons[size_t(p)].cls = c.classes[size_t(classOf[p])];
        c.relays[1].cls = "Junior";
        const QStringList events{"", "100m", "Lengde", "_", "Høyde", "4x100m", "200m"};
        std::copy(events.begin(), events.end(), s.eventNames.begin());
        // event, entrant row, class of the setup (0 none), date, start time
        const std::tuple<int, int, int, const char *, const char *> entries[] = {
            {1, 1, 2, "2026.06.14", "12.30"},
            {1, 2, 1, "", "00.00"},
            {1, 3, 0, "", ""},
            {2, 4, 1, "2026.06.13", "10.15"},
            {2, 5, 0, "", ""},
            {2, 6, 0, "", ""},
            {3, 1, 0, "", ""},
            {5, 16, 1, "2026.06.15", "00.00"},
            {6, 2, 2, "14.06.2026", "9.00"}};
        for (const auto &[event, row, cls, date, time] : entries) {
            s.entryMatrix.set(s.currentRound, event, row, true);
            const int record = events::setupRecordNumber(s.currentRound, event, std::max(cls, 1));
            QVERIFY(cls == 0 || (events::writeSetupField(s, record, events::SetupDate, date).ok() &&
                                 events::writeSetupField(s, record, events::SetupStartTime, time).ok()));
        }
        const QString path = s.meetFile("Tidskjema.txt");
        meet.prompt.setNextAnswer(Answer::Cancel);
        QVERIFY(MakeTimeSchedule(s, path).ok());
        const QByteArray cancelled = readFile(path);
        meet.prompt.setNextAnswer(Answer::Ok); // overwrite
        meet.prompt.setNextAnswer(Answer::Ok); // sort
        QVERIFY(MakeTimeSchedule(s, path).ok());
        compareWithGolden(cancelled + readFile(path),
                          QString("lists_sort_schedule_%1.txt").arg(english ? "en" : "no"));
        QCOMPARE(meet.prompt.unexpected(), 0);
    }
};

QTEST_GUILESS_MAIN(TestListSort)
#include "TestListSort.moc"
