#pragma once
// The digital I/O layer the timing adapter is read through: five calls, as the program has
// always used them, and the backends behind them (a simulated adapter, printer-port adapters
// and I/O-port cards).

#include "base/Status.h"

#include <QString>
#include <array>
#include <atomic>
#include <functional>
#include <memory>

namespace arenor::timing {

struct DioResult {
    int value = 0;
    QString error; // empty: the call worked
    bool ok() const { return error.isEmpty(); }
    static DioResult failure(const QString &text) { return {0, text.isEmpty() ? QStringLiteral("error") : text}; }
};

class DigitalIo {
public:
    virtual ~DigitalIo() = default;
    // Printer-port adapters only: the address of the port ("03BC", "0378", "0278" as numbers).
    virtual Status SetPrintPort(quint32 address) = 0;
    virtual Status DIOinitial() = 0;
    // Opens the adapter; the value is the board handle for the calls below.
    virtual DioResult DIOsettype(quint32 baseAddress, int typeCode) = 0;
    virtual Status DIOset(int board, int bit, int value) = 0;
    // The level of input channel 0..5: 0 low, 1 high. Called from the polling thread only.
    virtual DioResult DIOget(int board, int channel) = 0;
};

// An adapter without hardware: the inputs are what the caller sets, from any thread. The
// inputs rest at 1 (high), which is the inactive level of a new meet's setup.
class SimulatedDio : public DigitalIo {
public:
    SimulatedDio();
    Status SetPrintPort(quint32 address) override;
    Status DIOinitial() override;
    DioResult DIOsettype(quint32 baseAddress, int typeCode) override;
    Status DIOset(int board, int bit, int value) override;
    DioResult DIOget(int board, int channel) override;

    void setInput(int channel, int value) { m_inputs[size_t(channel)].store(value, std::memory_order_release); }
    int output(int bit) const { return m_outputs[size_t(bit)].load(); }
    // Make the next calls fail, as a missing card or a pulled cable would.
    void failInitialisation(bool fail) { m_failInit = fail; }
    void failReads(bool fail) { m_failReads.store(fail); }
    int reads() const { return m_reads.load(); }
    quint32 printPort() const { return m_printPort; }
    quint32 baseAddress() const { return m_base; }
    int typeCode() const { return m_type; }

private:
    std::array<std::atomic<int>, 6> m_inputs;
    std::array<std::atomic<int>, 8> m_outputs;
    std::atomic<bool> m_failReads{false};
    std::atomic<int> m_reads{0};
    bool m_failInit = false;
    bool m_initialised = false;
    quint32 m_printPort = 0;
    quint32 m_base = 0;
    int m_type = -1;
};

// Makes the backend for an adapter type code: printer-port adapters for codes 7 and up,
// I/O-port cards below. ARENOR_TIMING_ADAPTER=simulated gives the simulated adapter instead.
using DigitalIoFactory = std::function<std::unique_ptr<DigitalIo>(int typeCode)>;
std::unique_ptr<DigitalIo> makeDigitalIo(int typeCode);

struct AdapterSettings {
    int typeCode = 2;
    quint32 baseAddress = 0x280;
    quint32 printerPort = 0x3BC;
};

// Brings the adapter up: printer port (codes 7 and up), initial, type, and the seven output
// bits cleared. Returns the board handle, or the first failure.
DioResult initAdapter(DigitalIo &io, const AdapterSettings &settings);

} // namespace arenor::timing
