#pragma once
// What long operations report to the main window: the status text of panel 3, the progress
// bar and the busy pointer. The default does nothing, for tests and start-up before the frame.

#include <QString>

namespace arenor {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void setStatusText(const QString &) {}
    virtual void setProgressMaximum(int) {}
    virtual void setProgressValue(int) {}
    virtual void setBusy(bool) {}
};

// Shows the busy pointer for its lifetime and resets the progress bar to 0 at the end.
class BusyScope {
public:
    explicit BusyScope(ProgressSink &sink) : m_sink(sink) { m_sink.setBusy(true); }
    ~BusyScope()
    {
        m_sink.setProgressValue(0);
        m_sink.setBusy(false);
    }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    ProgressSink &m_sink;
};

} // namespace arenor
