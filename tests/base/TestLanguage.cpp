#include "base/TextTables.h"

#include <QTest>

using namespace arenor;

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void switchingBackRestoresEveryEntry()
    {
        TextTables t;
        QStringList messages, captions;
        for (int i = 0; i <= TextTables::kMaxMessage; ++i)
            messages << t.message(i);
        for (int i = 0; i <= TextTables::kMaxCaption; ++i)
            captions << t.caption(i);
        t.load(Language::English);
        QCOMPARE(t.message(44), QStringLiteral("Arenor"));
        t.load(Language::Norwegian);
        for (int i = 0; i <= TextTables::kMaxMessage; ++i)
            QCOMPARE(t.message(i), messages[i]);
        for (int i = 0; i <= TextTables::kMaxCaption; ++i)
            QCOMPARE(t.caption(i), captions[i]);
    }

    void tableNamesDoNotChangeWithLanguage()
    {
        TextTables t;
        const QStringList names = {"Stafettlag", "Poengoppsett", "Øvelser", "Klubber", "Klasser",
                                   "Oppsett",    "Påmelding",    "Personer", "Tidtakingoppsett"};
        for (Language l : {Language::Norwegian, Language::English}) {
            t.load(l);
            for (int i = 0; i < names.size(); ++i)
                QCOMPARE(t.message(113 + i), names[i]);
        }
    }

    void roundNamesAndHelpFile()
    {
        TextTables t;
        QCOMPARE(t.roundNames(), QStringList({"Innledende", "Kvartfinale", "Semifinale", "Finale"}));
        QCOMPARE(t.helpFileName(), QStringLiteral("Hjelp.hlp"));
        t.load(Language::English);
        QCOMPARE(t.roundNames(), QStringList({"Opening", "Second", "Third", "Final"}));
        QCOMPARE(t.helpFileName(), QStringLiteral("Help.hlp"));
    }

    void quotedTextsStandExactly()
    {
        TextTables t;
        QCOMPARE(t.message(44), QStringLiteral("Kvelmo"));
        QCOMPARE(t.message(65), QStringLiteral(" eksisterer."));
        QCOMPARE(t.message(2), QStringLiteral("Vil du overskrive den gamle!"));
        QCOMPARE(t.message(206), QStringLiteral("Jenter_9_år"));
        QCOMPARE(t.message(128), QStringLiteral("-"));
        QCOMPARE(t.caption(221), QStringLiteral("&Avslutt..."));
        t.load(Language::English);
        QCOMPARE(t.message(33), QStringLiteral("New database has sucessfully been made!"));
        QCOMPARE(t.message(46), QStringLiteral("Sorry! You allready have one! "));
        QCOMPARE(t.message(225), QStringLiteral("Boys_11_year"));
        QCOMPARE(t.message(147), QStringLiteral("_"));
        QCOMPARE(t.caption(252), QStringLiteral("&Show timeschedule"));
    }

    void plainCaptionDropsMarkers()
    {
        QCOMPARE(plainCaption(QStringLiteral("&Lag ny...")), QStringLiteral("Lag ny"));
        QCOMPARE(plainCaption(QStringLiteral("R&&D")), QStringLiteral("R&D"));
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "TestLanguage.moc"
