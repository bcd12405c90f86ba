#include "TimingWindow.h"

#include "app/ui/MainWindow.h"
#include "base/Convert.h"
#include "db/Schema.h"
#include "events/StartSetup.h"
#include "events/ui/EventSetupWindow.h"
#include "events/ui/StartSetupDialog.h"
#include "timing/ui/EventAdapterControls.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace arenor {

using namespace timing;

namespace {

const QColor kIdle(192, 192, 192);
const QColor kBusy(255, 255, 0);

// Function keys F4..F9 are channels 1..6.
int channelOfKey(int key)
{
    return key >= Qt::Key_F4 && key <= Qt::Key_F9 ? key - Qt::Key_F4 : -1;
}

} // namespace

SignalButton::SignalButton(QWidget *parent) : QPushButton(parent)
{
    // The button's own pressed and released signals come from the mouse, the space key and
    // an accessibility press action alike, so each way is one signal.
    connect(this, &QAbstractButton::pressed, this, [this] { emit signalOn(std::exchange(m_eventMs, 0)); });
    connect(this, &QAbstractButton::released, this, &SignalButton::signalOff);
}

void SignalButton::mousePressEvent(QMouseEvent *event)
{
    m_eventMs = event->timestamp();
    QPushButton::mousePressEvent(event);
    m_eventMs = 0;
}

void SignalButton::keyPressEvent(QKeyEvent *event)
{
    m_eventMs = event->timestamp();
    QPushButton::keyPressEvent(event);
    m_eventMs = 0;
}

TimingWindow::TimingWindow(AppState &state, MainWindow &main, TimingController &timing)
    : ChildWindow(WindowId::Timing, state), m_main(main), m_timing(timing)
{
    setObjectName(QStringLiteral("timingWindow"));
    auto *layout = new QHBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("timingTabWidget"));
    m_tabs->setUsesScrollButtons(false); // all four tabs stay in sight
    buildListPage(Direction::Out);
    buildListPage(Direction::In);
    m_tabs->addTab(side(Direction::Out).page, QString());
    m_tabs->addTab(side(Direction::In).page, QString());
    m_tabs->addTab(buildChannelPage(), QString());
    m_tabs->addTab(buildTimerPage(), QString());
    layout->addWidget(m_tabs, 1);
    layout->addWidget(buildSideColumn());
    connect(m_tabs, &QTabWidget::currentChanged, this,
            [this](int tab) { side(Direction::Out).change->setEnabled(tab == 0); });

    // Start-up: every channel inactive, every indicator grey.
    greyIndicators();
    connect(&m_timing, &TimingController::listRead, this, &TimingWindow::refillList);
    connect(&m_timing, &TimingController::recordAdded, this,
            [this](Direction d, const TimeRecord &r) { side(d).list->addItem(displayLine(r)); });
    connect(&m_timing, &TimingController::channelBusy, this, &TimingWindow::setIndicator);
    connect(&m_timing, &TimingController::numberBoxesChanged, this, &TimingWindow::syncNumberBoxes);
    connect(&m_timing, &TimingController::lastRegisteredChanged, this, [this](const QString &time) {
        if (!time.isEmpty())
            m_lastTime->setText(time);
    });
    connect(&m_timing, &TimingController::setupChanged, this, &TimingWindow::showSetup);

    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(500);
    connect(m_clockTimer, &QTimer::timeout, this, &TimingWindow::showClock);
    m_clockTimer->start();
    m_rateTimer = new QTimer(this);
    m_rateTimer->setInterval(1000);
    connect(m_rateTimer, &QTimer::timeout, this, &TimingWindow::showRate);
    m_rateTimer->start();

    qApp->installEventFilter(this);
    retranslate();
    showSetup();
    for (Direction d : {Direction::Out, Direction::In})
        refillList(d);
}

TimingWindow::~TimingWindow()
{
    qApp->removeEventFilter(this);
}

void TimingWindow::buildListPage(Direction d)
{
    Side &s = side(d);
    const QString dir = d == Direction::Out ? QStringLiteral("out") : QStringLiteral("in");
    s.page = new QWidget(this);
    auto *v = new QVBoxLayout(s.page);

    s.header = new QLabel(s.page);
    s.header->setObjectName(dir + QStringLiteral("HeaderLabel"));
    s.header->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    s.list = new QListWidget(s.page);
    s.list->setObjectName(dir + QStringLiteral("TimesListWidget"));
    s.list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    s.list->setUniformItemSizes(true);
    s.list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    s.header->setBuddy(s.list);
    v->addWidget(s.header);
    v->addWidget(s.list, 1);

    auto *numberRow = new QHBoxLayout;
    s.numberLabel = new QLabel(s.page);
    s.number = new QLineEdit(s.page);
    s.number->setObjectName(dir + QStringLiteral("NumberLineEdit"));
    s.number->setMaxLength(kNumberWidth);
    s.numberLabel->setBuddy(s.number);
    s.name = new QLabel(s.page);
    s.name->setObjectName(dir + QStringLiteral("NameLabel"));
    s.clubClass = new QLabel(s.page);
    s.clubClass->setObjectName(dir + QStringLiteral("ClubClassLabel"));
    numberRow->addWidget(s.numberLabel);
    numberRow->addWidget(s.number);
    numberRow->addWidget(s.name, 1);
    numberRow->addWidget(s.clubClass, 1);
    v->addLayout(numberRow);
    connect(s.number, &QLineEdit::textEdited, this,
            [this, d](const QString &t) { m_timing.setNumberBox(d, t); });
    connect(s.number, &QLineEdit::textChanged, this, [this, d] { showCompetitor(d); });

    auto *channels = new QGridLayout;
    for (int i = 0; i < kChannels; ++i) {
        auto *indicator = new QFrame(s.page);
        indicator->setObjectName(dir + QStringLiteral("IndicatorFrame%1").arg(i));
        indicator->setFrameShape(QFrame::Box);
        indicator->setFixedSize(18, 18);
        indicator->setAutoFillBackground(true);
        auto *button = new SignalButton(s.page);
        button->setObjectName(QStringLiteral("sim") +
                              (d == Direction::Out ? QStringLiteral("Out") : QStringLiteral("In")) +
                              QStringLiteral("PushButton%1").arg(i));
        button->setFocusPolicy(Qt::TabFocus);
        channels->addWidget(indicator, i % 3, (i / 3) * 2);
        channels->addWidget(button, i % 3, (i / 3) * 2 + 1);
        connect(button, &SignalButton::signalOn, this, [this, i](quint64 ms) { m_timing.press(i, ms); });
        connect(button, &SignalButton::signalOff, this, [this, i] { m_timing.release(i); });
        s.indicator[size_t(i)] = indicator;
        s.sim[size_t(i)] = button;
    }
    v->addLayout(channels);

    auto *buttons = new QHBoxLayout;
    s.reset = new QPushButton(s.page);
    s.reset->setObjectName(QStringLiteral("reset") +
                           (d == Direction::Out ? QStringLiteral("Out") : QStringLiteral("In")) +
                           QStringLiteral("PushButton"));
    s.change = new QPushButton(s.page);
    s.change->setObjectName(QStringLiteral("change") +
                            (d == Direction::Out ? QStringLiteral("Out") : QStringLiteral("In")) +
                            QStringLiteral("PushButton"));
    buttons->addWidget(s.reset);
    buttons->addWidget(s.change);
    buttons->addStretch(1);
    v->addLayout(buttons);
    connect(s.reset, &QPushButton::clicked, this, [this, d] { resetClicked(d); });
    connect(s.change, &QPushButton::clicked, this, [this, d] { changeClicked(d); });
}

QWidget *TimingWindow::buildChannelPage()
{
    auto *page = new QWidget(this);
    auto *v = new QVBoxLayout(page);

    m_channelFrame = new QGroupBox(page);
    m_channelFrame->setObjectName(QStringLiteral("channelGroupBox"));
    auto *grid = new QGridLayout(m_channelFrame);
    for (int i = 0; i < kChannels; ++i) {
        const int ch = i + 1;
        auto *label = new QLabel(m_channelFrame);
        label->setObjectName(QStringLiteral("channelLabel%1").arg(i));
        auto *out = new QCheckBox(m_channelFrame);
        out->setObjectName(QStringLiteral("outChannelCheckBox%1").arg(i));
        auto *in = new QCheckBox(m_channelFrame);
        in->setObjectName(QStringLiteral("inChannelCheckBox%1").arg(i));
        label->setBuddy(out);
        grid->addWidget(label, i, 0);
        grid->addWidget(out, i, 1);
        grid->addWidget(in, i, 2);
        // toggled, not clicked, so a screen reader's toggle action stores as a click does.
        connect(out, &QCheckBox::toggled, this, [this, ch](bool on) {
            if (!m_showing)
                store({{field::outOf(ch), on}});
        });
        connect(in, &QCheckBox::toggled, this, [this, ch](bool on) {
            if (!m_showing)
                store({{field::inOf(ch), on}});
        });
        m_channelLabels[size_t(i)] = label;
        m_outChecks[size_t(i)] = out;
        m_inChecks[size_t(i)] = in;
    }
    v->addWidget(m_channelFrame);

    m_adapterFrame = new QGroupBox(page);
    m_adapterFrame->setObjectName(QStringLiteral("adapterGroupBox"));
    auto *form = new QGridLayout(m_adapterFrame);
    auto combo = [&](const QString &name, const QStringList &items, QLabel *&label, int row) {
        label = new QLabel(m_adapterFrame);
        auto *c = new QComboBox(m_adapterFrame);
        c->setObjectName(name);
        c->addItems(items);
        label->setBuddy(c);
        form->addWidget(label, row, 0);
        form->addWidget(c, row, 1);
        return c;
    };
    m_type = combo(QStringLiteral("adapterTypeComboBox"), adapterTypeNames(), m_typeLabel, 0);
    m_address = combo(QStringLiteral("cardAddressComboBox"), cardAddresses(), m_addressLabel, 1);
    m_printer = combo(QStringLiteral("printerPortComboBox"), printerPortAddresses(), m_printerLabel, 2);
    connect(m_type, &QComboBox::activated, this, [this](int index) {
        store({{field::TypeCode, QString::number(index)}, {field::TypeName, m_type->itemText(index)}});
    });
    connect(m_address, &QComboBox::activated, this, [this](int index) {
        store({{field::CardAddress, m_address->itemText(index)},
               {field::CardAddressShown, m_address->itemText(index)}});
    });
    connect(m_printer, &QComboBox::activated, this, [this](int index) {
        store({{field::PrinterPort, m_printer->itemText(index)},
               {field::PrinterPortShown, m_printer->itemText(index)}});
    });
    m_eventControls = new EventAdapterControls(m_adapterFrame, form, 3);
    connect(m_eventControls, &EventAdapterControls::changed, this,
            [this](const QList<QPair<int, QVariant>> &changes) {
                store(changes);
                updateAdapterControls();
            });
    v->addWidget(m_adapterFrame);

    m_signalFrame = new QGroupBox(page);
    m_signalFrame->setObjectName(QStringLiteral("signalGroupBox"));
    auto *sl = new QHBoxLayout(m_signalFrame);
    m_signals = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto *r = new QRadioButton(m_signalFrame);
        r->setObjectName(QStringLiteral("signalRadioButton%1").arg(i));
        m_signals->addButton(r, i);
        sl->addWidget(r);
    }
    connect(m_signals, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on && !m_showing)
            store({{field::SignalLevel, QString::number(id)}});
    });
    v->addWidget(m_signalFrame);
    v->addStretch(1);
    return page;
}

QWidget *TimingWindow::buildTimerPage()
{
    auto *page = new QWidget(this);
    auto *v = new QVBoxLayout(page);

    m_optionFrame = new QGroupBox(page);
    m_optionFrame->setObjectName(QStringLiteral("optionGroupBox"));
    auto *ol = new QVBoxLayout(m_optionFrame);
    const char *names[3] = {"autoOutNumberCheckBox", "keepImportedCheckBox", "automaticCheckBox"};
    for (int i = 0; i < 3; ++i) {
        auto *c = new QCheckBox(m_optionFrame);
        c->setObjectName(QString::fromLatin1(names[i]));
        ol->addWidget(c);
        m_options[size_t(i)] = c;
    }
    connect(m_options[0], &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing)
            store({{field::AutoOutNumber, on}});
    });
    connect(m_options[1], &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing)
            store({{field::KeepImported, on}});
    });
    connect(m_options[2], &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing)
            m_timing.setAutomatic(on);
    });
    v->addWidget(m_optionFrame);

    m_formatFrame = new QGroupBox(page);
    m_formatFrame->setObjectName(QStringLiteral("formatGroupBox"));
    auto *fl = new QVBoxLayout(m_formatFrame);
    m_formats = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto *r = new QRadioButton(m_formatFrame);
        r->setObjectName(QStringLiteral("formatRadioButton%1").arg(i));
        m_formats->addButton(r, i);
        fl->addWidget(r);
    }
    connect(m_formats, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on && !m_showing)
            store({{field::Format, QString::number(id)}});
    });
    v->addWidget(m_formatFrame);

    m_intervalFrame = new QGroupBox(page);
    m_intervalFrame->setObjectName(QStringLiteral("intervalGroupBox"));
    auto *il = new QGridLayout(m_intervalFrame);
    auto slider = [&](const QString &name, int lo, int hi, QLabel *&label, QLabel *&value, int row) {
        label = new QLabel(m_intervalFrame);
        auto *s = new QSlider(Qt::Horizontal, m_intervalFrame);
        s->setObjectName(name);
        s->setRange(lo, hi);
        label->setBuddy(s);
        value = new QLabel(m_intervalFrame);
        value->setObjectName(name.left(name.size() - 6) + QStringLiteral("ValueLabel"));
        value->setMinimumWidth(40);
        il->addWidget(label, row * 2, 0, 1, 2);
        il->addWidget(s, row * 2 + 1, 0);
        il->addWidget(value, row * 2 + 1, 1);
        return s;
    };
    m_interval = slider(QStringLiteral("intervalSlider"), kMinInterval, kMaxInterval, m_intervalLabel,
                        m_intervalValue, 0);
    m_delay = slider(QStringLiteral("delaySlider"), kMinDelay, kMaxDelay, m_delayLabel, m_delayValue, 1);
    auto sliderMoved = [this](QSlider *s, int f) {
        if (m_showing)
            return;
        if (s == m_interval)
            m_timing.setIntervalMs(s->value());
        (s == m_interval ? m_intervalValue : m_delayValue)->setText(QString::number(s->value()));
        if (!s->isSliderDown())
            store({{f, QString::number(s->value())}});
    };
    connect(m_interval, &QSlider::valueChanged, this,
            [=, this] { sliderMoved(m_interval, field::Interval); });
    connect(m_interval, &QSlider::sliderReleased, this,
            [=, this] { sliderMoved(m_interval, field::Interval); });
    connect(m_delay, &QSlider::valueChanged, this, [=, this] { sliderMoved(m_delay, field::Delay); });
    connect(m_delay, &QSlider::sliderReleased, this, [=, this] { sliderMoved(m_delay, field::Delay); });
    v->addWidget(m_intervalFrame);
    v->addStretch(1);
    return page;
}

QWidget *TimingWindow::buildSideColumn()
{
    auto *column = new QWidget(this);
    auto *v = new QVBoxLayout(column);
    auto *keys = new QGridLayout;
    for (int k = 0; k < 12; ++k) {
        auto *b = new QPushButton(column);
        b->setObjectName(QStringLiteral("keypadPushButton%1").arg(k));
        b->setText(k < 10 ? QString::number(k) : k == 10 ? QStringLiteral("C") : QStringLiteral("XXX"));
        b->setFocusPolicy(Qt::TabFocus);
        const int pos = k == 0 ? 10 : k < 10 ? k - 1 : k == 10 ? 9 : 11;
        keys->addWidget(b, pos / 3, pos % 3);
        connect(b, &QPushButton::clicked, this, [this, k] { keypadClicked(k); });
        m_keypad[size_t(k)] = b;
    }
    v->addLayout(keys);

    m_timeFrame = new QGroupBox(column);
    m_timeFrame->setObjectName(QStringLiteral("timeGroupBox"));
    auto *tl = new QGridLayout(m_timeFrame);
    m_localTimeLabel = new QLabel(m_timeFrame);
    m_localTime = new QLabel(QStringLiteral("00.00.00.00"), m_timeFrame);
    m_localTime->setObjectName(QStringLiteral("localTimeLabel"));
    m_lastTimeLabel = new QLabel(m_timeFrame);
    m_lastTime = new QLabel(QStringLiteral("00.00.00.00"), m_timeFrame);
    m_lastTime->setObjectName(QStringLiteral("lastTimeLabel"));
    m_localTimeLabel->setBuddy(m_localTime);
    m_lastTimeLabel->setBuddy(m_lastTime);
    tl->addWidget(m_localTimeLabel, 0, 0);
    tl->addWidget(m_localTime, 0, 1);
    tl->addWidget(m_lastTimeLabel, 1, 0);
    tl->addWidget(m_lastTime, 1, 1);
    v->addWidget(m_timeFrame);

    auto *rate = new QHBoxLayout;
    m_rateLabel = new QLabel(column);
    m_rateValue = new QLabel(column);
    m_rateValue->setObjectName(QStringLiteral("rateValueLabel"));
    m_rateLabel->setBuddy(m_rateValue);
    rate->addWidget(m_rateLabel);
    rate->addWidget(m_rateValue);
    m_perSecondLabel = new QLabel(column);
    rate->addWidget(m_perSecondLabel);
    v->addLayout(rate);
    m_rateBar = new QProgressBar(column);
    m_rateBar->setObjectName(QStringLiteral("rateProgressBar"));
    m_rateBar->setRange(0, 1);
    m_rateBar->setValue(0);
    m_rateBar->setTextVisible(false);
    v->addWidget(m_rateBar);

    v->addStretch(1);
    m_generate = new QPushButton(column);
    m_generate->setObjectName(QStringLiteral("generateStartTimesPushButton"));
    m_close = new QPushButton(column);
    m_close->setObjectName(QStringLiteral("closePushButton"));
    connect(m_generate, &QPushButton::clicked, this, &TimingWindow::generateStartTimes);
    connect(m_close, &QPushButton::clicked, this, &TimingWindow::hideWindow);
    v->addWidget(m_generate);
    v->addWidget(m_close);
    return column;
}

void TimingWindow::retranslate()
{
    const TextTables &t = m_state.texts;
    setWindowTitle(t.caption(379));
    setAccessibleName(plainCaption(t.caption(379)));
    for (int i = 0; i < 4; ++i)
        m_tabs->setTabText(i, t.caption(380 + i));
    for (Direction d : {Direction::Out, Direction::In}) {
        Side &s = side(d);
        s.header->setText(t.caption(d == Direction::Out ? 384 : 385));
        s.list->setAccessibleName(plainCaption(t.caption(d == Direction::Out ? 380 : 381)));
        s.numberLabel->setText(t.caption(386));
        s.reset->setText(t.caption(387));
        s.change->setText(t.caption(388));
        for (int i = 0; i < kChannels; ++i) {
            const QString channel = plainCaption(t.caption(403 + i));
            s.sim[size_t(i)]->setText(channel);
            s.indicator[size_t(i)]->setAccessibleName(channel);
        }
        s.name->setAccessibleName(plainCaption(t.caption(386)));
    }
    m_generate->setText(t.caption(389));
    m_close->setText(t.caption(390));
    m_optionFrame->setTitle(t.caption(391));
    for (int i = 0; i < 3; ++i)
        m_options[size_t(i)]->setText(t.caption(392 + i));
    m_formatFrame->setTitle(t.caption(395));
    for (int i = 0; i < 3; ++i)
        m_formats->button(i)->setText(t.caption(396 + i));
    m_timeFrame->setTitle(t.caption(399));
    m_localTimeLabel->setText(t.caption(400));
    m_lastTimeLabel->setText(t.caption(401));
    m_channelFrame->setTitle(t.caption(402));
    for (int i = 0; i < kChannels; ++i) {
        m_channelLabels[size_t(i)]->setText(t.caption(403 + i));
        m_outChecks[size_t(i)]->setText(t.caption(409));
        m_inChecks[size_t(i)]->setText(t.caption(410));
        m_outChecks[size_t(i)]->setAccessibleName(plainCaption(t.caption(403 + i)) + u' ' +
                                                  plainCaption(t.caption(409)));
        m_inChecks[size_t(i)]->setAccessibleName(plainCaption(t.caption(403 + i)) + u' ' +
                                                 plainCaption(t.caption(410)));
    }
    m_adapterFrame->setTitle(t.caption(411));
    m_typeLabel->setText(t.caption(412));
    m_addressLabel->setText(t.caption(413));
    m_printerLabel->setText(t.caption(414));
    m_eventControls->retranslate(t.language());
    m_signalFrame->setTitle(t.caption(415));
    m_signals->button(0)->setText(t.caption(416));
    m_signals->button(1)->setText(t.caption(417));
    m_intervalFrame->setTitle(t.caption(418));
    m_intervalLabel->setText(t.caption(Text::IntervalLabel));
    m_delayLabel->setText(t.caption(Text::DelayLabel));
    m_rateLabel->setText(t.caption(Text::PollingRate));
    m_perSecondLabel->setText(t.caption(Text::PerSecond));
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->setWindowTitle(windowTitle());
}

// ---- the setup record ----

void TimingWindow::showSetup()
{
    m_showing = true;
    const TimingSetup &s = setup();
    m_options[0]->setChecked(s.autoOutNumber());
    m_options[1]->setChecked(s.keepImported());
    m_options[2]->setChecked(s.automatic());
    for (int ch = 1; ch <= kChannels; ++ch) {
        m_outChecks[size_t(ch - 1)]->setChecked(s.registersOut(ch));
        m_inChecks[size_t(ch - 1)]->setChecked(s.registersIn(ch));
    }
    m_type->setCurrentIndex(s.typeCode());
    auto showText = [](QComboBox *c, const QString &text) {
        int i = c->findText(text.trimmed(), Qt::MatchFixedString);
        if (i < 0 && !text.trimmed().isEmpty()) {
            c->addItem(text.trimmed()); // a stored address the list does not offer
            i = c->count() - 1;
        }
        c->setCurrentIndex(std::max(0, i));
    };
    showText(m_address, s.text(field::CardAddress));
    showText(m_printer, s.text(field::PrinterPort));
    m_eventControls->show(s);
    m_formats->button(int(s.timeFormat()))->setChecked(true);
    m_signals->button(s.lowLevel() ? 1 : 0)->setChecked(true);
    {
        const QSignalBlocker a(m_interval), b(m_delay);
        m_interval->setValue(s.interval());
        m_delay->setValue(s.delay());
    }
    m_intervalValue->setText(QString::number(m_interval->value()));
    m_delayValue->setText(QString::number(m_delay->value()));
    updateAdapterControls();
    for (int ch = 1; ch <= kChannels; ++ch) {
        side(Direction::Out).sim[size_t(ch - 1)]->setEnabled(s.registersOut(ch));
        side(Direction::In).sim[size_t(ch - 1)]->setEnabled(s.registersIn(ch));
    }
    m_showing = false;
}

void TimingWindow::store(const QList<QPair<int, QVariant>> &changes)
{
    if (!m_showing)
        m_timing.changeSetup(changes);
}

void TimingWindow::updateAdapterControls()
{
    const bool automatic = m_options[2]->isChecked();
    m_type->setEnabled(!automatic);
    m_address->setEnabled(!automatic && !isEventAdapterType(setup().typeCode()));
    const bool printer = !automatic && setup().printerPortType();
    m_printer->setEnabled(printer);
    m_printerLabel->setEnabled(setup().printerPortType());
    m_eventControls->update(setup(), automatic);
}

void TimingWindow::refillList(Direction d)
{
    QListWidget *list = side(d).list;
    list->setUpdatesEnabled(false);
    list->clear();
    list->addItems(m_timing.session().list(d).displayLines());
    list->setUpdatesEnabled(true);
}

void TimingWindow::syncNumberBoxes()
{
    for (Direction d : {Direction::Out, Direction::In})
        if (side(d).number->text() != m_timing.session().numberBox(d))
            side(d).number->setText(m_timing.session().numberBox(d));
}

void TimingWindow::showCompetitor(Direction d)
{
    const auto [name, clubClass] = competitorLabels(m_state.catalogs, side(d).number->text());
    side(d).name->setText(name);
    side(d).clubClass->setText(clubClass);
}

void TimingWindow::setIndicator(int channel, bool busy)
{
    for (Side &s : m_sides) {
        QFrame *f = s.indicator[size_t(channel - 1)];
        QPalette p = f->palette();
        p.setColor(QPalette::Window, busy ? kBusy : kIdle);
        f->setPalette(p);
        f->setProperty("busy", busy);
    }
}

void TimingWindow::greyIndicators()
{
    for (int ch = 1; ch <= kChannels; ++ch)
        setIndicator(ch, false);
}

void TimingWindow::keypadClicked(int key)
{
    m_timing.keypad(m_tabs->currentIndex(), key);
}

void TimingWindow::changeClicked(Direction d)
{
    QList<int> rows;
    QListWidget *list = side(d).list;
    for (const QListWidgetItem *item : list->selectedItems())
        rows << list->row(item);
    m_timing.changeNumbers(d, rows);
}

void TimingWindow::resetClicked(Direction d)
{
    m_timing.resetTimes(d);
}

void TimingWindow::generateStartTimes()
{
    if (isSignalConnected(QMetaMethod::fromSignal(&TimingWindow::startTimesRequested)))
        emit startTimesRequested();
    else
        m_state.informText(m_state.texts.caption(Text::StartSetupNotAvailable), Icon::Information);
}

void TimingWindow::hideWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->hide();
    else
        hide();
}

// ---- keys and displays ----

bool TimingWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const int channel = channelOfKey(key->key());
    auto *target = qobject_cast<QWidget *>(watched);
    if (channel < 0 || !target)
        return false;
    // Results are typed in other windows while times are taken, so the keys count anywhere in
    // the program's main window; with Ctrl or Alt they stay the window commands (Ctrl+F4).
    const bool inTiming = target == this || isAncestorOf(target);
    const bool commandKey = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!inTiming && (commandKey || target->window() != window()))
        return false;
    // Held keys repeat as press and release pairs: only the first press and the last release count.
    if (!key->isAutoRepeat()) {
        if (event->type() == QEvent::KeyPress)
            m_timing.press(channel, key->timestamp());
        else
            m_timing.release(channel);
    }
    return true;
}

void TimingWindow::showClock()
{
    if (m_state.option(OptDisplayLocalTime))
        m_localTime->setText(clockText(m_timing.clock().localTime()));
}

void TimingWindow::showRate()
{
    m_rate = m_timing.measureRate();
    m_rateValue->setText(numberText(qint64(m_rate)));
    m_rateValue->setAccessibleDescription(m_state.texts.message(253) + QString::number(m_rate) +
                                          m_state.texts.message(254));
    if (m_rateBar->maximum() < m_rate)
        m_rateBar->setMaximum(m_rate);
    m_rateBar->setValue(m_rate);
}

ChildWindow *createTimingWindow(AppState &state, MainWindow &main)
{
    auto *window = new TimingWindow(state, main, *main.timingController());
    // Planned start times for every start number, in the event setup's time format.
    QObject::connect(window, &TimingWindow::startTimesRequested, window, [&state, &main, window] {
        const auto *setup = dynamic_cast<EventSetupWindow *>(main.childWindow(WindowId::EventSetup));
        const events::TimeFormat format =
            setup ? setup->gridContext().format : events::TimeFormat::HoursMinutesSeconds;
        auto *dialog = new StartSetupDialog(state, format, window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        for (QCheckBox *box : {dialog->byNumber(), dialog->toFile()}) {
            box->setChecked(true);
            box->setEnabled(false);
        }
        QObject::connect(dialog, &StartSetupDialog::confirmed, dialog, [&state, dialog] {
            QString notice;
            const Status s = events::writeStartTimesFile(
                state.meetFile(timing::timesFileName(timing::Direction::Out)), dialog->request(),
                state.catalogs.personCount, state.texts.messageLanguage(), &notice);
            if (!s) {
                state.informText(s.error(), Icon::Exclamation);
                return;
            }
            emit state.notifier.timeFilesChanged();
            if (!notice.isEmpty())
                state.informText(notice, Icon::Exclamation);
            dialog->accept();
        });
        dialog->open();
    });
    return window;
}

} // namespace arenor
