#pragma once
// The timing of the running program: the time lists, the polling of the channels, the timing
// setup of the open meet and the clock. It starts and stops the adapter, handles its failure,
// reads the lists when the meet changes and registers what the polling captured; the timing
// window shows it and hands it keys and clicks.
//
// No time is written into a meet whose time files have not been read: from the moment the
// meet is let go until its files are read again (and while a question of its own is open),
// captures are held and then registered in order, each with its own capture time.

#include "db/AppState.h"
#include "timing/DigitalIo.h"
#include "timing/EdgeCapture.h"
#include "timing/SignalPoller.h"
#include "timing/TimingSession.h"
#include "timing/TimingSetup.h"

#include <QObject>
#include <deque>
#include <memory>

namespace arenor::timing {

class TimingController : public QObject, public DataBound {
    Q_OBJECT
public:
    // Without a clock the controller keeps the system's. It polls on its own thread once
    // startPolling() is called, or one tick at a time with pollOnce().
    explicit TimingController(AppState &state, TimingClock *clock = nullptr,
                              DigitalIoFactory factory = makeDigitalIo);
    ~TimingController() override;

    void startPolling();
    // One polling tick on this thread, then what it reported.
    void pollOnce();

    TimingSession &session() { return m_session; }
    const TimingSetup &setup() const { return m_store.setup(); }
    SignalPoller &poller() { return m_poller; }
    TimingClock &clock() { return *m_clock; }
    void setAdapterFactory(DigitalIoFactory factory) { m_factory = std::move(factory); }
    // The GPIO and serial adapters, which report edges instead of being polled (tests give
    // them fake system calls).
    using EventAdapterFactory = std::function<OpenedAdapter(const TimingSetup &)>;
    void setEventAdapterFactory(EventAdapterFactory factory) { m_eventFactory = std::move(factory); }
    EdgeCapture &edges() { return m_edges; }
    bool automatic() const { return m_poller.automatic() || m_edges.running(); }
    // Captures waiting for the lists (or for a question to close).
    int heldCount() const { return int(m_held.size()); }

    // The meet's database: the setup record is read and the adapter started; on release the
    // adapter lets go of its device first, and captures are held until the lists are read.
    void bindDatabase(db::Database &database) override;
    void unbindDatabase() override;
    // Both time files into their lists (in-times first), then the held captures.
    void readTimeFiles();

    // Function keys and simulation buttons, channel index 0..5; eventMs is the time the
    // windowing system gave the event (0: none).
    void press(int index, quint64 eventMs);
    void release(int index);

    void setNumberBox(Direction d, const QString &text) { m_session.setNumberBox(d, text); }
    void keypad(int shownTab, int key);
    void changeNumbers(Direction d, const QList<int> &rows);
    void resetTimes(Direction d);

    // A change of the setup, stored at once and put to use.
    void changeSetup(const QList<QPair<int, QVariant>> &changes);
    // The automatic timing check box: on starts the adapter (false when it could not be).
    bool setAutomatic(bool on);
    void setIntervalMs(int ms);

    // Polling ticks per second since the last call.
    int measureRate();

    // Takes what the polling thread reported: indicators, registrations, adapter failures.
    void takePollEvents();

signals:
    void listRead(arenor::timing::Direction d);
    void recordAdded(arenor::timing::Direction d, const arenor::timing::TimeRecord &record);
    void channelBusy(int channel, bool busy); // channel 1..6: captured, not yet registered
    void numberBoxesChanged();
    void lastRegisteredChanged(const QString &time);
    // The setup record was read or changed: show it again.
    void setupChanged();

private:
    // Every question of the timing goes through here: captures are held while it is open.
    class HoldingPrompt : public Prompt {
    public:
        explicit HoldingPrompt(TimingController &c) : m_c(c) {}
        Answer message(const MessageRequest &request) override;
        std::optional<QString> input(const InputRequest &request) override;
        std::optional<QString> file(const FileRequest &request) override;

    private:
        TimingController &m_c;
    };

    void tell(const QString &text, const QString &title);
    void tellProblems(const QStringList &problems);
    void applyPollConfig();
    bool startAdapter();
    bool startEventAdapter();
    void adapterFailed(const AdapterError &error);
    void stopAdapter();
    void registerHeld();
    QStringList readLists();

    AppState &m_state;
    std::unique_ptr<TimingClock> m_ownClock;
    TimingClock *m_clock;
    DigitalIoFactory m_factory;
    TimingSession m_session;
    SignalPoller m_poller;
    EdgeCapture m_edges;
    EventAdapterFactory m_eventFactory = [](const TimingSetup &s) { return openEventAdapter(s); };
    TimingSetupStore m_store;
    HoldingPrompt m_prompt{*this};
    std::deque<PollEvent> m_held;
    int m_asking = 0;           // questions open
    bool m_registering = false; // registerHeld is running
    bool m_bound = false;
    bool m_readFailed = false; // a time file of this meet could not be read: try again
    QString m_readMeetDir;     // the meet the lists were read from
    quint64 m_rateTicks = 0;
    qint64 m_rateNs = 0;
};

// Texts of the timing that the numbered tables do not hold.
QString unreadableTimesText(Language language, const QString &problem);

} // namespace arenor::timing
