#include "events/ui/CombinedEventsWindow.h"

#include "base/TextFile.h"
#include "events/GridList.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <numeric>

namespace arenor {

using namespace events;

namespace {

QString say(Language language, const char *norwegian, const char *english)
{
    return QString::fromUtf8(language == Language::Norwegian ? norwegian : english);
}

enum Button { New, Delete, Save, Points, List, Close, Add, Remove, ButtonCount };

} // namespace

CombinedEventsWindow::CombinedEventsWindow(AppState &state, QWidget *parent) : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("combinedEventsWindow"));
    m_setupCombo = new QComboBox(this);
    m_setupCombo->setObjectName(QStringLiteral("setupComboBox"));
    m_presetCombo = new QComboBox(this);
    m_presetCombo->setObjectName(QStringLiteral("presetComboBox"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameLineEdit"));
    m_class = new QComboBox(this);
    m_class->setObjectName(QStringLiteral("classComboBox"));
    for (int c = 1; c <= kClassCount; ++c)
        m_class->addItem(QStringLiteral("%1 %2").arg(c).arg(state.catalogs.classes[size_t(c)]), c);
    m_events = new QTableWidget(0, 3, this);
    m_events->setObjectName(QStringLiteral("eventsTableWidget"));
    m_events->horizontalHeader()->setStretchLastSection(true);
    m_extraEvent = new QComboBox(this);
    m_extraEvent->setObjectName(QStringLiteral("extraEventComboBox"));
    m_results = new QTableWidget(this);
    m_results->setObjectName(QStringLiteral("resultsTableWidget"));
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("messageLabel"));
    m_message->setWordWrap(true);
    const char *const names[ButtonCount] = {"newPushButton",    "deletePushButton", "savePushButton",
                                            "pointsPushButton", "listPushButton",   "closePushButton"};
    for (const char *n : names) {
        auto *b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(n));
        m_buttons << b;
    }
    const ScoringTable &table = ScoringTable::builtIn();
    for (qsizetype i = 0; i < table.definitions().size(); ++i)
        m_presetCombo->addItem(QString());

    auto *grid = new QGridLayout;
    const QList<QWidget *> labelled{m_setupCombo, m_presetCombo, m_name,      m_class,
                                    m_events,     m_results,     m_extraEvent};
    for (qsizetype i = 0; i < labelled.size(); ++i) {
        auto *label = new QLabel(this);
        label->setBuddy(labelled[i]);
        m_labels << label;
    }
    grid->addWidget(m_labels[0], 0, 0);
    grid->addWidget(m_setupCombo, 0, 1);
    grid->addWidget(m_buttons[Delete], 0, 2);
    grid->addWidget(m_labels[1], 1, 0);
    grid->addWidget(m_presetCombo, 1, 1);
    grid->addWidget(m_buttons[New], 1, 2);
    grid->addWidget(m_labels[2], 2, 0);
    grid->addWidget(m_name, 2, 1);
    grid->addWidget(m_labels[3], 3, 0);
    grid->addWidget(m_class, 3, 1);
    auto *buttons = new QHBoxLayout;
    for (Button b : {Save, Points, List})
        buttons->addWidget(m_buttons[b]);
    buttons->addStretch(1);
    buttons->addWidget(m_buttons[Close]);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_labels[4]);
    layout->addWidget(m_events, 1);
    auto *extra = new QHBoxLayout;
    extra->addWidget(m_labels[6]);
    extra->addWidget(m_extraEvent);
    extra->addWidget(m_buttons[Add]);
    extra->addWidget(m_buttons[Remove]);
    extra->addStretch(1);
    layout->addLayout(extra);
    layout->addWidget(m_labels[5]);
    layout->addWidget(m_results, 2);
    layout->addWidget(m_message);
    layout->addLayout(buttons);

    connect(m_buttons[New], &QPushButton::clicked, this, &CombinedEventsWindow::newFromTable);
    connect(m_buttons[Delete], &QPushButton::clicked, this, [this] {
        if (m_current < 0)
            return;
        m_setups.removeAt(m_current);
        m_current = -1;
        m_setupCombo->removeItem(m_setupCombo->currentIndex());
        save();
    });
    connect(m_buttons[Add], &QPushButton::clicked, this, &CombinedEventsWindow::addEvent);
    connect(m_buttons[Remove], &QPushButton::clicked, this, &CombinedEventsWindow::removeEvent);
    connect(m_buttons[Save], &QPushButton::clicked, this, &CombinedEventsWindow::save);
    connect(m_buttons[Points], &QPushButton::clicked, this, &CombinedEventsWindow::computePoints);
    connect(m_buttons[List], &QPushButton::clicked, this, &CombinedEventsWindow::makeList);
    connect(m_buttons[Close], &QPushButton::clicked, this, &QWidget::close);
    connect(m_setupCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        takeEdits();
        showSetup(i);
    });

    if (Status s = loadCombinedSetups(state.database, m_setups); !s)
        m_message->setText(s.error());
    for (const CombinedSetup &c : m_setups)
        m_setupCombo->addItem(c.name);
    applyCaptions();
    connect(&state.notifier, &MeetNotifier::languageChanged, this, &CombinedEventsWindow::applyCaptions);
    showSetup(m_setupCombo->currentIndex());
    resize(900, 640);
}

Language CombinedEventsWindow::language() const
{
    return m_state.texts.language();
}

void CombinedEventsWindow::applyCaptions()
{
    const Language l = language();
    setWindowTitle(say(l, "Mangekamp", "Combined events"));
    const char *no[] = {"&Mangekamp", "&Tabell",   "Na&vn",         "&Klasse",
                        "&Øvelser",   "&Resultat", "&Ekstra øvelse"};
    const char *en[] = {"&Combined event", "&Table",   "N&ame",       "C&lass",
                        "&Events",         "&Results", "E&xtra event"};
    for (qsizetype i = 0; i < m_labels.size(); ++i)
        m_labels[i]->setText(say(l, no[i], en[i]));
    const char *noButtons[] = {"&Ny",        "&Slett", "&Lagre",    "&Beregn",
                               "Lag l&iste", "L&ukk",  "Le&gg til", "F&jern"};
    const char *enButtons[] = {"&New",       "&Delete", "&Save",      "&Points",
                               "Make l&ist", "Cl&ose",  "Add e&vent", "Re&move"};
    for (qsizetype i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setText(say(l, noButtons[i], enButtons[i]));
    const ScoringTable &table = ScoringTable::builtIn();
    for (qsizetype i = 0; i < table.definitions().size(); ++i) {
        const CombinedDefinition &d = table.definitions()[i];
        m_presetCombo->setItemText(
            int(i), QStringLiteral("%1, %2, %3 (%4)")
                        .arg(d.name, d.sex == Sex::Women ? say(l, "kvinner", "women") : say(l, "menn", "men"),
                             d.venue == Venue::Indoor ? say(l, "innendørs", "indoors")
                                                      : say(l, "utendørs", "outdoors"),
                             d.events.join(QStringLiteral(", "))));
    }
    m_events->setHorizontalHeaderLabels({say(l, "Tabellens øvelse", "Table's event"),
                                         say(l, "Øvelse i stevnet", "Event of the meet"),
                                         say(l, "Håndtid", "Hand timed")});
}

void CombinedEventsWindow::showSetup(int index)
{
    m_current = index;
    m_events->setRowCount(0);
    m_extraEvent->clear();
    if (index < 0 || index >= m_setups.size()) {
        m_name->clear();
        return;
    }
    const CombinedSetup &c = m_setups[index];
    for (const ScoringEvent &e : ScoringTable::builtIn().events()) {
        if (e.sex == c.sex && e.venue == c.venue)
            m_extraEvent->addItem(e.code);
    }
    m_name->setText(c.name);
    m_class->setCurrentIndex(std::max(0, c.cls - 1));
    m_events->setRowCount(int(c.codes.size()));
    for (int r = 0; r < c.codes.size(); ++r) {
        auto *code = new QTableWidgetItem(c.codes[r]);
        code->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_events->setItem(r, 0, code);
        auto *event = new QComboBox(m_events);
        event->addItem(QStringLiteral("-"), 0);
        for (int e = 1; e <= kEventSlots; ++e)
            event->addItem(QStringLiteral("%1 %2").arg(e).arg(m_state.eventNames[size_t(e)]), e);
        event->setCurrentIndex(std::clamp(c.events.value(r), 0, kEventSlots));
        m_events->setCellWidget(r, 1, event);
        auto *hand = new QTableWidgetItem;
        hand->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        hand->setCheckState(c.handTimed.contains(c.codes[r]) ? Qt::Checked : Qt::Unchecked);
        m_events->setItem(r, 2, hand);
    }
    m_events->resizeColumnsToContents();
}

void CombinedEventsWindow::takeEdits()
{
    if (m_current < 0 || m_current >= m_setups.size())
        return;
    CombinedSetup &c = m_setups[m_current];
    c.name = m_name->text().trimmed();
    c.cls = m_class->currentData().toInt();
    c.events.clear();
    c.handTimed.clear();
    for (int r = 0; r < m_events->rowCount() && r < c.codes.size(); ++r) {
        auto *event = qobject_cast<QComboBox *>(m_events->cellWidget(r, 1));
        c.events << (event ? event->currentData().toInt() : 0);
        if (m_events->item(r, 2) && m_events->item(r, 2)->checkState() == Qt::Checked)
            c.handTimed << c.codes[r];
    }
    if (m_setupCombo->itemText(m_current) != c.name)
        m_setupCombo->setItemText(m_current, c.name);
}

bool CombinedEventsWindow::newFromTable()
{
    takeEdits();
    const ScoringTable &table = ScoringTable::builtIn();
    const int i = m_presetCombo->currentIndex();
    if (i < 0 || i >= table.definitions().size())
        return false;
    const CombinedDefinition &d = table.definitions()[i];
    CombinedSetup c{d.name, m_class->currentData().toInt(), d.sex, d.venue, d.events, {}, {}};
    // Each event bound to the meet's event of that name where there is one ("Lengde" or
    // "Long_jump" for LJ, "800_m" for 800m).
    for (const QString &code : d.events) {
        int found = 0;
        for (int e = 1; e <= kEventSlots && !found; ++e) {
            if (table.codeForEventName(m_state.eventNames[size_t(e)]).compare(code, Qt::CaseInsensitive) == 0)
                found = e;
        }
        c.events << found;
    }
    m_setups << c;
    m_setupCombo->addItem(c.name);
    m_setupCombo->setCurrentIndex(m_setupCombo->count() - 1);
    return true;
}

bool CombinedEventsWindow::addEvent()
{
    takeEdits();
    if (m_current < 0 || m_current >= m_setups.size() || m_extraEvent->currentText().isEmpty())
        return false;
    m_setups[m_current].codes << m_extraEvent->currentText();
    m_setups[m_current].events << 0;
    showSetup(m_current);
    return true;
}

bool CombinedEventsWindow::removeEvent()
{
    takeEdits();
    const int row = m_events->currentRow();
    if (m_current < 0 || m_current >= m_setups.size() || row < 0 || row >= m_setups[m_current].codes.size())
        return false;
    CombinedSetup &c = m_setups[m_current];
    c.handTimed.removeAll(c.codes[row]);
    c.codes.removeAt(row);
    c.events.removeAt(row);
    showSetup(m_current);
    return true;
}

bool CombinedEventsWindow::save()
{
    takeEdits();
    for (const CombinedSetup &c : m_setups) {
        if (c.name.isEmpty()) {
            m_message->setText(say(m_state.texts.messageLanguage(), "En mangekamp trenger et navn.",
                                   "A combined event needs a name."));
            return false;
        }
    }
    if (Status s = saveCombinedSetups(m_state.database, m_setups); !s) {
        m_message->setText(s.error());
        return false;
    }
    m_message->setText(
        say(m_state.texts.messageLanguage(), "Mangekampene er lagret.", "The combined events are saved."));
    return true;
}

bool CombinedEventsWindow::computePoints()
{
    takeEdits();
    if (m_current < 0 || m_current >= m_setups.size())
        return false;
    if (Status s = combinedStandings(m_state, m_setups[m_current], m_standings); !s) {
        m_message->setText(s.error());
        return false;
    }
    const Language l = m_state.texts.messageLanguage();
    const CombinedStandings &st = m_standings;
    QStringList headers{say(l, "Plass", "Place"), say(l, "Startnr", "Number"), say(l, "Navn", "Name")};
    for (const ScoringEvent &e : st.events)
        headers << e.code;
    headers << say(l, "Sum", "Total") << say(l, "Merknad", "Note");
    m_results->clear();
    m_results->setColumnCount(int(headers.size()));
    m_results->setRowCount(int(st.lines.size()));
    m_results->setHorizontalHeaderLabels(headers);
    QList<int> order(st.lines.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return st.lines[a].place < st.lines[b].place; });
    for (int row = 0; row < order.size(); ++row) {
        const int c = order[row];
        const CombinedLine &line = st.lines[c];
        QStringList cells{QString::number(line.place) + (line.tied ? QStringLiteral("=") : QString()),
                          st.numbers[c], st.names[c]};
        for (qsizetype e = 0; e < st.events.size(); ++e)
            cells << QStringLiteral("%1  %2 (%3)")
                         .arg(st.marks[c].value(e))
                         .arg(line.points.value(e))
                         .arg(line.running.value(e));
        cells << QString::number(line.total) << noMarkNote(st.events, line, l);
        for (int k = 0; k < cells.size(); ++k)
            m_results->setItem(row, k, new QTableWidgetItem(cells[k]));
    }
    m_results->resizeColumnsToContents();
    m_message->setText(st.notes.join(u'\n'));
    return true;
}

bool CombinedEventsWindow::makeList()
{
    if (!computePoints())
        return false;
    const CombinedSetup &c = m_setups[m_current];
    const QString path = m_state.meetFile(
        QStringLiteral("Mangekamp_%1.txt").arg(events::safeNamePart(c.name).replace(u' ', u'_')));
    if (Status s = writeTextFile(path, combinedListLines(c, m_standings, m_state.texts.messageLanguage()));
        !s) {
        m_message->setText(s.error());
        return false;
    }
    return m_state.startEditor(path);
}

} // namespace arenor
