#include "registers/ui/EntriesWindow.h"

#include "app/ui/MainWindow.h"
#include "base/Convert.h"
#include "events/Rounds.h"
#include "registers/SeedMarks.h"
#include "registers/ui/ParticipationDialog.h"
#include "registers/ui/RegisterWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace arenor {

using registers::EntryListContent;

namespace {

// A name as a check box caption: an "&" typed is shown, not taken as a shortcut.
QString boxCaption(const QString &name)
{
    QString s = name;
    return s.replace(u'&', QStringLiteral("&&"));
}

} // namespace

EntriesWindow::EntriesWindow(AppState &state, MainWindow &main)
    : RegisterWindowBase(WindowId::Entries, state, main, schema::Table::Ovelser, 95, 96)
{
    // The entrant list and what it shows.
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("entrantsListWidget"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setUniformItemSizes(true);
    QLabel *heading = label(99, m_list);
    QGroupBox *show = groupBox(101, QStringLiteral("showInListGroupBox"));
    auto *showLayout = new QVBoxLayout(show);
    static const char *const kOptionNames[4] = {"nameAndClubRadioButton", "nameAndClassRadioButton",
                                                "nameRadioButton", "relayTeamsRadioButton"};
    for (int i = 0; i < 4; ++i) {
        auto *b = new QRadioButton(show);
        b->setObjectName(QString::fromLatin1(kOptionNames[i]));
        m_captions.add(b, 102 + i);
        showLayout->addWidget(b);
        m_options[size_t(i)] = b;
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on) {
                refreshEntryList();
                selectListEntry();
            }
        });
    }
    m_options[0]->setChecked(true);
    addToTabOrder(m_list);
    for (QRadioButton *b : m_options)
        addToTabOrder(b);

    // The event-name rows (Øvelser) and the entry records (Påmelding).
    m_nameIndex = boundLineEdit(QStringLiteral("eventRowLineEdit"), 0);
    m_nameIndex->setReadOnly(true);
    m_captions.addName(m_nameIndex, 96, QStringLiteral(" index"));
    m_nameMover = jumpBox(QStringLiteral("eventRowMoverLineEdit"), [] { return schema::kEventNameRows; });
    m_captions.addName(m_nameMover, 121, QStringLiteral(" (") + m_state.texts.caption(96) + u')');
    m_entryIndex = lineEdit(QStringLiteral("entryIndexLineEdit"));
    m_entryIndex->setReadOnly(true);
    m_captions.addName(m_entryIndex, 97, QStringLiteral(" index"));
    m_entryMover = lineEdit(QStringLiteral("entryMoverLineEdit"));
    m_captions.addName(m_entryMover, 121, QStringLiteral(" (") + m_state.texts.caption(97) + u')');
    addToTabOrder(m_entryMover);
    connect(m_entryMover, &QLineEdit::textEdited, this, &EntriesWindow::entryMoverEdited);
    m_entryNavigator = new RecordNavigator(this);
    m_entryNavigator->setObjectName(QStringLiteral("entryRecordNavigator"));
    m_captions.add(m_entryNavigator, 97);
    auto entryCount = [this] {
        return kRounds * (m_state.catalogs.personCount + m_state.catalogs.relayCount);
    };
    connect(m_entryNavigator, &RecordNavigator::first, this, [this] { showEntryRecord(1); });
    connect(m_entryNavigator, &RecordNavigator::previous, this,
            [this] { showEntryRecord(std::max(1, m_record - 1)); });
    connect(m_entryNavigator, &RecordNavigator::next, this,
            [this, entryCount] { showEntryRecord(std::min(entryCount(), m_record + 1)); });
    connect(m_entryNavigator, &RecordNavigator::last, this,
            [this, entryCount] { showEntryRecord(entryCount()); });

    auto *records = new QGridLayout;
    records->addWidget(m_nameIndex, 0, 0);
    records->addWidget(m_nameMover, 0, 1);
    records->addWidget(navigator(), 0, 2);
    records->addWidget(m_entryIndex, 1, 0);
    records->addWidget(m_entryMover, 1, 1);
    records->addWidget(m_entryNavigator, 1, 2);
    records->setColumnStretch(2, 1);

    // Three tabs of twelve slots: a check box with its name box beside it.
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("eventsTabWidget"));
    m_captions.addName(tabs, 96);
    for (int page = 0; page < 3; ++page) {
        auto *w = new QWidget(tabs);
        w->setObjectName(QStringLiteral("eventsPage%1").arg(page));
        auto *grid = new QGridLayout(w);
        grid->setVerticalSpacing(2);
        for (int i = 1; i <= 12; ++i) {
            const int k = page * 12 + i;
            auto *box = new QCheckBox(w);
            box->setObjectName(QStringLiteral("eventCheckBox%1").arg(k));
            box->setContextMenuPolicy(Qt::CustomContextMenu);
            // toggled, not clicked, so a screen reader's toggle action ticks as a click does.
            connect(box, &QCheckBox::toggled, this, [this, k](bool on) {
                if (!m_showing) {
                    tick(k, on);
                    setSeedEvent(k);
                }
            });
            connect(box, &QWidget::customContextMenuRequested, this, [this, k] { openParticipation(k); });
            QLineEdit *name = bind(lineEdit(QStringLiteral("eventNameLineEdit%1").arg(k)), k);
            name->setAccessibleName(
                QStringLiteral("%1 %2").arg(m_state.texts.caption(96), QString::number(k)));
            connect(name, &QLineEdit::textChanged, this,
                    [this, k](const QString &text) { nameChanged(k, text); });
            connect(name, &QLineEdit::editingFinished, this, [this] {
                if (form().currentRow() >= 0)
                    form().save();
                emit m_state.notifier.entriesChanged(m_state.currentRound);
            });
            grid->addWidget(box, i - 1, 0);
            grid->addWidget(name, i - 1, 1);
            m_boxes[size_t(k)] = box;
            m_names[size_t(k)] = name;
        }
        grid->setColumnStretch(1, 1);
        tabs->addTab(w, QString());
        m_captions.addTab(tabs, page, 113 + page);
    }
    for (int k = 1; k <= kEventSlots; ++k)
        addToTabOrder(m_boxes[size_t(k)]);
    connect(&form(), &RecordForm::currentRowChanged, this,
            [this] { emit m_state.notifier.entriesChanged(m_state.currentRound); });

    // The seed mark of the selected entrant in the event whose box was last in focus.
    m_seedMark = lineEdit(QStringLiteral("seedMarkLineEdit"));
    m_seedMark->setToolTip(m_state.texts.message(Text::SeedMarkTip));
    m_seedLabel = new QLabel(this);
    m_seedLabel->setObjectName(QStringLiteral("seedMarkLabel"));
    m_seedLabel->setBuddy(m_seedMark);
    connect(m_seedMark, &QLineEdit::editingFinished, this, [this] {
        if (m_seedMark->isModified())
            storeSeedMark(m_seedMark->text());
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        for (int k = 1; k <= kEventSlots; ++k)
            if (now && now == m_boxes[size_t(k)])
                setSeedEvent(k);
    });
    auto *seed = new QHBoxLayout;
    seed->addWidget(m_seedLabel);
    seed->addWidget(m_seedMark, 1);
    addToTabOrder(m_seedMark);
    setSeedEvent(0);

    m_locker = new QCheckBox(this);
    m_locker->setObjectName(QStringLiteral("lockerCheckBox"));
    m_captions.add(m_locker, 100);
    connect(m_locker, &QCheckBox::toggled, this, &EntriesWindow::setLocked);
    addToTabOrder(m_locker);

    // The two "&Registere" groups and "&Lukk".
    QGroupBox *names = groupBox(108, QStringLiteral("eventNamesGroupBox"));
    auto *namesLayout = new QHBoxLayout(names);
    m_resetNames = button(106, QStringLiteral("resetNamesPushButton"), [this] { resetEventNames(); });
    namesLayout->addWidget(m_resetNames);
    namesLayout->addWidget(button(107, QStringLiteral("readNamesPushButton"), [this] { readEventNames(); }));
    QGroupBox *entries = groupBox(111, QStringLiteral("entriesGroupBox"));
    auto *entriesLayout = new QHBoxLayout(entries);
    m_resetEntries = button(109, QStringLiteral("resetEntriesPushButton"), [this] { resetEntries(); });
    entriesLayout->addWidget(m_resetEntries);
    entriesLayout->addWidget(button(110, QStringLiteral("readEntriesPushButton"), [this] { readEntries(); }));
    QPushButton *close = button(112, QStringLiteral("closePushButton"), [this] { hideWindow(); });

    auto *left = new QVBoxLayout;
    left->addWidget(heading);
    left->addWidget(m_list, 1);
    left->addWidget(show);
    auto *right = new QVBoxLayout;
    right->addLayout(records);
    right->addWidget(tabs, 1);
    right->addLayout(seed);
    right->addWidget(m_locker);
    auto *commands = new QHBoxLayout;
    commands->addWidget(names);
    commands->addWidget(entries);
    commands->addStretch(1);
    commands->addWidget(close, 0, Qt::AlignBottom);
    right->addLayout(commands);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] { selectListEntry(); });
    const MeetNotifier *n = &m_state.notifier;
    connect(n, &MeetNotifier::roundChanged, this, [this] { selectListEntry(); });
    // Entries or the registers behind the list changed: the list and the shown record anew.
    connect(n, &MeetNotifier::entriesChanged, this, [this] {
        refreshEntryList();
        showEntryRecord(m_record);
    });

    m_state.addDataBound(this);
    setLocked(true);
    finishTabOrder();
    resize(860, 560);
}

EntriesWindow::~EntriesWindow()
{
    m_state.removeDataBound(this);
}

void EntriesWindow::retranslate()
{
    RegisterWindowBase::retranslate();
    m_seedMark->setToolTip(m_state.texts.message(Text::SeedMarkTip));
    setSeedEvent(m_seedEvent);
    for (int k = 1; k <= kEventSlots; ++k)
        m_names[size_t(k)]->setAccessibleName(
            QStringLiteral("%1 %2").arg(m_state.texts.caption(96), QString::number(k)));
}

void EntriesWindow::showEvent(QShowEvent *event)
{
    RegisterWindowBase::showEvent(event);
    if (!event->spontaneous()) {
        refreshEntryList();
        selectListEntry();
    }
}

EntryListContent EntriesWindow::listContent() const
{
    for (int i = 0; i < 4; ++i)
        if (m_options[size_t(i)]->isChecked())
            return EntryListContent(i);
    return EntryListContent::NameAndClub;
}

void EntriesWindow::setListContent(EntryListContent content)
{
    m_options[size_t(content)]->setChecked(true);
}

void EntriesWindow::refreshEntryList()
{
    const QStringList lines = registers::entryListLines(m_state, listContent());
    // The same lines keep their selection (a group stays selected after its entry).
    bool same = lines.size() == m_list->count();
    for (int i = 0; same && i < m_list->count(); ++i)
        same = m_list->item(i)->text() == lines[i];
    if (same)
        return;
    const int line = m_list->currentRow();
    const QSignalBlocker block(m_list);
    m_list->clear();
    m_list->addItems(lines);
    if (line >= 0 && line < m_list->count())
        m_list->setCurrentRow(line);
}

void EntriesWindow::selectListEntry()
{
    const int line = m_list->currentRow();
    if (line < 0)
        return;
    const Catalogs &c = m_state.catalogs;
    showEntryRecord(registers::entryRecordNumber(m_state.currentRound, line,
                                                 listContent() == EntryListContent::RelayTeams, c.personCount,
                                                 c.relayCount));
}

void EntriesWindow::clearBoxes()
{
    const QScopedValueRollback showing(m_showing, true);
    for (int k = 1; k <= kEventSlots; ++k)
        m_boxes[size_t(k)]->setChecked(false);
    m_entryIndex->clear();
}

void EntriesWindow::showEntryRecord(int record)
{
    registers::EntryRecord rec;
    if (record < 1 || !m_state.database.isOpen() || !registers::readEntryRecord(m_state, record, rec)) {
        m_record = 0;
        clearBoxes();
        showSeedMark();
        return;
    }
    m_record = record;
    const QScopedValueRollback showing(m_showing, true);
    for (int k = 1; k <= kEventSlots; ++k)
        m_boxes[size_t(k)]->setChecked(rec.entered[size_t(k)]);
    m_entryIndex->setText(rec.index);
    const QSignalBlocker block(m_entryMover);
    m_entryMover->setText(numberText(qint64(record)));
    showSeedMark();
}

void EntriesWindow::setSeedEvent(int event)
{
    m_seedEvent = event;
    const QString name = event > 0 ? m_boxes[size_t(event)]->text().remove(u'&') : QString();
    m_seedLabel->setText(m_state.texts.message(Text::SeedMark) + (name.isEmpty() ? QString() : u' ' + name));
    showSeedMark();
}

void EntriesWindow::showSeedMark()
{
    const auto place =
        registers::entryPlace(m_record, m_state.catalogs.personCount, m_state.catalogs.relayCount);
    const bool usable = place && m_seedEvent > 0;
    m_seedMark->setEnabled(usable);
    m_seedMark->setText(
        usable ? registers::readSeedMarks(m_state.database, place->round, m_seedEvent).value(place->row).mark
               : QString());
}

bool EntriesWindow::storeSeedMark(const QString &mark)
{
    const auto place =
        registers::entryPlace(m_record, m_state.catalogs.personCount, m_state.catalogs.relayCount);
    if (!place || m_seedEvent < 1)
        return false;
    if (Status s = registers::writeSeedMark(m_state.database, place->round, m_seedEvent, place->row, mark);
        !s) {
        m_state.informText(m_state.texts.message(9) + QStringLiteral("\n\n") + s.error(), Icon::Exclamation);
        showSeedMark();
        return false;
    }
    m_seedMark->setModified(false);
    return true;
}

void EntriesWindow::entryMoverEdited(const QString &text)
{
    if (text.trimmed().isEmpty()) {
        showEntryRecord(m_record);
        m_state.informText(m_state.texts.message(9) + QStringLiteral("003"));
        return;
    }
    const Catalogs &c = m_state.catalogs;
    if (const auto target = registers::entryJumpTarget(text, c.personCount, c.relayCount))
        showEntryRecord(*target);
}

void EntriesWindow::nameChanged(int event, const QString &text)
{
    m_boxes[size_t(event)]->setText(locked() ? boxCaption(text) : QString());
    m_boxes[size_t(event)]->setAccessibleName(text);
    m_state.eventNames[size_t(event)] = text;
}

bool EntriesWindow::locked() const
{
    return m_locker->isChecked();
}

void EntriesWindow::setLocked(bool on)
{
    if (m_locker->isChecked() != on) {
        m_locker->setChecked(on); // comes back here through toggled
        return;
    }
    for (int k = 1; k <= kEventSlots; ++k) {
        m_names[size_t(k)]->setVisible(!on);
        m_boxes[size_t(k)]->setText(on ? boxCaption(m_names[size_t(k)]->text()) : QString());
    }
    m_resetNames->setEnabled(!on);
    m_resetEntries->setEnabled(!on);
    for (QWidget *w :
         std::initializer_list<QWidget *>{navigator(), m_entryNavigator, m_nameMover, m_entryMover})
        w->setEnabled(!on);
    emit m_state.notifier.entriesChanged(m_state.currentRound);
}

void EntriesWindow::tick(int event, bool on)
{
    if (m_state.readingRegister)
        return;
    if (m_record < 1) {
        // Nothing shown to store the tick in.
        const QScopedValueRollback showing(m_showing, true);
        m_boxes[size_t(event)]->setChecked(false);
        emit m_state.notifier.entriesChanged(m_state.currentRound);
        return;
    }
    if (Status s = registers::setEntry(m_state, m_record, event, on); !s) {
        const QScopedValueRollback showing(m_showing, true);
        m_boxes[size_t(event)]->setChecked(!on);
        m_state.informText(m_state.texts.message(9) + QStringLiteral("\n\n") + s.error(), Icon::Exclamation);
        return;
    }
    const auto place =
        registers::entryPlace(m_record, m_state.catalogs.personCount, m_state.catalogs.relayCount);
    emit m_state.notifier.entriesChanged(place ? place->round : m_state.currentRound);
}

void EntriesWindow::openParticipation(int event)
{
    ParticipationDialog dialog(m_state.texts, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    applyParticipation(event, dialog.takesPart());
}

void EntriesWindow::applyParticipation(int event, bool takePart)
{
    std::vector<int> rows;
    const bool relays = listContent() == EntryListContent::RelayTeams;
    for (int line = 0; line < m_list->count(); ++line)
        if (m_list->item(line)->isSelected())
            rows.push_back(registers::entrantRow(line, relays, m_state.catalogs.personCount));
    if (Status s = registers::setEntries(m_state, m_state.currentRound, event, rows, takePart); !s)
        m_state.informText(m_state.texts.message(9) + QStringLiteral("\n\n") + s.error(), Icon::Exclamation);
    emit m_state.notifier.entriesChanged(m_state.currentRound);
}

void EntriesWindow::resetEventNames()
{
    if (!m_state.database.isOpen())
        return;
    form().save();
    if (Status s = schema::initEventNames(m_state); !s)
        m_state.informText(s.error(), Icon::Exclamation);
    form().refresh();
}

void EntriesWindow::readEventNames()
{
    for (int k = 1; k <= kEventSlots; ++k)
        m_state.eventNames[size_t(k)] = m_names[size_t(k)]->text();
    emit m_state.notifier.entriesChanged(m_state.currentRound);
}

void EntriesWindow::resetEntries()
{
    if (!m_state.database.isOpen())
        return;
    if (Status s = schema::initEntries(m_state); !s)
        m_state.informText(s.error(), Icon::Exclamation);
    // Every round is read again from the new table.
    m_state.roundLoaded.fill(false);
    events::selectRound(m_state, m_state.currentRound);
    showEntryRecord(m_record);
}

void EntriesWindow::readEntries()
{
    events::rereadCurrentRound(m_state);
    showEntryRecord(m_record);
}

void EntriesWindow::bindDatabase(db::Database &)
{
    if (m_list->currentRow() >= 0)
        selectListEntry();
    else
        showEntryRecord(1);
}

void EntriesWindow::unbindDatabase()
{
    m_record = 0;
    clearBoxes();
}

ChildWindow *createEntriesWindow(AppState &state, MainWindow &main)
{
    return new EntriesWindow(state, main);
}

} // namespace arenor
