#include "ListText.h"

#include "base/Convert.h"
#include "base/TextFile.h"
#include "lists/MeetTemplates.h"

#include <QFile>

namespace arenor::lists {

void ListLine::padTo(int column)
{
    if (m_line.size() < column - 1)
        m_line.append(QString(column - 1 - m_line.size(), u' '));
}

ListLine &ListLine::text(int column, QStringView value, int width)
{
    padTo(column);
    if (width > 0 && value.size() > width) {
        // Cut by characters, never inside a surrogate pair.
        qsizetype cut = 0;
        int count = 0;
        while (cut < value.size() && count < width) {
            cut += (value[cut].isHighSurrogate() && cut + 1 < value.size()) ? 2 : 1;
            ++count;
        }
        value = value.left(cut);
    }
    m_line.append(value);
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
    if (width <= 0)
        return {};
    QString value = line.mid(first - 1, width).toString();
    if (value.size() < width)
        value.append(QString(width - value.size(), u' '));
    return value;
}

QString trimmedField(QStringView line, int first, int last)
{
    if (first - 1 >= line.size())
        return {};
    return line.mid(first - 1, last - first + 1).trimmed().toString();
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
    for (Language language : {Language::Norwegian, Language::English}) {
        const QStringView heat = headerLine.mid(2, 4);
        const QStringView standard = headerLine.mid(2, 5);
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
