#include "TimingWindow.h"

#include "base/Convert.h"
#include "app/ui/MainWindow.h"
#include "db/Schema.h"

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

QString notAvailableText(Language language)
{
    return language == Language::Norwegian
               ? QStringLiteral("Startoppsettet er ikke tilgjengelig ennå.")
               : QStringLiteral("The start setup is not available yet.");
}

} // namespace

void SignalButton::mousePressEvent(QMouseEvent *event)
{
    QPushButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled())
        emit signalOn(event->timestamp());
}

void SignalButton::mouseReleaseEvent(QMouseEvent *event)
{
    QPushButton::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit signalOff();
}

void SignalButton::keyPressEvent(QKeyEvent *event)
{
    QPushButton::keyPressEvent(event);
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && isEnabled())
        emit signalOn(event->timestamp());
}

void SignalButton::keyReleaseEvent(QKeyEvent *event)
{
    QPushButton::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        emit signalOff();
}

TimingWindow::TimingWindow(AppState &state, MainWindow &main, DigitalIoFactory factory)
    : ChildWindow(WindowId::Timing, state), m_main(main), m_factory(std::move(factory))
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
    m_session.setMeetDir(m_state.meetDir);
    applyPollConfig();
    m_poller.setNotify([this] { QMetaObject::invokeMethod(this, &TimingWindow::takePollEvents, Qt::QueuedConnection); });
    m_poller.start();

    m_clockTimer = new QTimer(this);
    m_clockTimer->setInterval(500);
    connect(m_clockTimer, &QTimer::timeout, this, &TimingWindow::showClock);
    m_clockTimer->start();
    m_rateTimer = new QTimer(this);
    m_rateTimer->setInterval(1000);
    connect(m_rateTimer, &QTimer::timeout, this, &TimingWindow::showRate);
    m_rateNs = m_clock.nowNs();
    m_rateTimer->start();

    qApp->installEventFilter(this);
    m_state.addDataBound(this);
    connect(&m_state.notifier, &MeetNotifier::timeFilesChanged, this, &TimingWindow::readTimeFiles);
    retranslate();
}

TimingWindow::~TimingWindow()
{
    m_poller.stop();
    qApp->removeEventFilter(this);
    m_state.removeDataBound(this);
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
    connect(s.number, &QLineEdit::textEdited, this, [this, d](const QString &t) { m_session.setNumberBox(d, t); });
    connect(s.number, &QLineEdit::textChanged, this, [this, d] { showCompetitor(d); });

    auto *channels = new QGridLayout;
    for (int i = 0; i < kChannels; ++i) {
        auto *indicator = new QFrame(s.page);
        indicator->setObjectName(dir + QStringLiteral("IndicatorFrame%1").arg(i));
        indicator->setFrameShape(QFrame::Box);
        indicator->setFixedSize(18, 18);
        indicator->setAutoFillBackground(true);
        auto *button = new SignalButton(s.page);
        button->setObjectName(QStringLiteral("sim") + (d == Direction::Out ? QStringLiteral("Out") : QStringLiteral("In")) +
                              QStringLiteral("PushButton%1").arg(i));
        button->setFocusPolicy(Qt::TabFocus);
        channels->addWidget(indicator, i % 3, (i / 3) * 2);
        channels->addWidget(button, i % 3, (i / 3) * 2 + 1);
        connect(button, &SignalButton::signalOn, this,
                [this, i](quint64 ms) { m_poller.press(i, eventStampNs(ms, m_clock.nowNs())); });
        connect(button, &SignalButton::signalOff, this, [this, i] { m_poller.release(i); });
        s.indicator[size_t(i)] = indicator;
        s.sim[size_t(i)] = button;
    }
    v->addLayout(channels);

    auto *buttons = new QHBoxLayout;
    s.reset = new QPushButton(s.page);
    s.reset->setObjectName(QStringLiteral("reset") + (d == Direction::Out ? QStringLiteral("Out") : QStringLiteral("In")) +
                           QStringLiteral("PushButton"));
    s.change = new QPushButton(s.page);
    s.change->setObjectName(QStringLiteral("change") + (d == Direction::Out ? QStringLiteral("Out") : QStringLiteral("In")) +
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
        connect(out, &QCheckBox::clicked, this, [this, ch](bool on) { store({{field::outOf(ch), on}}); });
        connect(in, &QCheckBox::clicked, this, [this, ch](bool on) { store({{field::inOf(ch), on}}); });
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
        updateAdapterControls();
    });
    connect(m_address, &QComboBox::activated, this, [this](int index) {
        store({{field::CardAddress, m_address->itemText(index)}, {field::CardAddressShown, m_address->itemText(index)}});
    });
    connect(m_printer, &QComboBox::activated, this, [this](int index) {
        store({{field::PrinterPort, m_printer->itemText(index)}, {field::PrinterPortShown, m_printer->itemText(index)}});
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
    connect(m_signals, &QButtonGroup::idClicked, this,
            [this](int id) { store({{field::SignalLevel, QString::number(id)}}); });
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
    connect(m_options[0], &QCheckBox::clicked, this, [this](bool on) { store({{field::AutoOutNumber, on}}); });
    connect(m_options[1], &QCheckBox::clicked, this, [this](bool on) { store({{field::KeepImported, on}}); });
    connect(m_options[2], &QCheckBox::clicked, this, &TimingWindow::automaticClicked);
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
    connect(m_formats, &QButtonGroup::idClicked, this, [this](int id) { store({{field::Format, QString::number(id)}}); });
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
        if (s == m_interval)
            m_poller.setIntervalMs(s->value());
        (s == m_interval ? m_intervalValue : m_delayValue)->setText(QString::number(s->value()));
        applyPollConfig();
        if (!s->isSliderDown())
            store({{f, QString::number(s->value())}});
    };
    connect(m_interval, &QSlider::valueChanged, this, [=, this] { sliderMoved(m_interval, field::Interval); });
    connect(m_interval, &QSlider::sliderReleased, this, [=, this] { sliderMoved(m_interval, field::Interval); });
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
    m_rateLabel = new QLabel(QStringLiteral("Kontrollerer I/O portene"), column);
    m_rateValue = new QLabel(column);
    m_rateValue->setObjectName(QStringLiteral("rateValueLabel"));
    m_rateLabel->setBuddy(m_rateValue);
    rate->addWidget(m_rateLabel);
    rate->addWidget(m_rateValue);
    rate->addWidget(new QLabel(QStringLiteral("pr.  sekund"), column));
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
        m_outChecks[size_t(i)]->setAccessibleName(plainCaption(t.caption(403 + i)) + u' ' + plainCaption(t.caption(409)));
        m_inChecks[size_t(i)]->setAccessibleName(plainCaption(t.caption(403 + i)) + u' ' + plainCaption(t.caption(410)));
    }
    m_adapterFrame->setTitle(t.caption(411));
    m_typeLabel->setText(t.caption(412));
    m_addressLabel->setText(t.caption(413));
    m_printerLabel->setText(t.caption(414));
    m_signalFrame->setTitle(t.caption(415));
    m_signals->button(0)->setText(t.caption(416));
    m_signals->button(1)->setText(t.caption(417));
    m_intervalFrame->setTitle(t.caption(418));
    // These two labels have no entries in the caption tables; they read the same in both languages.
    m_intervalLabel->setText(QStringLiteral("&Innsignaler     [ Intervall ms ]"));
    m_delayLabel->setText(QStringLiteral("&Forsinkelse    [ Ca Intervall ms ]"));
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->setWindowTitle(windowTitle());
}

// ---- the setup record ----

void TimingWindow::bindDatabase(db::Database &database)
{
    if (Status s = m_store.open(database, schema::tableName(m_state, schema::Table::Tidtakingoppsett)); !s)
        m_state.informText(s.error(), Icon::Exclamation);
    showSetup();
    applyPollConfig();
    m_poller.setIntervalMs(setup().interval());
    if (setup().automatic())
        startAdapter();
    else
        stopAutomatic();
    // Another meet has its own time files; a reset meet has none left. Either way the lists
    // must mirror the files of this meet before the next registration rewrites them.
    // (At start-up the lists are read once the registers are, not here.)
    if (!m_readMeetDir.isEmpty() &&
        (m_readMeetDir != m_state.meetDir || !QFile::exists(m_state.meetFile(timesFileName(Direction::Out))) ||
         !QFile::exists(m_state.meetFile(timesFileName(Direction::In)))))
        readTimeFiles();
}

void TimingWindow::unbindDatabase()
{
    m_store.close();
}

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
    m_showing = false;
}

void TimingWindow::store(const QList<QPair<int, QVariant>> &changes)
{
    if (m_showing)
        return;
    if (Status s = m_store.set(changes); !s)
        m_state.informText(m_state.texts.message(9) + QStringLiteral("\n\n") + s.error(), Icon::Exclamation);
    applyPollConfig();
}

void TimingWindow::applyPollConfig()
{
    const TimingSetup &s = setup();
    m_poller.setConfig(PollConfig::from(s));
    for (int ch = 1; ch <= kChannels; ++ch) {
        side(Direction::Out).sim[size_t(ch - 1)]->setEnabled(s.registersOut(ch));
        side(Direction::In).sim[size_t(ch - 1)]->setEnabled(s.registersIn(ch));
    }
}

void TimingWindow::updateAdapterControls()
{
    const bool automatic = m_options[2]->isChecked();
    m_type->setEnabled(!automatic);
    m_address->setEnabled(!automatic);
    const bool printer = !automatic && setup().printerPortType();
    m_printer->setEnabled(printer);
    m_printerLabel->setEnabled(setup().printerPortType());
}

void TimingWindow::automaticClicked(bool on)
{
    store({{field::Automatic, on}});
    if (on)
        startAdapter();
    else
        stopAutomatic();
}

bool TimingWindow::startAdapter()
{
    const TimingSetup &s = setup();
    std::unique_ptr<DigitalIo> io = m_factory ? m_factory(s.typeCode()) : nullptr;
    DioResult board = DioResult::failure(QStringLiteral("no adapter"));
    if (io)
        board = initAdapter(*io, {s.typeCode(), hexAddress(s.text(field::CardAddress)), hexAddress(s.text(field::PrinterPort))});
    if (!board.ok()) {
        m_poller.clearAdapter();
        if (m_state.prompt)
            m_state.prompt->inform(m_state.texts.message(252), QString());
        // The message says automatic timing was not switched on: the box and the record agree.
        m_options[2]->setChecked(false);
        store({{field::Automatic, false}});
        updateAdapterControls();
        return false;
    }
    m_poller.setAdapter(std::move(io), board.value);
    m_options[2]->setChecked(true);
    updateAdapterControls();
    return true;
}

void TimingWindow::stopAutomatic()
{
    m_poller.clearAdapter();
    m_options[2]->setChecked(false);
    updateAdapterControls();
}

// ---- lists and number boxes ----

void TimingWindow::readTimeFiles()
{
    m_session.setMeetDir(m_state.meetDir);
    m_readMeetDir = m_state.meetDir;
    QStringList problems;
    for (Direction d : {Direction::In, Direction::Out}) {
        if (Status s = m_session.readTimes(d); !s)
            problems << s.error();
        if (const int extra = int(m_session.list(d).overflow.size()); extra > 0)
            problems << overflowReadText(m_state.texts.language(), timesFileName(d), extra);
        refillList(d);
    }
    tellProblems(problems);
}

void TimingWindow::refillList(Direction d)
{
    QListWidget *list = side(d).list;
    list->setUpdatesEnabled(false);
    list->clear();
    list->addItems(m_session.list(d).displayLines());
    list->setUpdatesEnabled(true);
}

void TimingWindow::syncNumberBoxes()
{
    for (Direction d : {Direction::Out, Direction::In})
        if (side(d).number->text() != m_session.numberBox(d))
            side(d).number->setText(m_session.numberBox(d));
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
    m_session.keypad(m_tabs->currentIndex(), key);
    syncNumberBoxes();
}

void TimingWindow::changeClicked(Direction d)
{
    QList<int> rows;
    QListWidget *list = side(d).list;
    for (const QListWidgetItem *item : list->selectedItems())
        rows << list->row(item);
    if (!m_state.prompt)
        return;
    const Status s = m_session.changeNumbers(d, rows, *m_state.prompt, m_state.texts);
    refillList(d);
    syncNumberBoxes();
    if (!s)
        m_state.informText(s.error(), Icon::Exclamation);
}

void TimingWindow::resetClicked(Direction d)
{
    if (!m_state.prompt)
        return;
    Status error;
    if (!m_session.resetTimes(d, *m_state.prompt, m_state.texts, &error))
        return;
    refillList(d);
    if (!error)
        m_state.informText(error.error(), Icon::Exclamation);
}

void TimingWindow::generateStartTimes()
{
    if (isSignalConnected(QMetaMethod::fromSignal(&TimingWindow::startTimesRequested)))
        emit startTimesRequested();
    else
        m_state.informText(notAvailableText(m_state.texts.language()), Icon::Information);
}

void TimingWindow::hideWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->hide();
    else
        hide();
}

// ---- polling ----

void TimingWindow::takePollEvents()
{
    if (m_inTake) {
        // A message box of an earlier call is open; come back when it is closed.
        QTimer::singleShot(50, this, &TimingWindow::takePollEvents);
        return;
    }
    QStringList problems;
    bool adapterFailed = false;
    for (std::vector<PollEvent> events = m_poller.takeEvents(); !events.empty(); events = m_poller.takeEvents()) {
        for (const PollEvent &e : events) {
            switch (e.kind) {
            case PollEvent::Captured:
                setIndicator(e.channel, true);
                break;
            case PollEvent::Registered:
                for (const Registration &r : performRegistrations(m_session, e, setup().autoOutNumber())) {
                    if (r.result.outcome == RegisterResult::Stored)
                        side(r.direction).list->addItem(displayLine(r.result.record));
                    else if (r.result.outcome == RegisterResult::ListFull)
                        problems << listFullText(m_state.texts.language(), r.direction, r.channel, r.result.record.time);
                    if (!r.result.fileStatus)
                        problems << r.result.fileStatus.error();
                }
                m_lastTime->setText(m_session.lastRegistered().isEmpty() ? m_lastTime->text() : m_session.lastRegistered());
                setIndicator(e.channel, false);
                break;
            case PollEvent::AdapterFailed:
                adapterFailed = true;
                break;
            }
        }
    }
    syncNumberBoxes();
    m_inTake = true;
    if (adapterFailed) {
        if (m_state.prompt)
            m_state.prompt->inform(m_state.texts.message(252), QString());
        stopAutomatic();
        store({{field::Automatic, false}});
    }
    tellProblems(problems);
    m_inTake = false;
}

void TimingWindow::tellProblems(const QStringList &problems)
{
    for (const QString &p : problems)
        m_state.informText(p, Icon::Exclamation);
}

bool TimingWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const int channel = channelOfKey(key->key());
    auto *target = qobject_cast<QWidget *>(watched);
    if (channel < 0 || !target || (target != this && !isAncestorOf(target)))
        return false;
    // Held keys repeat as press and release pairs: only the first press and the last release count.
    if (!key->isAutoRepeat()) {
        if (event->type() == QEvent::KeyPress)
            m_poller.press(channel, eventStampNs(key->timestamp(), m_clock.nowNs()));
        else
            m_poller.release(channel);
    }
    return true;
}

void TimingWindow::showClock()
{
    if (m_state.option(OptDisplayLocalTime))
        m_localTime->setText(clockText(m_clock.localTime()));
}

void TimingWindow::showRate()
{
    const quint64 ticks = m_poller.ticks();
    const qint64 now = m_clock.nowNs();
    if (now > m_rateNs)
        m_rate = int(std::lround(double(ticks - m_rateTicks) * 1e9 / double(now - m_rateNs)));
    m_rateTicks = ticks;
    m_rateNs = now;
    m_rateValue->setText(numberText(qint64(m_rate)));
    m_rateValue->setAccessibleDescription(m_state.texts.message(253) + QString::number(m_rate) +
                                          m_state.texts.message(254));
    if (m_rateBar->maximum() < m_rate)
        m_rateBar->setMaximum(m_rate);
    m_rateBar->setValue(m_rate);
}

ChildWindow *createTimingWindow(AppState &state, MainWindow &main)
{
    return new TimingWindow(state, main);
}

} // namespace arenor
