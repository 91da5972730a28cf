#include "numpro/files/numfile.h"

#include "common/shiftedlines.h"

#include <QStringList>

namespace numpro {

namespace {

QStringList toLines(const ReadingSubject &s)
{
    return {s.firstName, s.middleName, s.lastName, s.month, s.day, s.year};
}

ReadingSubject fromLines(const QStringList &lines)
{
    Q_ASSERT(lines.size() == kNumFileLines);
    return {lines[0], lines[1], lines[2], lines[3], lines[4], lines[5]};
}

} // namespace

QByteArray encodeNumFile(const ReadingSubject &subject)
{
    return kestrava::encodeShiftedLines(toLines(subject));
}

ReadingSubject decodeNumFile(QByteArrayView data)
{
    return fromLines(kestrava::decodeShiftedLines(data, kNumFileLines));
}

bool writeNumFile(const QString &path, const ReadingSubject &subject, QString *errorMessage)
{
    return kestrava::writeShiftedLines(path, toLines(subject), errorMessage);
}

ReadingSubject readNumFile(const QString &path)
{
    return fromLines(kestrava::readShiftedLines(path, kNumFileLines));
}

bool hasNumSuffix(const QString &path)
{
    return path.endsWith(QLatin1String("num"), Qt::CaseSensitive);
}

} // namespace numpro
