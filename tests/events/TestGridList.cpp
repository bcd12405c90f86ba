#include "base/TextFile.h"
#include "events/GridList.h"

#include "CaseTable.h"

#include <QBuffer>
#include <QMap>
#include <QTemporaryDir>

using namespace arenor;
using namespace arenor::events;

namespace {

ListSelection selection(const QString &event = QStringLiteral("100m"),
                        const QString &cls = QStringLiteral("Menn"))
{
    ListSelection s;
    s.roundTag = QStringLiteral("Finale_");
    s.event = 3;
    s.eventName = event;
    s.classNumber = 11;
    s.className = cls;
    return s;
}

// A grid from tests/data/gridlist_<name>.in: a line of options, the column names, the rows.
GridList gridFor(const QString &name, TextTables &texts)
{
    const QStringList lines = readTextLines(test::dataFile("gridlist_" + name + ".in"));
    GridList list;
    list.infoLines = readTextLines(test::dataFile(QStringLiteral("Info_no.txt")));
    list.selection = selection();
    list.startDate = QStringLiteral("2026.06.14");
    list.startTime = QStringLiteral("12.30");
    QMap<QString, QString> o;
    for (const QString &option : lines.value(0).split(u' '))
        o[option.section(u'=', 0, 0)] = option.section(u'=', 1);
    list.type = listTypeFromCode(o["type"].toInt());
    list.separators = o["separators"] == u"1";
    list.dateLine = o["dateline"] == u"1";
    list.selection.variant = o["variant"];
    texts.load(o["language"] == u"en" ? Language::English : Language::Norwegian);
    list.columns = lines.value(1).split(u'|');
    for (const QString &row : lines.mid(2))
        list.rows << row.split(u'|');
    return list;
}

} // namespace

class TestGridList : public QObject {
    Q_OBJECT
private slots:
    void names_data() { test::addCaseRows("list_names.txt", 6); }
    void names()
    {
        QFETCH(QStringList, cells); // english, long names, event, variant, class list, event list
        const bool longNames = cells[1] == u"1";
        TextTables texts;
        texts.load(cells[0] == u"1" ? Language::English : Language::Norwegian);
        ListSelection s = selection(cells[2]);
        s.variant = cells[3];
        QCOMPARE(ClassListName(texts, s, longNames), cells[4]);
        QCOMPARE(EventListName(texts, s, longNames), cells[5]);
        QCOMPARE(gridTableName(texts, s, longNames) + ".txt", cells[4]);
        QCOMPARE(safeNamePart(QStringLiteral("a\tb\x7f")), QStringLiteral("a_b_"));
    }

    // Standard, heat, step and relay lists byte for byte, in both languages, separators on and
    // off, with and without the date line, columns found by name in any order, names cut by
    // characters (one outside the basic plane is one print position, never cut in half).
    void layouts_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"standard", "heat", "step", "relay"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void layouts()
    {
        QFETCH(QString, name);
        TextTables texts;
        const GridList list = gridFor(name, texts);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(WriteGridList(buffer, texts, list).ok());
        test::compareWithGolden(buffer.data(), "gridlist_" + name + ".txt");
        // Its document: the rows' cells stand where the text has them.
        QTemporaryDir dir;
        ListDocument document;
        QVERIFY(writeGridListFile(dir.filePath("list.txt"), texts, list, &document).ok());
        const QString kinds = test::checkedDocument(document, dir.filePath("list.txt"));
        QVERIFY2(kinds.startsWith("T ") &&
                     kinds.endsWith((list.dateLine ? " B S N - C = R" : " B S - C = R") +
                                    QString::number(list.rows.size()) + " ="),
                 qPrintable(kinds));
    }

    void headingAndMissingColumns()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Kl-F0311.txt");
        TextTables texts;
        GridList list = gridFor(QStringLiteral("standard"), texts);
        QVERIFY(writeGridListFile(path, texts, list).ok());
        QVERIFY(CheckListHeading(path, selection()));
        QVERIFY(!CheckListHeading(path, selection(QStringLiteral("100m"), QStringLiteral("Kvinner"))));
        QVERIFY(!CheckListHeading(dir.filePath("none.txt"), selection()));
        // A line break typed into a name stays on the heading line, which still matches.
        list.selection = selection(QStringLiteral("100\nm"), QStringLiteral("Menn\r"));
        QVERIFY(writeGridListFile(path, texts, list).ok());
        QCOMPARE(readTextLines(path).value(6), QStringLiteral("100_m Menn_ Finale"));
        QVERIFY(CheckListHeading(path, list.selection));
        // A grid whose Results column was renamed by hand: a clear message, the old file kept.
        const QByteArray before = test::readFile(path);
        list.columns[4] = QStringLiteral("Result");
        QCOMPARE(writeGridListFile(path, texts, list).error(),
                 QStringLiteral("Grinden mangler kolonnene: Resultat"));
        QCOMPARE(test::readFile(path), before);
    }
};

QTEST_GUILESS_MAIN(TestGridList)
#include "TestGridList.moc"
