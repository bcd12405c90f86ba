#include "RegisterWindowBase.h"

#include "app/ui/MainWindow.h"
#include "registers/RegisterRules.h"
#include "registers/Relay.h"
#include "registers/ui/RegisterGrid.h"
#include "registers/ui/TabOrder.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace arenor {

// ---- RecordNavigator ----

RecordNavigator::RecordNavigator(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("dataRecordNavigator"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    static const char *const kArrows[4] = {"|<", "<", ">", ">|"};
    static const char *const kNames[4] = {"firstToolButton", "previousToolButton", "nextToolButton",
                                          "lastToolButton"};
    for (int i = 0; i < 4; ++i) {
        auto *b = new QToolButton(this);
        b->setText(QString::fromLatin1(kArrows[i]));
        b->setObjectName(QString::fromLatin1(kNames[i]));
        b->setAutoRaise(false);
        m_buttons[size_t(i)] = b;
        if (i == 2) {
            m_caption = new QLabel(this);
            m_caption->setObjectName(QStringLiteral("navigatorCaptionLabel"));
            m_caption->setFrameShape(QFrame::StyledPanel);
            m_caption->setAlignment(Qt::AlignCenter);
            m_caption->setMinimumWidth(110);
            layout->addWidget(m_caption, 1);
        }
        layout->addWidget(b);
    }
    connect(m_buttons[0], &QToolButton::clicked, this, &RecordNavigator::first);
    connect(m_buttons[1], &QToolButton::clicked, this, &RecordNavigator::previous);
    connect(m_buttons[2], &QToolButton::clicked, this, &RecordNavigator::next);
    connect(m_buttons[3], &QToolButton::clicked, this, &RecordNavigator::last);
    setLanguage(Language::Norwegian);
}

void RecordNavigator::setCaption(const QString &caption)
{
    m_caption->setText(caption);
    setAccessibleName(caption);
}

QString RecordNavigator::caption() const
{
    return m_caption->text();
}

void RecordNavigator::setLanguage(Language language)
{
    constexpr Text kNames[4] = {Text::FirstRecord, Text::PreviousRecord, Text::NextRecord, Text::LastRecord};
    QString names[4];
    for (int i = 0; i < 4; ++i)
        names[i] = TextTables::text(kNames[i], language);
    for (int i = 0; i < 4; ++i) {
        m_buttons[size_t(i)]->setToolTip(names[i]);
        m_buttons[size_t(i)]->setAccessibleName(names[i]);
    }
}

// ---- RefillingComboBox ----

RefillingComboBox::RefillingComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
}

void RefillingComboBox::refill()
{
    if (!source)
        return;
    const QString text = currentText();
    {
        const QSignalBlocker block(this);
        clear();
        addItems(source());
        setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    setEditText(text);
}

void RefillingComboBox::showPopup()
{
    refill();
    QComboBox::showPopup();
}

// ---- CaptionBook ----

void CaptionBook::add(QWidget *widget, int caption)
{
    m_entries.push_back({widget, caption, -1, false, {}});
}

void CaptionBook::addTab(QTabWidget *tabs, int index, int caption)
{
    m_entries.push_back({tabs, caption, index, false, {}});
}

void CaptionBook::addName(QWidget *widget, int caption, const QString &suffix)
{
    m_entries.push_back({widget, caption, -1, true, suffix});
}

void CaptionBook::apply(const TextTables &texts) const
{
    for (const Entry &e : m_entries) {
        if (!e.widget)
            continue;
        const QString text = texts.caption(e.caption);
        const QString plain = plainCaption(text).trimmed();
        if (e.tab >= 0) {
            if (auto *tabs = qobject_cast<QTabWidget *>(e.widget.data()))
                tabs->setTabText(e.tab, text);
            continue;
        }
        if (e.nameOnly) {
            e.widget->setAccessibleName(plain + e.suffix);
            continue;
        }
        if (auto *l = qobject_cast<QLabel *>(e.widget.data()))
            l->setText(text);
        else if (auto *b = qobject_cast<QAbstractButton *>(e.widget.data()))
            b->setText(text);
        else if (auto *g = qobject_cast<QGroupBox *>(e.widget.data()))
            g->setTitle(text);
        else if (auto *n = qobject_cast<RecordNavigator *>(e.widget.data()))
            n->setCaption(text);
        e.widget->setAccessibleName(plain);
    }
}

// ---- RegisterWindowBase ----

RegisterWindowBase::RegisterWindowBase(WindowId id, AppState &state, MainWindow &main, schema::Table table,
                                       int titleCaption, int navigatorCaption, db::RecordModel *model)
    : ChildWindow(id, state), m_main(main), m_table(table), m_titleCaption(titleCaption),
      m_form(
          state, [this] { return tableName(); }, model)
{
    m_navigator = new RecordNavigator(this);
    m_captions.add(m_navigator, navigatorCaption);
    connect(m_navigator, &RecordNavigator::first, this, [this] { m_form.first(); });
    connect(m_navigator, &RecordNavigator::previous, this, [this] { m_form.previous(); });
    connect(m_navigator, &RecordNavigator::next, this, [this] { m_form.next(); });
    connect(m_navigator, &RecordNavigator::last, this, [this] { m_form.last(); });

    m_form.validate = [this](int row) {
        const QList<int> multi = multiLineFields();
        for (auto &[field, widget] : m_fields) {
            if (multi.contains(field))
                continue;
            if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
                if (const QString s = registers::singleLine(edit->text()); s != edit->text())
                    edit->setText(s);
            } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
                if (const QString s = registers::singleLine(combo->currentText()); s != combo->currentText())
                    combo->setEditText(s);
            }
        }
        leavingRecord(row);
    };
    m_form.saved = [this](int row) { recordLeft(row); };
    connect(&m_form, &RecordForm::currentRowChanged, this, [this](int row) {
        if (row < 0)
            clearFields();
    });
}

RegisterWindowBase::~RegisterWindowBase() = default;

QString RegisterWindowBase::tableName() const
{
    return schema::tableName(m_state, m_table);
}

void RegisterWindowBase::retranslate()
{
    ChildWindow::retranslate();
    setWindowTitle(m_state.texts.caption(m_titleCaption));
    setAccessibleName(windowTitle().trimmed());
    m_captions.apply(m_state.texts);
    m_navigator->setLanguage(m_state.texts.language());
}

QWidget *RegisterWindowBase::fieldWidget(int field) const
{
    auto it = m_fields.find(field);
    return it == m_fields.end() ? nullptr : it->second;
}

QString RegisterWindowBase::fieldText(int field) const
{
    QWidget *w = fieldWidget(field);
    return w ? w->metaObject()->userProperty().read(w).toString() : QString();
}

void RegisterWindowBase::setFieldText(int field, const QString &text)
{
    if (QWidget *w = fieldWidget(field)) {
        if (auto *combo = qobject_cast<QComboBox *>(w))
            combo->setEditText(text); // not only an item of its list
        else
            w->metaObject()->userProperty().write(w, text);
    }
}

void RegisterWindowBase::clearFields()
{
    for (auto &[field, widget] : m_fields)
        setFieldText(field, QString());
}

void RegisterWindowBase::wipeFields(const QList<int> &fields)
{
    for (int f : fields)
        setFieldText(f, QStringLiteral("-"));
}

void RegisterWindowBase::openGrid()
{
    if (!m_state.database.isOpen())
        return;
    if (m_form.currentRow() >= 0 && !m_form.save()) {
        m_state.informText(m_state.texts.message(9) + QStringLiteral("\n\n") + m_form.model().lastError(),
                           Icon::Exclamation);
        return;
    }
    QPointer<RegisterWindowBase> self(this);
    openRegisterGrid(
        m_state, m_main, tableName(),
        [self](bool changed) {
            if (self && changed) {
                self->m_form.refresh();
                self->gridChanged();
            }
        },
        multiLineFields(), m_register.number);
}

QWidget *RegisterWindowBase::frame()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        return sub;
    return this;
}

void RegisterWindowBase::hideWindow()
{
    frame()->hide();
}

QLineEdit *RegisterWindowBase::lineEdit(const QString &objectName)
{
    auto *e = new QLineEdit(this);
    e->setObjectName(objectName);
    return e;
}

RefillingComboBox *RegisterWindowBase::comboBox(const QString &objectName,
                                                std::function<QStringList()> source)
{
    auto *c = new RefillingComboBox(this);
    c->setObjectName(objectName);
    if (source)
        c->source = [this, source = std::move(source)] {
            m_state.savePendingRecords(&m_form);
            return source();
        };
    return c;
}

QLabel *RegisterWindowBase::label(int caption, QWidget *buddy)
{
    auto *l = new QLabel(this);
    QString name = buddy->objectName();
    for (const char *suffix : {"LineEdit", "ComboBox", "PlainTextEdit", "ListWidget"})
        if (name.endsWith(QLatin1String(suffix)))
            name.chop(qsizetype(qstrlen(suffix)));
    l->setObjectName(name + QStringLiteral("Label"));
    l->setBuddy(buddy);
    m_captions.add(l, caption);
    m_captions.addName(buddy, caption);
    return l;
}

QPushButton *RegisterWindowBase::button(int caption, const QString &objectName, std::function<void()> command)
{
    auto *b = new QPushButton(this);
    b->setObjectName(objectName);
    m_captions.add(b, caption);
    m_buttons.append(b);
    connect(b, &QPushButton::clicked, this, [command = std::move(command)] { command(); });
    return b;
}

QGroupBox *RegisterWindowBase::groupBox(int caption, const QString &objectName)
{
    auto *g = new QGroupBox(this);
    g->setObjectName(objectName);
    m_captions.add(g, caption);
    return g;
}

QLineEdit *RegisterWindowBase::jumpBox(const QString &objectName, std::function<int()> count)
{
    QLineEdit *box = lineEdit(objectName);
    m_tabOrder.append(box);
    connect(box, &QLineEdit::textChanged, this, [this, count = std::move(count)](const QString &text) {
        // The shown record is written first, whether or not the text names another.
        if (const std::optional<int> offset = registers::jumpOffset(text, fieldText(0), count()))
            m_form.moveBy(*offset);
        else
            m_form.saveShown();
    });
    return box;
}

QLineEdit *RegisterWindowBase::boundLineEdit(const QString &objectName, int field)
{
    return bind(lineEdit(objectName), field);
}

QPlainTextEdit *RegisterWindowBase::boundTextArea(const QString &objectName, int field)
{
    auto *t = new QPlainTextEdit(this);
    t->setObjectName(objectName);
    t->setTabChangesFocus(true);
    return bind(t, field);
}

void RegisterWindowBase::addField(QGridLayout *grid, int row, int column, int caption, QWidget *control)
{
    const bool multiLine = qobject_cast<QPlainTextEdit *>(control) != nullptr;
    grid->addWidget(label(caption, control), row, column * 2, multiLine ? Qt::AlignTop : Qt::Alignment());
    grid->addWidget(control, row, column * 2 + 1);
}

QHBoxLayout *RegisterWindowBase::numberRow(int numberCaption, QLineEdit *number, int moverCaption,
                                           QLineEdit *mover)
{
    auto *row = new QHBoxLayout;
    row->addWidget(label(numberCaption, number));
    row->addWidget(number);
    row->addSpacing(12);
    row->addWidget(label(moverCaption, mover));
    row->addWidget(mover);
    row->addSpacing(12);
    row->addWidget(m_navigator, 1);
    return row;
}

QTabWidget *RegisterWindowBase::twoTabs(int nameCaption, QGridLayout *&primary, QGridLayout *&secondary)
{
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabsTabWidget"));
    auto page = [tabs](const QString &name) {
        auto *w = new QWidget(tabs);
        w->setObjectName(name);
        tabs->addTab(w, QString());
        return new QGridLayout(w);
    };
    primary = page(QStringLiteral("primaryTab"));
    secondary = page(QStringLiteral("secondaryTab"));
    m_captions.addTab(tabs, 0, 360);
    m_captions.addTab(tabs, 1, 361);
    m_captions.addName(tabs, nameCaption);
    return tabs;
}

QGroupBox *RegisterWindowBase::phoneGroup(int groupCaption, int firstCaption, int firstField)
{
    static const char *const kNames[4] = {"homePhoneLineEdit", "workPhoneLineEdit", "faxLineEdit",
                                          "mobileLineEdit"};
    QGroupBox *group = groupBox(groupCaption, QStringLiteral("phonesGroupBox"));
    auto *grid = new QGridLayout(group);
    for (int i = 0; i < 4; ++i)
        addField(grid, i, 0, firstCaption + i, boundLineEdit(QString::fromLatin1(kNames[i]), firstField + i));
    return group;
}

QVBoxLayout *RegisterWindowBase::commandColumn(const std::vector<CommandGroup> &groups)
{
    auto *column = new QVBoxLayout;
    for (const CommandGroup &g : groups) {
        QGroupBox *box = groupBox(g.caption, QString::fromLatin1(g.objectName));
        auto *l = new QVBoxLayout(box);
        for (const Command &c : g.commands)
            l->addWidget(button(c.caption, QString::fromLatin1(c.objectName), c.run));
        column->addWidget(box);
    }
    column->addStretch(1);
    return column;
}

void RegisterWindowBase::finishTabOrder()
{
    QList<QWidget *> order = m_tabOrder + m_buttons;
    for (int i = 0; i < 4; ++i)
        order.append(m_navigator->button(i));
    new TabOrder(this, order);
}

void RegisterWindowBase::setRegister(NumberedRegister numbered)
{
    m_register = std::move(numbered);
    db::RecordModel &model = m_form.model();
    model.check =
        m_register.number ? registers::recordNumberCheck(m_state, *m_register.number, model) : nullptr;
}

void RegisterWindowBase::hideEvent(QHideEvent *event)
{
    // A hide by the window system (the main window minimised) leaves the record being edited.
    if (!event->spontaneous())
        m_form.saveShown();
    ChildWindow::hideEvent(event);
}

void RegisterWindowBase::leavingRecord(int row)
{
    const db::RecordModel &model = m_form.model();
    if (!model.check)
        return;
    const QString problem = model.check(row, 0, fieldText(0));
    if (problem.isEmpty())
        return;
    setFieldText(0, model.text(row, 0));
    m_state.informText(problem, Icon::Exclamation);
}

void RegisterWindowBase::recordLeft(int row)
{
    if (!m_register.sync)
        return;
    m_register.sync(m_state, m_form.model().record(row));
    registers::refreshStartListAfterEdit(m_state);
}

void RegisterWindowBase::gridChanged()
{
    if (!m_register.read)
        return;
    registers::reportIndexError(m_state, m_register.read(m_state));
    registers::refreshStartListAfterEdit(m_state);
}

void RegisterWindowBase::resetRegister()
{
    if (!m_state.database.isOpen() || !m_register.init)
        return;
    m_form.save();
    if (Status s = m_register.init(m_state); !s)
        m_state.informText(s.error(), Icon::Exclamation);
    m_form.refresh();
    registers::refreshStartListAfterEdit(m_state);
}

void RegisterWindowBase::readRegister()
{
    if (!m_state.database.isOpen() || !m_register.read)
        return;
    // The shown record is written and the first one shown before the walk, so the catalogue
    // ends as the table reads; the entries window waits for the end and is refreshed once.
    const bool wasReading = m_state.readingRegister;
    m_state.readingRegister = true;
    m_form.save();
    m_form.first();
    const registers::RegisterRead read = m_register.read(m_state);
    m_state.readingRegister = wasReading;
    registers::reportIndexError(m_state, read);
    registers::refreshStartListAfterEdit(m_state);
}

void RegisterWindowBase::wipe()
{
    wipeFields(m_register.wipeFields);
}

} // namespace arenor
