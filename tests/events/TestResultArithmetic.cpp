#include "events/ResultArithmetic.h"

#include "CaseTable.h"

using namespace arenor::events;

using arenor::test::formatOf;
using arenor::test::kindOf;

class TestResultArithmetic : public QObject {
    Q_OBJECT
private slots:
    void tokens()
    {
        const QString text = QStringLiteral("..12..5");
        qsizetype pos = 0;
        QCOMPARE(NextToken(text, pos, u"."), QStringLiteral("12"));
        QCOMPARE(pos, 4);
        QCOMPARE(NextToken(text, pos, u"."), QStringLiteral("5"));
        QCOMPARE(NextToken(text, pos, u"."), QString());
        QCOMPARE(NextToken(text, pos, u"."), QString());
        pos = 0;
        QCOMPARE(NextToken(u" a, b", pos, u", "), QStringLiteral("a"));
        QCOMPARE(NextToken(u" a, b", pos, u", "), QStringLiteral("b"));
    }

    void arithmetic_data() { arenor::test::addCaseRows("result_arithmetic.txt", 6); }
    void arithmetic()
    {
        QFETCH(QStringList, cells); // kind, format, A, operation, B, expected
        const QString &op = cells[3];
        const Operation operation = op == u"+" ? Operation::Sum : Operation::Difference;
        const Order order = op == u"A-B" ? Order::AMinusB : Order::BMinusA;
        QCOMPARE(ResultArithmetic(kindOf(cells[0]), order, cells[2], cells[4], operation, formatOf(cells[1])),
                 cells[5]);
    }

    // Results by value; no result after every result in either direction.
    void compare_data() { arenor::test::addCaseRows("result_compare.txt", 5); }
    void compare()
    {
        QFETCH(QStringList, cells); // kind, A, B, descending, order of A against B
        const ResultKind kind = kindOf(cells[0]);
        const bool descending = cells[3] == u"1";
        const TimeFormat f = TimeFormat::SecondsHundredths;
        QCOMPARE(compareResults(kind, f, cells[1], cells[2], descending), cells[4].toInt());
        QCOMPARE(compareResults(kind, f, cells[2], cells[1], descending), -cells[4].toInt());
    }
};

QTEST_GUILESS_MAIN(TestResultArithmetic)
#include "TestResultArithmetic.moc"
