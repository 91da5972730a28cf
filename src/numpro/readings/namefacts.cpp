#include "numpro/readings/namefacts.h"

#include "common/numerology.h"

#include <QChar>

#include <algorithm>
#include <limits>

using namespace kestrava;

namespace numpro {

namespace {

constexpr bool isVowel(std::size_t letter)
{
    return letter == 0 || letter == 4 || letter == 8 || letter == 14 || letter == 20; // A E I O U
}

// 0..25 for a capital A..Z, or a capital with a diacritic read as its base
// letter; 26 or more for anything else.
inline std::size_t capitalIndex(char16_t c)
{
    return std::size_t(c >= 0xC0 ? baseCapital(c) : c) - u'A';
}

// The name is read in blocks of this many code units.
constexpr qsizetype kBlock = 256;
constexpr int kMostValue = 9;

// Adds a block's characters to a 16-bit running sum: the block's sum at once
// while no character of it can reach the limit, otherwise each character in
// turn, skipping an addition that would pass it.
template <typename ValueOf>
void addAlong(qint16 &sum, int blockSum, const char16_t *text, qsizetype size, ValueOf valueOf)
{
    constexpr int kLimit = std::numeric_limits<qint16>::max();
    if (sum + kMostValue * size <= kLimit) {
        sum = qint16(sum + blockSum);
        return;
    }
    for (qsizetype i = 0; i < size && sum < kLimit; ++i)
        addSkippingOverflow(sum, valueOf(text[i]));
}

} // namespace

NameFacts nameFacts(const ReadingInputs &inputs)
{
    NameFacts facts;
    const QStringView parts[] = {blanksTrimmed(inputs.firstName), blanksTrimmed(inputs.middleName),
                                 blanksTrimmed(inputs.lastName)};
    auto vowelValue = [](char16_t c) { return isVowel(capitalIndex(c)) ? letterValue(c) : 0; };
    auto consonantValue = [](char16_t c) { return isVowel(capitalIndex(c)) ? 0 : letterValue(c); };
    qint64 units = 0;
    qint64 pairs = 0;        // surrogate pairs, one code point each; they may span two fields
    bool afterHigh = false;
    for (std::size_t p = 0; p < std::size(parts); ++p) {
        const QStringView part = parts[p];
        const char16_t *text = part.utf16();
        for (qsizetype start = 0; start < part.size(); start += kBlock) {
            const char16_t *block = text + start;
            const qsizetype size = std::min(kBlock, part.size() - start);
            int letters = 0;
            int vowels = 0;
            for (qsizetype i = 0; i < size; ++i) {
                const char16_t c = block[i];
                const std::size_t letter = capitalIndex(c);
                if (letter < 26) {
                    ++facts.letterCounts[letter];
                    const int value = int(letter % 9) + 1;
                    letters += value;
                    vowels += isVowel(letter) ? value : 0;
                }
                pairs += afterHigh && QChar::isLowSurrogate(c);
                afterHigh = QChar::isHighSurrogate(c);
            }
            addAlong(facts.letterSum, letters, block, size, [](char16_t c) { return letterValue(c); });
            addAlong(facts.vowelSum, vowels, block, size, vowelValue);
            addAlong(facts.consonantSum, letters - vowels, block, size, consonantValue);
        }
        units += part.size();
        if (p == 0)
            facts.firstNameLetterSum = facts.letterSum;
    }
    facts.length = units - pairs;
    // A name without A, E, I, O, U: every Y counts 7, as far as the limit allows.
    if (facts.vowelSum == 0) {
        constexpr qint64 kMostYs = std::numeric_limits<qint16>::max() / 7;
        facts.vowelSum = qint16(7 * std::min(facts.letterCounts[u'Y' - u'A'], kMostYs));
    }

    qint64 best = 0;
    int tied = 0; // capitals with the highest count
    std::size_t bestLetter = 0;
    for (std::size_t letter = 0; letter < 26; ++letter) {
        const qint64 count = facts.letterCounts[letter];
        if (count == 0)
            continue;
        facts.letterValues |= quint16(1u << letterValue(char16_t(u'A' + letter)));
        if (count > best) {
            best = count;
            bestLetter = letter;
            tied = 1;
        } else if (count == best) {
            ++tied;
        }
    }
    // Among equals the capital met first in the name.
    for (QStringView part : parts) {
        if (tied <= 1)
            break;
        const char16_t *text = part.utf16();
        for (qsizetype i = 0; i < part.size(); ++i) {
            const std::size_t letter = capitalIndex(text[i]);
            if (letter < 26 && facts.letterCounts[letter] == best) {
                bestLetter = letter;
                tied = 0;
                break;
            }
        }
    }
    if (best > 0)
        facts.hiddenPassion = letterValue(char16_t(u'A' + bestLetter));

    return facts;
}

} // namespace numpro
