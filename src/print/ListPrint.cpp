#include "ListPrint.h"

#include <QDate>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <vector>

namespace arenor::print {

namespace {

using K = ListLineKind;

constexpr double kNormalPoints = 9.0;
constexpr double kMarginMm = 12.0;

// One line placed on a page: the document's line, or a heading repeated at the top of a page.
struct Placed {
    qsizetype line;
    QList<int> rules; // the separator positions of the table the line stands in
    bool inTable = false;
};

struct Page {
    std::vector<Placed> lines;
};

// The fonts and measures of one device.
struct Metrics {
    QFont font;
    QFont bold;
    double advance = 0; // one print position
    double height = 0;  // one line
    double ascent = 0;
    QRectF body;   // where the list's lines go
    QRectF header; // meet, title and date
    QRectF footer;
};

Metrics metricsFor(QPagedPaintDevice &device, const ListDocument &document)
{
    Metrics m;
    const QRectF page(QPointF(0, 0), QSizeF(device.width(), device.height()));
    const double mm = device.logicalDpiX() / 25.4;
    const QRectF inner = page.adjusted(kMarginMm * mm, kMarginMm * mm, -kMarginMm * mm, -kMarginMm * mm);
    m.font = QFont(QStringLiteral("DejaVu Sans Mono"));
    m.font.setStyleHint(QFont::Monospace);
    m.font.setFixedPitch(true);
    m.font.setPointSizeF(kNormalPoints);
    QFontMetricsF metrics(m.font, &device);
    // A list wider than the page at the normal size is printed smaller, never cut.
    const double width = double(std::max<qsizetype>(document.width(), 1));
    const double normal = metrics.horizontalAdvance(QLatin1Char('M'));
    if (normal * width > inner.width()) {
        m.font.setPointSizeF(std::max(4.0, kNormalPoints * inner.width() / (normal * width) * 0.995));
        metrics = QFontMetricsF(m.font, &device);
    }
    m.bold = m.font;
    m.bold.setBold(true);
    m.advance = metrics.horizontalAdvance(QLatin1Char('M'));
    m.height = metrics.height() * 1.15;
    m.ascent = metrics.ascent() + (m.height - metrics.height()) / 2;
    m.header = QRectF(inner.left(), inner.top(), inner.width(), 2.6 * m.height);
    m.footer = QRectF(inner.left(), inner.bottom() - 1.5 * m.height, inner.width(), 1.5 * m.height);
    m.body = QRectF(inner.left(), m.header.bottom(), inner.width(), m.footer.top() - m.header.bottom());
    return m;
}

bool isClosingRuler(const ListDocLine &line)
{
    return line.kind == K::Ruler;
}

// Splits the document into pages. A table's heading is repeated at the top of each page its
// rows go on to; a title, section or heading never stands alone at the foot of a page.
std::vector<Page> paginate(const ListDocument &document, const Metrics &m)
{
    const int perPage = std::max(4, int(m.body.height() / m.height));
    std::vector<Page> pages(1);
    qsizetype heading = -1;     // the column heading of the open table
    qsizetype headingRule = -1; // the ruler under it
    bool inRows = false;
    QList<int> rules;
    const qsizetype count = document.lines.size();
    for (qsizetype i = 0; i < count; ++i) {
        const ListDocLine &line = document.lines[i];
        const bool keepsWithNext =
            line.kind == K::Title || line.kind == K::Section || line.kind == K::Columns;
        const int room = perPage - int(pages.back().lines.size());
        // Trailing blank lines are no reason for a new page.
        if (room <= 0 && line.kind == K::Blank)
            continue;
        if (room <= 0 || (keepsWithNext && room < 4 && !pages.back().lines.empty())) {
            pages.emplace_back();
            if (inRows && heading >= 0 && line.kind != K::Ruler) {
                pages.back().lines.push_back({heading, rules, true});
                if (headingRule >= 0)
                    pages.back().lines.push_back({headingRule, {}, false});
            }
        }
        if (line.kind == K::Columns) {
            heading = i;
            headingRule = -1;
            inRows = false;
            rules = separatorColumns(line.text);
            pages.back().lines.push_back({i, rules, true});
            continue;
        }
        if (line.kind == K::Ruler && heading >= 0) {
            if (!inRows && headingRule < 0 && line.text.startsWith(u'=')) {
                headingRule = i;
                inRows = true;
            } else if (inRows && isClosingRuler(line) && line.text.startsWith(u'=')) {
                inRows = false;
                heading = -1;
            }
            pages.back().lines.push_back({i, {}, false});
            if (heading < 0)
                rules.clear();
            continue;
        }
        const bool tableLine = inRows && (line.kind == K::Row || line.kind == K::Note);
        pages.back().lines.push_back({i, tableLine ? rules : QList<int>(), tableLine});
    }
    return pages;
}

void paintLine(QPainter &painter, const Metrics &m, const ListDocLine &line, const Placed &placed, double y,
               qsizetype rowIndex)
{
    const double left = m.body.left();
    const double widthOfLine = m.advance * double(std::max<qsizetype>(line.text.toUcs4().size(), 1));
    if (line.kind == K::Ruler) {
        QPen pen(Qt::black);
        pen.setWidthF(m.height * (line.text.startsWith(u'=') ? 0.08 : 0.04));
        painter.setPen(pen);
        const double middle = y + m.height / 2;
        painter.drawLine(QPointF(left, middle), QPointF(left + widthOfLine, middle));
        return;
    }
    if (line.kind == K::Row && rowIndex % 2 == 1) {
        const double right = placed.rules.isEmpty() ? widthOfLine : m.advance * (placed.rules.last() - 0.5);
        painter.fillRect(QRectF(left, y, right, m.height), QColor(236, 236, 236));
    }
    painter.setFont(line.kind == K::Title || line.kind == K::Section || line.kind == K::Columns ? m.bold
                                                                                                : m.font);
    painter.setPen(Qt::black);
    const QList<ListCell> &cells = line.cells;
    if (cells.isEmpty() && !line.text.isEmpty()) {
        painter.drawText(QPointF(left, y + m.ascent), line.text);
    } else {
        for (const ListCell &cell : cells)
            painter.drawText(QPointF(left + m.advance * (cell.column - 1), y + m.ascent), cell.text);
    }
    if (!placed.rules.isEmpty()) {
        QPen pen(Qt::black);
        pen.setWidthF(m.height * 0.04);
        painter.setPen(pen);
        for (int column : placed.rules) {
            const double x = left + m.advance * (column - 0.5);
            painter.drawLine(QPointF(x, y), QPointF(x, y + m.height));
        }
    }
}

void paintFrame(QPainter &painter, const Metrics &m, const ListDocument &document, const PageFrame &frame,
                int page, int pages)
{
    const QString meet = document.meetName.isEmpty() ? frame.meetName : document.meetName;
    painter.setPen(Qt::black);
    painter.setFont(m.bold);
    const QRectF top(m.header.left(), m.header.top(), m.header.width(), m.height);
    painter.drawText(top, Qt::AlignLeft | Qt::AlignVCenter, meet);
    painter.setFont(m.font);
    painter.drawText(top, Qt::AlignRight | Qt::AlignVCenter, frame.date);
    const QRectF second = top.translated(0, m.height);
    painter.drawText(second, Qt::AlignLeft | Qt::AlignVCenter, document.title);
    QPen pen(Qt::black);
    pen.setWidthF(m.height * 0.04);
    painter.setPen(pen);
    const double below = second.bottom() + m.height * 0.3;
    painter.drawLine(QPointF(m.header.left(), below), QPointF(m.header.right(), below));
    painter.setFont(m.font);
    painter.drawText(m.footer, Qt::AlignHCenter | Qt::AlignBottom,
                     QString(frame.pageOf)
                         .replace(QStringLiteral("%1"), QString::number(page))
                         .replace(QStringLiteral("%2"), QString::number(pages)));
}

} // namespace

PageFrame pageFrameFor(const AppState &state)
{
    return {QFileInfo(state.currentDatabase).completeBaseName(),
            QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")), state.texts.message(Text::PageOf)};
}

QPageLayout pageLayoutFor(const ListDocument &document)
{
    const auto orientation =
        document.width() > kPortraitCharacters ? QPageLayout::Landscape : QPageLayout::Portrait;
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

int pageCount(QPagedPaintDevice &device, const ListDocument &document)
{
    return int(paginate(document, metricsFor(device, document)).size());
}

int paintList(QPainter &painter, QPagedPaintDevice &device, const ListDocument &document,
              const PageFrame &frame)
{
    const Metrics m = metricsFor(device, document);
    const std::vector<Page> pages = paginate(document, m);
    const int total = int(pages.size());
    for (int p = 0; p < total; ++p) {
        if (p > 0)
            device.newPage();
        paintFrame(painter, m, document, frame, p + 1, total);
        double y = m.body.top();
        qsizetype rowIndex = 0;
        for (const Placed &placed : pages[size_t(p)].lines) {
            const ListDocLine &line = document.lines[placed.line];
            rowIndex = line.kind == K::Row ? rowIndex + 1 : 0;
            paintLine(painter, m, line, placed, y, rowIndex);
            y += m.height;
        }
    }
    return total;
}

Status writeListPdf(const QString &path, const ListDocument &document, const PageFrame &frame, int *pages)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::failure(file.errorString());
    int made = 0;
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setPageLayout(pageLayoutFor(document));
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Arenor"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            return Status::failure(QFileInfo(path).fileName());
        }
        made = paintList(painter, writer, document, frame);
        painter.end();
    }
    if (!file.commit())
        return Status::failure(file.errorString());
    if (pages)
        *pages = made;
    return {};
}

} // namespace arenor::print
