#pragma once
// I/O-port cards at their base address, reached with the processor's port instructions
// (which need the right to use raw I/O ports, normally root).
//
// Register layout by type code:
// - 0, 1 (8255/8253 cards): an 8255 at the base; port A (base+0) reads the six channels on
//   bits 0-5, port B (base+1) drives the seven outputs, the control word (base+3) is set to
//   mode 0 with A as input. The card is looked for by writing port B and reading it back.
// - 2, 3, 5 (8-bit cards): inputs on bits 0-5 of base+0, outputs on base+1.
// - 4, 6 (16-bit cards): inputs on bits 0-5 of base+0, outputs on base+2.

#include "timing/DigitalIo.h"

#include <memory>

namespace arenor::timing {

// The port instructions; the tests replace them.
class PortAccess {
public:
    virtual ~PortAccess() = default;
    virtual Status permit(quint32 base, int count) = 0;
    virtual quint8 in(quint32 port) = 0;
    virtual void out(quint32 port, quint8 value) = 0;
};

class PortCardDio : public DigitalIo {
public:
    explicit PortCardDio(std::unique_ptr<PortAccess> access = nullptr);

    Status SetPrintPort(quint32 address) override;
    Status DIOinitial() override;
    DioResult DIOsettype(quint32 baseAddress, int typeCode) override;
    Status DIOset(int board, int bit, int value) override;
    DioResult DIOget(int board, int channel) override;

private:
    std::unique_ptr<PortAccess> m_access;
    bool m_open = false;
    quint32 m_input = 0;
    quint32 m_output = 0;
    quint8 m_outputBits = 0;
};

} // namespace arenor::timing
