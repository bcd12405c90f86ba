#include "events/ui/FieldCardWindow.h"

#include "base/TextFile.h"
#include "print/ListCommands.h"
#include "print/ui/ListPrintDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace arenor {

using namespace events;

namespace {

QString say(Language language, const char *norwegian, const char *english)
{
    return QString::fromUtf8(language == Language::Norwegian ? norwegian : english);
}

QString placeText(const FieldPlace &p)
{
    if (p.place == 0)
        return {};
    return QString::number(p.place) + (p.tied ? QStringLiteral("=") : QString()) +
           (p.jumpOff ? QStringLiteral(" J") : QString());
}

} // namespace

FieldCardModel::FieldCardModel(AppState &state, const QString &table, QObject *parent)
    : QAbstractTableModel(parent), m_state(state), m_table(table)
{
}

Language FieldCardModel::language() const
{
    return m_state.texts.messageLanguage();
}

bool FieldCardModel::load(QString *error)
{
    beginResetModel();
    QHash<QString, QList<Attempt>> stored;
    QStringList unread;
    Status s = readFieldCompetitors(m_state.database, m_table, m_competitors);
    QStringList numbers;
    for (const FieldCompetitor &c : m_competitors)
        numbers << c.number;
    if (s)
        s = loadAttempts(m_state.database, m_table, stored, &unread);
    if (s)
        s = loadHeightCard(m_state.database, m_table, numbers, m_card, &unread);
    m_series.clear();
    for (const FieldCompetitor &c : m_competitors) {
        QList<Attempt> series = stored.value(c.number);
        series.resize(std::max<qsizetype>(series.size(), kAttempts));
        m_series << series;
    }
    recompute();
    endResetModel();
    if (!s && error)
        *error = s.error();
    if (s && !unread.isEmpty())
        emit refused(say(language(), "Lagrede forsøk som ikke kan leses, er utelatt for startnummer %1.",
                         "Stored attempts that cannot be read are left out for start number %1.")
                         .arg(unread.join(QStringLiteral(", "))));
    return s.ok();
}

void FieldCardModel::setVertical(bool vertical)
{
    beginResetModel();
    m_vertical = vertical;
    recompute();
    endResetModel();
}

void FieldCardModel::setWind(bool wind)
{
    beginResetModel();
    m_wind = wind;
    endResetModel();
}

void FieldCardModel::setFinalistCount(int count)
{
    m_finalists = std::max(1, count);
    recompute();
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

bool FieldCardModel::setHeights(const QString &heights, const QString &jumpOff, QString *error)
{
    HeightCard card = m_card;
    for (int pass = 0; pass < 2; ++pass) {
        QList<int> &list = pass == 0 ? card.heights : card.jumpOffHeights;
        list.clear();
        for (const QString &t : (pass == 0 ? heights : jumpOff).split(u' ', Qt::SkipEmptyParts)) {
            const std::optional<int> h = parseHeight(t, language(), error);
            if (!h)
                return false;
            list << *h;
        }
        const QList<QList<HeightCell>> &rows = pass == 0 ? card.cells : card.jumpOff;
        for (qsizetype c = 0; c < rows.size(); ++c) {
            for (qsizetype h = list.size(); h < rows[c].size(); ++h) {
                if (!rows[c][h].empty()) {
                    *error = say(language(), "Startnummer %1 har forsøk på en høyde som ville forsvinne.",
                                 "Start number %1 has attempts at a height that would go.")
                                 .arg(m_competitors.value(c).number);
                    return false;
                }
            }
        }
    }
    QStringList numbers;
    for (const FieldCompetitor &c : m_competitors)
        numbers << c.number;
    if (Status s = saveHeightCard(m_state.database, m_table, numbers, card, language()); !s) {
        *error = s.error();
        return false;
    }
    beginResetModel();
    m_card = card;
    recompute();
    endResetModel();
    return true;
}

QString FieldCardModel::heightsText(bool jumpOff) const
{
    QStringList out;
    for (int h : jumpOff ? m_card.jumpOffHeights : m_card.heights)
        out << heightText(h);
    return out.join(u' ');
}

void FieldCardModel::recompute()
{
    if (m_vertical) {
        m_card.cells.resize(m_competitors.size());
        m_card.jumpOff.resize(m_competitors.size());
        m_places = checkHeightCard(m_card, language()).isEmpty() ? verticalPlaces(m_card)
                                                                 : QList<FieldPlace>(m_competitors.size());
        m_inFinal = QList<bool>(m_competitors.size(), true);
    } else {
        m_places = horizontalPlaces(m_series);
        m_inFinal = finalists(m_series, m_finalists);
    }
}

QStringList FieldCardModel::results() const
{
    QStringList out;
    for (qsizetype i = 0; i < m_competitors.size(); ++i) {
        if (m_vertical) {
            const int best = verticalStanding(m_card, int(i)).best;
            out << (best > 0 ? heightText(best) : kNoResult);
        } else {
            const std::optional<Attempt> best = bestAttempt(m_series[i]);
            out << (best ? attemptText(*best) : kNoResult);
        }
    }
    return out;
}

QList<FieldPlace> FieldCardModel::places() const
{
    return m_places;
}

QStringList FieldCardModel::finalOrder() const
{
    QStringList out;
    for (int i : finalRoundsOrder(m_series, m_finalists))
        out << m_competitors[i].number;
    return out;
}

QStringList FieldCardModel::cardLines(const QString &heading) const
{
    QStringList labels;
    for (const FieldCompetitor &c : m_competitors)
        labels << QStringLiteral("%1  %2").arg(c.number, 5).arg(c.name);
    return fieldCardLines(heading, labels, m_series, m_vertical ? &m_card : nullptr, m_places, language());
}

int FieldCardModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_competitors.size());
}

std::pair<FieldCardModel::Cell, int> FieldCardModel::cellOf(int column) const
{
    QList<std::pair<Cell, int>> cells{{Cell::Number, 0}, {Cell::Name, 0}};
    const int attempts = m_vertical ? int(m_card.heights.size()) : kAttempts;
    for (int i = 0; i < attempts; ++i)
        cells.append({Cell::Attempt, i});
    if (m_vertical) {
        for (int i = 0; i < m_card.jumpOffHeights.size(); ++i)
            cells.append({Cell::JumpOff, i});
    } else if (m_wind) {
        for (int i = 0; i < kAttempts; ++i)
            cells.append({Cell::Wind, i});
    }
    cells.append({Cell::Best, 0});
    if (!m_vertical && m_wind)
        cells.append({Cell::BestWind, 0});
    cells.append({Cell::Place, 0});
    return column >= 0 && column < cells.size() ? cells[column] : std::pair(Cell::Number, -1);
}

int FieldCardModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    if (m_vertical)
        return 4 + int(m_card.heights.size() + m_card.jumpOffHeights.size());
    return 4 + kAttempts + (m_wind ? kAttempts + 1 : 0);
}

QVariant FieldCardModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_competitors.size())
        return {};
    const auto [cell, n] = cellOf(index.column());
    const int r = index.row();
    if (role == Qt::ToolTipRole && cell == Cell::Attempt && !m_inFinal[r] && n >= 3)
        return say(language(), "Ikke blant finalistene etter tre omganger.",
                   "Not among the finalists after three rounds.");
    if (role == Qt::TextAlignmentRole && cell != Cell::Name)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (cell) {
    case Cell::Number:
        return m_competitors[r].number;
    case Cell::Name:
        return m_competitors[r].name;
    case Cell::Attempt:
        if (m_vertical)
            return n < m_card.cells[r].size() ? heightCellText(m_card.cells[r][n]) : QString();
        return attemptText(m_series[r].value(n));
    case Cell::Wind: {
        const std::optional<int> w = m_series[r].value(n).wind;
        return w ? windText(*w) : QString();
    }
    case Cell::JumpOff:
        return n < m_card.jumpOff[r].size() ? heightCellText(m_card.jumpOff[r][n]) : QString();
    case Cell::Best: {
        const QString best = results().value(r);
        return best == kNoResult ? QString() : best;
    }
    case Cell::BestWind: {
        const std::optional<Attempt> best = bestAttempt(m_series[r]);
        if (!best || !best->wind)
            return QString();
        // Too much wind for records: marked, as the lists print it.
        return windText(*best->wind) + (*best->wind > kWindLimit ? QStringLiteral("w") : QString());
    }
    case Cell::Place:
        return placeText(m_places.value(r));
    }
    return {};
}

QVariant FieldCardModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const auto [cell, n] = cellOf(section);
    const Language l = language();
    switch (cell) {
    case Cell::Number:
        return say(l, "Startnr", "Number");
    case Cell::Name:
        return say(l, "Navn", "Name");
    case Cell::Attempt:
        return m_vertical ? heightText(m_card.heights.value(n)) : QString::number(n + 1);
    case Cell::Wind:
        return say(l, "Vind %1", "Wind %1").arg(n + 1);
    case Cell::JumpOff:
        return say(l, "Omhopp %1", "Jump-off %1").arg(heightText(m_card.jumpOffHeights.value(n)));
    case Cell::Best:
        return say(l, "Beste", "Best");
    case Cell::BestWind:
        return say(l, "Vind", "Wind");
    case Cell::Place:
        return say(l, "Plass", "Place");
    }
    return {};
}

Qt::ItemFlags FieldCardModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const auto [cell, n] = cellOf(index.column());
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const bool typed = cell == Cell::Attempt || cell == Cell::Wind || cell == Cell::JumpOff;
    // Rounds 4 to 6 are for the finalists only.
    if (typed && (m_vertical || n < 3 || m_inFinal.value(index.row())))
        f |= Qt::ItemIsEditable;
    return f;
}

bool FieldCardModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const auto [cell, n] = cellOf(index.column());
    const int r = index.row();
    const QString text = value.toString();
    QString error;
    if (m_vertical) {
        const std::optional<HeightCell> parsed = parseHeightCell(text, language(), &error);
        HeightCard card = m_card;
        if (parsed) {
            QList<HeightCell> &row = cell == Cell::JumpOff ? card.jumpOff[r] : card.cells[r];
            if (row.size() <= n)
                row.resize(n + 1);
            row[n] = *parsed;
            QStringList numbers;
            for (const FieldCompetitor &c : m_competitors)
                numbers << c.number;
            if (Status s = saveHeightCard(m_state.database, m_table, numbers, card, language()); !s)
                error = s.error();
            else
                m_card = card;
        }
    } else {
        QList<Attempt> series = m_series[r];
        if (cell == Cell::Wind) {
            if (text.trimmed().isEmpty()) {
                series[n].wind.reset();
            } else if (const std::optional<int> w = parseWind(text, language(), &error)) {
                series[n].wind = w;
            }
        } else if (std::optional<Attempt> a = parseAttempt(text, language(), &error)) {
            a->wind = series[n].wind;
            series[n] = *a;
        }
        if (error.isEmpty()) {
            if (Status s = saveAttempts(m_state.database, m_table, m_competitors[r].number, series); !s)
                error = s.error();
            else
                m_series[r] = series;
        }
    }
    if (!error.isEmpty()) {
        emit refused(error);
        return false;
    }
    recompute();
    emit dataChanged(this->index(0, 0), this->index(rowCount() - 1, columnCount() - 1));
    return true;
}

FieldCardWindow::FieldCardWindow(AppState &state, const GridContext &context, const QString &table,
                                 QWidget *parent)
    : QWidget(parent), m_state(state), m_table(table), m_model(state, table)
{
    setObjectName(QStringLiteral("fieldCardWindow"));
    m_heading = gridHeading(context.selection);
    const FieldEventKind kind = fieldEventKindOf(context.selection.eventName);
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("kindComboBox"));
    m_kind->addItems({QString(), QString()});
    m_finalists = new QSpinBox(this);
    m_finalists->setObjectName(QStringLiteral("finalistsSpinBox"));
    m_finalists->setRange(1, 99);
    m_finalists->setValue(8);
    m_wind = new QCheckBox(this);
    m_wind->setObjectName(QStringLiteral("windCheckBox"));
    m_wind->setChecked(kind.wind);
    m_heights = new QLineEdit(this);
    m_heights->setObjectName(QStringLiteral("heightsLineEdit"));
    m_jumpOff = new QLineEdit(this);
    m_jumpOff->setObjectName(QStringLiteral("jumpOffLineEdit"));
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("cardTableView"));
    m_view->setModel(&m_model);
    // Room for a mark with its wind ("+2.3w") in every column, without resizing on each edit.
    m_view->horizontalHeader()->setMinimumSectionSize(
        m_view->fontMetrics().horizontalAdvance(QStringLiteral("00.00w")) + 12);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("messageLabel"));
    m_message->setWordWrap(true);
    m_order = new QPushButton(this);
    m_order->setObjectName(QStringLiteral("orderPushButton"));
    m_save = new QPushButton(this);
    m_save->setObjectName(QStringLiteral("savePushButton"));
    m_print = new QPushButton(this);
    m_print->setObjectName(QStringLiteral("printPushButton"));
    m_printList = new QPushButton(this);
    m_printList->setObjectName(QStringLiteral("printListPushButton"));
    m_pdf = new QPushButton(this);
    m_pdf->setObjectName(QStringLiteral("pdfPushButton"));
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("closePushButton"));

    auto *form = new QFormLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{m_kind, m_finalists, m_wind, m_heights, m_jumpOff}) {
        auto *label = new QLabel(this);
        label->setBuddy(w);
        m_labels << label;
        form->addRow(label, w);
    }
    auto *cardLabel = new QLabel(this);
    cardLabel->setBuddy(m_view);
    m_labels << cardLabel;
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_order);
    buttons->addWidget(m_save);
    buttons->addWidget(m_print);
    buttons->addWidget(m_printList);
    buttons->addWidget(m_pdf);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(cardLabel);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_message);
    layout->addLayout(buttons);

    connect(&m_model, &FieldCardModel::refused, m_message, &QLabel::setText);
    connect(&m_model, &QAbstractItemModel::dataChanged, m_message, [this] { m_message->clear(); });
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this](int i) {
        m_model.setVertical(i == 1);
        showMode();
    });
    connect(m_finalists, &QSpinBox::valueChanged, &m_model, &FieldCardModel::setFinalistCount);
    connect(m_wind, &QCheckBox::toggled, &m_model, &FieldCardModel::setWind);
    auto heightsEdited = [this] {
        QString error;
        if (!m_model.setHeights(m_heights->text(), m_jumpOff->text(), &error)) {
            m_message->setText(error);
            return;
        }
        m_message->clear();
        m_heights->setText(m_model.heightsText(false));
        m_jumpOff->setText(m_model.heightsText(true));
    };
    connect(m_heights, &QLineEdit::editingFinished, this, heightsEdited);
    connect(m_jumpOff, &QLineEdit::editingFinished, this, heightsEdited);
    connect(m_order, &QPushButton::clicked, this, [this] {
        m_message->setText(say(m_state.texts.messageLanguage(), "Rekkefølge i omgang 4–6 (startnummer): %1",
                               "Order of rounds 4–6 (start numbers): %1")
                               .arg(m_model.finalOrder().join(QStringLiteral(", "))));
    });
    connect(m_save, &QPushButton::clicked, this, &FieldCardWindow::saveToResults);
    connect(m_print, &QPushButton::clicked, this, &FieldCardWindow::printCard);
    // On paper or as PDF for the officials, as every list is printed.
    connect(m_printList, &QPushButton::clicked, this,
            [this] { print::printWithPreview(this, m_state, cardDocument()); });
    connect(m_pdf, &QPushButton::clicked, this, [this] { print::saveListAsPdf(m_state, cardDocument()); });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    QString error;
    m_model.setWind(kind.wind);
    if (!m_model.load(&error))
        m_message->setText(error);
    m_kind->setCurrentIndex(kind.vertical ? 1 : 0);
    m_model.setVertical(kind.vertical);
    m_heights->setText(m_model.heightsText(false));
    m_jumpOff->setText(m_model.heightsText(true));
    applyCaptions();
    showMode();
    connect(&state.notifier, &MeetNotifier::languageChanged, this, &FieldCardWindow::applyCaptions);
    setWindowTitle(windowTitle() + QStringLiteral(" - ") + table);
    resize(900, 480);
}

void FieldCardWindow::applyCaptions()
{
    const Language l = m_state.texts.language();
    setWindowTitle(say(l, "Feltkort", "Field card") + QStringLiteral(" - ") + m_table);
    m_kind->setItemText(0, say(l, "Lengde og kast: forsøk", "Horizontal jumps and throws: attempts"));
    m_kind->setItemText(1, say(l, "Høyde og stav: høydekort", "High jump and pole vault: height card"));
    const char *no[] = {"&Type", "&Finalister", "&Vind per forsøk", "&Høyder", "&Omhopp", "&Kort"};
    const char *en[] = {"&Kind", "&Finalists", "&Wind per attempt", "&Heights", "&Jump-off", "C&ard"};
    for (qsizetype i = 0; i < m_labels.size(); ++i)
        m_labels[i]->setText(say(l, no[i], en[i]));
    m_order->setText(say(l, "&Rekkefølge 4–6", "&Order of rounds 4–6"));
    m_save->setText(say(l, "&Skriv til resultat", "&Save to results"));
    m_print->setText(say(l, "Kort i &editor", "Card in &editor"));
    m_close->setText(say(l, "&Lukk", "&Close"));
    print::setCaptionWithFreeMnemonic(*m_printList, m_state.texts.message(Text::PrintCommand), *this);
    print::setCaptionWithFreeMnemonic(*m_pdf, m_state.texts.message(Text::PdfCommand), *this);
    m_model.headerDataChanged(Qt::Horizontal, 0, std::max(0, m_model.columnCount() - 1));
}

void FieldCardWindow::showMode()
{
    const bool vertical = m_kind->currentIndex() == 1;
    for (QWidget *w : std::initializer_list<QWidget *>{m_heights, m_jumpOff, m_labels[3], m_labels[4]})
        w->setVisible(vertical);
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_finalists, m_wind, m_labels[1], m_labels[2], m_order})
        w->setVisible(!vertical);
    m_view->resizeColumnsToContents();
}

QString FieldCardWindow::cardPath() const
{
    return m_state.meetFile(QStringLiteral("Feltkort_%1.txt").arg(safeNamePart(m_table)));
}

ListDocument FieldCardWindow::cardDocument() const
{
    ListDocument document;
    document.title = m_heading;
    document.kind = QStringLiteral("card");
    document.fileName = QFileInfo(cardPath()).fileName();
    for (const QString &line : m_model.cardLines(m_heading))
        document.add(line.trimmed().isEmpty() ? ListLineKind::Blank : ListLineKind::Note, line);
    return document;
}

bool FieldCardWindow::printCard()
{
    const QString path = cardPath();
    if (Status s = writeTextFile(path, m_model.cardLines(m_heading)); !s) {
        m_message->setText(s.error());
        return false;
    }
    return m_state.startEditor(path);
}

bool FieldCardWindow::saveToResults()
{
    const Status s = writeFieldResults(m_state.database, m_table, m_model.competitors(), m_model.results(),
                                       m_model.places());
    if (!s) {
        m_message->setText(s.error());
        return false;
    }
    m_message->setText(say(m_state.texts.messageLanguage(), "Beste resultat og plass er skrevet til %1.",
                           "Best marks and places are written to %1.")
                           .arg(m_table));
    emit resultsWritten();
    return true;
}

} // namespace arenor
