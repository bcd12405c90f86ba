#pragma once
// The print and PDF commands of the windows, as far as they need no window: which document a
// list's command prints, and saving it as PDF after asking for the file.

#include "base/ListDocument.h"
#include "db/AppState.h"
#include "lists/ListNames.h"

namespace arenor::print {

// The document of a meet list as its print command shows it; false, with the user told, when
// the list has not been made (or cannot be read).
bool meetListForPrint(AppState &state, lists::MeetList list, ListDocument &document);
// A list file of the meet directory (class and event lists, which may have been sorted or
// edited since): read back and classified; false, with the user told, when it is not there.
bool listFileForPrint(AppState &state, const QString &path, ListDocument &document);

// "Save as PDF …": asks for the file (the list's name with ".pdf" in the meet directory) and
// writes it whole or not at all. False when cancelled or failed (the user is told).
bool saveListAsPdf(AppState &state, const ListDocument &document);

} // namespace arenor::print
