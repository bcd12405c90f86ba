#include "base/Convert.h"

#include <QTest>
#include <cfloat>

using namespace arenor;

class TestConvert : public QObject {
    Q_OBJECT
private slots:
    void readsNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("leading blank") << " 7" << 7.0;
        QTest::newRow("plain") << "7" << 7.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blanks only") << "   " << 0.0;
        QTest::newRow("prefix") << "12abc" << 12.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("decimal with blanks") << "  12.6 " << 12.6;
        QTest::newRow("exponent") << "1e9" << 1e9;
        QTest::newRow("dangling exponent") << "3e" << 3.0;
        QTest::newRow("large") << "99999" << 99999.0;
        QTest::newRow("tab") << "\t4" << 4.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("non-ascii digits are text") << "٣" << 0.0;
        QTest::newRow("overflow") << "1e400" << DBL_MAX;
        QTest::newRow("negative overflow") << "-1e400" << -DBL_MAX;
        QTest::newRow("underflow") << " 1e-400" << 0.0;
        QTest::newRow("negative underflow") << "-1e-400" << 0.0;
        QTest::newRow("underflow without exponent") << "0." + QString(400, u'0') + "1" << 0.0;
    }
    void readsNumbers()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(toDouble(text), value);
    }

    void integersNeverOverflow()
    {
        QCOMPARE(toInteger(QStringLiteral("1e400")), qint64(2147483647));
        QCOMPARE(toInteger(QStringLiteral("-1e400")), qint64(-2147483648LL));
        QCOMPARE(toInteger(QStringLiteral(" 1e-400"), 1, 60), qint64(1));
        QCOMPARE(toInteger(QStringLiteral("99999"), 0, 3000), qint64(3000));
        QCOMPARE(toInteger(QStringLiteral("12.9")), qint64(12));
        QCOMPARE(toRoundedInteger(QStringLiteral("  12.6 ")), qint64(13));
        QCOMPARE(toRoundedInteger(QStringLiteral("abc")), qint64(0));
    }

    void writesSignBlank()
    {
        QCOMPARE(numberText(qint64(7)), QStringLiteral(" 7"));
        QCOMPARE(numberText(qint64(0)), QStringLiteral(" 0"));
        QCOMPARE(numberText(qint64(-7)), QStringLiteral("-7"));
        QCOMPARE(numberText(2.5), QStringLiteral(" 2.5"));
        QCOMPARE(toDouble(numberText(qint64(3000))), 3000.0);
    }
};

QTEST_GUILESS_MAIN(TestConvert)
#include "TestConvert.moc"
