#include "TestSupport.h"

#include "app/MainCommands.h"
#include "app/Settings.h"
#include "base/TextFile.h"

#include <QFile>
#include <QTest>
#include <map>

using namespace arenor;
using namespace arenor::test;

namespace {

// Stands for the frame: records what the notifier tells and answers the placement questions.
struct RecordingHost : SettingsHost {
    QStringList events;
    std::map<int, WindowPlacement> normalWindows; // windows not listed are minimised or maximised
    void listen(MeetNotifier &n)
    {
        QObject::connect(&n, &MeetNotifier::optionChanged,
                         [this](int index) { events << QStringLiteral("option %1").arg(index); });
        QObject::connect(&n, &MeetNotifier::languageChanged,
                         [this] { events << QStringLiteral("language"); });
        QObject::connect(&n, &MeetNotifier::settingsApplied, [this] { events << QStringLiteral("applied"); });
    }
    std::optional<WindowPlacement> normalPlacement(int window) override
    {
        auto it = normalWindows.find(window);
        return it == normalWindows.end() ? std::nullopt : std::optional<WindowPlacement>(it->second);
    }
};

struct Settings : TestMeet {
    RecordingHost host;
    SettingsFile file{state, &host};
    Settings()
    {
        installSettings(state, file);
        host.listen(state.notifier);
        state.texts.load(Language::Norwegian);
    }
    void writeLines(const QStringList &lines) { QVERIFY(writeTextFile(settingsPath(state), lines).ok()); }
};

QStringList allTexts(const TextTables &t)
{
    QStringList texts;
    for (int n = 1; n <= TextTables::kMaxMessage; ++n)
        texts << t.message(n);
    for (int n = 2; n <= TextTables::kMaxCaption; ++n)
        texts << t.caption(n);
    return texts;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    // The file as the program writes it, byte for byte.
    void writesTheFileAsSpecified()
    {
        Settings s;
        s.state.options[size_t(OptAllMessages)] = 1;
        s.state.options[size_t(OptShowToolBar)] = 0;
        chooseEditor(s.state, 1);
        for (int i = 0; i < kPlacementCount; ++i)
            s.state.placements[size_t(i)] = float(i * 7 - 20);
        s.state.placements[3] = 412.5f;
        QVERIFY(writeSettingsFile(s.state, &s.host).ok());
        compareWithGolden(readFile(settingsPath(s.state)), QStringLiteral("Setup_written.ini"));
    }

    // Saved by the program and read back with apply: every option, the editor and the
    // language come back, each changed one through its click action.
    void roundTripRestoresEverything()
    {
        Settings saved;
        AppState &a = saved.state;
        for (int i = 0; i < OptionCount; ++i)
            setOption(a, i, (i * 5 + 1) % 3 == 0 ? 1 : 0);
        chooseEditor(a, 2);
        chooseLanguage(a, 1);
        for (int i = 0; i < kPlacementCount; ++i)
            a.placements[size_t(i)] = float(i % 5 == 4 ? 0 : 10 * i + 3);
        QVERIFY(writeSettingsFile(a).ok());

        Settings read;
        AppState &b = read.state;
        writeFile(settingsPath(b), readFile(settingsPath(a)));
        QCOMPARE(readSettingsFile(b, true), kSettingsLineCount);
        QCOMPARE(b.options, a.options);
        QCOMPARE(b.editorChoice, 2);
        QCOMPARE(b.languageChoice, 1);
        QCOMPARE(b.texts.language(), Language::English);
        QCOMPARE(b.placements, a.placements);

        // Click actions ran for the changed options only, then the language, then the window
        // was brought up to date once.
        QStringList expected;
        for (int i = 0; i < OptionCount; ++i)
            if (a.options[size_t(i)] != (i == 1 || i == 3 || i == 7 || i == 8 || i == 9 ? 1 : 0))
                expected << QStringLiteral("option %1").arg(i);
        expected << QStringLiteral("language") << QStringLiteral("applied");
        QCOMPARE(read.host.events, expected);

        // Reading the same file again changes nothing and clicks nothing.
        read.host.events.clear();
        readSettingsFile(b, true);
        QCOMPARE(read.host.events, QStringList{QStringLiteral("applied")});
    }

    // Start-up's first reading takes the placements only.
    void readingWithoutApplyTakesPlacementsOnly()
    {
        Settings s;
        QStringList lines = settingsLines(s.state);
        lines[0] = QStringLiteral(" 1       [Legg inn differanse]");
        lines[17] = QStringLiteral("True     [Wordpad]");
        lines[20] = QStringLiteral("True     [Engelsk]");
        lines[24] = QStringLiteral(" 250     [Plassering vindu øvelser]");
        s.writeLines(lines);
        QCOMPARE(readSettingsFile(s.state, false), kSettingsLineCount);
        QCOMPARE(s.state.options[0], 0);
        QCOMPARE(s.state.editorChoice, -1);
        QCOMPARE(s.state.texts.language(), Language::Norwegian);
        QCOMPARE(s.state.placements[0], 250.0f);
        QVERIFY(s.state.placementRead[0]);
        QVERIFY(s.host.events.isEmpty());
    }

    // One line at a time: what a value reads as, and which lines cannot be read at all.
    void lineValues_data()
    {
        // value: -99: the line cannot be read and changes nothing
        Cases<int, QString, double>::columns();
        // clang-format off
        for (auto [name, line, text, value] : {
             std::tuple{"option on", 0, " 1       [Legg inn differanse]", 1.0}, {"option off", 1, " 0       [Vis alle meldinger]", 0.0},
             {"option without label", 0, "1", 1.0}, {"option cut at nine", 0, "        1x", 1.0},
             {"option 2 is no check box value", 0, " 2", -99.0}, {"option text", 1, "abc", -99.0}, {"option empty", 1, "", -99.0},
             {"placement", 24, " 250     [Plassering vindu øvelser]", 250.0}, {"placement negative", 25, "-12", -12.0},
             {"placement fraction", 26, " 412.5", 412.5}, {"placement cut at nine", 27, " 123456789012", 12345678.0},
             {"placement label too close", 29, "77[Plassering]", -99.0}, {"placement text", 30, "left", -99.0},
             {"placement infinite", 31, "inf", -99.0}})
            QTest::newRow(name) << line << QString::fromUtf8(text) << value;
        // clang-format on
    }
    void lineValues()
    {
        auto [line, text, value] = Cases<int, QString, double>::fetch();
        Settings s;
        setDefaultOptions(s.state);
        s.state.placements.fill(-3.0f);
        QStringList lines(line + 1, QStringLiteral("x")); // unreadable lines before it
        lines[line] = text;
        QCOMPARE(readSettingsLines(s.state, lines, true), line + 1);
        const bool unreadable = value == -99.0;
        if (line < OptionCount) {
            const int before = line == 1 ? 1 : 0;
            QCOMPARE(s.state.options[size_t(line)], unreadable ? before : int(value));
        } else {
            const auto p = size_t(line - 24);
            QCOMPARE(double(s.state.placements[p]), unreadable ? -3.0 : value);
            QCOMPARE(s.state.placementRead[p], !unreadable);
        }
    }

    // A file that ends early or is missing: what could be read is taken, the rest keeps its
    // value, and nothing is said (any bytes at all are the settings fuzzer's).
    void shortAndMissingFiles()
    {
        Settings s;
        QStringList lines = settingsLines(s.state);
        lines[0] = QStringLiteral(" 1 ");
        lines[16] = QStringLiteral("True");
        s.writeLines(lines.mid(0, 20));
        s.state.placements.fill(5.0f);
        QCOMPARE(readSettingsFile(s.state, true), 20);
        QCOMPARE(s.state.options[0], 1);
        QCOMPARE(s.state.editorChoice, 0);
        QCOMPARE(s.state.languageChoice, 0);
        QCOMPARE(s.state.placements[0], 5.0f);
        QVERIFY(!s.state.placementRead[0]);

        Settings missing;
        const auto before = missing.state.options;
        QCOMPARE(readSettingsFile(missing.state, true), 0);
        QCOMPARE(missing.state.options, before);
        QVERIFY(missing.host.events.isEmpty());
    }

    // A file from the older program: Windows-1252 labels, its own numbers; written again it
    // reads the same, in UTF-8.
    void readsAnOlderFile()
    {
        Settings s;
        writeFile(settingsPath(s.state), readFile(dataFile(QStringLiteral("Setup_older.ini"))));
        QCOMPARE(readSettingsFile(s.state, true), kSettingsLineCount);
        QVERIFY(writeSettingsFile(s.state).ok()); // every value read comes back as it stood
        compareWithGolden(readFile(settingsPath(s.state)), QStringLiteral("Setup_older_rewritten.ini"));
    }

    // Windows that are minimised or maximised keep the numbers they had.
    void onlyNormalWindowsRefreshTheirPlacements()
    {
        Settings s;
        for (int i = 0; i < kPlacementCount; ++i)
            s.state.placements[size_t(i)] = float(1000 + i);
        s.host.normalWindows[0] = {10, 20, 300, 200, 0};
        s.host.normalWindows[8] = {80, 90, 400, 250, 0};
        QVERIFY(writeSettingsFile(s.state, &s.host).ok());
        Settings r;
        writeFile(settingsPath(r.state), readFile(settingsPath(s.state)));
        readSettingsFile(r.state, false);
        for (int i = 0; i < kPlacementCount; ++i) {
            const int w = i / kPlacementsPerWindow;
            float expected = float(1000 + i);
            if (w == 0 || w == 8)
                expected = s.host.normalWindows[w][size_t(i % kPlacementsPerWindow)];
            QCOMPARE(r.state.placements[size_t(i)], expected);
        }
    }

    // Switching to English and back gives exactly the tables start-up had; the languages
    // without tables change nothing but the choice.
    void languageChoices()
    {
        Settings s;
        const QStringList startUp = allTexts(s.state.texts);
        chooseLanguage(s.state, 1);
        QCOMPARE(s.state.texts.helpFileName(), QStringLiteral("Help.hlp"));
        chooseLanguage(s.state, 0);
        QCOMPARE(allTexts(s.state.texts), startUp);
        QCOMPARE(s.host.events, QStringList({"language", "language"}));

        for (int other : {2, 3, 4}) {
            chooseLanguage(s.state, other);
            QCOMPARE(s.state.languageChoice, other);
            QCOMPARE(allTexts(s.state.texts), startUp);
        }
        QCOMPARE(s.host.events.size(), 2);
    }

    void writeFailureIsReported()
    {
        Settings s;
        s.state.programDir = QStringLiteral("/proc/arenor-no-such-dir");
        QVERIFY(!writeSettingsFile(s.state, &s.host).ok());
        s.state.saveSettings();
        QCOMPARE(s.prompt.messageTexts().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "TestSettings.moc"
