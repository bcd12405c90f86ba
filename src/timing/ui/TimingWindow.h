#pragma once
// The timing window: the out-times and in-times lists, the number boxes and keypad, the
// simulation buttons and channel indicators, and the meet's timing setup. It shows the timing
// controller and hands it keys and clicks; the controller polls whether the window is shown
// or not.

#include "app/ui/ChildWindow.h"
#include "timing/TimingController.h"

#include <QPushButton>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QRadioButton;
class QSlider;
class QTabWidget;
class QTimer;

namespace arenor {
class EventAdapterControls;
}

namespace arenor {

// A simulation button: pressed and released like a real signal, stamped when it happened.
// Pressed by the mouse, the space key or an assistive technology's press action alike.
class SignalButton : public QPushButton {
    Q_OBJECT
public:
    explicit SignalButton(QWidget *parent = nullptr);
signals:
    void signalOn(quint64 eventMs); // 0: no event time known
    void signalOff();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    quint64 m_eventMs = 0; // the time of the input event being handled
};

class TimingWindow : public ChildWindow {
    Q_OBJECT
public:
    TimingWindow(AppState &state, MainWindow &main, timing::TimingController &timing);
    ~TimingWindow() override;

    void retranslate() override;

    timing::TimingController &controller() { return m_timing; }

signals:
    // "Generate start times": the start setup writes planned start times into the out-times
    // file. Until something listens, the button says it is not available.
    void startTimesRequested();

public:
    // The rate display, as its timer shows it.
    void showRate();
    int shownRate() const { return m_rate; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Direction = timing::Direction;
    struct Side {
        QWidget *page = nullptr;
        QLabel *header = nullptr;
        QListWidget *list = nullptr;
        QLabel *numberLabel = nullptr;
        QLineEdit *number = nullptr;
        QLabel *name = nullptr;
        QLabel *clubClass = nullptr;
        std::array<SignalButton *, timing::kChannels> sim{};
        std::array<QFrame *, timing::kChannels> indicator{};
        QPushButton *reset = nullptr;
        QPushButton *change = nullptr;
    };

    void buildListPage(Direction d);
    QWidget *buildChannelPage();
    QWidget *buildTimerPage();
    QWidget *buildSideColumn();

    Side &side(Direction d) { return m_sides[size_t(d)]; }
    void refillList(Direction d);
    void syncNumberBoxes();
    void showCompetitor(Direction d);
    void setIndicator(int channel, bool busy);
    void greyIndicators();

    const timing::TimingSetup &setup() const { return m_timing.setup(); }
    // The setup record into the controls, and each control's change into the record.
    void showSetup();
    void store(const QList<QPair<int, QVariant>> &changes);
    void updateAdapterControls();

    void keypadClicked(int key);
    void changeClicked(Direction d);
    void resetClicked(Direction d);
    void generateStartTimes();
    void hideWindow();
    void showClock();

    MainWindow &m_main;
    timing::TimingController &m_timing;
    EventAdapterControls *m_eventControls = nullptr;
    bool m_showing = false; // controls are being set from the record

    QTabWidget *m_tabs = nullptr;
    std::array<Side, 2> m_sides;
    std::array<QPushButton *, 12> m_keypad{};
    QGroupBox *m_optionFrame = nullptr;
    std::array<QCheckBox *, 3> m_options{};
    QGroupBox *m_formatFrame = nullptr;
    QButtonGroup *m_formats = nullptr;
    QGroupBox *m_timeFrame = nullptr;
    QLabel *m_localTimeLabel = nullptr;
    QLabel *m_localTime = nullptr;
    QLabel *m_lastTimeLabel = nullptr;
    QLabel *m_lastTime = nullptr;
    QGroupBox *m_channelFrame = nullptr;
    std::array<QLabel *, timing::kChannels> m_channelLabels{};
    std::array<QCheckBox *, timing::kChannels> m_outChecks{};
    std::array<QCheckBox *, timing::kChannels> m_inChecks{};
    QGroupBox *m_adapterFrame = nullptr;
    QLabel *m_typeLabel = nullptr;
    QComboBox *m_type = nullptr;
    QLabel *m_addressLabel = nullptr;
    QComboBox *m_address = nullptr;
    QLabel *m_printerLabel = nullptr;
    QComboBox *m_printer = nullptr;
    QGroupBox *m_signalFrame = nullptr;
    QButtonGroup *m_signals = nullptr;
    QGroupBox *m_intervalFrame = nullptr;
    QLabel *m_intervalLabel = nullptr;
    QSlider *m_interval = nullptr;
    QLabel *m_intervalValue = nullptr;
    QLabel *m_delayLabel = nullptr;
    QSlider *m_delay = nullptr;
    QLabel *m_delayValue = nullptr;
    QLabel *m_rateLabel = nullptr;
    QLabel *m_perSecondLabel = nullptr;
    QLabel *m_rateValue = nullptr;
    QProgressBar *m_rateBar = nullptr;
    QPushButton *m_generate = nullptr;
    QPushButton *m_close = nullptr;
    QTimer *m_clockTimer = nullptr;
    QTimer *m_rateTimer = nullptr;
    int m_rate = 0;
};

} // namespace arenor
