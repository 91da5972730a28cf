// The tnm reader: any bytes give four lines; the reading and its whole
// document are composed from them whatever they hold.
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
    tarot::SpreadCards cards{};
    for (std::size_t i = 0; i < cards.size(); ++i)
        cards[i] = qint16(size > i ? data[i] : i); // also cards beyond the deck
    const richtext::Composition document =
        tarot::readingDocument(reading, tarot::numberSection(tarot::NumberPage::LifePath, reading.lifePath),
                               tarot::numberSection(tarot::NumberPage::Destiny, reading.destiny), cards);
    if (!tarot::printReport(document).contains(reading.name))
        std::abort();
    return 0;
}
