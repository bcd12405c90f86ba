#include "StationTexts.h"

#include <array>
#include <atomic>

namespace arenor::db {

namespace {

struct Pair {
    StationText id;
    const char *norwegian; // UTF-8
    const char *english;
};

constexpr Pair kTexts[] = {
    {StationText::RecordChanged,
     "Posten i %1 ble endret på en annen stasjon etter at den ble lest her, så endringen din ble ikke "
     "lagret. Vinduet viser nå det som er lagret:",
     "The record in %1 was changed at another station after it was read here, so your change was not "
     "stored. The window now shows what is stored:"},
    {StationText::FieldChanged, "felt %1: \u00AB%2\u00BB (var \u00AB%3\u00BB)",
     "field %1: \u00AB%2\u00BB (was \u00AB%3\u00BB)"},
    {StationText::RecordGone,
     "Posten i %1 ble slettet på en annen stasjon, så endringen din ble ikke lagret.",
     "The record in %1 was deleted at another station, so your change was not stored."},
    {StationText::GridBusy,
     "Grinden %1 lages nå på en annen stasjon. Ingenting er endret; prøv igjen når den er laget.",
     "The grid %1 is being made at another station. Nothing was changed; try again when it is made."},
    {StationText::ConnectionLost,
     "Forbindelsen til stevnetjeneren ble brutt. Alt som var lagret, er i behold, men det siste du "
     "gjorde, ble ikke lagret. Programmet kobler seg til igjen av seg selv; gjør det siste på nytt.",
     "The connection to the meet server was lost. Everything stored is kept, but the last thing you did "
     "was not stored. The program connects again by itself; do the last thing again."},
};

std::atomic<int> g_language{int(Language::Norwegian)};

} // namespace

void setStationLanguage(Language language)
{
    g_language = int(language);
}

QString stationText(StationText id)
{
    return stationText(id, Language(g_language.load()));
}

QString stationText(StationText id, Language language)
{
    for (const Pair &p : kTexts)
        if (p.id == id)
            return QString::fromUtf8(language == Language::English ? p.english : p.norwegian);
    return {};
}

QString changedElsewhereText(const QString &table, const QStringList &fields, const QVariantList &read,
                             const QVariantList &stored, bool gone)
{
    if (gone)
        return stationText(StationText::RecordGone).arg(table);
    QStringList lines{stationText(StationText::RecordChanged).arg(table)};
    for (qsizetype i = 0; i < fields.size() && i < stored.size(); ++i) {
        const QString before = i < read.size() ? read[i].toString() : QString();
        if (stored[i].toString() != before)
            lines << stationText(StationText::FieldChanged).arg(fields[i], stored[i].toString(), before);
    }
    return lines.join(u'\n');
}

} // namespace arenor::db
