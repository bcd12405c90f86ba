#include "ListText.h"

#include "base/Convert.h"
#include "base/TextFile.h"
#include "lists/MeetTemplates.h"

#include <QFile>

namespace arenor::lists {

void ListLine::padTo(int column)
{
    if (m_characters < column - 1) {
        m_line.append(QString(column - 1 - m_characters, u' '));
        m_characters = column - 1;
    }
}

ListLine &ListLine::text(int column, QStringView value, int width)
{
    padTo(column);
    if (width > 0)
        value = characterLeft(value, width);
    m_line.append(value);
    m_characters += characterCount(value);
    return *this;
}

ListLine &ListLine::number(int column, qint64 value)
{
    return text(column, numberText(value));
}

ListLine &ListLine::separator(int column)
{
    return text(column, m_separators ? QStringView(u":") : QStringView(u" "));
}

ListLine &ListLine::separators(std::initializer_list<int> columns)
{
    for (int column : columns)
        separator(column);
    return *this;
}

ListLine &ListLine::blankTo(int column)
{
    padTo(column + 1);
    return *this;
}

QString field(QStringView line, int first, int last)
{
    const int width = last - first + 1;
    if (width <= 0 || first < 1)
        return {};
    const QStringView value = characterMid(line, first - 1, width);
    const qsizetype missing = width - characterCount(value);
    return missing > 0 ? value.toString() + QString(missing, u' ') : value.toString();
}

QString trimmedField(QStringView line, int first, int last)
{
    if (first < 1 || last < first)
        return {};
    return characterMid(line, first - 1, last - first + 1).trimmed().toString();
}

Status infoHeaderLines(const AppState &state, QStringList &lines)
{
    const QString path = state.meetFile(QStringLiteral("Info.txt"));
    if (!QFile::exists(path)) {
        if (Status s = writeInfoTemplate(state, path); !s)
            return s;
    }
    bool ok = false;
    const QStringList info = readTextLines(path, &ok);
    if (!ok)
        return Status::failure(path + QStringLiteral(": ") + state.texts.message(Text::FileUnreadable));
    lines.clear();
    for (int i = 4; i < 8; ++i)
        lines << info.value(i);
    return {};
}

int layoutShift(QStringView headerLine)
{
    const QStringView heat = characterMid(headerLine, 2, 4);
    const QStringView standard = characterMid(headerLine, 2, 5);
    for (Language language : {Language::Norwegian, Language::English}) {
        if (heat == TextTables::message(76, language))
            return 22;
        if (standard == TextTables::message(75, language))
            return 0;
        if (heat == TextTables::message(77, language))
            return 7;
    }
    return kNoLayout;
}

} // namespace arenor::lists
