#include "GpioDio.h"

#include <QFileInfo>

#include <cerrno>
#include <ctime>
#include <gpiod.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace arenor::timing {

namespace {

constexpr const char *kConsumer = "arenor";

qint64 clockNs(clockid_t id)
{
    timespec ts{};
    clock_gettime(id, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

class LibgpiodApi : public GpioApi {
public:
    ~LibgpiodApi() override { close(); }

    GpioOpenResult open(const QString &chip, const std::vector<unsigned> &inputs,
                        const std::vector<unsigned> &outputs, bool pullUp) override
    {
        close();
        m_chip = gpiod_chip_open(QFile::encodeName(chip).constData());
        if (!m_chip)
            return {errno, {}};
        const unsigned count = gpiod_chip_num_lines(m_chip);
        for (const std::vector<unsigned> *list : {&inputs, &outputs})
            for (unsigned offset : *list)
                if (offset >= count)
                    return fail(EINVAL, QStringLiteral("line %1: the chip has lines 0 to %2")
                                            .arg(QString::number(offset), QString::number(count - 1)));
        std::vector<unsigned> in(inputs), out(outputs);
        gpiod_line_bulk_init(&m_inputs);
        gpiod_line_bulk_init(&m_outputs);
        if (gpiod_chip_get_lines(m_chip, in.data(), unsigned(in.size()), &m_inputs) != 0)
            return fail(errno, {});
        // Contacts and open-collector outputs need the line pulled toward its inactive level;
        // chips or kernels that cannot bias a line get it without, and need a resistor.
        const int bias =
            pullUp ? GPIOD_LINE_REQUEST_FLAG_BIAS_PULL_UP : GPIOD_LINE_REQUEST_FLAG_BIAS_PULL_DOWN;
        int r = gpiod_line_request_bulk_both_edges_events_flags(&m_inputs, kConsumer, bias);
        if (r != 0 && errno != EBUSY && errno != EACCES && errno != EPERM)
            r = gpiod_line_request_bulk_both_edges_events(&m_inputs, kConsumer);
        if (r != 0)
            return fail(errno, errno == EBUSY ? holders(in) : QString());
        m_haveInputs = true;
        if (!out.empty()) {
            if (gpiod_chip_get_lines(m_chip, out.data(), unsigned(out.size()), &m_outputs) != 0)
                return fail(errno, {});
            std::vector<int> low(out.size(), 0);
            if (gpiod_line_request_bulk_output(&m_outputs, kConsumer, low.data()) != 0)
                return fail(errno, errno == EBUSY ? holders(out) : QString());
            m_haveOutputs = true;
        }
        m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        // A chip that goes away (a USB bridge pulled out) is seen from its device node leaving.
        const QFileInfo node(QFileInfo(chip).canonicalFilePath());
        m_nodeName = QFile::encodeName(node.fileName());
        m_watchFd = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        if (m_watchFd >= 0)
            inotify_add_watch(m_watchFd, QFile::encodeName(node.path()).constData(), IN_DELETE);
        return {};
    }

    void close() override
    {
        if (m_haveInputs)
            gpiod_line_release_bulk(&m_inputs);
        if (m_haveOutputs)
            gpiod_line_release_bulk(&m_outputs);
        m_haveInputs = m_haveOutputs = false;
        if (m_chip)
            gpiod_chip_close(m_chip);
        m_chip = nullptr;
        for (int *fd : {&m_wakeFd, &m_watchFd})
            if (*fd >= 0) {
                ::close(*fd);
                *fd = -1;
            }
    }

    int readInputs(std::vector<int> &values) override
    {
        values.assign(gpiod_line_bulk_num_lines(&m_inputs), 0);
        if (!m_haveInputs || gpiod_line_get_value_bulk(&m_inputs, values.data()) != 0)
            return m_haveInputs ? errno : ENODEV;
        return 0;
    }

    int setOutput(size_t index, int value) override
    {
        if (!m_haveOutputs || index >= gpiod_line_bulk_num_lines(&m_outputs))
            return EINVAL;
        return gpiod_line_set_value(gpiod_line_bulk_get_line(&m_outputs, unsigned(index)), value) == 0
                   ? 0
                   : errno;
    }

    int waitEdges(std::vector<GpioEdge> &edges) override
    {
        const unsigned n = m_haveInputs ? gpiod_line_bulk_num_lines(&m_inputs) : 0;
        if (n == 0)
            return ENODEV;
        pollfd fds[kChannels + 2];
        for (unsigned i = 0; i < n; ++i)
            fds[i] = {gpiod_line_event_get_fd(gpiod_line_bulk_get_line(&m_inputs, i)), POLLIN | POLLPRI, 0};
        fds[n] = {m_wakeFd, POLLIN, 0};
        fds[n + 1] = {m_watchFd, POLLIN, 0};
        while (::poll(fds, n + 2, -1) < 0)
            if (errno != EINTR)
                return errno;
        for (unsigned i = 0; i < n; ++i) {
            if (fds[i].revents & (POLLERR | POLLHUP | POLLNVAL))
                return ENODEV;
            if (!(fds[i].revents & (POLLIN | POLLPRI)))
                continue;
            gpiod_line_event buffer[64];
            const int got = gpiod_line_event_read_fd_multiple(fds[i].fd, buffer, 64);
            if (got < 0)
                return errno == EAGAIN ? 0 : errno;
            for (int k = 0; k < got; ++k)
                edges.push_back({int(i), buffer[k].event_type == GPIOD_LINE_EVENT_RISING_EDGE,
                                 qint64(buffer[k].ts.tv_sec) * 1000000000 + buffer[k].ts.tv_nsec});
        }
        if (fds[n].revents & POLLIN) {
            eventfd_t v;
            eventfd_read(m_wakeFd, &v);
        }
        if (fds[n + 1].revents & POLLIN) {
            alignas(inotify_event) char buf[4096];
            const ssize_t len = ::read(m_watchFd, buf, sizeof buf);
            for (ssize_t off = 0; off < len;) {
                const auto *ev = reinterpret_cast<const inotify_event *>(buf + off);
                if (ev->len > 0 && m_nodeName == ev->name)
                    return ENODEV;
                off += ssize_t(sizeof(inotify_event) + ev->len);
            }
        }
        return 0;
    }

    void interrupt() override
    {
        if (m_wakeFd >= 0)
            eventfd_write(m_wakeFd, 1);
    }

    QString ownerGroup(const QString &path) override { return deviceGroup(path); }
    std::pair<qint64, qint64> clocks() override
    {
        return {clockNs(CLOCK_MONOTONIC), clockNs(CLOCK_REALTIME)};
    }

private:
    GpioOpenResult fail(int err, const QString &detail)
    {
        close();
        return {err, detail};
    }

    // Which of the lines another program holds, and under what name.
    QString holders(const std::vector<unsigned> &offsets)
    {
        QStringList used;
        for (unsigned offset : offsets) {
            gpiod_line *line = gpiod_chip_get_line(m_chip, offset);
            if (!line || gpiod_line_update(line) != 0 || !gpiod_line_is_used(line))
                continue;
            const char *consumer = gpiod_line_consumer(line);
            used << (consumer ? QStringLiteral("line %1 (%2)")
                                    .arg(QString::number(offset), QString::fromLocal8Bit(consumer))
                              : QStringLiteral("line %1").arg(offset));
        }
        return used.join(QStringLiteral(", "));
    }

    gpiod_chip *m_chip = nullptr;
    gpiod_line_bulk m_inputs{};
    gpiod_line_bulk m_outputs{};
    bool m_haveInputs = false;
    bool m_haveOutputs = false;
    int m_wakeFd = -1;
    int m_watchFd = -1;
    QByteArray m_nodeName;
};

} // namespace

std::unique_ptr<GpioApi> makeSystemGpioApi()
{
    return std::make_unique<LibgpiodApi>();
}

GpioConfig GpioConfig::from(const TimingSetup &setup)
{
    GpioConfig c;
    c.chip = setup.text(field::GpioChip).trimmed();
    c.lowLevel = setup.lowLevel();
    QString problem;
    c.inputs = parseLineList(setup.text(field::GpioInputs), kChannels, &problem);
    if (problem.isEmpty())
        c.outputs = parseLineList(setup.text(field::GpioOutputs), 7, &problem);
    if (problem.isEmpty() && std::none_of(c.inputs.begin(), c.inputs.end(), [](int l) { return l >= 0; }))
        problem = QStringLiteral("no input lines chosen");
    for (int l : c.inputs)
        if (l >= 0 && problem.isEmpty() &&
            std::find(c.outputs.begin(), c.outputs.end(), l) != c.outputs.end())
            problem = QStringLiteral("line %1 is both input and output").arg(l);
    if (c.chip.isEmpty())
        problem = QStringLiteral("no GPIO chip chosen");
    if (!problem.isEmpty())
        c.error = {AdapterError::BadSetup, c.chip, {}, problem};
    c.inputs.resize(kChannels, -1);
    return c;
}

GpioDio::GpioDio(GpioConfig config, std::unique_ptr<GpioApi> api)
    : m_config(std::move(config)), m_api(api ? std::move(api) : makeSystemGpioApi())
{
    m_config.inputs.resize(kChannels, -1);
}

GpioDio::~GpioDio()
{
    if (m_open)
        m_api->close();
}

AdapterError GpioDio::failure(int err) const
{
    QString group;
    if (err == EACCES || err == EPERM) {
        group = m_api->ownerGroup(m_config.chip);
        if (group.isEmpty() || group == QLatin1String("root"))
            group = QStringLiteral("gpio");
    }
    return AdapterError::fromErrno(err, m_config.chip, group);
}

AdapterError GpioDio::open()
{
    if (!m_config.error.ok())
        return m_config.error;
    std::vector<unsigned> inputs;
    m_channelOfInput.clear();
    for (int ch = 0; ch < kChannels; ++ch)
        if (m_config.inputs[size_t(ch)] >= 0) {
            inputs.push_back(unsigned(m_config.inputs[size_t(ch)]));
            m_channelOfInput.push_back(ch);
        }
    std::vector<unsigned> outputs;
    for (int l : m_config.outputs)
        if (l >= 0)
            outputs.push_back(unsigned(l));
    const GpioOpenResult r = m_api->open(m_config.chip, inputs, outputs, m_config.lowLevel);
    if (r.err != 0) {
        AdapterError e = failure(r.err);
        if (!r.detail.isEmpty())
            e.detail = r.detail;
        if (e.kind == AdapterError::Unplugged)
            e.kind = AdapterError::Missing; // never there, rather than gone
        return e;
    }
    m_open = true;
    return {};
}

bool GpioDio::wired(int channel) const
{
    return channel >= 0 && channel < kChannels && m_config.inputs[size_t(channel)] >= 0;
}

AdapterError GpioDio::levels(std::array<int, kChannels> &levels)
{
    levels.fill(1);
    std::vector<int> values;
    if (const int err = m_api->readInputs(values); err != 0)
        return failure(err);
    for (size_t i = 0; i < values.size() && i < m_channelOfInput.size(); ++i)
        levels[size_t(m_channelOfInput[i])] = values[i] ? 1 : 0;
    return {};
}

AdapterError GpioDio::wait(std::vector<EdgeEvent> &edges)
{
    m_raw.clear();
    if (const int err = m_api->waitEdges(m_raw); err != 0)
        return failure(err);
    if (m_raw.empty())
        return {};
    const auto [mono, real] = m_api->clocks();
    for (const GpioEdge &r : m_raw)
        if (r.input >= 0 && size_t(r.input) < m_channelOfInput.size())
            edges.push_back(
                {m_channelOfInput[size_t(r.input)], r.rising, kernelStampToMonotonic(r.stampNs, mono, real)});
    return {};
}

AdapterError GpioDio::setOutput(int bit, int value)
{
    // Output lines are requested in bit order, skipping the bits marked "-".
    if (bit < 0 || size_t(bit) >= m_config.outputs.size() || m_config.outputs[size_t(bit)] < 0)
        return {};
    size_t index = 0;
    for (int b = 0; b < bit; ++b)
        index += m_config.outputs[size_t(b)] >= 0 ? 1 : 0;
    if (const int err = m_api->setOutput(index, value ? 1 : 0); err != 0)
        return failure(err);
    return {};
}

} // namespace arenor::timing
