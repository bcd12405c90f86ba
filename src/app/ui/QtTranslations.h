#pragma once
// Qt's own texts (file dialogs, standard buttons, the context menus of text boxes) in the
// interface language, from the translations Debian installs (qt6-translations-l10n).

#include "base/TextTables.h"

#include <QTranslator>
#include <memory>

namespace arenor {

class QtTranslations {
public:
    QtTranslations() = default;
    ~QtTranslations();
    QtTranslations(const QtTranslations &) = delete;
    QtTranslations &operator=(const QtTranslations &) = delete;

    // Norwegian takes Bokmål where it is installed, else Nynorsk (Qt 6.4 ships no Bokmål);
    // English is Qt's own. False when no Norwegian translation is installed.
    bool use(Language language);

private:
    std::unique_ptr<QTranslator> m_translator;
};

} // namespace arenor
