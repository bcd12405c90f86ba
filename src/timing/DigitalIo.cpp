#include "DigitalIo.h"

#include "timing/ParallelPortDio.h"
#include "timing/PortCardDio.h"

namespace arenor::timing {

SimulatedDio::SimulatedDio()
{
    for (auto &i : m_inputs)
        i.store(1);
    for (auto &o : m_outputs)
        o.store(0);
}

Status SimulatedDio::SetPrintPort(quint32 address)
{
    m_printPort = address;
    return {};
}

Status SimulatedDio::DIOinitial()
{
    if (m_failInit)
        return Status::failure(QStringLiteral("no adapter"));
    m_initialised = true;
    return {};
}

DioResult SimulatedDio::DIOsettype(quint32 baseAddress, int typeCode)
{
    if (m_failInit || !m_initialised)
        return DioResult::failure(QStringLiteral("no adapter"));
    m_base = baseAddress;
    m_type = typeCode;
    return {0, {}};
}

Status SimulatedDio::DIOset(int board, int bit, int value)
{
    if (board != 0 || bit < 0 || bit > 7)
        return Status::failure(QStringLiteral("no such output"));
    m_outputs[size_t(bit)].store(value);
    return {};
}

DioResult SimulatedDio::DIOget(int board, int channel)
{
    m_reads.fetch_add(1, std::memory_order_relaxed);
    if (m_failReads.load(std::memory_order_relaxed))
        return DioResult::failure(QStringLiteral("adapter does not answer"));
    if (board != 0 || channel < 0 || channel > 5)
        return DioResult::failure(QStringLiteral("no such input"));
    return {m_inputs[size_t(channel)].load(std::memory_order_acquire), {}};
}

std::unique_ptr<DigitalIo> makeDigitalIo(int typeCode)
{
    if (qEnvironmentVariable("ARENOR_TIMING_ADAPTER").trimmed().compare(QLatin1String("simulated"),
                                                                         Qt::CaseInsensitive) == 0)
        return std::make_unique<SimulatedDio>();
    if (typeCode >= 7)
        return std::make_unique<ParallelPortDio>();
    return std::make_unique<PortCardDio>();
}

DioResult initAdapter(DigitalIo &io, const AdapterSettings &settings)
{
    if (settings.typeCode >= 7)
        if (Status s = io.SetPrintPort(settings.printerPort); !s)
            return DioResult::failure(s.error());
    if (Status s = io.DIOinitial(); !s)
        return DioResult::failure(s.error());
    const DioResult board = io.DIOsettype(settings.baseAddress, settings.typeCode);
    if (!board.ok())
        return board;
    for (int bit = 0; bit <= 6; ++bit)
        if (Status s = io.DIOset(board.value, bit, 0); !s)
            return DioResult::failure(s.error());
    return board;
}

} // namespace arenor::timing
