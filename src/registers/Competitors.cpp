#include "Competitors.h"

#include "base/Convert.h"
#include "registers/RegisterRules.h"

namespace arenor::registers {

QStringList statusChoices()
{
    return {QStringLiteral("Oppmøtt"), QStringLiteral("Kommer"), QStringLiteral("Invitert"),
            QStringLiteral("Syk"), QStringLiteral("Ingen")};
}

QStringList sexChoices()
{
    return {QStringLiteral("Gutt"), QStringLiteral("Jente"), QStringLiteral("Mann"),
            QStringLiteral("Kvinne")};
}

std::optional<int> personSlotFor(const QString &startNo)
{
    return catalogueSlot(startNo, kMaxPersons);
}

QString startNumberProblem(const AppState &state, const QString &typed, const QString &kept)
{
    return numberNotTakenText(state, QStringLiteral("Startnummer"), QStringLiteral("Start number"), typed,
                              kMaxPersons, kept);
}

bool syncPersonCatalog(AppState &state, const QVariantList &record)
{
    auto text = [&record](int field) { return field < record.size() ? record[field].toString() : QString(); };
    const std::optional<int> k = personSlotFor(text(PersonStartNo));
    if (!k) return false;
    PersonSlot &slot = state.catalogs.persons[size_t(*k)];
    slot.startNo = numberText(qint64(*k));
    slot.name = text(PersonSurname) + u' ' + text(PersonFirstName);
    slot.club = text(PersonClub);
    slot.cls = text(PersonClass);
    slot.contingentCode = qint16(toInteger(text(PersonContingent), -32768, 32767));
    return true;
}

QString contingentCodeText(int option)
{
    return numberText(qint64(option + 1));
}

int contingentOption(const QString &codeText)
{
    const double code = toDouble(codeText);
    for (int option = 0; option < 4; ++option)
        if (code == double(option + 1)) return option;
    return -1;
}

QList<int> personWipeFields()
{
    QList<int> fields;
    for (int f = PersonFirstName; f <= PersonAge; ++f)
        if (f != PersonContingent) fields.append(f);
    return fields;
}

QStringList clubChoices(const AppState &state)
{
    QStringList list;
    const int count = std::clamp(state.catalogs.clubCount, 0, kMaxClubs);
    for (int c = 1; c <= count; ++c)
        list.append(state.catalogs.clubs[size_t(c)]);
    return list;
}

QStringList classChoices(const AppState &state)
{
    QStringList list;
    for (int c = 1; c <= kClassCount; ++c)
        list.append(state.catalogs.classes[size_t(c)]);
    return list;
}

} // namespace arenor::registers
