#include "../events/CaseTable.h"

#include "base/TextFile.h"
#include "lists/ResultLists.h"

#include <QRegularExpression>
#include <QTest>

using namespace arenor;
using namespace arenor::test;
using namespace arenor::lists;

namespace {

// The meet of tests/data/lists_meet.txt: event 3 "100m", class 2 "Menn" with entrants of
// another class, an empty slot ("- -"), a competitor not entered, overlong names, relay teams.
void fillMeet(AppState &s)
{
    s.roundTag = QStringLiteral("Finale_");
    s.eventNames[3] = QStringLiteral("100m");
    s.catalogs.classes[2] = QStringLiteral("Menn");
    for (const QString &line :
         readTextLines(dataFile("lists_meet.txt")).filter(QRegularExpression("^[PR]"))) {
        const QStringList f = line.split(u'|');
        Catalogs &c = s.catalogs;
        if (f[0] == u"P")
            c.persons[size_t(++c.personCount)] = {f[1], f[2], f[3], f[4], 0};
        else
            c.relays[size_t(++c.relayCount)] = {f[1], f[2], f[3], {}};
        s.entryMatrix.set(s.currentRound, 3, c.personCount + c.relayCount, f.last() == u"1");
    }
    writeFile(s.meetFile("Info.txt"), readFile(dataFile("lists_info.txt")));
}

events::GridContext context(const AppState &s, int type)
{
    return {.selection = {s.roundTag, 3, s.eventNames[3], "_600_g_", 2, s.catalogs.classes[2]},
            .type = events::listTypeFromCode(type),
            .startDate = "14.06.2026",
            .startTime = "12.30"};
}

} // namespace

class TestResultLists : public QObject {
    Q_OBJECT
private slots:
    // Each case of tests/data/lists_cases.txt makes one list; the list and the messages it gave
    // match tests/data/lists_<case>.txt byte for byte. Event lists in each layout and language,
    // separators, date line and test mode on and off, lanes drawn; joins of the meet's and an
    // event's lists leaving out other rounds, events (also one whose name differs only by case),
    // files and the output itself, taking lists under either language's name (the message
    // language's first), and leaving the output as it was when nothing is found.
    void lists_data() { addCaseRows("lists_cases.txt", 4); }
    void lists()
    {
        QFETCH(QStringList, cells); // options, list, lane answer, files made first
        TestMeet m;
        AppState &s = m.state;
        s.texts.load(cells[0].contains("en") ? Language::English : Language::Norwegian);
        for (const QString &option : cells[0].split(u' ', Qt::SkipEmptyParts))
            if (option != u"en")
                s.options[size_t(option.toInt())] = 1;
        s.options[OptAllMessages] = true;
        fillMeet(s);
        if (!cells[2].isEmpty())
            m.prompt.setNextInput(cells[2] == u"-" ? std::nullopt : std::optional<QString>(cells[2]));
        for (const QString &file : cells[3].split(u',', Qt::SkipEmptyParts)) {
            QStringList lines;
            for (int i = 1; i <= file.section(u'=', 1).toInt(); ++i)
                lines << file.section(u'=', 0, 0) + u' ' + QString::number(i);
            QVERIFY(writeTextFile(s.meetFile(file.section(u'=', 0, 0)), lines));
        }
        const QString list = cells[1].section(u' ', 0, 0), path = s.meetFile(cells[1].section(u' ', 1));
        std::mt19937 random(7);
        MadeLists documents(s);
        const Status made = list == u"meet" ? MakeMeetResultsList(s, path)
                            : list == u"class"
                                ? MakeEventClassList(s, path, context(s, 0).selection)
                                : MakeEventList(s, path, eventListRequest(context(s, list.toInt())), random);
        QVERIFY(m.prompt.unexpected() == 0 && m.prompt.pendingAnswers() == 0);
        const QByteArray failure = made ? QByteArray() : "\n--- failure\n" + made.error().toUtf8();
        // A list made is told with its document; a join that finds nothing tells nothing.
        QCOMPARE(documents.paths, made ? QStringList{path} : QStringList());
        if (made)
            QVERIFY(!checkedDocument(documents.documents.first(), path).isEmpty());
        compareWithGolden(readFile(path) + "--- messages\n" + m.prompt.messageTexts().join(u'\n').toUtf8() +
                              failure,
                          QStringLiteral("lists_%1.txt").arg(QTest::currentDataTag()));
    }

    // An event list joined from a standard and a relay class list: its document has both
    // tables, each heading with its rows (a heat shift or relay layout read from the heading).
    void joinedDocument()
    {
        TestMeet m;
        AppState &s = m.state;
        fillMeet(s);
        std::mt19937 random(7);
        QVERIFY(MakeEventList(s, s.meetFile("Kl-F0302.txt"), eventListRequest(context(s, 0)), random));
        QVERIFY(MakeEventList(s, s.meetFile("Kl-F0309.txt"), eventListRequest(context(s, 2)), random));
        MadeLists documents(s);
        const QString path = s.meetFile("Ov-F03.txt");
        QVERIFY(MakeEventClassList(s, path, context(s, 0).selection));
        QCOMPARE(documents.paths, QStringList{path});
        QCOMPARE(checkedDocument(documents.documents.value(0), path), "T H4 B S - C = R3 = B S - C = R2 =");
        // The relay row's cells stand under their headings, read without separators.
        QCOMPARE(documents.documents[0].lines.value(20).cells.value(2).text, "Vadsø Atletklubb og Omegn");
    }

    // The event setup's commands: Enter (Cancel) at message 8 keeps the old list; "&Show" tells
    // message 3 until the event list is made.
    void commands()
    {
        TestMeet m;
        fillMeet(m.state);
        const events::GridContext c = context(m.state, 0);
        const QString classList = m.state.meetFile(events::ClassListName(m.state.texts, c.selection, false));
        writeFile(classList, "old");
        m.prompt.setNextEnter();
        QVERIFY(!makeEventListCommand(m.state, c) && readFile(classList) == "old");
        QCOMPARE(m.prompt.lastMessage(), m.state.texts.message(8));
        QVERIFY(!showEventListCommand(m.state, c) && m.prompt.lastMessage() == m.state.texts.message(3));
    }
};

QTEST_GUILESS_MAIN(TestResultLists)
#include "TestResultLists.moc"
