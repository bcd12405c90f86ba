#include "TimingController.h"

#include "db/Schema.h"

#include <cmath>

namespace arenor::timing {

Answer TimingController::HoldingPrompt::message(const MessageRequest &request)
{
    ++m_c.m_asking;
    const Answer a = m_c.m_state.prompt ? m_c.m_state.prompt->message(request) : Answer::Cancel;
    --m_c.m_asking;
    return a;
}

std::optional<QString> TimingController::HoldingPrompt::input(const InputRequest &request)
{
    ++m_c.m_asking;
    const auto a = m_c.m_state.prompt ? m_c.m_state.prompt->input(request) : std::nullopt;
    --m_c.m_asking;
    return a;
}

std::optional<QString> TimingController::HoldingPrompt::file(const FileRequest &request)
{
    ++m_c.m_asking;
    const auto a = m_c.m_state.prompt ? m_c.m_state.prompt->file(request) : std::nullopt;
    --m_c.m_asking;
    return a;
}

TimingController::TimingController(AppState &state, TimingClock *clock, DigitalIoFactory factory)
    : m_state(state), m_ownClock(clock ? nullptr : std::make_unique<SystemTimingClock>()),
      m_clock(clock ? clock : m_ownClock.get()), m_factory(std::move(factory)), m_poller(*m_clock),
      m_edges(*m_clock)
{
    m_session.setMeetDir(m_state.meetDir);
    applyPollConfig();
    const auto notify = [this] {
        QMetaObject::invokeMethod(this, &TimingController::takePollEvents, Qt::QueuedConnection);
    };
    m_poller.setNotify(notify);
    m_edges.setNotify(notify);
    m_rateNs = m_clock->nowNs();
    m_state.addDataBound(this);
    connect(&m_state.notifier, &MeetNotifier::timeFilesChanged, this, &TimingController::readTimeFiles);
}

TimingController::~TimingController()
{
    m_edges.setNotify(nullptr);
    m_edges.stop();
    m_poller.stop();
    m_state.removeDataBound(this);
}

void TimingController::startPolling()
{
    m_poller.start();
}

void TimingController::pollOnce()
{
    m_poller.tickOnce();
    takePollEvents();
}

// ---- the meet ----

void TimingController::bindDatabase(db::Database &database)
{
    m_bound = true;
    if (Status s = m_store.open(database, schema::tableName(m_state, schema::Table::Tidtakingoppsett)); !s)
        tell(s.error(), m_state.texts.message(1));
    applyPollConfig();
    if (setup().automatic())
        startAdapter();
    else
        stopAdapter();
    emit setupChanged();
    if (m_readMeetDir == m_state.meetDir) {
        // The same meet bound again (compacted, repaired, copied, reset): its files are still
        // where they were, or gone with a reset; either way the lists follow them now.
        readTimeFiles();
    } else if (m_session.meetDir() != m_state.meetDir) {
        // Another meet: its lists are read once its registers are; until then nothing of the
        // last meet is shown, and captures wait.
        m_session.setMeetDir(m_state.meetDir);
        for (Direction d : {Direction::In, Direction::Out}) {
            m_session.list(d).clear();
            emit listRead(d);
        }
    }
}

void TimingController::unbindDatabase()
{
    // The adapter lets go of its device before another meet (or the same one again) claims
    // it: a printer port stays claimed until its holder releases it.
    stopAdapter();
    m_store.close();
    m_session.markUnread();
    m_bound = false;
}

void TimingController::readTimeFiles()
{
    m_session.setMeetDir(m_state.meetDir);
    m_readMeetDir = m_state.meetDir;
    tellProblems(readLists());
    registerHeld();
}

QStringList TimingController::readLists()
{
    QStringList problems;
    for (Direction d : {Direction::In, Direction::Out}) {
        if (Status s = m_session.readTimes(d); !s)
            problems << unreadableTimesText(m_state.texts.language(), s.error());
        if (const int extra = int(m_session.list(d).overflow.size()); extra > 0)
            problems << overflowReadText(m_state.texts.language(), timesFileName(d), extra);
        emit listRead(d);
    }
    m_readFailed = !m_session.listsRead();
    return problems;
}

// ---- keys, buttons and commands ----

void TimingController::press(int index, quint64 eventMs)
{
    m_poller.press(index, eventStampNs(eventMs, m_clock->nowNs()));
}

void TimingController::release(int index)
{
    m_poller.release(index);
}

void TimingController::keypad(int shownTab, int key)
{
    m_session.keypad(shownTab, key);
    emit numberBoxesChanged();
}

void TimingController::changeNumbers(Direction d, const QList<int> &rows)
{
    const Status s = m_session.changeNumbers(d, rows, m_prompt, m_state.texts);
    emit listRead(d);
    emit numberBoxesChanged();
    if (!s)
        tell(s.error(), m_state.texts.message(1));
    registerHeld();
}

void TimingController::resetTimes(Direction d)
{
    Status error;
    if (m_session.resetTimes(d, m_prompt, m_state.texts, &error)) {
        m_readFailed = !m_session.listsRead();
        emit listRead(d);
        if (!error)
            tell(error.error(), m_state.texts.message(1));
    }
    registerHeld();
}

// ---- the setup and the adapter ----

void TimingController::changeSetup(const QList<QPair<int, QVariant>> &changes)
{
    if (Status s = m_store.set(changes); !s)
        tell(m_state.texts.message(9) + QStringLiteral("\n\n") + s.error(), m_state.texts.message(1));
    applyPollConfig();
    emit setupChanged();
}

bool TimingController::setAutomatic(bool on)
{
    changeSetup({{field::Automatic, on}});
    if (!on) {
        stopAdapter();
        return false;
    }
    return startAdapter();
}

void TimingController::applyPollConfig()
{
    m_poller.setConfig(PollConfig::from(setup()));
    setIntervalMs(setup().interval());
}

void TimingController::setIntervalMs(int ms)
{
    m_poller.setIntervalMs(ms);
    // The delay of an event adapter counts in polling intervals as well.
    m_edges.setConfig(PollConfig::from(setup()), m_poller.intervalMs());
}

bool TimingController::startAdapter()
{
    stopAdapter(); // the old adapter releases its device before the new one claims it
    if (isEventAdapterType(setup().typeCode()))
        return startEventAdapter();
    const TimingSetup &s = setup();
    std::unique_ptr<DigitalIo> io = m_factory ? m_factory(s.typeCode()) : nullptr;
    DioResult board = DioResult::failure(QStringLiteral("no adapter"));
    if (io)
        board = initAdapter(*io, {s.typeCode(), hexAddress(s.text(field::CardAddress)),
                                  hexAddress(s.text(field::PrinterPort))});
    if (!board.ok()) {
        // The message says automatic timing was not switched on: the record agrees.
        adapterFailed({});
        return false;
    }
    m_poller.setAdapter(std::move(io), board.value);
    return true;
}

bool TimingController::startEventAdapter()
{
    OpenedAdapter opened = m_eventFactory ? m_eventFactory(setup()) : OpenedAdapter{};
    AdapterError error = opened.error;
    if (opened.adapter)
        error = m_edges.start(std::move(opened.adapter));
    else if (error.ok())
        error.kind = AdapterError::Other;
    if (!error.ok()) {
        adapterFailed(error);
        return false;
    }
    return true;
}

// Message 252, with the reason below it when the adapter gave one; automatic timing goes off
// in the record, so the box shows it off.
void TimingController::adapterFailed(const AdapterError &error)
{
    stopAdapter();
    changeSetup({{field::Automatic, false}});
    QString text = m_state.texts.message(252);
    if (!error.ok())
        text += QStringLiteral("\n\n") + adapterErrorText(m_state.texts.language(), error);
    tell(text, QString());
}

void TimingController::stopAdapter()
{
    // Captures still waiting for their delay are registered by the next takePollEvents.
    m_edges.stop();
    m_poller.clearAdapter();
}

// ---- polling ----

void TimingController::takePollEvents()
{
    bool failed = false;
    AdapterError edgeFailure;
    const auto takeEvents = [&] {
        std::vector<PollEvent> events = m_poller.takeEvents();
        for (PollEvent &e : m_edges.takeEvents()) {
            if (e.kind == PollEvent::AdapterFailed)
                edgeFailure = m_edges.failure();
            events.push_back(std::move(e));
        }
        return events;
    };
    for (std::vector<PollEvent> events = takeEvents(); !events.empty(); events = takeEvents()) {
        for (PollEvent &e : events) {
            switch (e.kind) {
            case PollEvent::Captured:
                emit channelBusy(e.channel, true);
                break;
            case PollEvent::Registered:
                emit channelBusy(e.channel, false);
                if (e.toOut || e.toIn)
                    m_held.push_back(std::move(e));
                break;
            case PollEvent::AdapterFailed:
                failed = true;
                break;
            }
        }
    }
    registerHeld();
    if (failed)
        adapterFailed(edgeFailure);
}

void TimingController::registerHeld()
{
    if (m_registering || m_asking > 0 || m_held.empty())
        return;
    if (!m_session.listsRead()) {
        // A time file of the current meet could not be read: try again with each capture,
        // and keep the captures until it can be.
        if (!m_readFailed || m_readMeetDir != m_state.meetDir)
            return;
        readLists();
        if (!m_session.listsRead())
            return;
    }
    m_registering = true;
    while (!m_held.empty() && m_asking == 0 && m_session.listsRead()) {
        QStringList problems;
        while (!m_held.empty()) {
            const PollEvent e = std::move(m_held.front());
            m_held.pop_front();
            for (const Registration &r : performRegistrations(m_session, e, setup().autoOutNumber())) {
                if (r.result.outcome == RegisterResult::Stored)
                    emit recordAdded(r.direction, r.result.record);
                else if (r.result.outcome == RegisterResult::ListFull)
                    problems << listFullText(m_state.texts.language(), r.direction, r.channel,
                                             r.result.record.time);
                if (!r.result.fileStatus)
                    problems << r.result.fileStatus.error();
            }
        }
        emit numberBoxesChanged();
        emit lastRegisteredChanged(m_session.lastRegistered());
        // Captures that come while these are told wait for the next round of the loop.
        tellProblems(problems);
    }
    m_registering = false;
}

int TimingController::measureRate()
{
    const quint64 ticks = m_poller.ticks();
    const qint64 now = m_clock->nowNs();
    int rate = 0;
    if (now > m_rateNs)
        rate = int(std::lround(double(ticks - m_rateTicks) * 1e9 / double(now - m_rateNs)));
    m_rateTicks = ticks;
    m_rateNs = now;
    return rate;
}

void TimingController::tell(const QString &text, const QString &title)
{
    m_prompt.message({text, title, Buttons::Ok, title.isEmpty() ? Icon::None : Icon::Exclamation});
}

void TimingController::tellProblems(const QStringList &problems)
{
    for (const QString &p : problems)
        tell(p, m_state.texts.message(1));
}

QString unreadableTimesText(Language language, const QString &problem)
{
    return TextTables::text(Text::TimeFileHeldBack, language).arg(problem);
}

} // namespace arenor::timing
