// Windows-1252 and the character shift: text the files can keep comes back
// unchanged, and any bytes decode without harm.
#include "common/charactershift.h"
#include "common/cp1252.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // Bytes as a file holds them.
    const QString decoded = kestrava::shiftDecode(bytes);
    const QString text = kestrava::decodeCp1252(bytes);
    if (kestrava::encodeCp1252(text).size() != text.size())
        std::abort();

    // The same bytes as UTF-16 text typed by a user.
    const QString typed(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
    if (kestrava::unsavableCharacters(typed).isEmpty() && kestrava::shiftDecode(kestrava::shiftEncode(typed)) != typed)
        std::abort();
    Q_UNUSED(decoded);
    return 0;
}
