#include "ParallelPortDio.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <mutex>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace arenor::timing {

namespace {

constexpr quint8 kControlReleased = 0x04; // nInit high, strobe, autofeed and select-in released

QString systemError(const QString &what)
{
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

class PpdevDevice : public ParallelPortDevice {
public:
    ~PpdevDevice() override { close(); }
    Status open(const QString &path) override
    {
        close();
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
        if (m_fd < 0)
            return Status::failure(systemError(QStringLiteral("cannot open ") + path));
        if (ioctl(m_fd, PPCLAIM) != 0) {
            Status s = Status::failure(systemError(QStringLiteral("cannot claim ") + path));
            ::close(m_fd);
            m_fd = -1;
            return s;
        }
        return {};
    }
    void close() override
    {
        if (m_fd >= 0) {
            ioctl(m_fd, PPRELEASE);
            ::close(m_fd);
            m_fd = -1;
        }
    }
    int readStatus() override { return readRegister(PPRSTATUS); }
    int readControl() override { return readRegister(PPRCONTROL); }
    bool writeControl(quint8 value) override { return m_fd >= 0 && ioctl(m_fd, PPWCONTROL, &value) == 0; }
    bool writeData(quint8 value) override { return m_fd >= 0 && ioctl(m_fd, PPWDATA, &value) == 0; }

private:
    int readRegister(unsigned long request)
    {
        unsigned char v = 0;
        if (m_fd < 0 || ioctl(m_fd, request, &v) != 0)
            return -1;
        return v;
    }
    int m_fd = -1;
};

} // namespace

QString parallelPortDevicePath(quint32 address, const QString &procRoot)
{
    const QString forced = qEnvironmentVariable("ARENOR_PARPORT").trimmed();
    if (!forced.isEmpty())
        return forced;
    const QDir root(procRoot);
    const QStringList ports =
        root.entryList({QStringLiteral("parport*")}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &port : ports) {
        QFile f(root.filePath(port + QStringLiteral("/base-addr")));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> parts = f.readAll().simplified().split(' ');
        bool ok = false;
        if (!parts.isEmpty() && parts[0].toULongLong(&ok) == address && ok)
            return QStringLiteral("/dev/") + port;
    }
    switch (address) {
    case 0x3BC:
        return QStringLiteral("/dev/parport0");
    case 0x378:
        return QStringLiteral("/dev/parport1");
    case 0x278:
        return QStringLiteral("/dev/parport2");
    default:
        return QStringLiteral("/dev/parport0");
    }
}

int parallelPortLevel(int channel, int status, int control)
{
    switch (channel) {
    case 0:
        return (status >> 6) & 1; // pin 10, nAck
    case 1:
        return ((status >> 7) & 1) ^ 1; // pin 11, Busy: inverted in the register
    case 2:
        return (status >> 5) & 1; // pin 12, Paper out
    case 3:
        return (status >> 4) & 1; // pin 13, Select
    case 4:
        return (status >> 3) & 1; // pin 15, nError
    case 5:
        return ((control >> 3) & 1) ^ 1; // pin 17, nSelect-in: inverted in the register
    default:
        return 0;
    }
}

ParallelPortDio::ParallelPortDio(std::unique_ptr<ParallelPortDevice> device, QString procRoot,
                                 int claimTimeoutMs)
    : m_device(device ? std::move(device) : std::make_unique<PpdevDevice>()), m_procRoot(std::move(procRoot)),
      m_claimTimeoutMs(claimTimeoutMs)
{
}

ParallelPortDio::~ParallelPortDio()
{
    if (m_open && m_device)
        m_device->close();
}

Status ParallelPortDio::SetPrintPort(quint32 address)
{
    m_path = parallelPortDevicePath(address, m_procRoot);
    return {};
}

Status ParallelPortDio::DIOinitial()
{
    if (m_open && m_device) {
        m_device->close();
        m_open = false;
    }
    return {};
}

DioResult ParallelPortDio::DIOsettype(quint32, int)
{
    if (m_path.isEmpty())
        m_path = parallelPortDevicePath(0x378, m_procRoot);
    if (Status s = claim(); !s)
        return DioResult::failure(s.error());
    m_open = true;
    if (!m_device->writeControl(kControlReleased) || m_device->readStatus() < 0)
        return DioResult::failure(QStringLiteral("the port ") + m_path + QStringLiteral(" does not answer"));
    return {0, {}};
}

// The kernel's claim sleeps until the port is free, which may be never while another
// program holds it. So the claim runs on a thread of its own and is waited for a short time
// only; a claim given up on releases the port itself when it is granted at last.
Status ParallelPortDio::claim()
{
    if (!m_device)
        return Status::failure(QStringLiteral("the port ") + m_path +
                               QStringLiteral(" is still being claimed"));
    struct Claim {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool abandoned = false;
        Status status;
    };
    auto c = std::make_shared<Claim>();
    std::thread([c, device = m_device, path = m_path] {
        Status s = device->open(path);
        std::lock_guard lock(c->mutex);
        if (c->abandoned && s)
            device->close();
        c->status = std::move(s);
        c->finished = true;
        c->done.notify_all();
    }).detach();
    std::unique_lock lock(c->mutex);
    if (!c->done.wait_for(lock, std::chrono::milliseconds(m_claimTimeoutMs), [&] { return c->finished; })) {
        c->abandoned = true;
        m_device.reset(); // the waiting claim keeps the device until it is granted or fails
        return Status::failure(QStringLiteral("the port ") + m_path +
                               QStringLiteral(" is in use by another program"));
    }
    return c->status;
}

Status ParallelPortDio::DIOset(int board, int bit, int value)
{
    if (!m_open || board != 0 || bit < 0 || bit > 7)
        return Status::failure(QStringLiteral("no such output"));
    m_data = value ? quint8(m_data | (1u << bit)) : quint8(m_data & ~(1u << bit));
    if (!m_device->writeData(m_data))
        return Status::failure(QStringLiteral("cannot write to ") + m_path);
    return {};
}

DioResult ParallelPortDio::DIOget(int board, int channel)
{
    if (!m_open || board != 0 || channel < 0 || channel > 5)
        return DioResult::failure(QStringLiteral("no such input"));
    const int status = channel < 5 ? m_device->readStatus() : 0;
    const int control = channel == 5 ? m_device->readControl() : 0;
    if (status < 0 || control < 0)
        return DioResult::failure(QStringLiteral("cannot read ") + m_path);
    return {parallelPortLevel(channel, status, control), {}};
}

} // namespace arenor::timing
