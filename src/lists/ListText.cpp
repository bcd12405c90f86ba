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

ListLine &ListLine::place(int column, QStringView value, int width, bool rightAligned)
{
    padTo(column);
    if (width > 0)
        value = characterLeft(value, width);
    // The cell starts where its text does: a number's sign blank and leading blanks are no text.
    qsizetype lead = 0;
    while (lead < value.size() && value[lead].isSpace())
        ++lead;
    const QStringView shown = value.mid(lead).trimmed();
    if (!shown.isEmpty())
        m_cells.append(ListCell{int(m_characters + lead) + 1, width, shown.toString(), rightAligned});
    m_line.append(value);
    m_characters += characterCount(value);
    return *this;
}

ListLine &ListLine::text(int column, QStringView value, int width)
{
    return place(column, value, width, false);
}

ListLine &ListLine::number(int column, qint64 value)
{
    return place(column, numberText(value), 0, true);
}

ListLine &ListLine::separator(int column)
{
    padTo(column);
    m_line.append(m_separators ? u':' : u' ');
    ++m_characters;
    return *this;
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

namespace {

// A header line: a ruler drawn by hand is a rule; the first line with text names the meet.
void addHeaderLine(ListDocument &document, const QString &line)
{
    if (isRulerText(line)) {
        document.add(ListLineKind::Ruler, line);
        return;
    }
    document.add(ListLineKind::Header, line);
    if (document.meetName.isEmpty())
        document.meetName = QString(line).remove(u':').simplified();
}

} // namespace

void addHeaderLines(ListDocument &document, const QStringList &header)
{
    for (const QString &line : header)
        addHeaderLine(document, line);
}

ListDocument classifiedList(const QStringList &lines)
{
    using K = ListLineKind;
    ListDocument document;
    document.lines.reserve(lines.size());
    QString heading;      // the column heading of the table the rows stand in
    bool inRows = false;  // between the "=" ruler under the heading and the next ruler
    bool afterGap = true; // a blank line or a table's end came last
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        const bool ruled = isRulerText(line);
        const bool columns = !ruled && (layoutShift(line) != kNoLayout ||
                                        (i > 0 && i + 1 < lines.size() && lines[i - 1].startsWith(u'-') &&
                                         isRulerText(lines[i - 1]) && lines[i + 1].startsWith(u'=') &&
                                         isRulerText(lines[i + 1])));
        if (i == 0 && !line.trimmed().isEmpty()) {
            document.add(K::Title, line);
            afterGap = false;
        } else if (i >= 1 && i <= 4 && !columns) {
            addHeaderLine(document, line);
            afterGap = i == 4;
        } else if (ruled) {
            document.add(K::Ruler, line);
            if (inRows || !heading.isEmpty()) {
                // The "=" under a heading opens the rows; any ruler after rows closes them.
                afterGap = inRows;
                inRows = !inRows && line.startsWith(u'=');
                if (!inRows && afterGap)
                    heading.clear();
            }
        } else if (columns) {
            heading = line;
            inRows = false;
            addColumns(document, line);
        } else if (line.trimmed().isEmpty()) {
            document.add(K::Blank, line);
            afterGap = true;
        } else if (inRows || !heading.isEmpty()) {
            document.add(inRows ? K::Row : K::Note, line, cellsUnder(heading, line));
        } else {
            document.add(afterGap ? K::Section : K::Note, line);
            afterGap = false;
        }
    }
    return document;
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
