#include "events/ui/EventSetupWindow.h"

#include "app/ui/MainWindow.h"
#include "base/Convert.h"
#include "events/ui/GridWindow.h"
#include "lists/ListSort.h"
#include "lists/ResultLists.h"
#include "print/ListCommands.h"
#include "print/ui/ListPrintDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>
#include <random>

namespace arenor {

using namespace events;

namespace {

// The caption of an option group, as a message names it.
QString optionGroupName(const TextTables &texts, SetupField field)
{
    switch (field) {
    case SetupListType:
        return plainCaption(texts.caption(3)).trimmed();
    case SetupCategory:
        return plainCaption(texts.caption(4)).trimmed();
    case SetupTimeFormat:
        return plainCaption(texts.caption(354)).trimmed();
    default:
        return plainCaption(texts.caption(8)).trimmed();
    }
}

// The index of the checked option of a group, none when none is checked.
template <typename Buttons> std::optional<int> optionIndex(const Buttons &buttons)
{
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked())
            return int(i);
    return std::nullopt;
}

template <typename Buttons> int checkedIndex(const Buttons &buttons)
{
    return optionIndex(buttons).value_or(0);
}

// Checks the option of an index, or none: a stored value outside the group is no choice.
template <typename Buttons> void showOption(Buttons &buttons, std::optional<int> index)
{
    for (size_t i = 0; i < buttons.size(); ++i) {
        QRadioButton *b = buttons[i];
        if (index == int(i)) {
            b->setChecked(true);
        } else if (b->isChecked()) {
            // An exclusive option cannot be cleared by hand; for a moment it is not exclusive.
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        }
    }
}

// The list buttons: caption, object name.
const std::pair<int, const char *> kButtons[10] = {
    {18, "gridListPushButton"}, {19, "showListPushButton"}, {20, "makeListPushButton"},
    {21, "sortPushButton"},     {22, "makeNewPushButton"},  {23, "showEventListPushButton"},
    {24, "resetPushButton"},    {25, "updatePushButton"},   {26, "changePushButton"},
    {27, "closePushButton"},
};

} // namespace

EventSetupWindow::EventSetupWindow(AppState &state, MainWindow &main)
    : RegisterWindowBase(WindowId::EventSetup, state, main, schema::Table::Oppsett, 2, 2)
{
    m_events = new QListWidget(this);
    m_events->setObjectName(QStringLiteral("eventsListWidget"));
    m_captions.addName(m_events, 228);
    m_classes = new QListWidget(this);
    m_classes->setObjectName(QStringLiteral("classesListWidget"));
    m_captions.addName(m_classes, 232);
    addToTabOrder(m_events);
    addToTabOrder(m_classes);
    connect(m_events, &QListWidget::currentRowChanged, this, [this](int p) { pickEvent(p); });
    connect(m_classes, &QListWidget::currentRowChanged, this, [this](int p) { pickClass(p); });

    // The four option groups; a click writes its field only while "Save listsetups" is on.
    auto optionGroup = [this](int caption, const char *name, int firstCaption, int count, int field,
                              QRadioButton **out) {
        QGroupBox *g = groupBox(caption, QString::fromLatin1(name));
        auto *l = new QVBoxLayout(g);
        for (int i = 0; i < count; ++i) {
            auto *b = new QRadioButton(g);
            b->setObjectName(QStringLiteral("%1RadioButton%2")
                                 .arg(QString::fromLatin1(name).remove(QStringLiteral("GroupBox")))
                                 .arg(i));
            m_captions.add(b, firstCaption + i);
            // toggled, not clicked, so a screen reader's toggle action counts as a click.
            connect(b, &QRadioButton::toggled, this, [this, field, i](bool on) {
                if (on && !m_showing)
                    optionClicked(field, i);
            });
            l->addWidget(b);
            addToTabOrder(b);
            out[i] = b;
        }
        return g;
    };
    QGroupBox *listGroup = optionGroup(3, "listTypeGroupBox", 31, 6, SetupListType, m_listType.data());
    QGroupBox *categoryGroup = optionGroup(4, "categoryGroupBox", 5, 3, SetupCategory, m_category.data());
    m_formatGroup = optionGroup(354, "timeFormatGroupBox", 355, 3, SetupTimeFormat, m_format.data());
    m_sortGroup = optionGroup(8, "sortingGroupBox", 9, 6, SetupSorting, m_sort.data());

    // The bound boxes of the record.
    m_index = boundLineEdit(QStringLiteral("setupIndexLineEdit"), SetupIndex);
    m_index->setReadOnly(true);
    m_captions.addName(m_index, 2, QStringLiteral(" index"));
    m_mover = lineEdit(QStringLiteral("setupMoverLineEdit"));
    m_captions.addName(m_mover, 121, QStringLiteral(" (") + m_state.texts.caption(2).trimmed() + u')');
    addToTabOrder(m_mover);
    connect(m_mover, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_index->text().isEmpty()) {
            form().refresh();
            m_state.informText(m_state.texts.message(9) + QStringLiteral("002"));
            return;
        }
        if (const auto n = setupMoverTarget(text))
            moveToRecord(*n);
    });
    QLineEdit *date = m_date = boundLineEdit(QStringLiteral("startDateLineEdit"), SetupDate);
    QLineEdit *time = m_time = boundLineEdit(QStringLiteral("startTimeLineEdit"), SetupStartTime);
    m_variant =
        bind(comboBox(QStringLiteral("variantComboBox"), [] { return variantTexts(); }), SetupVariant);
    m_variant->refill();
    m_help = boundLineEdit(QStringLiteral("helpColumnsLineEdit"), SetupHelpColumns);
    // What is typed goes into the record shown, which is always the one picked.
    for (QLineEdit *e : {date, time, m_help})
        connect(e, &QLineEdit::editingFinished, this, [this] {
            if (m_record > 0) {
                m_help->setText(clampedHelpColumns(m_help->text()));
                form().save();
            }
        });
    connect(m_variant, &QComboBox::currentTextChanged, this, [this] { updateStatus(); });
    connect(m_variant, &QComboBox::activated, this, [this] {
        if (m_record > 0)
            form().save();
    });
    connect(&form(), &RecordForm::currentRowChanged, this, [this](int row) { recordShown(row); });

    auto *fields = new QGridLayout;
    fields->addWidget(m_index, 0, 0);
    fields->addWidget(m_mover, 0, 1);
    addField(fields, 1, 0, 15, date);
    addField(fields, 2, 0, 16, time);
    addField(fields, 3, 0, 17, m_variant);
    addField(fields, 4, 0, 363, m_help);

    auto *buttons = new QGridLayout;
    for (int i = 0; i < 10; ++i) {
        m_buttons[size_t(i)] =
            button(kButtons[i].first, QString::fromLatin1(kButtons[i].second), [this, i] { listCommand(i); });
        buttons->addWidget(m_buttons[size_t(i)], i / 2, i % 2);
    }
    addPrintButtons(*buttons);

    auto *lists = new QVBoxLayout;
    lists->addWidget(m_events, 3);
    lists->addWidget(m_classes, 2);
    auto *options = new QGridLayout;
    options->addWidget(listGroup, 0, 0);
    options->addWidget(categoryGroup, 0, 1);
    options->addWidget(m_formatGroup, 1, 1);
    options->addWidget(m_sortGroup, 1, 0);
    auto *right = new QVBoxLayout;
    right->addLayout(options);
    right->addLayout(fields);
    right->addStretch(1);
    right->addLayout(buttons);
    navigator()->hide();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(right, 1);

    const MeetNotifier *n = &m_state.notifier;
    connect(n, &MeetNotifier::entriesChanged, this, [this] { rebuildEventList(); });
    connect(n, &MeetNotifier::registerChanged, this, [this] { rebuildEventList(); });
    connect(n, &MeetNotifier::roundChanged, this, [this] {
        rebuildEventList();
        if (event() > 0 && cls() > 0)
            followChoice();
        updateStatus();
    });
    connect(n, &MeetNotifier::optionChanged, this, [this](int option) {
        if (option == OptAlwaysUseGrid)
            applyAlwaysGrid();
        else if (option == OptSaveListSetups && m_record > 0)
            showStoredRecord(m_record - 1);
    });
    applyAlwaysGrid();
    for (QWidget *w : std::initializer_list<QWidget *>{m_date, m_time, m_variant, m_help})
        w->setEnabled(false);
    rebuildEventList();
    finishTabOrder();
    resize(760, 620);
}

void EventSetupWindow::addPrintButtons(QGridLayout &buttons)
{
    // The class list and the event list as their files hold them (sorted, joined).
    const auto listOf = [this](bool classList, ListDocument &document) {
        if (event() == 0 || (classList && cls() == 0)) {
            m_state.inform(event() == 0 ? 7 : 6);
            return false;
        }
        const ListSelection selection = gridContext().selection;
        return print::listFileForPrint(
            m_state, classList ? classListPath(m_state, selection) : eventListPath(m_state, selection),
            document);
    };
    const char *names[2] = {"printPushButton", "pdfPushButton"};
    for (int b = 0; b < 2; ++b) {
        auto *button = new QPushButton(this);
        button->setObjectName(QLatin1String(names[b]));
        auto *menu = new QMenu(button);
        for (const bool classList : {true, false}) {
            connect(menu->addAction(QString()), &QAction::triggered, this, [this, b, classList, listOf] {
                ListDocument document;
                if (!listOf(classList, document))
                    return;
                if (b == 0)
                    print::printWithPreview(this, m_state, document);
                else
                    print::saveListAsPdf(m_state, document);
            });
        }
        button->setMenu(menu);
        buttons.addWidget(button, 5, b);
        m_printButtons[size_t(b)] = button;
    }
    captionPrintButtons();
}

void EventSetupWindow::captionPrintButtons()
{
    const TextTables &t = m_state.texts;
    for (int b = 0; b < 2; ++b) {
        QPushButton *button = m_printButtons[size_t(b)];
        print::setCaptionWithFreeMnemonic(*button, t.message(b == 0 ? Text::PrintCommand : Text::PdfCommand),
                                          *this);
        const QList<QAction *> items = button->menu()->actions();
        items[0]->setText(t.message(Text::ClassListItem));
        items[1]->setText(t.message(Text::EventListItem));
    }
}

void EventSetupWindow::retranslate()
{
    RegisterWindowBase::retranslate();
    captionPrintButtons();
    rebuildEventList();
}

int EventSetupWindow::event() const
{
    const int p = m_events->currentRow();
    return p >= 0 && p < kEventSlots ? p + 1 : 0;
}

int EventSetupWindow::cls() const
{
    const int p = m_classes->currentRow();
    return p >= 0 && p < kClassCount ? p + 1 : 0;
}

QString EventSetupWindow::variant() const
{
    return m_variant->currentText();
}

void EventSetupWindow::rebuildEventList()
{
    const int row = m_events->currentRow();
    {
        const QSignalBlocker block(m_events);
        m_events->clear();
        m_events->addItems(eventListLines(m_state));
        m_events->setCurrentRow(row);
    }
    rebuildClassList();
}

void EventSetupWindow::rebuildClassList()
{
    const int row = m_classes->currentRow();
    const QSignalBlocker block(m_classes);
    m_classes->clear();
    if (event() == 0)
        return;
    m_classes->addItems(classListLines(m_state, event(), m_listType[kListTypeRelay]->isChecked()));
    m_classes->setCurrentRow(row);
}

void EventSetupWindow::pickEvent(int position)
{
    if (position < 0 || position >= kEventSlots)
        return;
    if (m_events->currentRow() != position) {
        const QSignalBlocker block(m_events);
        m_events->setCurrentRow(position);
    }
    rebuildClassList();
    // The class stays picked: its record in this event is shown from now on.
    followChoice();
    updateStatus();
}

void EventSetupWindow::pickClass(int position)
{
    if (position < 0 || position >= kClassCount || event() == 0)
        return;
    if (m_classes->currentRow() != position) {
        const QSignalBlocker block(m_classes);
        m_classes->setCurrentRow(position);
    }
    followChoice();
    updateStatus();
}

void EventSetupWindow::followChoice()
{
    showRecord(event() > 0 && cls() > 0 ? setupRecordNumber(m_state.currentRound, event(), cls()) : 0);
}

void EventSetupWindow::moveToRecord(int record)
{
    if (record < 1 || record > form().recordCount())
        return;
    const int offset = record - setupRecordNumber(m_state.currentRound, 1, 1);
    {
        const QSignalBlocker blockEvents(m_events);
        const QSignalBlocker blockClasses(m_classes);
        if (offset >= 0 && offset < kEventSlots * kClassCount) {
            m_events->setCurrentRow(offset / kClassCount);
            rebuildClassList();
            m_classes->setCurrentRow(offset % kClassCount);
        } else {
            m_classes->setCurrentRow(-1);
        }
    }
    showRecord(record);
    updateStatus();
}

void EventSetupWindow::showRecord(int record)
{
    if (record < 1 || record > form().recordCount()) {
        m_record = 0;
    } else if (record != m_record || form().currentRow() != record - 1) {
        const int previous = m_record;
        // The closed boxes hold nothing typed: the record they show is written back as stored.
        if (previous == 0)
            form().revert();
        m_record = record;
        {
            const QSignalBlocker block(m_mover);
            m_mover->setText(QString::number(record));
        }
        if (form().currentRow() == record - 1)
            showStoredRecord(record - 1);
        else if (!form().setCurrentRow(record - 1))
            m_record = previous; // the record shown could not be written and stays, with its edits
    }
    for (QWidget *w : std::initializer_list<QWidget *>{m_date, m_time, m_variant, m_help})
        w->setEnabled(m_record > 0);
}

void EventSetupWindow::recordShown(int row)
{
    if (row >= 0 && row + 1 == m_record) {
        showStoredRecord(row);
        return;
    }
    // The form moved by itself: a meet was let go of, or bound and showing its first record.
    m_record = 0;
    followChoice();
}

SetupOptions EventSetupWindow::chosenOptions() const
{
    return {optionIndex(m_category), optionIndex(m_listType), optionIndex(m_format), optionIndex(m_sort)};
}

void EventSetupWindow::showStoredRecord(int row)
{
    if (row < 0)
        return;
    db::RecordModel &model = form().model();
    // A help-column count outside 0..5 is shown, and kept, within it.
    const QString help = model.text(row, SetupHelpColumns);
    if (const QString clamped = clampedHelpColumns(help); clamped != help) {
        m_help->setText(clamped);
        model.setValue(row, SetupHelpColumns, clamped);
    }
    // The record's own options are shown whether or not clicks are stored, so no command runs
    // on what another record left checked; a field that holds no option checks none.
    const QScopedValueRollback showing(m_showing, true);
    showOption(m_format, storedOption(model.text(row, SetupTimeFormat), int(m_format.size())));
    showOption(m_category, storedOption(model.text(row, SetupCategory), int(m_category.size())));
    showOption(m_listType, storedOption(model.text(row, SetupListType), int(m_listType.size())));
    showOption(m_sort, storedOption(model.text(row, SetupSorting), int(m_sort.size())));
    if (const auto category = optionIndex(m_category))
        if (const auto on = timeFormatsEnabled(*category))
            m_formatGroup->setEnabled(*on);
    rebuildClassList();
}

void EventSetupWindow::optionClicked(int field, int index)
{
    const int row = form().currentRow();
    if (m_state.option(OptSaveListSetups) && m_record > 0 && row == m_record - 1)
        form().model().setValue(row, field, QString::number(index));
    if (field == SetupCategory)
        if (const auto on = timeFormatsEnabled(index))
            m_formatGroup->setEnabled(*on);
    if (field == SetupListType)
        rebuildClassList();
}

void EventSetupWindow::applyAlwaysGrid()
{
    const bool grid = m_state.option(OptAlwaysUseGrid);
    m_sortGroup->setVisible(!grid);
    m_buttons[2]->setVisible(!grid);
    m_buttons[3]->setVisible(!grid);
}

void EventSetupWindow::updateStatus()
{
    m_state.progressSink().setStatusText(setupStatusText(m_state, event(), cls(), variant()));
}

void EventSetupWindow::resetSetups()
{
    if (!m_state.database.isOpen())
        return;
    form().save();
    if (Status s = schema::initEventSetups(m_state); !s)
        m_state.informText(s.error(), Icon::Exclamation);
    form().refresh();
}

void EventSetupWindow::listCommand(int index)
{
    switch (index) {
    case 6:
        resetSetups();
        return;
    case 7:
        rebuildEventList();
        return;
    case 8:
        m_main.showRegisterWindow(WindowId::Entries);
        return;
    case 9:
        hideWindow();
        return;
    default:
        break;
    }
    // The list buttons: an event always, a class for the class lists (0..3).
    if (event() == 0) {
        m_state.inform(7);
        return;
    }
    if (index <= 3 && cls() == 0) {
        m_state.inform(6);
        return;
    }
    if (index <= 3)
        followChoice();
    if (index == 0 || index == 2 || index == 3) {
        const QList<SetupField> missing = missingOptions(chosenOptions(), index == 3);
        if (!missing.isEmpty()) {
            QStringList names;
            for (SetupField field : missing)
                names << optionGroupName(m_state.texts, field);
            m_state.informText(
                m_state.texts.message(Text::ChooseOptionsFirst).arg(names.join(QStringLiteral(", "))),
                Icon::Exclamation);
            return;
        }
    }
    if (m_record > 0)
        form().save();
    switch (index) {
    case 0:
        openGrid();
        return;
    case 1:
        showClassList(m_state, gridContext());
        return;
    case 2:
        lists::makeEventListCommand(m_state, gridContext());
        return;
    case 3:
        lists::sortClassListCommand(m_state, gridContext(), checkedIndex(m_sort) + 1);
        return;
    case 4:
        lists::makeEventClassListCommand(m_state, gridContext());
        return;
    default:
        lists::showEventListCommand(m_state, gridContext());
        return;
    }
}

GridContext EventSetupWindow::gridContext() const
{
    GridContext c;
    c.selection = listSelection(m_state, event(), cls(), variant());
    c.type = listTypeFromCode(checkedIndex(m_listType));
    c.helpCount = int(toInteger(clampedHelpColumns(m_help->text()), 0, 5));
    c.run = m_category[0]->isChecked();
    c.technical = m_category[1]->isChecked();
    c.format = timeFormatFromCode(checkedIndex(m_format));
    c.startDate = m_date->text();
    c.startTime = m_time->text();
    return c;
}

void EventSetupWindow::openGrid()
{
    // Drawn heats and lanes differ from one grid to the next.
    static std::mt19937 random{std::random_device{}()};
    const GridContext context = gridContext();
    QMdiArea *area = m_main.windowArea();
    // A grid already open is brought forward: its table is not made anew under it.
    if (GridWindow *open = findEventGrid(
            area, gridTableName(m_state.texts, context.selection, m_state.option(OptLongFileNames)))) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(open->parentWidget()))
            area->setActiveSubWindow(sub);
        return;
    }
    GridTableOutcome outcome;
    if (Status s = CreateGridTable(m_state, context, outcome, random); !s) {
        m_state.informText(s.error(), Icon::Exclamation);
        return;
    }
    if (m_state.database.tableExists(outcome.table))
        openEventGrid(m_state, area, m_main.timingController(), context, outcome.table, outcome.heading);
}

ChildWindow *createEventSetupWindow(AppState &state, MainWindow &main)
{
    return new EventSetupWindow(state, main);
}

} // namespace arenor
