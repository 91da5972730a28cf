#include "common/shiftedlines.h"

#include "common/charactershift.h"
#include "common/regularfile.h"
#include "common/savefile.h"

#include <QFile>
#include <QSaveFile>

#include <optional>

namespace kestrava {

namespace {

// Bytes read for each requested line at most, skipped tails of over-long
// lines included.  Generous for any file the suite writes, small for memory.
constexpr qint64 kReadBudgetPerLine = 4 * (kMaxShiftedLineBytes + 2);

QString decodeLine(QByteArrayView line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    return shiftDecode(line);
}

// Next line of the device without its LF, cut at kMaxShiftedLineBytes; the
// rest of a longer line is read and thrown away chunk by chunk.  Nothing when
// the device is at its end or the budget is spent.
std::optional<QByteArray> readCappedLine(QIODevice &device, qint64 &budget)
{
    QByteArray line;
    bool readAnything = false;
    char chunk[1024];
    while (budget > 0) {
        const qint64 n = device.readLine(chunk, qMin<qint64>(sizeof chunk, budget + 1));
        if (n <= 0)
            break;
        readAnything = true;
        budget -= n;
        const bool ended = chunk[n - 1] == '\n';
        const qint64 content = ended ? n - 1 : n;
        const qint64 room = kMaxShiftedLineBytes - line.size();
        line.append(chunk, qsizetype(qMin(content, room)));
        if (ended)
            break;
    }
    if (!readAnything)
        return std::nullopt;
    return line;
}

} // namespace

QByteArray encodeShiftedLines(const QStringList &lines)
{
    QByteArray data;
    for (const QString &line : lines)
        data += shiftEncode(line) + "\r\n";
    return data;
}

QStringList decodeShiftedLines(QByteArrayView data, int count)
{
    QStringList lines;
    lines.reserve(qMax(count, 0));
    qsizetype start = 0;
    while (lines.size() < count && start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0)
            end = data.size();
        lines.append(decodeLine(data.sliced(start, end - start)));
        start = end + 1;
    }
    while (lines.size() < count)
        lines.append(QString());
    return lines;
}

MaybeFailure writeShiftedLines(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    const QByteArray data = encodeShiftedLines(lines);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{file.errorString()};
    if (const auto failure = writeAndCommit(file, data))
        return Failure{failure->reason};
    return std::nullopt;
}

QStringList readShiftedLines(const QString &path, int count)
{
    QStringList lines;
    lines.reserve(qMax(count, 0));
    auto opened = kestrava::openRegularFile(path);
    QFile file;
    if (auto *regular = std::get_if<RegularFile>(&opened);
        regular && file.open(regular->release(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        qint64 budget = qint64(qMax(count, 0)) * kReadBudgetPerLine;
        while (lines.size() < count) {
            const std::optional<QByteArray> line = readCappedLine(file, budget);
            if (!line)
                break;
            lines.append(decodeLine(*line));
        }
    }
    while (lines.size() < count)
        lines.append(QString());
    return lines;
}

MaybeFailure unreadableFile(const QString &path)
{
    if (notARegularFile(path))
        return std::nullopt;
    auto opened = openRegularFile(path);
    if (auto *failure = std::get_if<Failure>(&opened))
        return *failure;
    return std::nullopt;
}

} // namespace kestrava
