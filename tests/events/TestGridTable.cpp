#include "TestSupport.h"

#include "base/TextFile.h"
#include "events/EventSetup.h"
#include "events/GridImport.h"
#include "events/GridTable.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace arenor;
using namespace arenor::events;

namespace {

// The rows of a table: values joined by ",", rows by ";".
QString tableText(AppState &s, const QString &table, QStringList *fields = nullptr)
{
    QStringList names;
    std::vector<qint64> rowids;
    std::vector<QVariantList> rows;
    if (Status st = db::readTable(s.database, table, names, rowids, rows); !st)
        return st.error();
    if (fields)
        *fields = names;
    QStringList lines;
    for (const QVariantList &row : rows) {
        QStringList cells;
        for (const QVariant &v : row)
            cells << v.toString();
        lines << cells.join(u',');
    }
    return lines.join(u';');
}

// Competitors 1..n of class "Menn" (with stray blanks on some) entered in event 3 of the final,
// and relay teams 2 and 5 of that class.
void enter(AppState &s, int persons)
{
    s.eventNames[3] = QStringLiteral("800m");
    s.catalogs.classes[2] = QStringLiteral("Menn");
    s.catalogs.personCount = persons;
    s.catalogs.relayCount = 5;
    for (int p = 1; p <= persons; ++p) {
        PersonSlot &slot = s.catalogs.persons[size_t(p)];
        slot = {QString::number(p), QStringLiteral("N%1").arg(p), QStringLiteral("K%1").arg(p),
                p % 2 ? QStringLiteral(" Menn  ") : QStringLiteral("Menn"), 0};
        s.entryMatrix.set(s.currentRound, 3, p, p != 2);
    }
    for (int t = 1; t <= 5; ++t) {
        s.catalogs.relays[size_t(t)] = {QString::number(10 + t),
                                        QStringLiteral("C%1").arg(t),
                                        t == 4 ? QStringLiteral("Kvinner") : QStringLiteral("Menn"),
                                        {}};
        s.entryMatrix.set(s.currentRound, 3, persons + t, t == 2 || t >= 4);
    }
}

} // namespace

class TestGridTable : public QObject {
    Q_OBJECT
private slots:
    void layouts_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("rows");
        QTest::newRow("standard") << 0 << "Øvpl,Stnr,Navn,Klubb,Resultat,Hjelp-1,Hjelp-2,Differanse"
                                  << "0,1,N1,K1,-,-,-,-;0,3,N3,K3,-,-,-,-";
        QTest::newRow("heat, lanes cancelled")
            << 1 << "Heat,Bane,Htpl,Øvpl,Stnr,Navn,Klubb,Resultat,Hjelp-1,Hjelp-2,Differanse"
            << "0,0,0,0,1,N1,K1,-,-,-,-;0,0,0,0,3,N3,K3,-,-,-,-";
        QTest::newRow("relay: the team's slot is its lane")
            << 2 << "Bane,Øvpl,Stnr,Klubbnavn,Klasse,Resultat,Hjelp-1,Hjelp-2,Differanse"
            << "2,0,12,C2,Menn,-,-,-,-;5,0,15,C5,Menn,-,-,-,-";
        QTest::newRow("step") << 3 << "Øvpl,Stnr,Navn,Klubb,Resultat,Hjelp-1,Hjelp-2,Differanse,Ut,Inn"
                              << "0,1,N1,K1,-,-,-,-,-,-;0,3,N3,K3,-,-,-,-,-,-";
        QTest::newRow("multi: the standard layout")
            << 4 << "Øvpl,Stnr,Navn,Klubb,Resultat,Hjelp-1,Hjelp-2,Differanse"
            << "0,1,N1,K1,-,-,-,-;0,3,N3,K3,-,-,-,-";
    }
    void layouts()
    {
        QFETCH(int, type);
        QFETCH(QString, columns);
        QFETCH(QString, rows);
        test::TestMeet m;
        m.makeDatabase(3, 5, 2);
        AppState &s = m.state;
        enter(s, 3);
        s.options[OptAllMessages] = 1;
        m.prompt.setNextInput(std::nullopt); // the lane question, heat lists only
        std::mt19937 random(7);
        GridTableOutcome outcome;
        const GridTableRequest request{listSelection(s, 3, 2, QStringLiteral("_800_g_")),
                                       listTypeFromCode(type), 2, true};
        QVERIFY(CreateGridTable(s, request, outcome, random));
        QVERIFY(outcome.created);
        QCOMPARE(outcome.table, QStringLiteral("Kl-F0302"));
        QCOMPARE(outcome.heading, QStringLiteral("800M 800G MENN FINALE"));
        QStringList fields;
        QCOMPARE(tableText(s, outcome.table, &fields), rows);
        QCOMPARE(fields.join(u','), columns);
        QCOMPARE(m.prompt.lastMessage(), type == 2 ? QStringLiteral("Det er funnet 2 stafettlag")
                                                   : QStringLiteral("Det er funnet 2 deltakere"));
        QCOMPARE(m.prompt.unexpected(), 0);
    }

    // Heats and lanes drawn for 19 entrants in 8 lanes; test results; the overwrite question;
    // names from user text staying inside the meet directory.
    void heatsOverwriteAndNames()
    {
        test::TestMeet m;
        m.makeDatabase(20, 5, 2);
        AppState &s = m.state;
        enter(s, 20); // 19 entered
        s.options[OptTestMode] = 1;
        std::mt19937 random(11);
        GridTableOutcome outcome;
        const GridTableRequest heat{listSelection(s, 3, 2, QStringLiteral("_")), ListType::Heat, 0, true};
        m.prompt.setNextInput(QStringLiteral(" 8"));
        QVERIFY(CreateGridTable(s, heat, outcome, random));
        QCOMPARE(outcome.rows, 19);
        db::Recordset rs;
        QVERIFY(rs.open(s.database, outcome.table));
        QSet<int> numbers;
        for (int r = 0; r < 19; ++r) {
            rs.moveTo(r);
            QCOMPARE(rs.field(0).toInt(), r / 8 + 1); // heats 1 and 2 full, heat 3 lanes 1..3
            QCOMPARE(rs.field(1).toInt(), r % 8 + 1);
            numbers.insert(rs.field(4).toInt());
            QVERIFY(rs.text(7).contains(
                QRegularExpression(QStringLiteral("^(0[1-9]|1[0-5])\\.(0[1-9]|1[0-5])$"))));
        }
        QCOMPARE(numbers.size(), 19);
        QVERIFY(!numbers.contains(2));
        rs.moveFirst();
        rs.setField(7, QStringLiteral("12.34"));
        QVERIFY(rs.update());
        rs.close();

        // Enter (No) keeps the table with its results; Yes makes it afresh.
        m.prompt.setNextEnter();
        QVERIFY(CreateGridTable(s, heat, outcome, random));
        QVERIFY(!outcome.created);
        QCOMPARE(m.prompt.lastMessage(), QStringLiteral("Kl-F0302 eksisterer.Vil du overskrive den gamle!"));
        QVERIFY(tableText(s, outcome.table).contains(QStringLiteral("12.34")));
        m.prompt.setNextAnswer(Answer::Yes);
        m.prompt.setNextInput(std::nullopt);
        s.options[OptTestMode] = 0;
        QVERIFY(CreateGridTable(s, heat, outcome, random));
        QVERIFY(outcome.created);
        QVERIFY(!tableText(s, outcome.table).contains(QStringLiteral("12.34")));
        QVERIFY(tableText(s, outcome.table).startsWith(QStringLiteral("0,0,0,0,1,N1,K1,-,-;")));

        // Event names from user text: no path, and the table and list file keep one name.
        s.options[OptLongFileNames] = 1;
        for (const QString &name : {QStringLiteral("../x"), QStringLiteral("a\"b\\c")}) {
            s.eventNames[3] = name;
            const GridTableRequest request{listSelection(s, 3, 2, QStringLiteral("_")), ListType::Standard, 0,
                                           false};
            QVERIFY(CreateGridTable(s, request, outcome, random));
            QVERIFY(outcome.created);
            QVERIFY(!outcome.table.contains(u'/') && !outcome.table.contains(u'"') &&
                    !outcome.table.contains(u'\\'));
            QCOMPARE(s.database.recordCount(outcome.table), 19);
            const QString file = ClassListName(s.texts, request.selection, true);
            QCOMPARE(file, outcome.table + QStringLiteral(".txt"));
            QCOMPARE(QFileInfo(s.meetFile(file)).absolutePath(), QDir(s.meetDir).absolutePath());
        }
        QCOMPARE(m.prompt.unexpected(), 0);
    }

    // A switch of language hides no grid and no list: in English the Norwegian grid
    // "Klasse_Finale_800m_Menn" is asked about (No keeps it) instead of an empty one made beside
    // it, and its list is written and shown under its name, its heading recognised either way.
    void languageSwitch()
    {
        test::TestMeet m;
        m.makeDatabase(3, 5, 2);
        AppState &s = m.state;
        enter(s, 3);
        s.options[OptLongFileNames] = 1;
        std::mt19937 random(7);
        GridTableOutcome outcome;
        GridContext context{listSelection(s, 3, 2, QStringLiteral("_")), ListType::Standard, 0, true};
        const auto speak = [&](Language language) {
            s.texts.load(language);
            s.setRoundTag(3);
            context.selection = listSelection(s, 3, 2, QStringLiteral("_"));
        };
        QVERIFY(CreateGridTable(s, context, outcome, random) && makeClassList(s, context));
        const QString table = outcome.table;
        speak(Language::English);
        m.prompt.setNextAnswer(Answer::No);
        QVERIFY(CreateGridTable(s, context, outcome, random) && !outcome.created && outcome.table == table);
        const QString english = gridTableName(s.texts, context.selection, true);
        QVERIFY(english == QStringLiteral("Class_Final_800m_Menn") && !s.database.tableExists(english));
        m.prompt.setNextAnswer(Answer::Ok); // overwrite the list
        QVERIFY(makeClassList(s, context) && !QFile::exists(s.meetFile(english + ".txt")));
        QVERIFY(showClassList(s, context) && m.editor.launches.back().file == s.meetFile(table + ".txt"));
        speak(Language::Norwegian); // the list is now headed "800m Menn Final"
        QVERIFY(showClassList(s, context));
        QVERIFY(m.prompt.messageTexts().filter(QRegularExpression(QStringLiteral("klasse|class"))).isEmpty());
        QCOMPARE(m.prompt.unexpected(), 0);
    }

    // Numbers 17 and 017 both reach row 17, the later time winning; "XXX" and imported records
    // leave the file, a 10-character number and unmatched ones stay; with keep on all but
    // "XXX" stay, so a second import finds the times again.
    void importTimes()
    {
        test::TestMeet m;
        enter(m.state, 20);
        const QString path = m.state.meetFile(QStringLiteral("UtTider.txt"));
        for (bool keep : {false, true}) {
            QFile::remove(path);
            QVERIFY(QFile::copy(test::dataFile(QStringLiteral("gridimport_in.txt")), path));
            QStringList times{"-", "-", "-", "-"};
            int matched = 0;
            timing::TimeList list;
            QVERIFY(
                importFromTimesFile(path, {"17", "5", " 3", "-"}, times, m.state.catalogs, list, &matched));
            QVERIFY(rewriteImported(path, timing::Direction::Out, list, keep));
            QCOMPARE(times.join(u';'), QStringLiteral("12.00.05;12.01.00;12.03.00;-"));
            QCOMPARE(matched, 3);
            const QString written = QString::fromUtf8(test::readFile(path));
            if (!keep) {
                QCOMPARE(written, QString::fromUtf8(test::readFile(test::dataFile("gridimport_out.txt"))));
            } else {
                QVERIFY(written.contains(QStringLiteral("017       Ok, N17,  Menn ")));
                QVERIFY(!written.contains(QStringLiteral("XXX")));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestGridTable)
#include "TestGridTable.moc"
