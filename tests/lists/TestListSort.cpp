#include "TestSupport.h"
#include "base/TextFile.h"
#include "events/EventSetup.h"
#include "lists/ListSort.h"
#include "lists/MeetLists.h"

#include <QTest>

using namespace arenor;
using namespace arenor::test;
using namespace arenor::lists;

namespace {

struct Step {
    int code;
    int selector = SortResultList;
    bool separators = true;
    bool differences = true;
    bool again = false; // sorts the file the step before left, not a fresh copy
};

// Sorts the file and returns what a golden file holds: the step, the messages, the file.
QByteArray sortStep(TestMeet &meet, const QString &path, const Step &step, int category)
{
    meet.state.options[OptSeparators] = step.separators;
    meet.state.options[OptDifferences] = step.differences;
    meet.prompt.clear();
    const Status s = SortListFile(meet.state, path, step.code, category, step.selector);
    return QStringLiteral("#### code %1 selector %2 separators %3 differences %4%5 -> %6 %7\r\n")
               .arg(step.code)
               .arg(step.selector)
               .arg(step.separators)
               .arg(step.differences)
               .arg(step.again ? " again" : "", s.error(), meet.prompt.messageTexts().join(u'|'))
               .toUtf8() +
           readFile(path);
}

} // namespace

class TestListSort : public QObject {
    Q_OBJECT
private slots:
    // Every sort code on each layout, separators off, differences off (the old column kept),
    // the points selector; one golden file per list.
    void sorts_data()
    {
        Cases<QString, int, bool>::columns();
        QTest::newRow("standard") << "standard" << 2 << false;
        QTest::newRow("technical") << "technical" << 1 << true;
        QTest::newRow("heat") << "heat" << 2 << false;
        QTest::newRow("relay") << "relay" << 2 << false;
        QTest::newRow("step") << "step" << 2 << false;
    }
    void sorts()
    {
        const auto [name, category, points] = Cases<QString, int, bool>::fetch();
        TestMeet meet;
        const QString path = meet.dir.filePath("list.txt");
        QList<Step> steps{{1}, {2}, {3}, {4}, {5}, {6}, {1, 0, false}, {2, 0, true, false, true}};
        if (points)
            steps.append({2, SortPointsList});
        QByteArray all;
        for (const Step &step : steps) {
            writeFile(path, readFile(dataFile("lists_sort_" + name + ".in")));
            if (step.again) {
                meet.state.options[OptSeparators] = meet.state.options[OptDifferences] = 1;
                QVERIFY(SortListFile(meet.state, path, 1, category, step.selector).ok());
            }
            all += sortStep(meet, path, step, category);
        }
        compareWithGolden(all, "lists_sort_" + name + ".txt");
    }

    // Hand-edited files: a clear message and the file untouched, or a best effort; never a crash.
    void handEdited_data()
    {
        Cases<QByteArray, bool>::columns();
        const QByteArray head = readFile(dataFile("lists_sort_standard.in")).left(800);
        const QByteArray header = head.left(head.indexOf("====")) + QByteArray(82, '=') + "\r\n";
        QByteArray garbage;
        for (int i = 0; i < 4000; ++i)
            garbage += char((i * 7919) % 256);
        QByteArray many = header;
        for (int i = 0; i < 100000; ++i)
            many += ":       :  12   : Kari                      : Askoy        : 12.34    :\r\n";
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("no rulers") << QByteArray(header).replace('=', '-') << true;
        QTest::newRow("no column line")
            << QByteArray(header).replace("Resultat", "").replace(": Øv.pl", "") << true;
        QTest::newRow("header too long") << QByteArray(20, '\n') + header << true;
        QTest::newRow("100000 lines") << many << true;
        QTest::newRow("no closing ruler") << header + ": : 3\r\n:\r\n  : 7 : x : y : 1" << false;
        QTest::newRow("garbage rows") << header + garbage << false;
        QTest::newRow("garbage only") << garbage << true;
    }
    void handEdited()
    {
        const auto [bytes, refused] = Cases<QByteArray, bool>::fetch();
        TestMeet meet;
        const QString path = meet.dir.filePath("list.txt");
        for (int code = 1; code <= 6; ++code) {
            writeFile(path, bytes);
            const Status s = SortListFile(meet.state, path, code, 2, SortResultList);
            QCOMPARE(s.ok(), !refused);
            if (refused) {
                QVERIFY(s.error().contains("list.txt"));
                QCOMPARE(readFile(path), bytes);
            }
        }
        QVERIFY(!SortListFile(meet.state, meet.dir.filePath("none.txt"), 1, 2, 0).ok());
        QVERIFY(!SortListFile(meet.state, path, 7, 2, 0).ok());
    }
    // The time schedule in both languages: Cancel keeps the event order ("Sorted by competition"),
    // OK sorts by date and time, rows without a time last; unused slots and empty events left out.
    void timeSchedule_data()
    {
        Cases<bool>::columns();
        QTest::newRow("no") << false;
        QTest::newRow("en") << true;
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
        for (int e = 1; e < events.size(); ++e)
            s.eventNames[size_t(e)] = events[e];
        // event, entrant row, class of the setup, date, start time
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
            if (cls > 0) {
                QVERIFY(events::writeSetupField(s, record, events::SetupDate, date).ok());
                QVERIFY(events::writeSetupField(s, record, events::SetupStartTime, time).ok());
            }
        }
        const QString path = s.meetFile("Tidskjema.txt");
        meet.prompt.setNextAnswer(Answer::Cancel);
        QVERIFY(MakeTimeSchedule(s, path).ok());
        QByteArray all = readFile(path);
        meet.prompt.setNextAnswer(Answer::Ok); // overwrite
        meet.prompt.setNextAnswer(Answer::Ok); // sort
        QVERIFY(MakeTimeSchedule(s, path).ok());
        compareWithGolden(all + readFile(path),
                          QString("lists_sort_schedule_%1.txt").arg(english ? "en" : "no"));
        QCOMPARE(meet.prompt.unexpected(), 0);
    }
    // "Sorter": message 4 without the list; message 23 for another class's list, sorted all the same.
    void classListCommand()
    {
        TestMeet meet;
        const TextTables &t = meet.state.texts;
        events::GridContext context;
        context.selection = {"Finale_", 3, "100m", "_", 11, "Menn"};
        context.run = true;
        QVERIFY(!sortClassListCommand(meet.state, context, SortIncreasing));
        QCOMPARE(meet.prompt.messageTexts(), QStringList{t.message(4)});
        const QString path = meet.state.meetFile(events::ClassListName(t, context.selection, false));
        writeFile(path, readFile(dataFile("lists_sort_standard.in")));
        meet.prompt.clear();
        QVERIFY(sortClassListCommand(meet.state, context, SortIncreasing));
        QCOMPARE(meet.prompt.messageTexts(), QStringList{" 1" + t.message(15)});
        meet.prompt.clear();
        context.selection.className = "Kvinner";
        QVERIFY(!sortClassListCommand(meet.state, context, SortByHeat));
        QCOMPARE(meet.prompt.messageTexts(), (QStringList{t.message(23), t.message(14)}));
    }
};

QTEST_GUILESS_MAIN(TestListSort)
#include "TestListSort.moc"
