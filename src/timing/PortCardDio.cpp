#include "PortCardDio.h"

#include <cerrno>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define ARENOR_HAVE_PORT_IO 1
#endif

namespace arenor::timing {

namespace {

constexpr int kCardPorts = 4;

class SystemPortAccess : public PortAccess {
public:
    Status permit(quint32 base, int count) override
    {
#ifdef ARENOR_HAVE_PORT_IO
        if (base == 0 || base + quint32(count) > 0x400)
            return Status::failure(QStringLiteral("no card address"));
        if (ioperm(base, count, 1) != 0)
            return Status::failure(QStringLiteral("no access to the I/O ports: ") +
                                   QString::fromLocal8Bit(std::strerror(errno)));
        return {};
#else
        Q_UNUSED(base);
        Q_UNUSED(count);
        return Status::failure(QStringLiteral("I/O-port cards are not supported on this processor"));
#endif
    }
    quint8 in(quint32 port) override
    {
#ifdef ARENOR_HAVE_PORT_IO
        return inb(port);
#else
        Q_UNUSED(port);
        return 0xFF;
#endif
    }
    void out(quint32 port, quint8 value) override
    {
#ifdef ARENOR_HAVE_PORT_IO
        outb(value, port);
#else
        Q_UNUSED(port);
        Q_UNUSED(value);
#endif
    }
};

} // namespace

PortCardDio::PortCardDio(std::unique_ptr<PortAccess> access)
    : m_access(access ? std::move(access) : std::make_unique<SystemPortAccess>())
{
}

Status PortCardDio::SetPrintPort(quint32)
{
    return {};
}

Status PortCardDio::DIOinitial()
{
    m_open = false;
    return {};
}

DioResult PortCardDio::DIOsettype(quint32 baseAddress, int typeCode)
{
    if (typeCode < 0 || typeCode > 6)
        return DioResult::failure(QStringLiteral("not an I/O-port card"));
    if (Status s = m_access->permit(baseAddress, kCardPorts); !s)
        return DioResult::failure(s.error());
    m_input = baseAddress;
    if (typeCode <= 1) {
        m_output = baseAddress + 1;
        m_access->out(baseAddress + 3, 0x90); // mode 0: port A in, ports B and C out
        for (quint8 pattern : {quint8(0x55), quint8(0xAA)}) {
            m_access->out(m_output, pattern);
            if (m_access->in(m_output) != pattern)
                return DioResult::failure(QStringLiteral("no card at %1").arg(baseAddress, 0, 16).toUpper());
        }
    } else {
        m_output = baseAddress + (typeCode == 4 || typeCode == 6 ? 2 : 1);
    }
    m_outputBits = 0;
    m_access->out(m_output, 0);
    m_open = true;
    return {0, {}};
}

Status PortCardDio::DIOset(int board, int bit, int value)
{
    if (!m_open || board != 0 || bit < 0 || bit > 7)
        return Status::failure(QStringLiteral("no such output"));
    m_outputBits = value ? quint8(m_outputBits | (1u << bit)) : quint8(m_outputBits & ~(1u << bit));
    m_access->out(m_output, m_outputBits);
    return {};
}

DioResult PortCardDio::DIOget(int board, int channel)
{
    if (!m_open || board != 0 || channel < 0 || channel > 5)
        return DioResult::failure(QStringLiteral("no such input"));
    return {(m_access->in(m_input) >> channel) & 1, {}};
}

} // namespace arenor::timing
