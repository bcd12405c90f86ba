#include "app/ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace arenor {

QtTranslations::~QtTranslations()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

bool QtTranslations::use(Language language)
{
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    if (language != Language::Norwegian)
        return true;
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *name : {"qtbase_nb", "qtbase_no", "qtbase_nn"}) {
        if (translator->load(QString::fromLatin1(name), folder)) {
            QCoreApplication::installTranslator(translator.get());
            m_translator = std::move(translator);
            return true;
        }
    }
    return false;
}

} // namespace arenor
