// Text decoding: any bytes decode (UTF-8, each invalid byte as Windows-1252), valid UTF-8 reads
// as itself, and what is decoded survives being written as UTF-8 and read again.

#include "FuzzCheck.h"
#include "base/TextFile.h"

#include <QByteArray>
#include <QStringDecoder>

using namespace arenor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = decodeText(bytes);
    // Every byte gives at most one UTF-16 unit, or a four-byte sequence two.
    FUZZ_CHECK(text.size() <= bytes.size());
    FUZZ_CHECK(!text.contains(QChar::ReplacementCharacter) || bytes.contains("\xEF\xBF\xBD"));
    // A byte order mark is no text.
    const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray body = bytes.startsWith(bom) ? bytes.mid(3) : bytes;
    FUZZ_CHECK(!text.startsWith(QChar::ByteOrderMark) || body.startsWith(bom));
    QStringDecoder exact(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString plain = exact.decode(body);
    if (!exact.hasError())
        FUZZ_CHECK(text == plain);
    // Written and read again it is the same text, except that a mark left at its start (a
    // file that began with two) is taken for the file's own mark then.
    if (!text.startsWith(QChar::ByteOrderMark))
        FUZZ_CHECK(decodeText(text.toUtf8()) == text);

    const QStringList lines = splitLines(text);
    qsizetype total = 0;
    for (const QString &line : lines) {
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
        total += line.size();
    }
    FUZZ_CHECK(total <= text.size());
    // Lines written with CR LF read back the same.
    QString joined;
    for (const QString &line : lines)
        joined += line + QStringLiteral("\r\n");
    FUZZ_CHECK(splitLines(joined) == lines);
    return 0;
}
