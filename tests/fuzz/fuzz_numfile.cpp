// The num reader: any bytes give a subject, and saving that subject and
// reading it back gives it again when every character can be saved.
#include "common/charactershift.h"
#include "numpro/files/numfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const numpro::ReadingSubject subject =
        numpro::decodeNumFile(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QStringList lines = numpro::numFileLines(subject);
    bool savable = kestrava::unsavableCharacters(lines.join(QString())).isEmpty();
    for (const QString &line : lines)
        savable = savable && !line.contains(u'\n') && !line.contains(u'\r');
    if (savable && numpro::decodeNumFile(numpro::encodeNumFile(subject)) != subject)
        std::abort();
    return 0;
}
