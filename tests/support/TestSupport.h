#pragma once
// Shared test helpers: a program directory in a temporary folder, a state wired to a
// scripted prompt and a recording editor, and a meet database made without questions.

#include "RecordingEditorLauncher.h"
#include "ScriptedPrompt.h"
#include "db/AppState.h"

#include <QTemporaryDir>
#include <memory>

namespace arenor::test {

struct TestMeet {
    QTemporaryDir dir;
    AppState state;
    ScriptedPrompt prompt;
    RecordingEditorLauncher editor;

    TestMeet();
    // Makes the current database with every table at the given sizes (format question
    // answered Yes) and leaves it open.
    void makeDatabase(int persons = 15, int relays = 5, int clubs = 5);
};

// Field `field` of record `record` (from 1) of a meet table, as stored; and writing it.
QString storedText(AppState &state, const QString &table, int record, int field);
void setStoredText(AppState &state, const QString &table, int record, int field, const QString &value);

// The bytes of a file, or empty when it cannot be read.
QByteArray readFile(const QString &path);
// The path of a golden file under tests/data.
QString dataFile(const QString &name);

} // namespace arenor::test
