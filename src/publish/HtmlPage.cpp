#include "HtmlPage.h"

#include <QRegularExpression>

namespace arenor::publish {

namespace {

QString own(Text id, Language language)
{
    return TextTables::text(id, language);
}

QString languageCode(Language language)
{
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("nb");
}

qsizetype characters(QStringView text)
{
    qsizetype n = 0;
    for (QChar c : text)
        if (!c.isLowSurrogate())
            ++n;
    return n;
}

bool looksNumeric(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[-+]?[0-9][0-9.,:]*$"));
    return number.match(text).hasMatch();
}

// Columns a phone can do without: the difference to the winner, and the place in the heat
// where the place in the event is shown too.
bool isMinor(const QString &heading)
{
    return heading == QLatin1String("Diff.") || heading == QLatin1String("Ht.pl");
}

// One table: its column headings (by print position) and the rows under them, kept until the
// table ends so empty columns are known before the headings are written.
class Table {
public:
    struct Heading {
        int column;
        qsizetype length;
        QString text;
    };

    explicit Table(QList<Heading> headings) : m_headings(std::move(headings))
    {
        if (m_headings.isEmpty())
            m_headings.append(Heading{1, 0, QString()});
        for (qsizetype j = 1; j < m_headings.size(); ++j) {
            const Heading &before = m_headings[j - 1];
            // A cell belongs to the heading it starts nearest after: halfway between the end of
            // one heading's text and the start of the next, so right-aligned values wider than
            // their heading stay in their column.
            m_bounds.append(int((before.column + before.length + m_headings[j].column + 1) / 2));
        }
    }

    bool hasRows() const { return !m_rows.isEmpty(); }

    void addRow(const QList<ListCell> &cells)
    {
        Row row;
        row.cells.resize(m_headings.size());
        for (const ListCell &cell : cells) {
            const QString text = cell.text.trimmed();
            if (text.isEmpty())
                continue;
            qsizetype lead = 0;
            while (lead < cell.text.size() && cell.text[lead].isSpace())
                ++lead;
            qsizetype start = cell.column + lead;
            if (cell.rightAligned && cell.width > 0)
                start = std::max<qsizetype>(cell.column, cell.column + cell.width - characters(text));
            qsizetype j = 0;
            while (j < m_bounds.size() && start >= m_bounds[j])
                ++j;
            QString &into = row.cells[j];
            into = into.isEmpty() ? text : into + u' ' + text;
        }
        m_rows.append(row);
    }

    void addNote(const QString &text)
    {
        Row row;
        row.note = text;
        m_rows.append(row);
    }

    void write(QString &out) const
    {
        const qsizetype n = m_headings.size();
        QList<bool> vacant(n, true), numeric(n, true);
        for (const Row &row : m_rows)
            for (qsizetype j = 0; j < row.cells.size(); ++j)
                if (!row.cells[j].isEmpty()) {
                    vacant[j] = false;
                    numeric[j] = numeric[j] && looksNumeric(row.cells[j]);
                }
        QList<QString> classes(n);
        for (qsizetype j = 0; j < n; ++j) {
            QStringList c;
            if (isMinor(m_headings[j].text))
                c << QStringLiteral("minor");
            if (vacant[j])
                c << QStringLiteral("vacant");
            else if (numeric[j])
                c << QStringLiteral("num");
            if (!c.isEmpty())
                classes[j] = QStringLiteral(" class=\"") + c.join(u' ') + u'"';
        }
        out += QStringLiteral("<table>\n");
        const bool headed = n > 1 || !m_headings.first().text.isEmpty();
        if (headed) {
            out += QStringLiteral("<thead><tr>");
            for (qsizetype j = 0; j < n; ++j)
                out += QStringLiteral("<th scope=\"col\"") + classes[j] + u'>' +
                       escapeHtml(m_headings[j].text) + QStringLiteral("</th>");
            out += QStringLiteral("</tr></thead>\n");
        }
        out += QStringLiteral("<tbody>\n");
        for (const Row &row : m_rows) {
            if (row.cells.isEmpty()) {
                out += QStringLiteral("<tr class=\"note\"><td colspan=\"%1\">").arg(n) +
                       escapeHtml(row.note) + QStringLiteral("</td></tr>\n");
                continue;
            }
            out += QStringLiteral("<tr>");
            for (qsizetype j = 0; j < n; ++j)
                out += QStringLiteral("<td") + classes[j] + u'>' + escapeHtml(row.cells[j]) +
                       QStringLiteral("</td>");
            out += QStringLiteral("</tr>\n");
        }
        out += QStringLiteral("</tbody>\n</table>\n");
    }

private:
    struct Row {
        QList<QString> cells; // empty for a note across the table
        QString note;
    };
    QList<Heading> m_headings;
    QList<int> m_bounds;
    QList<Row> m_rows;
};

QList<Table::Heading> headingsOf(const ListDocLine &line)
{
    QList<Table::Heading> headings;
    for (const ListCell &cell : line.cells) {
        const QString text = cell.text.trimmed();
        if (text.isEmpty())
            continue;
        qsizetype lead = 0;
        while (lead < cell.text.size() && cell.text[lead].isSpace())
            ++lead;
        headings.append(Table::Heading{int(cell.column + lead), characters(text), text});
    }
    std::stable_sort(headings.begin(), headings.end(),
                     [](const Table::Heading &a, const Table::Heading &b) { return a.column < b.column; });
    return headings;
}

void pageStart(QString &out, const QString &title, const PageFrame &frame)
{
    const QString meet = headerTexts(frame.meetLines).value(0);
    out += QStringLiteral("<!DOCTYPE html>\n<html lang=\"") + languageCode(frame.language) +
           QStringLiteral("\">\n<head>\n<meta charset=\"utf-8\">\n"
                          "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n");
    if (frame.refresh)
        out += QString::fromUtf8(refreshLine());
    out += QStringLiteral("<title>") +
           escapeHtml(meet.isEmpty() || meet == title ? title : title + QStringLiteral(" – ") + meet) +
           QStringLiteral("</title>\n<link rel=\"stylesheet\" href=\"style.css\">\n</head>\n<body>\n");
    out += QStringLiteral("<div class=\"nav\"><a href=\"index.html\">") +
           escapeHtml(meet.isEmpty() ? own(Text::SiteHome, frame.language) : meet) + QStringLiteral("</a>");
    if (!frame.roundName.isEmpty() && !frame.roundPage.isEmpty())
        out += QStringLiteral(" › <a href=\"") + escapeHtml(frame.roundPage) + QStringLiteral("\">") +
               escapeHtml(frame.roundName) + QStringLiteral("</a>");
    out += QStringLiteral("</div>\n");
}

void pageEnd(QString &out)
{
    out += QStringLiteral("</body>\n</html>\n");
}

} // namespace

QByteArray refreshLine()
{
    return QByteArrayLiteral("<meta http-equiv=\"refresh\" content=\"") +
           QByteArray::number(kRefreshSeconds) + QByteArrayLiteral("\">\n");
}

QStringList headerTexts(const QStringList &lines)
{
    QStringList out;
    for (const QString &line : lines) {
        QString t = line.trimmed();
        if (std::all_of(t.begin(), t.end(), [](QChar c) { return QStringView(u"-=_:* ").contains(c); }))
            continue;
        if (t.size() > 1 && t.startsWith(u':') && t.endsWith(u':')) {
            const QString inner = t.mid(1, t.size() - 2);
            const qsizetype colon = inner.indexOf(u':');
            t = (colon >= 0 ? inner.mid(colon + 1) : inner).trimmed();
            if (t.isEmpty())
                continue;
        }
        out << t;
    }
    return out;
}

QString escapeHtml(QStringView text)
{
    // Qt escapes & < > and "; the apostrophe too, since attributes may be quoted either way.
    QString out = text.toString().toHtmlEscaped().replace(u'\'', QLatin1String("&#39;"));
    // Control characters have no place in a page; a tab reads as a blank.
    for (QChar &c : out)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    return out;
}

QByteArray listPageHtml(const ListDocument &document, const PageFrame &frame)
{
    QString out;
    out.reserve(document.lines.size() * 120 + 1024);
    pageStart(out, document.title, frame);

    std::optional<Table> table;
    QList<Table::Heading> headings; // the last column headings, for rows after a rule
    QStringList header;
    auto endTable = [&] {
        if (table) {
            table->write(out);
            table.reset();
        }
    };
    auto endHeader = [&] {
        header = headerTexts(header);
        if (!header.isEmpty()) {
            out += QStringLiteral("<div class=\"meet\">\n");
            for (const QString &line : header)
                out += QStringLiteral("<p>") + escapeHtml(line) + QStringLiteral("</p>\n");
            out += QStringLiteral("</div>\n");
            header.clear();
        }
    };
    bool titled = false;
    // A list without a title line still gets its title as the heading.
    if (std::none_of(document.lines.begin(), document.lines.end(), [](const ListDocLine &l) {
            return l.kind == ListLineKind::Title && !l.text.trimmed().isEmpty();
        })) {
        out += QStringLiteral("<h1>") + escapeHtml(document.title) + QStringLiteral("</h1>\n");
        titled = true;
    }
    for (const ListDocLine &line : document.lines) {
        const QString text = line.text.trimmed();
        if (line.kind != ListLineKind::Header)
            endHeader();
        switch (line.kind) {
        case ListLineKind::Header:
            endTable();
            header << text;
            break;
        case ListLineKind::Title:
            endTable();
            if (!text.isEmpty()) {
                out += (titled ? QStringLiteral("<h2>") : QStringLiteral("<h1>")) + escapeHtml(text) +
                       (titled ? QStringLiteral("</h2>\n") : QStringLiteral("</h1>\n"));
                titled = true;
            }
            break;
        case ListLineKind::Section:
            endTable();
            if (!text.isEmpty())
                out += QStringLiteral("<h2>") + escapeHtml(text) + QStringLiteral("</h2>\n");
            break;
        case ListLineKind::Columns:
            endTable();
            headings = headingsOf(line);
            table.emplace(headings);
            break;
        case ListLineKind::Ruler:
            // A rule under the headings is the table's own; one after rows ends the table.
            if (table && table->hasRows())
                endTable();
            break;
        case ListLineKind::Row:
            if (!table)
                table.emplace(headings);
            table->addRow(line.cells.isEmpty() ? QList<ListCell>{ListCell{1, 0, line.text, false}}
                                               : line.cells);
            break;
        case ListLineKind::Note:
            if (text.isEmpty())
                break;
            if (table && table->hasRows())
                table->addNote(text);
            else {
                endTable();
                out += QStringLiteral("<p class=\"note\">") + escapeHtml(text) + QStringLiteral("</p>\n");
            }
            break;
        case ListLineKind::Blank:
            if (table && table->hasRows())
                endTable();
            break;
        }
    }
    endTable();
    endHeader();
    pageEnd(out);
    return out.toUtf8();
}

QByteArray linkPageHtml(const QString &heading, const QString &subline, const QList<LinkGroup> &groups,
                        const PageFrame &frame)
{
    QString out;
    pageStart(out, heading, frame);
    QStringList meet = headerTexts(frame.meetLines);
    if (!meet.isEmpty() && meet.first() == heading) {
        // The index: the meet's name is the heading, the rest of its block one line under it.
        meet.removeFirst();
        out += QStringLiteral("<h1>") + escapeHtml(heading) + QStringLiteral("</h1>\n");
        if (!meet.isEmpty())
            out += QStringLiteral("<p class=\"details\">") + escapeHtml(meet.join(QStringLiteral(" · "))) +
                   QStringLiteral("</p>\n");
    } else {
        if (!meet.isEmpty()) {
            out += QStringLiteral("<div class=\"meet\">\n");
            for (const QString &line : meet)
                out += QStringLiteral("<p>") + escapeHtml(line) + QStringLiteral("</p>\n");
            out += QStringLiteral("</div>\n");
        }
        out += QStringLiteral("<h1>") + escapeHtml(heading) + QStringLiteral("</h1>\n");
    }
    if (!subline.isEmpty())
        out += QStringLiteral("<p class=\"note\">") + escapeHtml(subline) + QStringLiteral("</p>\n");
    for (const LinkGroup &group : groups) {
        if (group.links.isEmpty())
            continue;
        out += QStringLiteral("<h2>") + escapeHtml(group.heading) +
               QStringLiteral("</h2>\n<ul class=\"links\">\n");
        for (const PageLink &link : group.links) {
            out += QStringLiteral("<li><a href=\"") + escapeHtml(link.page) + QStringLiteral("\">") +
                   escapeHtml(link.text) + QStringLiteral("</a>");
            if (!link.note.isEmpty())
                out += QStringLiteral(" <span class=\"live\">") + escapeHtml(link.note) +
                       QStringLiteral("</span>");
            out += QStringLiteral("</li>\n");
        }
        out += QStringLiteral("</ul>\n");
    }
    pageEnd(out);
    return out.toUtf8();
}

QByteArray styleSheet()
{
    // System fonts only: nothing is fetched from elsewhere.
    return QByteArrayLiteral(
        "html { -webkit-text-size-adjust: 100%; text-size-adjust: 100%; }\n"
        "body { margin: 0 auto; max-width: 60rem; padding: 0.75rem 1rem 2rem;\n"
        "  font: 16px/1.4 system-ui, -apple-system, \"Segoe UI\", Roboto, \"Helvetica Neue\", Arial, "
        "\"DejaVu Sans\",\n"
        "  sans-serif; color: #1b1b1b; background: #fff; }\n"
        ".nav { font-size: 0.9rem; margin-bottom: 0.5rem; }\n"
        ".nav a, ul.links a { color: #0b4f8a; }\n"
        ".meet { color: #555; font-size: 0.9rem; margin-bottom: 0.5rem; }\n"
        ".meet p { display: inline; margin: 0; }\n"
        ".meet p + p::before { content: \" · \"; }\n"
        ".meet p:first-child { display: block; font-weight: bold; color: #1b1b1b; font-size: 1rem; }\n"
        ".meet p:nth-child(2)::before { content: none; }\n"
        "h1 { font-size: 1.4rem; margin: 0.6rem 0 0.4rem; }\n"
        "h2 { font-size: 1.15rem; margin: 1.2rem 0 0.3rem; }\n"
        "p.note { margin: 0.3rem 0; color: #333; }\n"
        "p.details { margin: 0 0 0.4rem; color: #555; }\n"
        "table { border-collapse: collapse; width: 100%; margin: 0.4rem 0 1rem;\n"
        "  border-top: 2px solid #1b1b1b; border-bottom: 2px solid #1b1b1b; }\n"
        "th, td { text-align: left; vertical-align: top; padding: 0.2rem 0.45rem; overflow-wrap: anywhere; "
        "}\n"
        "th { border-bottom: 1px solid #1b1b1b; font-weight: bold; white-space: nowrap; }\n"
        "tbody tr:nth-child(even) { background: #f1f4f7; }\n"
        "td.num, th.num { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; "
        "overflow-wrap: normal; }\n"
        "tr.note td { font-style: italic; }\n"
        "ul.links { padding-left: 1.2rem; margin: 0.2rem 0; }\n"
        "ul.links li { margin: 0.3rem 0; }\n"
        ".live { font-size: 0.85rem; color: #fff; background: #b3261e; border-radius: 0.3rem; padding: 0 "
        "0.35rem; }\n"
        "@media (max-width: 40rem) {\n"
        "  body { padding: 0.5rem 0.4rem 1.5rem; font-size: 14px; }\n"
        "  h1 { font-size: 1.2rem; }\n"
        "  h2 { font-size: 1.05rem; }\n"
        "  th, td { padding: 0.15rem 0.2rem; }\n"
        "  th { white-space: normal; overflow-wrap: normal; font-size: 0.75rem; }\n"
        "  .vacant { display: none; }\n"
        "}\n"
        "@media (max-width: 30rem) {\n"
        "  .minor { display: none; }\n"
        "}\n"
        "@media print {\n"
        "  .nav { display: none; }\n"
        "  body { max-width: none; }\n"
        "}\n");
}

} // namespace arenor::publish
