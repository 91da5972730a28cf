#include "common/numerology.h"

#include <QChar>

#include <array>
#include <limits>

namespace kestrava {

namespace {

// Letter values A..Z.
constexpr std::array<qint16, 26> kLetterValues = {
    1, 2, 3, 4, 5, 6, 7, 8, 9,  // A B C D E F G H I
    1, 2, 3, 4, 5, 6, 7, 8, 9,  // J K L M N O P Q R
    1, 2, 3, 4, 5, 6, 7, 8,     // S T U V W X Y Z
};

qint16 valueOf(QChar c)
{
    const char16_t u = baseCapital(c.unicode());
    if (u >= u'A' && u <= u'Z')
        return kLetterValues[u - u'A'];
    return 0;
}

bool isVowel(QChar c)
{
    const char16_t u = baseCapital(c.unicode());
    return u == u'A' || u == u'E' || u == u'I' || u == u'O' || u == u'U';
}

// The Latin blocks that hold precomposed capitals: Latin-1 Supplement,
// Latin Extended-A and -B, and Latin Extended Additional (Ẁ, Ỳ, Ạ...).
constexpr char16_t kLatinFirst = 0x00C0;
constexpr char16_t kLatinLast = 0x024F;
constexpr char16_t kAdditionalFirst = 0x1E00;
constexpr char16_t kAdditionalLast = 0x1EFF;

char16_t decomposedBase(char16_t c)
{
    if (!QChar::isUpper(c))
        return c;
    char32_t base = c;
    // A decomposition may itself start with a precomposed letter (Ấ is Â
    // with an acute): follow it down to the bare letter.
    while (QChar::decompositionTag(base) == QChar::Canonical) {
        const QString parts = QChar::decomposition(base);
        if (parts.isEmpty())
            break;
        base = parts.front().unicode();
    }
    return base >= u'A' && base <= u'Z' ? char16_t(base) : c;
}

// One table for the four blocks, filled once.
struct BaseCapitals
{
    std::array<char16_t, kLatinLast - kLatinFirst + 1> latin{};
    std::array<char16_t, kAdditionalLast - kAdditionalFirst + 1> additional{};

    BaseCapitals()
    {
        for (std::size_t i = 0; i < latin.size(); ++i)
            latin[i] = decomposedBase(char16_t(kLatinFirst + i));
        for (std::size_t i = 0; i < additional.size(); ++i)
            additional[i] = decomposedBase(char16_t(kAdditionalFirst + i));
    }
};

const BaseCapitals &baseCapitals()
{
    static const BaseCapitals table;
    return table;
}

} // namespace

char16_t baseCapital(char16_t c)
{
    if (c >= kLatinFirst && c <= kLatinLast)
        return baseCapitals().latin[c - kLatinFirst];
    if (c >= kAdditionalFirst && c <= kAdditionalLast)
        return baseCapitals().additional[c - kAdditionalFirst];
    return c;
}

QStringList unvaluedLetters(QStringView text)
{
    QStringList letters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        qsizetype units = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            units = 2;
        }
        const QString written = text.sliced(i, units).toString();
        i += units - 1;
        if (!QChar::isLetter(c))
            continue;
        const char32_t capital = QChar::toUpper(c);
        if (capital <= 0xFFFF && letterValue(char16_t(capital)) > 0)
            continue;
        if (!letters.contains(written))
            letters.append(written);
    }
    return letters;
}

QString unvaluedLettersSentence(const QStringList &letters)
{
    if (letters.isEmpty())
        return {};
    if (letters.size() == 1)
        return letters.front() + QStringLiteral(" has no value in this system and was not counted.");
    const QString named = QStringList(letters.mid(0, letters.size() - 1)).join(QStringLiteral(", "))
                          + QStringLiteral(" and ") + letters.back();
    return named + QStringLiteral(" have no value in this system and were not counted.");
}

qint16 letterValue(QStringView text)
{
    return text.size() == 1 ? valueOf(text.front()) : 0;
}

qint16 nameLetterSum(QStringView text)
{
    qint16 sum = 0;
    for (QChar c : text)
        addSkippingOverflow(sum, valueOf(c));
    return sum;
}

qint16 vowelSum(QStringView text)
{
    qint16 sum = 0;
    for (QChar c : text) {
        if (isVowel(c))
            addSkippingOverflow(sum, valueOf(c));
    }
    if (sum == 0) {
        for (QChar c : text) {
            if (c == u'Y')
                addSkippingOverflow(sum, 7);
        }
    }
    return sum;
}

qint16 consonantSum(QStringView text)
{
    qint16 sum = 0;
    for (QChar c : text) {
        if (!isVowel(c))
            addSkippingOverflow(sum, valueOf(c));
    }
    return sum;
}

QStringView blanksTrimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

QString trimBlanks(QStringView text)
{
    return blanksTrimmed(text).toString();
}

QString trimBlanks(const QString &text)
{
    if (!text.startsWith(u' ') && !text.endsWith(u' '))
        return text;
    return trimBlanks(QStringView(text));
}

QString fullName(const QString &first, const QString &middle, const QString &last)
{
    return trimBlanks(first) + trimBlanks(middle) + trimBlanks(last);
}

qint16 digitSum(QStringView text)
{
    qint16 sum = 0;
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9')
            addSkippingOverflow(sum, c.unicode() - u'0');
    }
    return sum;
}

qint16 foldOnce(qint16 n)
{
    if (n >= 0 && n <= 9)
        return n;
    // The first and last characters of n in decimal.  A sign is not a digit
    // and counts nothing; only reachable for negative values, which no
    // reading produces.
    const int last = n < 0 ? -(n % 10) : n % 10;
    if (n < 0)
        return qint16(last);
    int first = n;
    while (first >= 10)
        first /= 10;
    return qint16(first + last);
}

qint16 reduceNumber(qint16 &n)
{
    if (n == 11 || n == 22)
        return n;
    const qint16 s = digitSumOf(n);
    n = (s == 11 || s == 22) ? s : foldOnce(foldOnce(s));
    return n;
}

qint16 digitSumOf(int n)
{
    // Written in decimal, a 32-bit number has at most ten digits: no overflow.
    unsigned value = n < 0 ? 0u - unsigned(n) : unsigned(n);
    int sum = 0;
    for (; value > 0; value /= 10)
        sum += int(value % 10);
    return qint16(sum);
}

qint16 reduceDigitsOf(int n)
{
    const qint16 s = digitSumOf(n);
    return (s == 11 || s == 22) ? s : foldOnce(foldOnce(s));
}

qint16 reduceDigitString(QStringView text)
{
    const qint16 s = digitSum(text);
    return (s == 11 || s == 22) ? s : foldOnce(foldOnce(s));
}

qint16 reduceDigitStringOnce(QStringView text)
{
    const qint16 s = digitSum(text);
    return (s == 11 || s == 22) ? s : foldOnce(s);
}

qint16 monthNumber(QStringView text)
{
    static constexpr std::array<QStringView, 12> names = {
        u"January", u"February", u"March",     u"April",   u"May",      u"June",
        u"July",    u"August",   u"September", u"October", u"November", u"December",
    };
    static constexpr std::array<qint16, 12> numbers = {1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3};
    // The number texts "1" to "12", written as QString::number writes them.
    const auto digit = [&](qsizetype i) { return int(text[i].unicode()) - '0'; };
    if (text.size() == 1 && digit(0) >= 1 && digit(0) <= 9)
        return numbers[std::size_t(digit(0) - 1)];
    if (text.size() == 2 && digit(0) == 1 && digit(1) >= 0 && digit(1) <= 2)
        return numbers[std::size_t(9 + digit(1))];
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (text.size() == names[i].size() && text == names[i])
            return numbers[i];
    }
    return 0;
}

qint16 datePartNumber(QStringView text)
{
    return foldOnce(digitSum(text));
}

} // namespace kestrava
