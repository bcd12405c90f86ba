#include "RegisterRules.h"

#include "base/Convert.h"

namespace arenor::registers {

QString singleLine(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out += u' ';
        } else if (c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            out += u' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<int> catalogueSlot(const QString &number, int max)
{
    const qint64 k = toInteger(number);
    if (k < 0 || k > max) return std::nullopt;
    return int(k);
}

QString numberNotTakenText(const AppState &state, const QString &whatNorwegian, const QString &whatEnglish,
                           const QString &typed, int max, const QString &kept)
{
    if (catalogueSlot(typed, max)) return {};
    // A long paste would make the box unreadable; the start of it is enough. One arg() call,
    // so a "%1" in the typed text stays as typed.
    QString shown = typed.simplified();
    if (shown.size() > 20) shown = shown.left(20) + QStringLiteral("...");
    if (state.texts.messageLanguage() == Language::Norwegian)
        return QStringLiteral("%1 \"%2\" ble ikke tatt i bruk: nummeret må være fra 0 til %3. Posten "
                              "beholder nummer \"%4\".")
            .arg(whatNorwegian, shown, QString::number(max), kept.trimmed());
    return QStringLiteral(
               "%1 \"%2\" was not taken: the number must be 0 to %3. The record keeps number \"%4\".")
        .arg(whatEnglish, shown, QString::number(max), kept.trimmed());
}

} // namespace arenor::registers
