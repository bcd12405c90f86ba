#include "TestSupport.h"

#include "base/Convert.h"
#include "base/TextTables.h"

#include <QTest>
#include <cfloat>

using namespace arenor;
using namespace arenor::test;

class TestConvert : public QObject {
    Q_OBJECT
private slots:
    void readsNumbers_data()
    {
        Cases<QString, double>::columns();
        // clang-format off
        for (auto [text, value] : {std::pair{" 7", 7.0}, {"7", 7.0}, {"abc", 0.0}, {"", 0.0}, {"   ", 0.0},
             {"12abc", 12.0}, {"-5", -5.0}, {"  12.6 ", 12.6}, {"1e9", 1e9}, {"3e", 3.0}, {"99999", 99999.0},
             {"\t4", 4.0}, {"-", 0.0}, {"٣", 0.0}, {"1e400", DBL_MAX}, {"-1e400", -DBL_MAX}, {" 1e-400", 0.0},
             {"-1e-400", 0.0}})
            QTest::newRow(text) << QString::fromUtf8(text) << value;
        // clang-format on
        QTest::newRow("underflow without exponent") << "0." + QString(400, u'0') + "1" << 0.0;
    }
    void readsNumbers()
    {
        auto [text, value] = Cases<QString, double>::fetch();
        QCOMPARE(toDouble(text), value);
    }

    // Integers never overflow, and are clamped to the range asked for.
    void integersNeverOverflow()
    {
        QCOMPARE(toInteger(QStringLiteral("1e400")), qint64(2147483647));
        QCOMPARE(toInteger(QStringLiteral("-1e400")), qint64(-2147483648LL));
        QCOMPARE(toInteger(QStringLiteral(" 1e-400"), 1, 60), qint64(1));
        QCOMPARE(toInteger(QStringLiteral("99999"), 0, 3000), qint64(3000));
        QCOMPARE(toInteger(QStringLiteral("12.9")), qint64(12));
        QCOMPARE(toRoundedInteger(QStringLiteral("  12.6 ")), qint64(13));
        QCOMPARE(toRoundedInteger(QStringLiteral("abc")), qint64(0));
        // Numbers are written with a blank for the sign.
        QCOMPARE(numberText(qint64(0)) + numberText(qint64(-7)) + numberText(2.5),
                 QStringLiteral(" 0-7 2.5"));
    }

    // Captions without their access key markers, as assistive technology reads them.
    void plainCaptionDropsMarkers()
    {
        QCOMPARE(plainCaption(QStringLiteral("R&&D &Lag ny...")), QStringLiteral("R&D Lag ny"));
    }
};

QTEST_GUILESS_MAIN(TestConvert)
#include "TestConvert.moc"
