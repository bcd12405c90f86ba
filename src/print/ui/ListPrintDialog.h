#pragma once
// Printing a list: Qt's preview with its print dialog, painted from the list's document.

#include "base/ListDocument.h"
#include "db/AppState.h"

class QMenu;
class QWidget;

namespace arenor::print {

// Shows the list in the print preview, from where it is printed. A printer that cannot be
// started is told; cancelling leaves nothing behind.
void printWithPreview(QWidget *parent, AppState &state, const ListDocument &document);

// The two commands on a menu: "Print …" and "Save as PDF …", each getting its document from
// `document` (false: nothing to print, the user was told). Captions follow the language.
using DocumentSource = std::function<bool(ListDocument &)>;
void addPrintCommands(QMenu &menu, QWidget *parent, AppState &state, DocumentSource document);
// Sets the captions of the two commands of a menu again (after a language switch).
void retranslatePrintCommands(QMenu &menu, const AppState &state);

} // namespace arenor::print
