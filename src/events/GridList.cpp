#include "GridList.h"

#include "base/TextFile.h"

#include <QFile>
#include <array>
#include <utility>

namespace arenor::events {

namespace {

struct Placed {
    ColumnRole role;
    int column;
    int width = 0; // text columns are cut to their field, so later columns stay in place
};

// Print positions of one list layout; columns count from 1.
struct ListLayout {
    int width;
    int headerMessage;
    int extraHeaderMessage; // 0 for none
    QList<int> separators;  // without the first and the last
    QList<Placed> values;
};

const ListLayout &layoutOf(ListType type)
{
    using R = ColumnRole;
    static const ListLayout standard{82,
                                     72,
                                     0,
                                     {9, 17, 45, 60, 71},
                                     {{R::Place, 3},
                                      {R::Number, 11},
                                      {R::Name, 19, 25},
                                      {R::Club, 47, 12},
                                      {R::Results, 62},
                                      {R::Difference, 73}}};
    static const ListLayout heat{104,
                                 73,
                                 0,
                                 {8, 15, 23, 31, 39, 67, 82, 93},
                                 {{R::Heat, 3},
                                  {R::Lane, 10},
                                  {R::HeatPlace, 17},
                                  {R::Place, 25},
                                  {R::Number, 33},
                                  {R::Name, 41, 25},
                                  {R::Club, 69, 12},
                                  {R::Results, 84},
                                  {R::Difference, 95}}};
    static const ListLayout step{104,
                                 72,
                                 70,
                                 {9, 17, 45, 60, 71, 82, 93},
                                 {{R::Place, 3},
                                  {R::Number, 11},
                                  {R::Name, 19, 25},
                                  {R::Club, 47, 12},
                                  {R::Results, 62},
                                  {R::Difference, 73},
                                  {R::Out, 84},
                                  {R::In, 95}}};
    static const ListLayout relay{89,
                                  74,
                                  0,
                                  {8, 16, 24, 52, 67, 78},
                                  {{R::Lane, 3},
                                   {R::Place, 10},
                                   {R::Number, 18},
                                   {R::ClubName, 26, 25},
                                   {R::Class, 54, 12},
                                   {R::Results, 69},
                                   {R::Difference, 80}}};
    switch (gridLayoutOf(type)) {
    case ListType::Heat:
        return heat;
    case ListType::Relay:
        return relay;
    case ListType::Step:
        return step;
    default:
        return standard;
    }
}

// A line by print positions, counted in characters as every list counts them.
struct PrintLine {
    QString text;
    qsizetype characters = 0;

    // Text at a print position: blanks up to it first; a line already past it goes on right
    // after what it holds.
    void printAt(int column, QStringView value)
    {
        padTo(column - 1);
        text.append(value);
        characters += characterCount(value);
    }
    void padTo(qsizetype count)
    {
        if (characters < count) {
            text.append(QString(count - characters, u' '));
            characters = count;
        }
    }
};

QString twoDigits(int number)
{
    return (u'0' + QString::number(number)).right(2);
}

QString trimmedVariant(const ListSelection &selection)
{
    return selection.variant.trimmed();
}

bool hasVariant(const ListSelection &selection)
{
    const QString variant = trimmedVariant(selection);
    return !variant.isEmpty() && variant != u"_";
}

QString roundName(const ListSelection &selection)
{
    return selection.roundTag.left(selection.roundTag.size() - 1);
}

// A grid edited by hand may lack a column of its layout: say which, as result handling does.
Status checkColumns(const TextTables &texts, const GridColumns &columns, ListType type)
{
    const QList<GridColumn> missing = columns.missing(gridLayoutOf(type));
    if (missing.isEmpty())
        return {};
    return Status::failure(
        texts.message(Text::GridLacksColumns).arg(columnNames(missing, texts.messageLanguage())));
}

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// A name typed or imported with a line break or tab stays on its heading line, as in its file
// name; the characters a file name may not hold are fine in a heading and stay.
QString withoutControls(QString text)
{
    for (QChar &c : text)
        if (isControl(c))
            c = u'_';
    return text;
}

QString rightTrimmed(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return text.left(end);
}

// The round's tag as a language names the round ("Finale_", "Final_"), as the round tag is
// made from the round selector's captions.
QString roundTagIn(int round, Language language)
{
    const QString caption = TextTables::caption(236 + round, language);
    return (caption.size() < 4 ? QString() : caption.mid(1, caption.size() - 4)) + u'_';
}

// The names in a language, of the selection as it is named (its round tag as given).
QString gridTableNameIn(Language language, const ListSelection &s, bool longNames)
{
    if (longNames)
        return classListPrefix(s, language, true) + safeNamePart(trimmedVariant(s) + s.className);
    return classListPrefix(s, language, false) + twoDigits(s.classNumber);
}

QString eventListNameIn(Language language, const ListSelection &s, bool longNames)
{
    if (longNames)
        return eventListPrefix(s, language, true) + safeNamePart(s.eventName) + QStringLiteral(".txt");
    return eventListPrefix(s, language, false) + twoDigits(s.event) + QStringLiteral(".txt");
}

} // namespace

QString safeNamePart(const QString &text)
{
    static const QString unsafe = QStringLiteral("/\\:*?\"<>|");
    QString safe = text;
    for (QChar &c : safe) {
        if (isControl(c) || unsafe.contains(c))
            c = u'_';
    }
    return safe;
}

std::array<Language, 2> languagesFrom(Language first)
{
    return {first, first == Language::Norwegian ? Language::English : Language::Norwegian};
}

ListSelection selectionIn(const ListSelection &selection, Language language)
{
    for (int round = 0; round < 4; ++round) {
        for (Language known : {Language::Norwegian, Language::English}) {
            if (roundTagIn(round, known) == selection.roundTag) {
                ListSelection named = selection;
                named.roundTag = roundTagIn(round, language);
                return named;
            }
        }
    }
    return selection;
}

QString eventListPrefix(const ListSelection &s, Language language, bool longNames)
{
    if (longNames)
        return TextTables::message(68, language) + safeNamePart(s.roundTag);
    return TextTables::message(66, language) + safeNamePart(s.roundTag.left(1));
}

QString classListPrefix(const ListSelection &s, Language language, bool longNames)
{
    if (longNames)
        return TextTables::message(69, language) + safeNamePart(s.roundTag + s.eventName);
    return TextTables::message(67, language) + safeNamePart(s.roundTag.left(1)) + twoDigits(s.event);
}

QString ClassListName(const TextTables &texts, const ListSelection &selection, bool longNames)
{
    return gridTableName(texts, selection, longNames) + QStringLiteral(".txt");
}

QString EventListName(const TextTables &texts, const ListSelection &selection, bool longNames)
{
    return eventListNameIn(texts.messageLanguage(), selection, longNames);
}

QString gridTableName(const TextTables &texts, const ListSelection &selection, bool longNames)
{
    return gridTableNameIn(texts.messageLanguage(), selection, longNames);
}

QStringList classListNames(const TextTables &texts, const ListSelection &selection, bool longNames)
{
    QStringList names = gridTableNames(texts, selection, longNames);
    for (QString &name : names)
        name += QStringLiteral(".txt");
    return names;
}

namespace {

// A name in the language of the day first, then in the other language.
QStringList namesInBothLanguages(const TextTables &texts, const ListSelection &selection, bool longNames,
                                 QString (*nameIn)(Language, const ListSelection &, bool))
{
    const Language other = languagesFrom(texts.messageLanguage())[1];
    QStringList names{nameIn(texts.messageLanguage(), selection, longNames),
                      nameIn(other, selectionIn(selection, other), longNames)};
    names.removeDuplicates();
    return names;
}

} // namespace

QStringList eventListNames(const TextTables &texts, const ListSelection &selection, bool longNames)
{
    return namesInBothLanguages(texts, selection, longNames, eventListNameIn);
}

QStringList gridTableNames(const TextTables &texts, const ListSelection &selection, bool longNames)
{
    return namesInBothLanguages(texts, selection, longNames, gridTableNameIn);
}

QString listHeadingLine(const ListSelection &selection)
{
    QString line = selection.eventName.trimmed();
    if (hasVariant(selection))
        line += u' ' + QString(trimmedVariant(selection)).remove(u'_');
    return withoutControls(line + u' ' + selection.className + u' ' + roundName(selection));
}

Status gridListDocument(const TextTables &texts, const GridList &list, ListDocument &document)
{
    using K = ListLineKind;
    const ListLayout &layout = layoutOf(list.type);
    const GridColumns columns(list.columns);
    if (Status s = checkColumns(texts, columns, list.type); !s)
        return s;

    document = ListDocument();
    document.kind = QStringLiteral("class");
    document.roundName = roundName(list.selection);
    document.title = listHeadingLine(list.selection);
    document.lines.reserve(list.rows.size() + 16);
    document.add(K::Title, texts.message(71) + roundName(list.selection).toUpper());
    for (int i = 4; i < 8; ++i) {
        const QString line = list.infoLines.value(i);
        document.add(isRulerText(line) ? K::Ruler : K::Header, line);
        if (document.meetName.isEmpty() && !isRulerText(line))
            document.meetName = QString(line).remove(u':').simplified();
    }
    document.add(K::Blank, QString());
    document.add(K::Section, document.title);
    if (list.dateLine)
        document.add(K::Note,
                     QStringLiteral("Dato :") + list.startDate + QStringLiteral(" Tid :") + list.startTime);
    const QString header = texts.message(layout.headerMessage) +
                           (layout.extraHeaderMessage ? texts.message(layout.extraHeaderMessage) : QString());
    document.add(K::Ruler, ruler(u'-', layout.width));
    document.add(K::Columns, header, headingCells(header));
    document.add(K::Ruler, ruler(u'=', layout.width));

    // What each line prints, left to right: values by their column, separators when wanted.
    struct Item {
        int column;
        int index; // the value's column in the grid table, -1 for a separator
        int width;
    };
    QList<Item> items;
    for (const Placed &placed : layout.values)
        items.append({placed.column, columns.index(placed.role), placed.width});
    if (list.separators) {
        items.append({1, -1, 0});
        for (int column : layout.separators)
            items.append({column, -1, 0});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Item &a, const Item &b) { return a.column < b.column; });

    const QString separator = QStringLiteral(":");
    for (qsizetype r = 0; r < list.rows.size(); ++r) {
        const QStringList &row = list.rows[r];
        PrintLine line;
        QList<ListCell> cells;
        line.text.reserve(layout.width);
        for (const Item &item : items) {
            if (item.index < 0) {
                line.printAt(item.column, separator);
                continue;
            }
            QStringView value = QStringView(row.value(item.index)).trimmed();
            if (item.width > 0)
                value = characterLeft(value, item.width);
            if (!value.isEmpty()) {
                cells.append(ListCell{int(std::max<qsizetype>(item.column, line.characters + 1)), item.width,
                                      value.toString(), false});
                line.printAt(item.column, value);
            }
        }
        line.padTo(layout.width - 1);
        if (list.separators)
            line.text.append(separator);
        // Q, q or qR and the seed mark after the row's last column, only in seeded grids.
        if (const QString mark = list.rowMarks.value(r).trimmed(); !mark.isEmpty()) {
            cells.append(ListCell{int(line.characters + (list.separators ? 3 : 2)), 0, mark, false});
            line.text.append(u' ' + mark);
        }
        document.add(K::Row, line.text, std::move(cells));
        for (const QString &note : list.rowNotes.value(r))
            document.add(K::Note, note);
    }
    document.add(K::Ruler, ruler(u'=', layout.width));
    return {};
}

Status WriteGridList(QIODevice &device, const TextTables &texts, const GridList &list)
{
    ListDocument document;
    if (Status s = gridListDocument(texts, list, document); !s)
        return s;
    writeLines(device, document.textLines());
    return {};
}

Status writeGridListFile(const QString &path, const TextTables &texts, const GridList &list,
                         ListDocument *made)
{
    ListDocument document;
    if (Status s = gridListDocument(texts, list, document); !s)
        return s;
    if (Status s = writeTextFile(path, document.textLines()); !s)
        return s;
    if (made)
        *made = std::move(document);
    return {};
}

bool CheckListHeading(const QString &path, const ListSelection &selection)
{
    // A list made before the language was switched is headed with the round's other name.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray head;
    for (int i = 0; i < 7 && !file.atEnd(); ++i)
        head += file.readLine();
    const QStringList lines = splitLines(decodeText(head));
    if (lines.size() < 7)
        return false;
    for (Language language : {Language::Norwegian, Language::English})
        if (rightTrimmed(lines[6]) == rightTrimmed(listHeadingLine(selectionIn(selection, language))))
            return true;
    return false;
}

} // namespace arenor::events
