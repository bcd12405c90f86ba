#pragma once
// Printing a list: Qt's preview with its print dialog, painted from the list's document.

#include "base/ListDocument.h"
#include "db/AppState.h"

class QAbstractButton;
class QWidget;

namespace arenor::print {

// Shows the list in the print preview, from where it is printed. A printer that cannot be
// started is told; cancelling leaves nothing behind.
void printWithPreview(QWidget *parent, AppState &state, const ListDocument &document);

// Sets a button's caption; where another control shown in `scope` (the button's window)
// already has the caption's mnemonic letter, the mnemonic moves to the first letter of the
// caption that none has, so the print commands never clash with a window's own letters in
// either language.
void setCaptionWithFreeMnemonic(QAbstractButton &button, const QString &caption, const QWidget &scope);

} // namespace arenor::print
