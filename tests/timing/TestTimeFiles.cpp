#include "TestSupport.h"

#include "base/TextFile.h"
#include "timing/TimingSession.h"

#include <QTest>

using namespace arenor;
using namespace arenor::timing;
using namespace arenor::test;

namespace {

const QString kRuler(42, u'=');

QByteArray crlf(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

// The three records of the golden files.
TimeList sampleList()
{
    TimeList l;
    l.records = {{"1-0001", "12.00.00", "17", ""},
                 {"3-0002", "12.00.01", "", ""},
                 {"0042", "10.00.00", "42", "Ok importert"}};
    return l;
}

struct Meet {
    QTemporaryDir dir;
    TimingSession session;
    ScriptedPrompt prompt;
    TextTables texts;
    Meet()
    {
        session.setMeetDir(dir.path() + u'/');
        for (Direction d : {Direction::Out, Direction::In}) {
            createEmptyTimesFile(session.path(d), d);
            session.readTimes(d);
        }
    }
    void put(Direction d, const QStringList &records)
    {
        writeFile(session.path(d),
                  crlf(QStringList{kRuler, QStringLiteral(" TIDFIL UT "), kRuler} + records));
    }
};

} // namespace

class TestTimeFiles : public QObject {
    Q_OBJECT
private slots:
    void recordLineColumns_data()
    {
        Cases<TimeRecord, QString>::columns();
        // The golden files hold the plain layouts.
        QTest::newRow("characters beyond 16 bits")
            << TimeRecord{"1-0001ø🏃", "12.00.00", "🏃", "🏃"} << "1-0001ø🏃 12.00.00  🏃         🏃";
        QTest::newRow("auto number") << TimeRecord{"1-0002", "56.78", " 2", ""} << "1-0002   56.78      2";
        QTest::newRow("no number") << TimeRecord{"2-0010", "34.56.78", "", ""} << "2-0010   34.56.78  ";
    }
    void recordLineColumns()
    {
        auto [record, line] = Cases<TimeRecord, QString>::fetch();
        QCOMPARE(recordLine(record), line);
        TimeRecord back = parseRecordLine(line);
        record.number = record.number.trimmed();
        QCOMPARE(back, record);
    }

    // Each writer keeps its own title line; every header reads the same.
    void goldenFiles_data()
    {
        Cases<int, int, QString>::columns();
        const int empty = int(TitleStyle::Empty), registration = int(TitleStyle::Registration),
                  correction = int(TitleStyle::Correction);
        // clang-format off
        for (auto [d, style, golden] : {std::tuple{0, empty, "UtTider_empty.txt"}, {1, empty, "InnTider_empty.txt"},
             {0, registration, "times_registered_out.txt"}, {1, registration, "times_registered_in.txt"},
             {0, correction, "times_corrected_out.txt"}, {1, correction, "times_corrected_in.txt"},
             {0, int(TitleStyle::GridImport), "times_gridimport_out.txt"}})
            QTest::newRow(golden) << d << style << QString::fromLatin1(golden);
        // clang-format on
    }
    void goldenFiles()
    {
        auto [direction, style, golden] = Cases<int, int, QString>::fetch();
        const Direction d = Direction(direction);
        const TimeList sample = style == int(TitleStyle::Empty) ? TimeList() : sampleList();
        QTemporaryDir dir;
        const QString path = dir.filePath(timesFileName(d));
        QVERIFY((style == int(TitleStyle::Empty)
                     ? createEmptyTimesFile(path, d)
                     : rewriteTimesFile(path, sample, timesFileTitle(d, TitleStyle(style))))
                    .ok());
        QCOMPARE(readFile(path), readFile(dataFile(golden)));
        TimeList list;
        ChannelCounters counters;
        QVERIFY(readTimesFile(dataFile(golden), list, counters).ok());
        QCOMPARE(list.records, sample.records);
        QCOMPARE(counters.value(3), sample.count() ? 2 : 0);
        if (sample.count())
            QCOMPARE(displayLine(list.records[2]),
                     QStringLiteral("0042        10.00.00        42        Ok importert"));
    }

    // Lines 1-3 are the header whatever they hold, and every record after them survives a
    // rewrite (any bytes at all are the time file fuzzer's).
    void anyThreeLinesAreTheHeader_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("empty") << QByteArray("\r\n\r\n\r\n");
        QTest::newRow("10,000 characters") << QByteArray(10000, 'x') + "\r\n\r\n\r\n";
        QTest::newRow("records") << QByteArray(
            "1-0004   12.00.00  7\r\n1-0009   12.00.01  8\r\n2-0001   12.00.02\r\n");
    }
    void anyThreeLinesAreTheHeader()
    {
        QFETCH(QByteArray, header);
        const QStringList body{"1-0002   12.00.00  5", "2-0003   12.00.01  ",
                               "0042     10.00.00  42        Ok"};
        QTemporaryDir dir;
        const QString path = dir.filePath(timesFileName(Direction::Out));
        writeFile(path, header + crlf(body));
        TimeList list;
        ChannelCounters counters;
        QVERIFY(readTimesFile(path, list, counters).ok());
        QCOMPARE(list.count(), 3);
        QCOMPARE(list.records[2], (TimeRecord{"0042", "10.00.00", "42", "Ok"}));
        QCOMPARE(counters.value(1), 2);
        QCOMPARE(counters.value(2), 3);
        const QString title = timesFileTitle(Direction::Out, TitleStyle::Registration);
        QVERIFY(rewriteTimesFile(path, list, title).ok());
        QCOMPARE(readFile(path), crlf(QStringList{kRuler, title, kRuler} + body));
    }

    void countersComeFromBothFilesAndAreShared()
    {
        Meet m;
        m.put(Direction::In, {"3-0007   12.00.00  5"});
        m.put(Direction::Out, {"3-0012   11.00.00  5", "0042     10.00.00  42", "1234     10.00.00  1234"});
        QVERIFY(m.session.readTimes(Direction::In).ok());
        QVERIFY(m.session.readTimes(Direction::Out).ok());
        QCOMPARE(m.session.counters().value(3), 12);
        // Bare start numbers of planned start times belong to no channel.
        QCOMPARE(m.session.counters().value(1), 0);
        QCOMPARE(m.session.counters().value(4), 0);
        QCOMPARE(m.session.registerTime(Direction::In, 3, "12.01.00", false).record.index,
                 QStringLiteral("3-0013"));
        QCOMPARE(m.session.registerTime(Direction::Out, 3, "12.02.00", false).record.index,
                 QStringLiteral("3-0014"));
        // Reading a file with lower numbers (or none) never lowers a counter.
        m.put(Direction::In, {});
        QVERIFY(m.session.readTimes(Direction::In).ok());
        QCOMPARE(m.session.list(Direction::In).count(), 0);
        QCOMPARE(m.session.counters().value(3), 14);
    }

    void badInputReadsWhatFits_data()
    {
        Cases<QByteArray, int, QString, QString, int>::columns();
        const QByteArray header = crlf({kRuler, " TIDFIL UT ", kRuler});
        auto row = [](const char *name, const QByteArray &bytes, int count, const char *index,
                      const char *number,
                      int counter1) { QTest::newRow(name) << bytes << count << index << number << counter1; };
        row("long number", header + "1-0003   12.00.00  123456789012345" + QByteArray(200, 'x') + "\r\n", 1,
            "1-0003", "123456789", 3);
        row("long index", header + "1-00034567 12.00.00\r\n", 1, "1-000345", "0", 345);
        row("negative index", header + "-1-0005  12.00.00  4\r\n", 1, "-1-0005", "4", 0);
        row("LF only", QByteArray(header).replace("\r", "") + "1-0004   12.00.00  7\n1-0005   12.00.01  8\n",
            2, "1-0004", "7", 5);
        row("empty file", QByteArray(), 0, "", "", 0);
        row("empty record line", header + "\r\n1-0002   12.00.00\r\n", 2, "", "", 2);
    }
    void badInputReadsWhatFits()
    {
        auto [bytes, count, firstIndex, firstNumber, counter1] =
            Cases<QByteArray, int, QString, QString, int>::fetch();
        Meet m;
        writeFile(m.session.path(Direction::Out), bytes);
        QVERIFY(m.session.readTimes(Direction::Out).ok());
        const TimeList &l = m.session.list(Direction::Out);
        QCOMPARE(l.count(), count);
        if (count > 0) {
            QCOMPARE(l.records[0].index, firstIndex);
            QCOMPARE(l.records[0].number, firstNumber);
        }
        QCOMPARE(m.session.counters().value(1), counter1);
    }

    void moreThanTheListHoldsStaysInTheFile()
    {
        Meet m;
        QStringList records;
        for (int i = 1; i <= kMaxTimes + 5; ++i)
            records << recordLine({registrationIndex(1, i), "12.00.00", QString::number(i), ""});
        m.put(Direction::Out, records);
        QVERIFY(m.session.readTimes(Direction::Out).ok());
        TimeList &l = m.session.list(Direction::Out);
        QCOMPARE(l.count(), kMaxTimes);
        QCOMPARE(l.overflow.size(), 5);
        QCOMPARE(m.session.counters().value(1), kMaxTimes + 5);

        const QByteArray before = readFile(m.session.path(Direction::Out));
        const RegisterResult r = m.session.registerTime(Direction::Out, 2, "12.30.00", false);
        QCOMPARE(r.outcome, RegisterResult::ListFull);
        QCOMPARE(l.count(), kMaxTimes);
        QCOMPARE(m.session.counters().value(2), 0);
        QCOMPARE(readFile(m.session.path(Direction::Out)), before);

        // Correcting a number rewrites the file with every record, those past the list too.
        m.session.setNumberBox(Direction::Out, "99");
        m.prompt.setNextAnswer(Answer::Yes); // replace its number
        QVERIFY(m.session.changeNumbers(Direction::Out, {0}, m.prompt, m.texts).ok());
        const QStringList lines = splitLines(QString::fromUtf8(readFile(m.session.path(Direction::Out))));
        QCOMPARE(lines.size(), 3 + kMaxTimes + 5);
        QCOMPARE(lines.last(), records.last());
        QCOMPARE(parseRecordLine(lines[3]).number, QStringLiteral("99"));
    }

    void registrationRewritesTheFile_data()
    {
        Cases<int, bool, QString, QString, QString>::columns();
        auto row = [](const char *name, int d, bool autoNumber, const char *box, const char *stored,
                      const char *after) {
            QTest::newRow(name) << d << autoNumber << box << stored << after;
        };
        row("out, typed", 0, false, "17", "17", "");
        row("out, auto from empty", 0, true, "", "1", " 2");
        row("out, auto from 41", 0, true, "41", "41", " 42");
        row("out, auto from XXX", 0, true, "XXX", "1", " 2");
        row("in, auto ignored", 1, true, "8", "8", "");
    }
    void registrationRewritesTheFile()
    {
        auto [direction, autoNumber, box, stored, boxAfter] =
            Cases<int, bool, QString, QString, QString>::fetch();
        Meet m;
        const Direction d = Direction(direction);
        m.session.setNumberBox(d, box);
        const RegisterResult r = m.session.registerTime(d, 1, "12.34.56", autoNumber);
        QCOMPARE(r.outcome, RegisterResult::Stored);
        QVERIFY(r.fileStatus.ok());
        QCOMPARE(r.record, (TimeRecord{"1-0001", "12.34.56", stored, ""}));
        QCOMPARE(m.session.numberBox(d), boxAfter);
        QCOMPARE(m.session.lastRegistered(), QStringLiteral("12.34.56"));
        QCOMPARE(readFile(m.session.path(d)),
                 crlf(QStringList{kRuler, timesFileTitle(d, TitleStyle::Registration), kRuler,
                                  recordLine(r.record)}));
        QCOMPARE(m.session.registerTime(d, 7, "12.34.57", false).outcome, RegisterResult::BadChannel);
        // Lists not read (yet, or their files unreadable) take nothing and write nothing.
        m.session.markUnread();
        QCOMPARE(m.session.registerTime(d, 1, "12.34.58", false).outcome, RegisterResult::NotRead);
        QVERIFY(!m.session.rewrite(d, TitleStyle::Correction).ok());
        QCOMPARE(m.session.list(d).count(), 1);
    }

    // Three questions; any answer but Yes (Enter too) changes nothing. Yes three times empties
    // the list and its file and restarts the shared counters, so out-times start at 0001 too.
    void reset_data()
    {
        QTest::addColumn<int>("yeses");
        QTest::newRow("enter at the first") << 0;
        QTest::newRow("enter at the third") << 2;
        QTest::newRow("yes to all") << 3;
    }
    void reset()
    {
        QFETCH(int, yeses);
        Meet m;
        m.put(Direction::Out, {"3-0012   11.00.00  5"});
        m.put(Direction::In, {"3-0007   12.00.00  5", "1-0003   12.00.00  5"});
        m.session.readTimes(Direction::In);
        m.session.readTimes(Direction::Out);
        const QByteArray outBefore = readFile(m.session.path(Direction::Out));
        const QByteArray inBefore = readFile(m.session.path(Direction::In));
        for (int i = 0; i < yeses; ++i)
            m.prompt.setNextAnswer(Answer::Yes);
        m.prompt.setNextEnter();
        QCOMPARE(m.session.resetTimes(Direction::In, m.prompt, m.texts), yeses == 3);
        QCOMPARE(int(m.prompt.asked().size()), std::min(yeses + 1, 3));
        QCOMPARE(m.prompt.asked()[0].message.text, m.texts.message(255));
        QCOMPARE(readFile(m.session.path(Direction::Out)), outBefore);
        QCOMPARE(m.session.list(Direction::Out).count(), 1);
        if (yeses < 3) {
            QCOMPARE(readFile(m.session.path(Direction::In)), inBefore);
            QCOMPARE(m.session.counters().value(3), 12);
            return;
        }
        QCOMPARE(m.session.list(Direction::In).count(), 0);
        QCOMPARE(readFile(m.session.path(Direction::In)), readFile(dataFile("InnTider_empty.txt")));
        QCOMPARE(m.session.registerTime(Direction::Out, 3, "13.00.00", false).record.index,
                 QStringLiteral("3-0001"));
    }

    // The question's event loop may register times meanwhile: the list grows and moves, and the
    // correction still goes to the records chosen, the new times keep their own empty numbers.
    void correctionAsksPerNumberedRecord()
    {
        struct RegisteringPrompt : ScriptedPrompt {
            TimingSession *session = nullptr;
            Answer message(const MessageRequest &request) override
            {
                for (int i = 0; i < 50; ++i)
                    session->registerTime(Direction::Out, 5, "12.59.00", false);
                return ScriptedPrompt::message(request);
            }
        } prompt;
        Meet m;
        prompt.session = &m.session;
        m.put(Direction::Out, {"1-0001   12.00.00  5", "1-0002   12.00.01", "1-0003   12.00.02  7        Ok",
                               "1-0004   12.00.03  9"});
        m.session.readTimes(Direction::Out);
        m.session.setNumberBox(Direction::Out, "33");
        prompt.setNextEnter();             // record 1 keeps 5
        prompt.setNextAnswer(Answer::Yes); // record 3 becomes 33
        QVERIFY(m.session.changeNumbers(Direction::Out, {2, 1, 0}, prompt, m.texts).ok());
        QCOMPARE(prompt.asked().size(), size_t(2));
        QCOMPARE(prompt.asked()[0].message.text, m.texts.message(2));
        // Records 2 and 3 carry 33, the other two keep theirs, the new times have no number.
        QCOMPARE(m.session.list(Direction::Out).count(), 4 + 100);
        QCOMPARE(m.session.numberBox(Direction::Out), QString());
        compareWithGolden(readFile(m.session.path(Direction::Out)),
                          QStringLiteral("times_corrected_during_question.txt"));
    }

    void keypadActsOnTheShownTabOnly_data()
    {
        Cases<int, QList<int>, QString>::columns();
        QTest::newRow("digits on out") << 0 << QList<int>{1, 2, 0} << "7120";
        QTest::newRow("clear on out") << 0 << QList<int>{10} << "";
        QTest::newRow("cross on in") << 1 << QList<int>{11} << "XXX";
        QTest::newRow("never wider than the column")
            << 0 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9} << "712345678";
    }
    void keypadActsOnTheShownTabOnly()
    {
        auto [tab, keys, target] = Cases<int, QList<int>, QString>::fetch();
        TimingSession s;
        s.setNumberBox(Direction::Out, "7");
        s.setNumberBox(Direction::In, "8");
        for (int k : keys)
            s.keypad(tab, k);
        const Direction hit = TimingSession::keypadTarget(tab);
        const Direction other = hit == Direction::Out ? Direction::In : Direction::Out;
        QCOMPARE(s.numberBox(hit), target);
        QCOMPARE(s.numberBox(other), other == Direction::Out ? QStringLiteral("7") : QStringLiteral("8"));
    }

    // Beside the number box: the competitor of that start number, or nothing.
    void competitorBesideTheNumber()
    {
        auto c = std::make_unique<Catalogs>();
        c->personCount = 15;
        c->persons[2] = {" 2", "Berg Kari", "IL Tyrving", "Kvinner_Senior", 0};
        QCOMPARE(competitorLabels(*c, QStringLiteral("2")),
                 (std::pair{QStringLiteral("Berg Kari"), QStringLiteral("IL Tyrving, Kvinner_Senior")}));
        for (const char *none : {"0", "16", "XXX"})
            QCOMPARE(competitorLabels(*c, QString::fromLatin1(none)), (std::pair{QString(), QString()}));
    }
};

QTEST_GUILESS_MAIN(TestTimeFiles)
#include "TestTimeFiles.moc"
