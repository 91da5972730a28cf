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

// Below this many code units no sum can reach the 16-bit limit (each
// character adds at most 9), so the sums follow from the letter counts.
constexpr qint64 kShortName = std::numeric_limits<qint16>::max() / 9;

} // namespace

NameFacts nameFacts(const ReadingInputs &inputs)
{
    NameFacts facts;
    const QStringView parts[] = {blanksTrimmed(inputs.firstName), blanksTrimmed(inputs.middleName),
                                 blanksTrimmed(inputs.lastName)};
    qint64 units = 0;
    qint64 pairs = 0;        // surrogate pairs, one code point each; they may span two fields
    bool afterHigh = false;
    for (QStringView part : parts) {
        const char16_t *text = part.utf16();
        const qsizetype size = part.size();
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t c = text[i];
            const std::size_t letter = std::size_t(c) - u'A';
            if (letter < 26)
                ++facts.letterCounts[letter];
            pairs += afterHigh && QChar::isLowSurrogate(c);
            afterHigh = QChar::isHighSurrogate(c);
        }
        units += size;
    }
    facts.length = units - pairs;

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
            const std::size_t letter = std::size_t(text[i]) - u'A';
            if (letter < 26 && facts.letterCounts[letter] == best) {
                bestLetter = letter;
                tied = 0;
                break;
            }
        }
    }
    if (best > 0)
        facts.hiddenPassion = letterValue(char16_t(u'A' + bestLetter));

    if (units <= kShortName) {
        int letters = 0;
        int vowels = 0;
        for (std::size_t letter = 0; letter < 26; ++letter) {
            const int sum = int(facts.letterCounts[letter]) * letterValue(char16_t(u'A' + letter));
            letters += sum;
            vowels += isVowel(letter) ? sum : 0;
        }
        facts.letterSum = qint16(letters);
        facts.vowelSum = qint16(vowels);
        facts.consonantSum = qint16(letters - vowels);
    } else {
        // Long enough to reach the limit: the sums run along the name,
        // skipping each addition that would pass it.
        for (QStringView part : parts) {
            const char16_t *text = part.utf16();
            for (qsizetype i = 0; i < part.size(); ++i) {
                const char16_t c = text[i];
                const std::size_t letter = std::size_t(c) - u'A';
                if (letter >= 26)
                    continue;
                const int value = letterValue(c);
                addSkippingOverflow(facts.letterSum, value);
                addSkippingOverflow(isVowel(letter) ? facts.vowelSum : facts.consonantSum, value);
            }
        }
    }
    // A name without A, E, I, O, U: every Y counts 7, as far as the limit allows.
    if (facts.vowelSum == 0) {
        constexpr qint64 kMostYs = std::numeric_limits<qint16>::max() / 7;
        facts.vowelSum = qint16(7 * std::min(facts.letterCounts[u'Y' - u'A'], kMostYs));
    }
    return facts;
}

} // namespace numpro
