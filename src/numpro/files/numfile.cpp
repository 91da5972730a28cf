#include "numpro/files/numfile.h"

#include "common/numerology.h"
#include "common/shiftedlines.h"
#include "common/subjectcheck.h"

#include <QStringList>

namespace numpro {

namespace {

ReadingSubject fromLines(const QStringList &lines)
{
    Q_ASSERT(lines.size() == kNumFileLines);
    return {lines[0], lines[1], lines[2], lines[3], lines[4], lines[5]};
}

} // namespace

QStringList numFileLines(const ReadingSubject &s)
{
    return {s.firstName, s.middleName, s.lastName, s.month, s.day, s.year};
}

QByteArray encodeNumFile(const ReadingSubject &subject)
{
    return kestrava::encodeShiftedLines(numFileLines(subject));
}

ReadingSubject decodeNumFile(QByteArrayView data)
{
    return fromLines(kestrava::decodeShiftedLines(data, kNumFileLines));
}

kestrava::MaybeFailure writeNumFile(const QString &path, const ReadingSubject &subject)
{
    return kestrava::writeShiftedLines(path, numFileLines(subject));
}

ReadingSubject readNumFile(const QString &path)
{
    return fromLines(kestrava::readShiftedLines(path, kNumFileLines));
}

kestrava::SavedPerson personInNumFile(const QString &path)
{
    using kestrava::trimBlanks;
    const ReadingSubject s = readNumFile(path);
    return {{trimBlanks(s.firstName), trimBlanks(s.middleName), trimBlanks(s.lastName), QDate(), QString()},
            trimBlanks(s.month),
            trimBlanks(s.day),
            trimBlanks(s.year)};
}

kestrava::SavedReadingKind numFileKind()
{
    return {QStringLiteral("num"), &personInNumFile};
}

bool hasNumSuffix(const QString &path)
{
    return kestrava::hasFileEnding(path, u"num");
}

} // namespace numpro
