#pragma once
// The settings file Setup.ini beside the program: the sixteen options, the editor and
// language choices and the placements of the nine child windows, in 69 lines read by
// position. Reading with apply runs the same actions as clicking the options window.

#include "db/AppState.h"

#include <QIODevice>
#include <array>
#include <optional>

namespace arenor {

constexpr int kPlacementCount = 45;
constexpr int kPlacementsPerWindow = 5;
constexpr int kPlacedWindows = kPlacementCount / kPlacementsPerWindow;
constexpr int kEditorChoices = 3;
constexpr int kLanguageChoices = 5;
constexpr int kSettingsLineCount = OptionCount + kEditorChoices + kLanguageChoices + kPlacementCount; // 69
// Only the first nine characters of a line hold its value.
constexpr int kSettingsValueWidth = 9;

// Where a child window stands, in pixels of the main window's window area: its left and top
// (the two numbers restored on load), its width and height, and its state (0 normal,
// 1 minimised, 2 maximised).
using WindowPlacement = std::array<float, kPlacementsPerWindow>;

// What the windows add to the settings file: where they stand. Logic and tests work without
// one. (Changed options, languages and readings are told through the notifier.)
class SettingsHost {
public:
    virtual ~SettingsHost() = default;
    // Window 0..8 in placement order; nullopt when it is minimised or maximised (its numbers
    // read earlier then stay) or when it does not exist.
    virtual std::optional<WindowPlacement> normalPlacement(int /*window*/) { return std::nullopt; }
};

// The file beside the program.
QString settingsPath(const AppState &state);

// The 69 lines as they are written, from the state (placements as they stand).
QStringList settingsLines(const AppState &state);
// Asks the host (when there is one) for the placements of windows in their normal state,
// then replaces the file in one step.
Status writeSettingsFile(AppState &state, SettingsHost *host = nullptr);

// Takes the lines in order; a missing line ends the reading and a line that cannot be read
// leaves its value as it was. Placements are always stored; the rest only when apply is set,
// running the click action of every changed option or choice. Returns the lines used.
int readSettingsLines(AppState &state, const QStringList &lines, bool apply);
// Reads Setup.ini; a missing or unreadable file changes nothing. Returns the lines used.
int readSettingsFile(AppState &state, bool apply);

// The click actions of the options window.
void setOption(AppState &state, int index, int value);
void chooseEditor(AppState &state, int index);
// 0 Norwegian, 1 English; 2..4 are chosen but change nothing.
void chooseLanguage(AppState &state, int index);

// Check boxes as the options window shows them before any settings are read: the flags that
// start on (differences, separators) and the three bars.
void setDefaultOptions(AppState &state);

// Setup.ini as the shell keeps it: saving asks the host for the placements and tells the
// user when the file cannot be written.
class SettingsFile : public SettingsStore {
public:
    SettingsFile(AppState &state, SettingsHost *host) : m_state(state), m_host(host) {}
    void save() override;
    void load(bool apply) override;

private:
    AppState &m_state;
    SettingsHost *m_host;
};

// Makes the file the state's settings store and sets the default options.
void installSettings(AppState &state, SettingsFile &file);

} // namespace arenor
