#include "events/GridTable.h"
#include "events/ResultHandling.h"

#include "CaseTable.h"

#include <QSqlQuery>

using namespace arenor;
using namespace arenor::events;

namespace {

// Rows "result|help 1|help 2;..." into columns and back.
void split(const QString &text, QStringList &results, QList<QStringList> &help)
{
    for (const QString &row : text.split(u';')) {
        const QStringList cells = row.split(u'|');
        results << cells[0];
        help.resize(cells.size() - 1);
        for (int n = 1; n < cells.size(); ++n)
            help[n - 1] << cells[n];
    }
}

QString join(const QStringList &results, const QList<QStringList> &help)
{
    QStringList rows;
    for (int r = 0; r < results.size(); ++r) {
        QStringList cells{results[r]};
        for (const QStringList &column : help)
            cells << column[r];
        rows << cells.join(u'|');
    }
    return rows.join(u';');
}

} // namespace

class TestResultHandling : public QObject {
    Q_OBJECT
private slots:
    void operations_data() { test::addCaseRows("result_handling.txt", 7); }
    void operations()
    {
        QFETCH(QStringList, cells); // kind, format, operation, a, b, before, after
        QStringList results;
        QList<QStringList> help;
        split(cells[5], results, help);
        const HandleRequest request{HandleOperation(cells[2].toInt()), cells[3].toInt(), cells[4].toInt()};
        QVERIFY(checkHelpColumns(request, int(help.size()), Language::English).isEmpty());
        handleColumns(request, test::kindOf(cells[0]), test::formatOf(cells[1]), results, help);
        QCOMPARE(join(results, help), cells[6]);
    }

    // Over a grid table: a wrong column number or a failing row changes nothing at all.
    void gridTableAllOrNothing()
    {
        test::TestMeet meet;
        meet.makeDatabase();
        db::Database &db = meet.state.database;
        const QString table = QStringLiteral("Klasse_Finale_Lengde_Menn");
        QList<db::FieldDef> fields;
        for (const GridColumn &c : gridColumnLayout(ListType::Standard, 3))
            fields << db::FieldDef{columnName(c, Language::Norwegian),
                                   isIntegerColumn(c.role) ? db::FieldType::Integer : db::FieldType::Text};
        QVERIFY(db.createTable(table, fields));
        QVERIFY(db.insertRows(table, {{0, 1, "A", "K", "x", "7.10", "-", "6.95", "-"},
                                      {0, 2, "B", "K", "x", "boom", "-", "-", "-"},
                                      {0, 3, "C", "K", "x", "-", "-", "-", "-"}}));
        auto column = [&](const QString &name) {
            QStringList texts;
            QSqlQuery q(QStringLiteral("SELECT \"%1\" FROM \"%2\" ORDER BY rowid").arg(name, table),
                        db.handle());
            while (q.next())
                texts << q.value(0).toString();
            return texts.join(u';');
        };
        GridContext context;
        context.helpCount = 3;

        for (auto [a, b] : {std::pair{0, 1}, {4, 1}, {7, 1}, {1, 4}}) {
            const Status s =
                handleGridTable(db, table, context, {HandleOperation::AddHelp, a, b}, Language::Norwegian);
            QVERIFY(!s);
            QVERIFY2(s.error().contains(QStringLiteral("1 til 3")), qPrintable(s.error()));
        }
        context.helpCount = 0;
        QVERIFY(!handleGridTable(db, table, context, {HandleOperation::ClearHelp, 1, 0}, Language::English));
        context.helpCount = 3;
        QCOMPARE(column("Resultat"), QStringLiteral("x;x;x"));

        if (db.onServer()) {
            QVERIFY(db.exec(QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                                           "IF NEW.\"Resultat\" = 'boom' THEN RAISE 'refused'; END IF; RETURN NEW; END $$")));
            QVERIFY(db.exec(QStringLiteral("CREATE TRIGGER t BEFORE UPDATE ON \"%1\" FOR EACH ROW EXECUTE FUNCTION refuse()")
                                .arg(table)));
        } else {
            QVERIFY(db.exec(QStringLiteral("CREATE TRIGGER t BEFORE UPDATE ON \"%1\" WHEN NEW.\"Resultat\" = 'boom' "
                                           "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                                .arg(table)));
        }
        QVERIFY(
            !handleGridTable(db, table, context, {HandleOperation::HelpToResult, 1, 0}, Language::English));
        QCOMPARE(column("Resultat"), QStringLiteral("x;x;x"));
        QCOMPARE(column("Hjelp-1"), QStringLiteral("7.10;boom;-"));

        QVERIFY(
            handleGridTable(db, table, context, {HandleOperation::HighestOfHelp, 0, 0}, Language::English));
        QCOMPARE(column("Resultat"), QStringLiteral("7.10;-;-"));

        // A grid made before the help-column count grew: the columns it has are used and those
        // it lacks named; attempts of a run the time format cannot read are named and left out.
        context.helpCount = 4;
        QString notice;
        QVERIFY(handleGridTable(db, table, context, {HandleOperation::LowestOfHelp, 0, 0},
                                Language::Norwegian, &notice));
        QCOMPARE(column("Resultat"), QStringLiteral("6.95;-;-"));
        QCOMPARE(notice,
                 QStringLiteral("Grinden mangler kolonnene Hjelp-4 (den ble laget før antallet "
                                "hjelpekolonner ble økt). Bare Hjelp-1, Hjelp-2, Hjelp-3 ble brukt."));
        QCOMPARE(
            handleGridTable(db, table, context, {HandleOperation::ResultToHelp, 4, 0}, Language::Norwegian)
                .error(),
            QStringLiteral("Grinden mangler kolonnene: Hjelp-4"));
        QVERIFY(
            handleGridTable(db, table, context, {HandleOperation::ClearResult, 0, 0}, Language::Norwegian));
        QCOMPARE(column("Resultat"), QStringLiteral("-;-;-"));
        context.run = true;
        QVERIFY(handleGridTable(db, table, context, {HandleOperation::AddHelp, 1, 3}, Language::English,
                                &notice));
        QVERIFY2(
            notice.startsWith(QStringLiteral("1 of the results cannot be read in the time format «Timer, "
                                             "minutt og sekund» and count as no result (start numbers 1).")),
            qPrintable(notice));
    }
};

QTEST_GUILESS_MAIN(TestResultHandling)
#include "TestResultHandling.moc"
