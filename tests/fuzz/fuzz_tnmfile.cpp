// The tnm reader: any bytes give four lines, and the reading computed from
// them has core numbers in range whatever they hold.
#include "common/shiftedlines.h"
#include "tarot/tarotdocument.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = kestrava::decodeShiftedLines(bytes, tarot::kTnmLineCount);
    if (lines.size() != tarot::kTnmLineCount)
        std::abort();
    const tarot::TarotReading reading = tarot::makeReading(lines[0], lines[1], lines[2], lines[3]);
    const auto valid = [](int n) { return (n >= 0 && n <= 9) || n == 11 || n == 22; };
    if (!valid(reading.lifePath) || !valid(reading.destiny))
        std::abort();
    // What saving the reading would write holds the four inputs as read.
    if (tarot::tnmLines(reading).size() != tarot::kTnmLineCount)
        std::abort();
    return 0;
}
