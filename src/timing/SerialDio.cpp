#include "SerialDio.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <linux/serial.h>
#include <mutex>
#include <pthread.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace arenor::timing {

namespace {

constexpr int kLineBits[4] = {TIOCM_CTS, TIOCM_DSR, TIOCM_CD, TIOCM_RNG}; // channels 1-4
constexpr int kWatched = TIOCM_CTS | TIOCM_DSR | TIOCM_CD | TIOCM_RNG;

// TIOCMIWAIT has no timeout and no descriptor to poll: a signal to the waiting thread is
// what ends it. The handler does nothing; installed without SA_RESTART, the ioctl returns EINTR.
int wakeSignal()
{
    static std::once_flag once;
    static int signal = SIGRTMIN + 4;
    std::call_once(once, [] {
        struct sigaction sa {};
        sa.sa_handler = [](int) {};
        sigemptyset(&sa.sa_mask);
        sigaction(signal, &sa, nullptr);
    });
    return signal;
}

class SystemSerialApi : public SerialApi {
public:
    ~SystemSerialApi() override { close(); }

    int open(const QString &path) override
    {
        close();
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0)
            return errno;
        int err = 0;
        int bits = 0;
        if (!isatty(m_fd))
            err = ENOTTY;
        else if (flock(m_fd, LOCK_EX | LOCK_NB) != 0)
            err = errno == EWOULDBLOCK ? EBUSY : errno;
        else if (ioctl(m_fd, TIOCMGET, &bits) != 0)
            err = errno == EINVAL ? ENOTTY : errno;
        if (err != 0) {
            close();
            return err;
        }
        ioctl(m_fd, TIOCEXCL); // no second program on the port while we have it
        wakeSignal();
        return 0;
    }

    void close() override
    {
        if (m_fd >= 0) {
            ioctl(m_fd, TIOCNXCL);
            ::close(m_fd);
            m_fd = -1;
        }
    }

    int modemLines(int &bits) override { return ioctl(m_fd, TIOCMGET, &bits) == 0 ? 0 : errno; }

    int counts(SerialCounts &c) override
    {
        serial_icounter_struct ic{};
        if (ioctl(m_fd, TIOCGICOUNT, &ic) != 0)
            return errno;
        c = {ic.cts, ic.dsr, ic.dcd, ic.rng};
        return 0;
    }

    int setModemLines(int bits, bool on) override
    {
        return ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0 ? 0 : errno;
    }

    int waitChange(int mask) override
    {
        if (!m_haveWaiter.load()) {
            m_waiter = pthread_self();
            m_haveWaiter.store(true);
        }
        return ioctl(m_fd, TIOCMIWAIT, mask) == 0 ? 0 : errno;
    }

    // The waiter is the capture thread, which is joined only after its last wait.
    void interrupt() override
    {
        if (m_haveWaiter.load())
            pthread_kill(m_waiter, wakeSignal());
    }

    QString ownerGroup(const QString &path) override { return deviceGroup(path); }

    qint64 nowNs() override
    {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    }

private:
    int m_fd = -1;
    pthread_t m_waiter{};
    std::atomic<bool> m_haveWaiter{false};
};

} // namespace

std::unique_ptr<SerialApi> makeSystemSerialApi()
{
    return std::make_unique<SystemSerialApi>();
}

SerialDio::SerialDio(QString device, std::unique_ptr<SerialApi> api)
    : m_device(std::move(device)), m_api(api ? std::move(api) : makeSystemSerialApi())
{
}

SerialDio::~SerialDio()
{
    if (m_open)
        m_api->close();
}

AdapterError SerialDio::failure(int err) const
{
    QString group;
    if (err == EACCES || err == EPERM) {
        group = m_api->ownerGroup(m_device);
        if (group.isEmpty() || group == QLatin1String("root"))
            group = QStringLiteral("dialout");
    }
    // A port that answers "invalid" to TIOCMIWAIT has a driver that cannot wait for the lines.
    return AdapterError::fromErrno(err == EINVAL ? ENOTTY : err, m_device, group);
}

AdapterError SerialDio::open()
{
    if (m_device.isEmpty())
        return {AdapterError::BadSetup, QStringLiteral("?"), {}, QStringLiteral("no serial port chosen")};
    if (const int err = m_api->open(m_device); err != 0) {
        AdapterError e = failure(err);
        if (e.kind == AdapterError::Unplugged)
            e.kind = AdapterError::Missing; // a port without hardware behind it answers EIO
        return e;
    }
    m_open = true;
    if (const int err = m_api->modemLines(m_bits); err != 0)
        return failure(err);
    m_haveCounts = m_api->counts(m_counts) == 0;
    return {};
}

AdapterError SerialDio::levels(std::array<int, kChannels> &levels)
{
    levels.fill(1);
    int bits = 0;
    if (const int err = m_api->modemLines(bits); err != 0)
        return failure(err);
    for (int ch = 0; ch < 4; ++ch)
        levels[size_t(ch)] = (bits & kLineBits[ch]) ? 0 : 1;
    return {};
}

void SerialDio::edgesSince(int bits, const SerialCounts *counts, qint64 stampNs,
                           std::vector<EdgeEvent> &edges)
{
    for (int ch = 0; ch < 4; ++ch) {
        const bool was = m_bits & kLineBits[ch];
        const bool now = bits & kLineBits[ch];
        const bool high = !now; // an asserted line is a low pin
        if (was != now) {
            edges.push_back({ch, high, stampNs});
        } else if (counts && (*counts)[size_t(ch)] != m_counts[size_t(ch)]) {
            // The line changed and changed back before it was read: a pulse all the same.
            edges.push_back({ch, !high, stampNs});
            edges.push_back({ch, high, stampNs});
        }
    }
    m_bits = bits;
    if (counts)
        m_counts = *counts;
}

AdapterError SerialDio::wait(std::vector<EdgeEvent> &edges)
{
    // Changes since the last look come first: one just before TIOCMIWAIT starts waiting would
    // otherwise only be seen with the next one.
    qint64 stamp = m_api->nowNs();
    for (;;) {
        if (m_interrupted.exchange(false))
            return {};
        int bits = 0;
        if (const int err = m_api->modemLines(bits); err != 0)
            return failure(err);
        SerialCounts counts{};
        const bool haveCounts = m_haveCounts && m_api->counts(counts) == 0;
        const size_t before = edges.size();
        edgesSince(bits, haveCounts ? &counts : nullptr, stamp, edges);
        if (edges.size() > before)
            return {};
        const int err = m_api->waitChange(kWatched);
        stamp = m_api->nowNs(); // at once, before the lines are read
        if (err != 0 && err != EINTR)
            return failure(err);
    }
}

void SerialDio::interrupt()
{
    m_interrupted.store(true);
    m_api->interrupt();
}

AdapterError SerialDio::setOutput(int bit, int value)
{
    if (bit != 0 && bit != 1)
        return {};
    // Bit 0 is RTS, bit 1 DTR; a 0 is a low pin, so the line is asserted.
    if (const int err = m_api->setModemLines(bit == 0 ? TIOCM_RTS : TIOCM_DTR, value == 0); err != 0)
        return failure(err);
    return {};
}

} // namespace arenor::timing
