// Setup.ini: any bytes read without harm, and settings written and read again are the same
// settings, and the file they are written to no longer changes.

#include "FuzzCheck.h"
#include "app/Settings.h"
#include "base/TextFile.h"

using namespace arenor;

namespace {

// Settings as the program has them before it reads the file.
AppState &freshState(int which)
{
    static AppState states[2];
    AppState &s = states[which];
    setDefaultOptions(s);
    s.editorChoice = -1;
    s.editorCommand = defaultEditorCommand();
    s.languageChoice = 0;
    s.placements.fill(0);
    s.placementRead.fill(false);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines =
        splitLines(decodeText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))));
    AppState &placementsOnly = freshState(0);
    readSettingsLines(placementsOnly, lines, false);

    AppState &read = freshState(0);
    readSettingsLines(read, lines, true);
    const QStringList written = settingsLines(read);
    FUZZ_CHECK(written.size() == kSettingsLineCount);

    AppState &back = freshState(1);
    FUZZ_CHECK(readSettingsLines(back, written, true) == kSettingsLineCount);
    FUZZ_CHECK(back.options == read.options);
    FUZZ_CHECK(back.editorChoice == read.editorChoice);
    FUZZ_CHECK(back.editorCommand == read.editorCommand);
    FUZZ_CHECK(back.languageChoice == read.languageChoice);
    FUZZ_CHECK(settingsLines(back) == written);
    return 0;
}
