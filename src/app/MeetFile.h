#pragma once
// Making the empty meet file (with the format question) and the meet files check.

#include "db/AppState.h"

namespace arenor {

enum class CreateOutcome { Created, KeptOld };

// Asks message 25 when the file exists (No keeps it), then the format question, and makes
// the empty file. The current database must not be open.
Status createMeetFile(AppState &state, CreateOutcome *outcome = nullptr);

// The format question text: messages 26..30 joined.
QString formatQuestion(const TextTables &texts);

// Creates the time files, Info.txt and Rapport.txt of the meet directory when missing.
Status meetFilesCheck(AppState &state);

// A clear text, in the message language, for a file that cannot be opened as a meet.
QString fileProblemText(const TextTables &texts, db::FileProblem problem, const QString &fileName);

} // namespace arenor
