#include "EventAdapter.h"

#include "timing/GpioDio.h"
#include "timing/SerialDio.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>

namespace arenor::timing {

AdapterError AdapterError::fromErrno(int err, const QString &device, const QString &group,
                                     const QString &detail)
{
    AdapterError e;
    e.device = device;
    e.detail = detail;
    switch (err) {
    case 0:
        return {};
    case ENOENT:
    case ENXIO:
        e.kind = Missing;
        break;
    case ENODEV:
    case EIO:
    case ESHUTDOWN:
        e.kind = Unplugged;
        break;
    case EACCES:
    case EPERM:
        e.kind = Denied;
        e.group = group;
        break;
    case EBUSY:
    case EWOULDBLOCK:
        e.kind = Busy;
        break;
    case ENOTTY:
    case EOPNOTSUPP:
        e.kind = NotSupported;
        break;
    case EINVAL:
        e.kind = BadSetup;
        break;
    default:
        e.kind = Other;
        break;
    }
    if (e.detail.isEmpty() && e.kind != Denied)
        e.detail = QString::fromLocal8Bit(std::strerror(err));
    return e;
}

QString adapterErrorText(Language language, const AdapterError &error)
{
    const QString &d = error.device;
    auto say = [language](Text id) { return TextTables::text(id, language); };
    QString text;
    switch (error.kind) {
    case AdapterError::None:
        return {};
    case AdapterError::Missing:
        text = say(Text::AdapterMissing).arg(d);
        break;
    case AdapterError::Denied:
        text = say(Text::AdapterDenied).arg(d, error.group.isEmpty() ? QStringLiteral("?") : error.group);
        break;
    case AdapterError::Busy:
        text = say(Text::AdapterBusy).arg(d);
        break;
    case AdapterError::NotSupported:
        text = say(Text::AdapterNotSupported).arg(d);
        break;
    case AdapterError::Unplugged:
        text = say(Text::AdapterUnplugged).arg(d);
        break;
    case AdapterError::BadSetup:
        text = say(Text::AdapterBadSetup).arg(d);
        break;
    case AdapterError::Other:
        text = say(Text::AdapterError).arg(d);
        break;
    }
    if (!error.detail.isEmpty())
        text += QStringLiteral(" (") + error.detail + u')';
    return text;
}

OpenedAdapter openEventAdapter(std::unique_ptr<EventAdapter> adapter)
{
    OpenedAdapter result;
    result.error = adapter->open();
    for (int bit = 0; bit <= 6 && result.error.ok(); ++bit)
        result.error = adapter->setOutput(bit, 0);
    if (result.error.ok())
        result.adapter = std::move(adapter);
    return result;
}

OpenedAdapter openEventAdapter(const TimingSetup &setup)
{
    if (setup.typeCode() == kGpioType) {
        GpioConfig config = GpioConfig::from(setup);
        if (!config.error.ok())
            return {nullptr, config.error};
        return openEventAdapter(std::make_unique<GpioDio>(std::move(config)));
    }
    if (setup.typeCode() == kSerialType)
        return openEventAdapter(std::make_unique<SerialDio>(setup.text(field::SerialDevice).trimmed()));
    AdapterError e;
    e.kind = AdapterError::BadSetup;
    return {nullptr, e};
}

std::vector<int> parseLineList(const QString &text, int maxEntries, QString *error)
{
    std::vector<int> lines;
    QString problem;
    const QStringList tokens = text.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts);
    if (tokens.size() > maxEntries)
        problem = QStringLiteral("more than %1 lines").arg(maxEntries);
    for (const QString &t : tokens) {
        if (!problem.isEmpty())
            break;
        if (t == u'-') {
            lines.push_back(-1);
            continue;
        }
        bool ok = false;
        const uint v = t.toUInt(&ok);
        if (!ok || v > 65535)
            problem = QStringLiteral("\"%1\" is not a line number").arg(t);
        else if (std::find(lines.begin(), lines.end(), int(v)) != lines.end())
            problem = QStringLiteral("line %1 is named twice").arg(v);
        else
            lines.push_back(int(v));
    }
    if (error)
        *error = problem;
    if (!problem.isEmpty())
        lines.clear();
    return lines;
}

QString unwiredText(Language language, const std::vector<int> &channels)
{
    if (channels.empty())
        return {};
    QStringList numbers;
    for (int c : channels)
        numbers << QString::number(c);
    const QString list = numbers.join(QStringLiteral(", "));
    return TextTables::text(Text::NotWired, language).arg(list);
}

namespace {

QStringList sortedEntries(const QDir &dir, const QStringList &patterns, QDir::Filters filters)
{
    QStringList names = dir.entryList(patterns, filters);
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), collator);
    QStringList paths;
    for (const QString &n : names)
        paths << dir.filePath(n);
    return paths;
}

} // namespace

QStringList gpioChipPaths(const QString &devDir)
{
    return sortedEntries(QDir(devDir), {QStringLiteral("gpiochip*")}, QDir::System | QDir::Files);
}

QStringList serialDevicePaths(const QString &devDir)
{
    const QDir dev(devDir);
    QStringList paths =
        sortedEntries(QDir(dev.filePath(QStringLiteral("serial/by-id"))), {QStringLiteral("*")},
                      QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    paths += sortedEntries(dev, {QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                           QDir::System | QDir::Files);
    return paths;
}

QString deviceGroup(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    if (const group *g = getgrgid(st.st_gid))
        return QString::fromLocal8Bit(g->gr_name);
    return QString::number(st.st_gid);
}

qint64 kernelStampToMonotonic(qint64 stampNs, qint64 monotonicNow, qint64 realtimeNow)
{
    if (std::abs(stampNs - realtimeNow) < std::abs(stampNs - monotonicNow))
        return stampNs - (realtimeNow - monotonicNow);
    return stampNs;
}

} // namespace arenor::timing
