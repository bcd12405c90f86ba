#pragma once

#include "base/TextTables.h"

#include <QDialog>

namespace arenor {

// The About window: its title (caption 43), the product line (caption 45), the version the
// program was built as, and a back button.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const TextTables &texts, QWidget *parent = nullptr);
};

} // namespace arenor
