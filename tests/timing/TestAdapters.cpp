#include "TestSupport.h"

#include "timing/ParallelPortDio.h"
#include "timing/PortCardDio.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <map>

using namespace arenor;
using namespace arenor::timing;
using namespace arenor::test;

namespace {

struct FakePort : ParallelPortDevice {
    QString opened;
    bool refuse = false;
    int status = 0;
    int control = 0;
    std::vector<int> controlWrites;
    std::vector<int> dataWrites;
    Status open(const QString &path) override
    {
        if (refuse)
            return Status::failure("permission denied");
        opened = path;
        return {};
    }
    void close() override { opened.clear(); }
    int readStatus() override { return status; }
    int readControl() override { return control; }
    bool writeControl(quint8 v) override
    {
        controlWrites.push_back(v);
        return true;
    }
    bool writeData(quint8 v) override
    {
        dataWrites.push_back(v);
        return true;
    }
};

struct FakePorts : PortAccess {
    bool deny = false;
    bool card = true; // an 8255 that reads back its output port
    std::map<quint32, quint8> written;
    quint8 inputs = 0;
    quint32 permittedBase = 0;
    Status permit(quint32 base, int) override
    {
        if (deny)
            return Status::failure("Operation not permitted");
        permittedBase = base;
        return {};
    }
    quint8 in(quint32 port) override
    {
        if (port == permittedBase)
            return inputs;
        if (!card)
            return 0xFF;
        return written.count(port) ? written[port] : 0;
    }
    void out(quint32 port, quint8 v) override { written[port] = v; }
};

} // namespace

class TestAdapters : public QObject {
    Q_OBJECT
private slots:
    void parallelPortLines_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("level");
        QTest::newRow("1 nAck high") << 0 << 0x40 << 0 << 1;
        QTest::newRow("2 Busy pin high reads 0") << 1 << 0x00 << 0 << 1;
        QTest::newRow("2 Busy pin low reads 1") << 1 << 0x80 << 0 << 0;
        QTest::newRow("3 Paper out") << 2 << 0x20 << 0 << 1;
        QTest::newRow("4 Select") << 3 << 0x10 << 0 << 1;
        QTest::newRow("5 nError") << 4 << 0x08 << 0 << 1;
        QTest::newRow("6 select-in released") << 5 << 0 << 0x04 << 1;
        QTest::newRow("6 select-in pulled low") << 5 << 0xFF << 0x0C << 0;
    }
    void parallelPortLines()
    {
        QFETCH(int, channel);
        QFETCH(int, status);
        QFETCH(int, control);
        QFETCH(int, level);
        QCOMPARE(parallelPortLevel(channel, status, control), level);
    }

    void parallelPortDevices_data()
    {
        QTest::addColumn<quint32>("address");
        QTest::addColumn<QString>("proc");
        QTest::addColumn<QString>("device");
        QTest::newRow("reported 0378") << 0x378u << ""
                                       << "/dev/parport0";
        QTest::newRow("reported 0278") << 0x278u << ""
                                       << "/dev/parport1";
        QTest::newRow("unreported 03BC") << 0x3BCu << ""
                                         << "/dev/parport0";
        QTest::newRow("no report, 0378") << 0x378u << "/nonexistent"
                                         << "/dev/parport1";
        QTest::newRow("no report, 0278") << 0x278u << "/nonexistent"
                                         << "/dev/parport2";
    }
    void parallelPortDevices()
    {
        QFETCH(quint32, address);
        QFETCH(QString, proc);
        QFETCH(QString, device);
        QTemporaryDir dir;
        for (auto [port, base] :
             {std::pair{"parport0", "888\t1912\n"}, std::pair{"parport1", "632\t1656\n"}}) {
            QDir(dir.path()).mkpath(QString::fromLatin1(port));
            QFile f(dir.filePath(QString::fromLatin1(port) + "/base-addr"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(base);
        }
        const QString root = proc.isEmpty() ? dir.path() : proc;
        QCOMPARE(parallelPortDevicePath(address, root), device);
        qputenv("ARENOR_PARPORT", "/dev/parport7");
        QCOMPARE(parallelPortDevicePath(address, root), QStringLiteral("/dev/parport7"));
        qunsetenv("ARENOR_PARPORT");
    }

    void parallelPortAdapter()
    {
        auto device = std::make_unique<FakePort>();
        FakePort *port = device.get();
        ParallelPortDio io(std::move(device), "/nonexistent");
        const DioResult board = initAdapter(io, {8, 0x280, 0x278});
        QVERIFY2(board.ok(), qPrintable(board.error));
        QCOMPARE(port->opened, QStringLiteral("/dev/parport2"));
        QCOMPARE(port->controlWrites, std::vector<int>{0x04});
        QCOMPARE(port->dataWrites.back(), 0);
        QVERIFY(io.DIOset(board.value, 2, 1).ok());
        QCOMPARE(port->dataWrites.back(), 0x04);
        port->status = 0x40 | 0x80; // nAck high, Busy pin low
        port->control = 0x04;
        QCOMPARE(io.DIOget(board.value, 0).value, 1);
        QCOMPARE(io.DIOget(board.value, 1).value, 0);
        QCOMPARE(io.DIOget(board.value, 5).value, 1);
        QVERIFY(!io.DIOget(board.value, 6).ok());
    }

    void parallelPortThatCannotBeOpenedFails()
    {
        auto device = std::make_unique<FakePort>();
        device->refuse = true;
        ParallelPortDio io(std::move(device), "/nonexistent");
        const DioResult r = initAdapter(io, {7, 0x280, 0x378});
        QVERIFY(r.error.contains("permission denied"));
        QVERIFY(!io.DIOget(0, 0).ok());
        qputenv("ARENOR_PARPORT", "/nonexistent/parport0");
        ParallelPortDio real;
        QVERIFY(initAdapter(real, {7, 0x280, 0x3BC}).error.contains("/nonexistent/parport0"));
        qunsetenv("ARENOR_PARPORT");
    }

    void portCards_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<quint32>("output");
        QTest::newRow("8255") << 0 << 0x2A1u;
        QTest::newRow("TTL 8 bit") << 2 << 0x2A1u;
        QTest::newRow("Industry 16 bit") << 4 << 0x2A2u;
    }
    void portCards()
    {
        QFETCH(int, type);
        QFETCH(quint32, output);
        auto ports = std::make_unique<FakePorts>();
        FakePorts *p = ports.get();
        PortCardDio io(std::move(ports));
        const DioResult board = initAdapter(io, {type, 0x2A0, 0});
        QVERIFY2(board.ok(), qPrintable(board.error));
        QCOMPARE(p->permittedBase, 0x2A0u);
        if (type == 0)
            QCOMPARE(p->written[0x2A3], quint8(0x90)); // port A in, port B out
        QVERIFY(io.DIOset(board.value, 6, 1).ok());
        QCOMPARE(p->written[output], quint8(0x40));
        p->inputs = 0b100101;
        QCOMPARE(io.DIOget(board.value, 0).value, 1);
        QCOMPARE(io.DIOget(board.value, 1).value, 0);
        QCOMPARE(io.DIOget(board.value, 5).value, 1);
    }

    void portCardMissingOrForbiddenFails()
    {
        auto none = std::make_unique<FakePorts>();
        none->card = false;
        PortCardDio empty(std::move(none));
        QVERIFY(!initAdapter(empty, {1, 0x2F8, 0}).ok());

        auto denied = std::make_unique<FakePorts>();
        denied->deny = true;
        PortCardDio forbidden(std::move(denied));
        const DioResult r = initAdapter(forbidden, {2, 0x280, 0});
        QVERIFY(!r.ok());
        QVERIFY(r.error.contains("not permitted"));
        QVERIFY(!forbidden.DIOget(0, 0).ok());
    }

    void factoryChoosesTheBackend()
    {
        QVERIFY(dynamic_cast<ParallelPortDio *>(makeDigitalIo(7).get()));
        QVERIFY(dynamic_cast<PortCardDio *>(makeDigitalIo(2).get()));
        qputenv("ARENOR_TIMING_ADAPTER", "simulated");
        QVERIFY(dynamic_cast<SimulatedDio *>(makeDigitalIo(9).get()));
        qunsetenv("ARENOR_TIMING_ADAPTER");
    }
};

QTEST_GUILESS_MAIN(TestAdapters)
#include "TestAdapters.moc"
