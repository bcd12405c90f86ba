#include "TimingSetup.h"

#include "base/Convert.h"
#include "db/Schema.h"

namespace arenor::timing {

const QStringList &adapterTypeNames()
{
    static const QStringList names{
        "8255/8253 8 Bit I/O",       "Multi 8255/8253 8 Bit I/O", "TTL 8 Bit I/O",
        "Industry  8 Bit I/O",       "Industry 16  Bit I/O",      "8 Photo 8 Relay Bit I/O",
        "16 Photo 16 Relay Bit I/O", "Pocket DIO 8 Bit",          "Pocket DI 16 Bit",
        "Pocket DO 16 Bit",          "GPIO lines (gpiochip)",     "Serial port modem lines"};
    return names;
}

const QStringList &cardAddresses()
{
    static const QStringList addresses{"280", "288", "290", "298", "2A0", "2A8", "2B0", "2B8",
                                       "2C0", "2C8", "2D0", "2D8", "2E0", "2E8", "2F0", "2F8"};
    return addresses;
}

const QStringList &printerPortAddresses()
{
    static const QStringList addresses{"03BC", "0378", "0278"};
    return addresses;
}

TimingSetup::TimingSetup()
{
    static_assert(field::Interval == schema::kTimingInterval && field::Delay == schema::kTimingDelay &&
                  field::GpioChip == schema::kTimingGpioChip && field::Count == schema::kTimingFields);
    const QVariantList row = schema::timingSetupRow();
    for (int i = 0; i < field::Count; ++i)
        values[size_t(i)] = row[i];
}

int TimingSetup::typeCode() const
{
    return int(toInteger(text(field::TypeCode), 0, kLastTypeCode));
}

TimeFormat TimingSetup::timeFormat() const
{
    return TimeFormat(toInteger(text(field::Format), 0, 2));
}

bool TimingSetup::lowLevel() const
{
    return toInteger(text(field::SignalLevel)) == 1;
}

int TimingSetup::interval() const
{
    const QString t = text(field::Interval);
    return t.trimmed().isEmpty() ? kDefaultInterval : int(toInteger(t, kMinInterval, kMaxInterval));
}

int TimingSetup::delay() const
{
    const QString t = text(field::Delay);
    return t.trimmed().isEmpty() ? kDefaultDelay : int(toInteger(t, kMinDelay, kMaxDelay));
}

quint32 hexAddress(const QString &text)
{
    // The leading hexadecimal digits, as "&H" + text reads them.
    const QString t = text.trimmed();
    quint32 v = 0;
    for (QChar c : t) {
        const int d = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
        if (d < 0 || v > 0x0FFFFFFF)
            break;
        v = v * 16 + quint32(d);
    }
    return v;
}

Status TimingSetupStore::open(db::Database &database, const QString &table)
{
    m_setup = TimingSetup();
    if (!database.tableExists(table))
        return Status::failure(QStringLiteral("no table ") + table);
    if (Status s = m_records.open(database, table); !s)
        return s;
    if (m_records.recordCount() == 0)
        return {};
    m_records.moveFirst();
    for (int i = 0; i < field::Count && i < m_records.fieldCount(); ++i) {
        const QVariant v = m_records.field(i);
        if (!v.isNull())
            m_setup.values[size_t(i)] = i < 16 ? QVariant(v.toBool()) : QVariant(v.toString());
    }
    return {};
}

Status TimingSetupStore::set(int f, const QVariant &value)
{
    return set({{f, value}});
}

Status TimingSetupStore::set(const QList<QPair<int, QVariant>> &changes)
{
    for (const auto &[f, v] : changes)
        if (f >= 0 && f < field::Count)
            m_setup.values[size_t(f)] = v;
    if (!m_records.isOpen())
        return {};
    if (m_records.recordCount() == 0) {
        m_records.addNew();
        for (int i = 0; i < field::Count && i < m_records.fieldCount(); ++i)
            m_records.setField(i, m_setup.values[size_t(i)]);
    } else {
        m_records.moveFirst();
        for (const auto &[f, v] : changes)
            if (f < m_records.fieldCount())
                m_records.setField(f, v);
    }
    return m_records.update();
}

} // namespace arenor::timing
