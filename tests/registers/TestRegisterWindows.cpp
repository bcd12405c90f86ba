// The register windows wired to a meet, used as an organiser would: what typing, picking and
// clicking leave in the tables and catalogues (one golden dump), the record number rule in
// form and grid, and when the record being edited is written.
#include "RegistersMeet.h"

#include "app/ui/Application.h"
#include "registers/Clubs.h"
#include "registers/Competitors.h"
#include "registers/Points.h"
#include "registers/Relay.h"
#include "registers/ui/RegisterGrid.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableView>
#include <map>

using namespace arenor;
using namespace arenor::test;
using namespace arenor::registers;
using schema::Table;

namespace {

// Every record of a table, fields joined by "|".
void dumpTable(QStringList &out, AppState &s, Table table)
{
    db::Recordset rs;
    QVERIFY(rs.open(s.database, schema::tableName(s, table)).ok());
    out << QStringLiteral("== ") + schema::tableName(s, table);
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        QStringList fields;
        for (int f = 0; f < rs.fieldCount(); ++f)
            fields << rs.text(f);
        out << fields.join(u'|');
    }
}

QByteArray dump(AppState &s)
{
    QStringList out;
    for (Table t : {Table::Personer, Table::Klubber, Table::Stafettlag, Table::Klasser, Table::Poengoppsett})
        dumpTable(out, s, t);
    const Catalogs &c = s.catalogs;
    out << QStringLiteral("== catalogues");
    for (int k = 1; k <= c.personCount; ++k) {
        const PersonSlot &p = c.persons[size_t(k)];
        out << QStringList{p.startNo, p.name, p.club, p.cls, QString::number(p.contingentCode)}.join(u'|');
    }
    for (int k = 1; k <= c.clubCount; ++k)
        out << c.clubs[size_t(k)];
    for (int k = 1; k <= c.relayCount; ++k) {
        const RelaySlot &r = c.relays[size_t(k)];
        out << QStringList{r.teamNo, r.club, r.cls}.join(u'|') + u'|' +
                   QStringList(r.runner.begin(), r.runner.end()).join(u'|');
    }
    out << s.classLines.join(u'|');
    return out.join(u'\n').toUtf8() + '\n';
}

} // namespace

class TestRegisterWindows : public QObject {
    Q_OBJECT
private slots:
    // One sitting at every register window; the tables and catalogues it leaves are golden.
    void organiserSessionLeavesTheGoldenTables()
    {
        RegistersMeet m;
        CompetitorsWindow &c = m.competitors;
        m.child(&c, "surnameLineEdit")->setText(QStringLiteral("Robert'); DROP TABLE \"Personer\";--"));
        m.child(&c, "firstNameLineEdit")->setText(QStringLiteral("Per\r\nOla")); // one line when stored
        m.child<QPlainTextEdit>(&c, "otherPlainTextEdit")->setPlainText(QStringLiteral("linje 1\nlinje 2"));
        m.child<QComboBox>(&c, "clubComboBox")->setEditText(QStringLiteral("Ås\nIL"));
        QTest::mouseClick(m.child<QRadioButton>(&c, "threeQuartersRadioButton"), Qt::LeftButton);
        m.child(&c, "moverLineEdit")->setText(QStringLiteral("3"));
        m.click(&c, "wipePushButton"); // all but the start number and the code
        QCOMPARE(m.stored(Table::Personer, 3, PersonFirstName), QStringLiteral("Forn3")); // not yet left
        m.child(&c, "moverLineEdit")->clear();
        QTest::keyClicks(m.child(&c, "moverLineEdit"), QStringLiteral("5"));
        m.child(&c, "contingentLineEdit")->setText(QStringLiteral(" 4"));
        QVERIFY(m.child<QRadioButton>(&c, "quarterRadioButton")->isChecked());
        m.child(&c, "contingentLineEdit")->setText(QStringLiteral("7"));
        for (QRadioButton *r : c.findChildren<QRadioButton *>())
            QVERIFY(!r->isChecked());

        ClubsWindow &k = m.clubs;
        QVERIFY(k.form().next());
        m.child(&k, "clubNameLineEdit")->setText(QStringLiteral("Ås IL"));
        auto *club = m.child<RefillingComboBox>(&c, "clubComboBox");
        club->showPopup(); // the renamed club is offered; the text shown stays
        QCOMPARE(club->itemText(1), QStringLiteral("Ås IL"));
        QCOMPARE(club->currentText(), QStringLiteral("Klubb 1"));
        club->hidePopup();

        ClassesWindow &cl = m.classes;
        cl.list()->setCurrentRow(2);
        m.child(&cl, "classNameLineEdit")->setText(QStringLiteral("Mini"));
        m.click(&cl, "confirmPushButton");
        QCOMPARE(cl.list()->item(2)->text(), QStringLiteral("_")); // not before the list is updated
        for (int i = 0; i < 3; ++i)
            m.click(&cl, "updateListPushButton");
        QCOMPARE(cl.list()->count(), 40);

        RelayWindow &r = m.relays;
        r.setFieldText(RelayClub, QStringLiteral("Klubb 1"));
        auto *cls = m.child<RefillingComboBox>(&r, "classComboBox");
        cls->refill();
        QCOMPARE(cls->count(), 1); // the class of Klubb 1's named competitors
        cls->setCurrentIndex(0);
        auto *runner = m.child<RefillingComboBox>(&r, "runner2ComboBox");
        runner->refill();
        QCOMPARE(runner->count(), 4); // Klubb 1 now: 2, 4, 5 and 6
        runner->setCurrentIndex(1);
        QVERIFY(r.form().next());
        r.setFieldText(RelayRunner1, QStringLiteral("x"));
        m.click(&r, "wipePushButton");

        PointsWindow &p = m.points;
        QVERIFY(p.form().setCurrentRow(2));
        m.click(&p, "wipePushButton");
        QVERIFY(p.form().next());
        p.placeEdit(1)->setText(QStringLiteral("100"));
        p.placeEdit(2)->setText(QStringLiteral("ti"));

        // The grid: an edit still open in a cell when the grid closes is written.
        m.click(&c, "gridPushButton");
        auto *grid = m.main.findChild<RegisterGrid *>();
        QCOMPARE(grid->windowModality(), Qt::ApplicationModal);
        for (int i = 0; i < RegisterGrid::CommandCount; ++i)
            QCOMPARE(grid->commandButton(i)->isEnabled(), i == RegisterGrid::Close);
        const QModelIndex cell = grid->view()->model()->index(3, PersonSurname);
        grid->view()->setCurrentIndex(cell);
        grid->view()->edit(cell);
        grid->view()->viewport()->findChild<QLineEdit *>()->setText(QStringLiteral("Rutenett\nNavn"));
        QTest::mouseClick(grid->commandButton(RegisterGrid::Close), Qt::LeftButton);
        for (RegisterWindowBase *w : m.all())
            QVERIFY(w->form().saveShown());
        QCOMPARE(pointsForPlace(m.state, 1), 100); // the setup shown counts, as typed
        QCOMPARE(m.prompt.asked().size(), size_t(0));
        QCOMPARE(dump(m.state), readFile(dataFile("registers_session.txt")));
    }

    // Record k holds number k: another number is refused with a message and the stored one
    // kept, in the form and in the grid; the record's own place repairs a misnumbered record.
    void numberIsTheRecordsPlace_data()
    {
        // window: 0 competitors, 1 clubs, 2 relay teams
        // stored: record 2's number before
        Cases<int, bool, QString, QString, bool>::columns();
        // clang-format off
        for (auto [name, window, grid, stored, typed, taken] : {
             std::tuple{"another competitor's slot", 0, false, " 2", "3", false}, {"a bib number", 0, false, " 2", "101", false},
             {"number and text", 0, false, " 2", "2abc", false}, {"its own place", 0, false, " 2", "02", true},
             {"repaired", 0, false, " 3", "2", true}, {"left misnumbered", 0, false, " 3", " 3", true},
             {"club beyond", 1, false, " 2", "51", false}, {"relay team 1", 2, false, " 2", "1", false},
             {"grid: slot", 0, true, " 2", "3", false}, {"grid: club text", 1, true, " 2", "x", false},
             {"grid: repaired", 2, true, " 4", "2", true}})
            QTest::newRow(name) << window << grid << QString::fromLatin1(stored) << QString::fromLatin1(typed) << taken;
        // clang-format on
        QTest::newRow("a long paste") << 0 << false << QStringLiteral(" 2") << QString(500, u'9') << false;
    }
    void numberIsTheRecordsPlace()
    {
        auto [window, grid, stored, typed, taken] = Cases<int, bool, QString, QString, bool>::fetch();
        RegistersMeet m;
        const Table table = std::array{Table::Personer, Table::Klubber, Table::Stafettlag}[size_t(window)];
        RegisterWindowBase &w =
            *std::array<RegisterWindowBase *, 3>{&m.competitors, &m.clubs, &m.relays}[size_t(window)];
        setStoredText(m.state, schema::tableName(m.state, table), 2, 0, stored);
        w.form().refresh();
        const Catalogs before = m.state.catalogs;
        if (grid) {
            m.click(&w, "gridPushButton");
            auto *g = m.main.findChild<RegisterGrid *>();
            QCOMPARE(g->model().setData(g->model().index(1, 0), typed), taken);
            g->closeGrid();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        } else {
            QVERIFY(w.form().setCurrentRow(1));
            w.setFieldText(0, typed);
            w.setFieldText(1, QStringLiteral("Ny"));
            QVERIFY(w.form().next());
            QCOMPARE(m.stored(table, 2, 1), QStringLiteral("Ny")); // the rest of the record is kept
        }
        QCOMPARE(m.stored(table, 2, 0), taken ? typed : stored);
        QCOMPARE(m.prompt.asked().size(), size_t(taken ? 0 : 1));
        if (!taken) {
            const QString why = m.prompt.lastMessage(); // what was typed (a paste cut short), and why
            QVERIFY2(why.contains(u'"' + typed.trimmed().left(20)) &&
                         why.contains(QStringLiteral("nummeret er postens plass i registeret")) &&
                         why.endsWith(QStringLiteral("beholder nummer \"%1\".").arg(stored.trimmed())),
                     qPrintable(why));
            const Catalogs &c = m.state.catalogs; // no other slot was written
            for (size_t k = 0; k <= size_t(kMaxPersons); ++k)
                QVERIFY(k == 2 || (c.persons[k].name == before.persons[k].name &&
                                   (k > size_t(kMaxClubs) || (c.clubs[k] == before.clubs[k] &&
                                                              c.relays[k].club == before.relays[k].club))));
        }
    }

    // The record shown is written, and its catalogue slot set, however the organiser leaves it.
    void editedRecordIsWrittenWhenLeft_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"Lukk", "hidden", "next at the end", "previous at the start",
                                "jump to itself", "jump to nothing", "another window's list",
                                "relay list made", "meet list made", "meet switched"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void editedRecordIsWrittenWhenLeft()
    {
        QFETCH(QString, how);
        RegistersMeet m;
        ClubsWindow &k = m.clubs;
        const int row = how == QLatin1String("previous at the start") ? 0 : 2;
        QVERIFY(row == 0 || k.form().last());
        m.child(&k, "clubNameLineEdit")->setText(QStringLiteral("Ny klubb"));
        m.commands.setListWriter(lists::MeetList::Contingent, [](AppState &st, const QString &) {
            return st.catalogs.clubs[3] == QLatin1String("Ny klubb") ? Status() : Status::failure("old");
        });
        const std::map<QString, std::function<void()>> ways{
            {"Lukk", [&] { m.click(&k, "closePushButton"); }},
            {"hidden", [&] { k.hide(); }},
            {"next at the end", [&] { QTest::mouseClick(k.navigator()->button(2), Qt::LeftButton); }},
            {"previous at the start", [&] { QTest::mouseClick(k.navigator()->button(1), Qt::LeftButton); }},
            {"jump to itself", [&] { m.child(&k, "moverLineEdit")->setText(QStringLiteral("3")); }},
            {"jump to nothing", [&] { m.child(&k, "moverLineEdit")->setText(QStringLiteral("9")); }},
            {"another window's list",
             [&] { m.child<RefillingComboBox>(&m.relays, "clubComboBox")->refill(); }},
            {"relay list made", [&] { m.click(&m.relays, "makeListPushButton"); }},
            {"meet list made", [&] { QVERIFY(m.commands.makeList(lists::MeetList::Contingent)); }},
            {"meet switched", [&] {
                 m.state.unbindDataControls();
                 QVERIFY(m.state.bindDataControls().ok());
             }}};
        ways.at(how)();
        QCOMPARE(m.stored(Table::Klubber, row + 1, ClubName), QStringLiteral("Ny klubb"));
        QCOMPARE(m.state.catalogs.clubs[size_t(row + 1)], QStringLiteral("Ny klubb"));
        QCOMPARE(m.prompt.asked().size(), size_t(0));
    }

    void aRecordThatCannotBeWrittenStaysShown()
    {
        RegistersMeet m;
        CompetitorsWindow &w = m.competitors;
        QVERIFY(m.state.database.dropTable(QStringLiteral("Personer")).ok());
        m.child(&w, "surnameLineEdit")->setText(QStringLiteral("Tapt?"));
        QVERIFY(!w.form().next());
        QCOMPARE(w.form().currentRow(), 0);
        QCOMPARE(w.fieldText(PersonSurname), QStringLiteral("Tapt?"));
        QVERIFY(m.prompt.lastMessage().startsWith(m.state.texts.message(9)));
    }

    // Every control is reachable under its caption.
    void everyControlCarriesItsCaption()
    {
        RegistersMeet m;
        m.state.texts.load(Language::English);
        for (RegisterWindowBase *w : m.all()) {
            w->retranslate();
            QVERIFY(!w->windowTitle().isEmpty());
            for (QLabel *l : w->findChildren<QLabel *>())
                if (l->objectName() != QLatin1String("navigatorCaptionLabel"))
                    QVERIFY2(l->buddy() && !l->buddy()->accessibleName().isEmpty(),
                             qPrintable(l->objectName()));
            for (QWidget *c : w->findChildren<QWidget *>())
                if ((c->focusPolicy() & Qt::TabFocus) && c->isVisibleTo(w) &&
                    !c->objectName().startsWith(QLatin1String("qt_")))
                    QVERIFY2(!c->accessibleName().isEmpty() || !c->property("text").toString().isEmpty(),
                             qPrintable(c->objectName()));
        }
    }

    // Opened from the main window, a register window starts at its number field.
    void openedWindowsStartAtTheNumber()
    {
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        RecordingEditorLauncher editor;
        prompt.setNextAnswer(Answer::Yes); // the format question
        Application app(dir.path(), &prompt, &editor);
        QVERIFY(app.start(false).status.ok());
        (void)QTest::qWaitForWindowActive(&app.mainWindow());
        app.mainWindow().showRegisterWindow(WindowId::Relays);
        QTRY_VERIFY(QApplication::focusWidget());
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("relayNumberLineEdit"));
        QCOMPARE(prompt.unexpected(), 0);
    }
};

QTEST_MAIN(TestRegisterWindows)
#include "TestRegisterWindows.moc"
