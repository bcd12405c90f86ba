#include "TestSupport.h"
#include "base/TextFile.h"
#include "lists/ListSort.h"

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
};

QTEST_GUILESS_MAIN(TestListSort)
#include "TestListSort.moc"
