#include "GridColumns.h"

#include <array>

namespace arenor::events {

namespace {

constexpr std::array kNamedRoles = {
    ColumnRole::Heat,       ColumnRole::Lane, ColumnRole::HeatPlace, ColumnRole::Place, ColumnRole::Number,
    ColumnRole::Name,       ColumnRole::Club, ColumnRole::ClubName,  ColumnRole::Class, ColumnRole::Results,
    ColumnRole::Difference, ColumnRole::Out,  ColumnRole::In};

constexpr std::array kLanguages = {Language::Norwegian, Language::English};

} // namespace

ListType listTypeFromCode(int code)
{
    return code >= 0 && code <= 5 ? ListType(code) : ListType::Standard;
}

ListType gridLayoutOf(ListType type)
{
    return type == ListType::Multi || type == ListType::Special ? ListType::Standard : type;
}

int columnMessage(ColumnRole role)
{
    switch (role) {
    case ColumnRole::Heat:
        return 76;
    case ColumnRole::Lane:
        return 77;
    case ColumnRole::HeatPlace:
        return 137;
    case ColumnRole::Place:
        return 131;
    case ColumnRole::Number:
        return 132;
    case ColumnRole::Name:
        return 133;
    case ColumnRole::Club:
        return 134;
    case ColumnRole::ClubName:
        return 138;
    case ColumnRole::Class:
        return 139;
    case ColumnRole::Results:
        return 135;
    case ColumnRole::Difference:
        return 136;
    case ColumnRole::Out:
        return 129;
    case ColumnRole::In:
        return 130;
    case ColumnRole::Help:
        return 251;
    case ColumnRole::None:
        break;
    }
    return 0;
}

bool isIntegerColumn(ColumnRole role)
{
    switch (role) {
    case ColumnRole::Heat:
    case ColumnRole::Lane:
    case ColumnRole::HeatPlace:
    case ColumnRole::Place:
    case ColumnRole::Number:
        return true;
    default:
        return false;
    }
}

QString columnName(GridColumn column, Language language)
{
    const QString name = TextTables::message(columnMessage(column.role), language).trimmed();
    return column.role == ColumnRole::Help ? name + QString::number(column.help) : name;
}

GridColumn columnRole(const QString &name)
{
    const QString n = name.trimmed();
    for (Language language : kLanguages) {
        for (ColumnRole role : kNamedRoles) {
            if (n.compare(columnName({role, 0}, language), Qt::CaseInsensitive) == 0)
                return {role, 0};
        }
        const QString help = TextTables::message(columnMessage(ColumnRole::Help), language).trimmed();
        if (n.startsWith(help, Qt::CaseInsensitive)) {
            bool ok = false;
            const int number = n.mid(help.size()).toInt(&ok);
            if (ok && number >= 1 && number <= 99)
                return {ColumnRole::Help, number};
        }
    }
    return {};
}

QList<GridColumn> gridColumnLayout(ListType type, int helpCount)
{
    using R = ColumnRole;
    QList<GridColumn> columns;
    switch (gridLayoutOf(type)) {
    case ListType::Heat:
        columns = {{R::Heat},   {R::Lane}, {R::HeatPlace}, {R::Place},
                   {R::Number}, {R::Name}, {R::Club},      {R::Results}};
        break;
    case ListType::Relay:
        columns = {{R::Lane}, {R::Place}, {R::Number}, {R::ClubName}, {R::Class}, {R::Results}};
        break;
    default:
        columns = {{R::Place}, {R::Number}, {R::Name}, {R::Club}, {R::Results}};
        break;
    }
    for (int n = 1; n <= helpCount; ++n)
        columns.append({R::Help, n});
    columns.append({R::Difference});
    if (gridLayoutOf(type) == ListType::Step)
        columns << GridColumn{R::Out} << GridColumn{R::In};
    return columns;
}

GridColumns::GridColumns(const QStringList &names)
{
    m_columns.reserve(names.size());
    for (const QString &name : names)
        m_columns.append(columnRole(name));
}

int GridColumns::index(ColumnRole role) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].role == role)
            return i;
    }
    return -1;
}

int GridColumns::helpIndex(int n) const
{
    return int(m_columns.indexOf(GridColumn{ColumnRole::Help, n}));
}

bool GridColumns::holdsStartList(int position) const
{
    switch (m_columns.value(position).role) {
    case ColumnRole::HeatPlace:
    case ColumnRole::Place:
    case ColumnRole::Results:
    case ColumnRole::Difference:
    case ColumnRole::Out:
    case ColumnRole::In:
    case ColumnRole::Help:
        return false;
    default:
        return true;
    }
}

QList<GridColumn> GridColumns::missing(ListType type) const
{
    QList<GridColumn> absent;
    for (const GridColumn &column : gridColumnLayout(type, 0)) {
        if (index(column.role) < 0)
            absent.append(column);
    }
    return absent;
}

QString columnNames(const QList<GridColumn> &columns, Language language)
{
    QStringList names;
    for (const GridColumn &column : columns)
        names << columnName(column, language);
    return names.join(QStringLiteral(", "));
}

} // namespace arenor::events
