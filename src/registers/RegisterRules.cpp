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
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
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
    if (k < 0 || k > max)
        return std::nullopt;
    return int(k);
}

QString recordNumberRefusal(const AppState &state, RecordNumber kind, const QString &typed,
                            const QString &stored, int place)
{
    bool ok = false;
    if (typed.trimmed() == stored.trimmed() || (typed.trimmed().toInt(&ok) == place && ok))
        return {};
    // A long paste would make the box unreadable; the start of it is enough. One arg() call,
    // so a "%1" in the typed text stays as typed.
    QString shown = typed.simplified();
    if (shown.size() > 20)
        shown = shown.left(20) + QStringLiteral("...");
    const QString number = QString::number(place);
    constexpr Text kNames[] = {Text::StartNumber, Text::ClubNumber, Text::RelayTeamNumber};
    return state.texts.message(Text::NumberNotTaken)
        .arg(state.texts.message(kNames[int(kind)]), shown, number, stored.trimmed());
}

std::function<QString(int row, int field, const QVariant &value)>
recordNumberCheck(const AppState &state, RecordNumber kind, const db::RecordModel &model)
{
    return [&state, kind, &model](int row, int field, const QVariant &value) {
        if (field != 0)
            return QString();
        return recordNumberRefusal(state, kind, value.toString(), model.text(row, 0), row + 1);
    };
}

} // namespace arenor::registers
