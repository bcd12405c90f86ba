// The list sort over a list file edited by hand: any bytes sorted without harm; a refused sort
// leaves the file byte for byte; sorting a sorted file the same way changes nothing; after a
// sort by result the places run the way the sort does and rows without a place come last. The
// list's document (as printing and the web pages read a list file) holds the file's lines as
// they are, every cell inside its line.
//
// The first byte chooses the sort: bits 0-2 the sort code (0 and 7 ask for one that does not
// exist), bit 3 a running event, bits 4-5 the time format, bit 6 separators, bit 7
// differences. The second byte chooses the list: 0 a result list, 1 the points list, 2 the
// time schedule. The rest is the file.

#include "FuzzCheck.h"
#include "base/Prompt.h"
#include "base/TextFile.h"
#include "lists/ListSort.h"
#include "lists/ListText.h"

#include <QFile>
#include <QTemporaryDir>

using namespace arenor;

namespace {

// Answers nothing, remembers whether the sort said there is no heat to sort (message 14).
class QuietPrompt : public Prompt {
public:
    Answer message(const MessageRequest &request) override
    {
        noHeat = noHeat || request.text == m_noHeat;
        return Answer::Ok;
    }
    std::optional<QString> input(const InputRequest &) override { return std::nullopt; }
    std::optional<QString> file(const FileRequest &) override { return std::nullopt; }
    void expect(const QString &noHeatText) { m_noHeat = noHeatText; }
    bool noHeat = false;

private:
    QString m_noHeat;
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

// The places of a sorted result list in row order, -1 for a row without one.
QList<int> placesOf(const QStringList &lines)
{
    qsizetype column = -1;
    int shift = 0;
    for (qsizetype i = 0; i < std::min<qsizetype>(lines.size(), 15) && column < 0; ++i) {
        if (const int s = lists::layoutShift(lines[i]); s != lists::kNoLayout) {
            column = i;
            shift = s;
        }
    }
    qsizetype i = column + 1;
    while (i < lines.size() && !lines[i].startsWith(u'='))
        ++i;
    QList<int> places;
    for (++i; i < lines.size() && !lines[i].startsWith(u'='); ++i) {
        const QString place = lists::trimmedField(lines[i], 3 + shift, 8 + shift);
        places << (place.isEmpty() ? -1 : place.toInt());
    }
    return places;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    static QTemporaryDir dir;
    static AppState state;
    static QuietPrompt prompt;
    state.prompt = &prompt;
    prompt.expect(state.texts.message(14));

    const int choice = data[0];
    const int code = choice & 7;
    const bool run = choice & 8;
    const auto format = events::TimeFormat(((choice >> 4) & 3) % 3);
    state.options[OptSeparators] = (choice >> 6) & 1;
    state.options[OptDifferences] = (choice >> 7) & 1;
    const int selector = data[1] % 3;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    const QString path = dir.filePath(QStringLiteral("Kl-F0311.txt"));
    write(path, bytes);

    const QStringList lines = splitLines(decodeText(bytes));
    const ListDocument document = lists::classifiedList(lines);
    FUZZ_CHECK(document.textLines() == lines);
    for (const ListDocLine &line : document.lines)
        for (const ListCell &cell : line.cells)
            FUZZ_CHECK(cell.column >= 1 &&
                       cell.column - 1 + characterCount(cell.text) <= characterCount(line.text));

    prompt.noHeat = false;
    const Status first = lists::SortListFile(state, path, code, run ? 2 : 1, format, selector);
    const QByteArray sorted = contents(path);
    if (!first || prompt.noHeat) {
        FUZZ_CHECK(sorted == bytes);
        return 0;
    }

    prompt.noHeat = false;
    FUZZ_CHECK(lists::SortListFile(state, path, code, run ? 2 : 1, format, selector).ok());
    FUZZ_CHECK(!prompt.noHeat);
    FUZZ_CHECK(contents(path) == sorted);

    if (selector == lists::SortResultList &&
        (code == lists::SortIncreasing || code == lists::SortDecreasing)) {
        // Increasing values put the best first where lower is better (times), the worst first
        // where higher is.
        const bool bestFirst = (code == lists::SortIncreasing) == run;
        const QList<int> places = placesOf(splitLines(decodeText(sorted)));
        for (qsizetype i = 1; i < places.size(); ++i) {
            if (places[i] < 0)
                continue;
            FUZZ_CHECK(places[i - 1] >= 0);
            FUZZ_CHECK(bestFirst ? places[i - 1] <= places[i] : places[i - 1] >= places[i]);
        }
    }
    return 0;
}
