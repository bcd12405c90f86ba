#pragma once
// Where every made list goes: its text file, then whoever listens (printing, the web pages).

#include "base/ListDocument.h"
#include "db/AppState.h"

namespace arenor::lists {

// Writes the document's lines to the file atomically (UTF-8, CR LF, as every list), then tells
// the notifier that the list was made. The document's file name is set from the path. A
// failure leaves the old file and tells no one.
Status writeList(AppState &state, const QString &path, ListDocument document);

// Tells the notifier about a list whose file is already written (a sorted list, the sort
// having written it).
void announceList(AppState &state, const QString &path, ListDocument document);

} // namespace arenor::lists
