// The grid's result commands as an organiser meets them: results the event's time format
// cannot read are named, start times the format cannot hold are told, imported times are
// never lost between the grid and the time file.
#include "TestSupport.h"

#include "app/MainCommands.h"
#include "app/ui/MainWindow.h"
#include "base/TextFile.h"
#include "events/ui/GridWindow.h"
#include "events/ui/SortDialog.h"
#include "events/ui/StartSetupDialog.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

using namespace arenor;
using namespace arenor::test;

namespace {

struct GridMeet {
    TestMeet meet;
    AppState &state = meet.state;
    MainCommands commands{meet.state};
    MainWindow main{meet.state, commands};
    GridWindow *grid = nullptr;

    GridMeet(events::ListType type, const QList<QVariantList> &rows)
    {
        meet.makeDatabase(4, 1, 1);
        meet.prompt.clear();
        const QString table = QStringLiteral("Klasse_Finale_100m_Menn");
        QList<db::FieldDef> fields;
        for (const events::GridColumn &c : events::gridColumnLayout(type, 0))
            fields << db::FieldDef{events::columnName(c, Language::Norwegian), events::isIntegerColumn(c.role)
                                                                                   ? db::FieldType::Integer
                                                                                   : db::FieldType::Text};
        if (!state.database.createTable(table, fields) || !state.database.insertRows(table, rows))
            qFatal("no grid table");
        events::GridContext context;
        context.type = type;
        context.run = true; // every event starts in hours.minutes.seconds
        grid = openEventGrid(state, main, context, table, QStringLiteral("100M MENN FINALE"));
    }
    QString column(int field)
    {
        QStringList texts;
        for (int r = 0; r < grid->model().rowCount(); ++r)
            texts << grid->model().text(grid->tableRow(r), field);
        return texts.join(u';');
    }
};

} // namespace

class TestGridResults : public QObject {
    Q_OBJECT
private slots:
    // A 100 m typed in seconds while the event is in hours.minutes.seconds: every command
    // that reads the results says which it cannot read, and still does the rest.
    void unreadableResultsAreNamed()
    {
        GridMeet m(events::ListType::Standard, {{0, 1, "A", "K", "11.98", "-"},
                                                {0, 2, "B", "K", "12.50", "-"},
                                                {0, 3, "C", "K", "-", "-"},
                                                {0, 4, "D", "K", "12.70", "-"}});
        m.state.texts.loadMessages(Language::English);
        ScriptedPrompt &prompt = m.meet.prompt;
        const QString told =
            QStringLiteral("2 of the results cannot be read in the time format «Timer, minutt og sekund»");
        for (const auto &run : {std::function<bool()>([&] {
                                    m.grid->sortGrid(5, false);
                                    return true;
                                }),
                                std::function<bool()>([&] { return m.grid->differences(); }),
                                std::function<bool()>([&] { return m.grid->places(); })}) {
            prompt.clear();
            QVERIFY(run());
            QVERIFY2(prompt.lastMessage().startsWith(told), qPrintable(prompt.lastMessage()));
            QVERIFY(prompt.lastMessage().contains(QStringLiteral("(start numbers 1, 4)")));
        }
        QCOMPARE(m.column(1), QStringLiteral("2;1;3;4"));
        QCOMPARE(m.column(0), QStringLiteral("1;0;0;0"));
        QCOMPARE(m.column(5), QStringLiteral("00.00.00;-;-;-"));
        m.grid->closeGrid();
    }

    // Start times into the grid: the starts the format holds get theirs, the others are named.
    // Imported times: a grid that cannot store them leaves the time file as it was.
    void stepListTimes()
    {
        GridMeet m(events::ListType::Step, {{0, 1, "A", "K", "-", "-", "-", "-"},
                                            {0, 2, "B", "K", "-", "-", "-", "-"},
                                            {0, 3, "C", "K", "-", "-", "-", "-"}});
        StartSetupDialog *start = m.grid->openStartSetup();
        start->startTime()->setText(QStringLiteral("23.59.00"));
        emit start->confirmed();
        QCOMPARE(m.column(6), QStringLiteral("23.59.00;23.59.30;-"));
        QVERIFY2(m.meet.prompt.lastMessage().contains(QStringLiteral("startnummer 3:")),
                 qPrintable(m.meet.prompt.lastMessage()));

        QVERIFY(QDir().mkpath(m.state.meetDir));
        const QString out = m.state.meetFile(QStringLiteral("UtTider.txt"));
        QVERIFY(writeTextFile(out, {"===", "x", "===", "1-0001   0.59.00   2"}));
        const QByteArray before = readFile(out);
        QVERIFY(m.state.database.exec(QStringLiteral("CREATE TRIGGER t BEFORE UPDATE ON "
                                                     "\"Klasse_Finale_100m_Menn\" BEGIN "
                                                     "SELECT RAISE(ABORT, 'disk full'); END")));
        QVERIFY(!m.grid->importTimes());
        QCOMPARE(readFile(out), before);
        QVERIFY(m.state.database.exec(QStringLiteral("DROP TRIGGER t")));
        QVERIFY(m.grid->importTimes());
        QCOMPARE(m.column(6), QStringLiteral("23.59.00;0.59.00;-"));
        QVERIFY(!readFile(out).contains("0.59.00"));
        m.grid->closeGrid();
    }
};

QTEST_MAIN(TestGridResults)
#include "TestGridResults.moc"
