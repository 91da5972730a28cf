#include "common/numerology.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kestrava;

namespace {

using TextOperation = qint16 (*)(QStringView);

struct TextRow
{
    const char *operation;
    TextOperation function;
    QString input;
    int expected;
};

struct NumberRow
{
    int input;
    int expected;
};

} // namespace

TEST(Numerology, TextOperationsGiveTheWorkedResults)
{
    const QString maryAnnSmith = fullName("MARY", "ANN", "SMITH");
    const TextRow rows[] = {
        // Name sums: upper-case letters only count.
        {"nameLetterSum", nameLetterSum, "MARY", 21},
        {"nameLetterSum", nameLetterSum, "Mary", 4},
        {"nameLetterSum", nameLetterSum, "JO-ANN", 18},
        {"nameLetterSum", nameLetterSum, maryAnnSmith, 56},
        {"nameLetterSum", nameLetterSum, "mary ann smith", 0},
        {"nameLetterSum", nameLetterSum, "", 0},
        {"vowelSum", vowelSum, maryAnnSmith, 11},
        {"vowelSum", vowelSum, "mary ann smith", 0},
        {"consonantSum", consonantSum, maryAnnSmith, 45},
        {"consonantSum", consonantSum, "mary ann smith", 0},
        // Y is a vowel (7) only in a name without A, E, I, O, U, and then
        // still a consonant too.
        {"vowelSum", vowelSum, "LYNNWYNN", 14},
        {"consonantSum", consonantSum, "LYNNWYNN", 42},
        {"vowelSum", vowelSum, "LYNN", 7},
        {"vowelSum", vowelSum, "MARY", 1},
        // Digits and blanks count nothing in a name.
        {"nameLetterSum", nameLetterSum, "JOSE", 13},
        {"nameLetterSum", nameLetterSum, "JOSE 2", 13},
        {"vowelSum", vowelSum, "JOSE", 11},
        {"vowelSum", vowelSum, "JOSE 2", 11},
        {"consonantSum", consonantSum, "JOSE", 2},
        {"consonantSum", consonantSum, "JOSE 2", 2},
        // Digit strings.
        {"digitSum", digitSum, "19-7 6", 23},
        {"reduceDigitString", reduceDigitString, "1976", 5},
        {"reduceDigitString", reduceDigitString, "1999", 1},
        {"reduceDigitString", reduceDigitString, "1909", 1},
        {"reduceDigitString", reduceDigitString, "29", 11},
        {"reduceDigitString", reduceDigitString, "11", 2},
        {"reduceDigitString", reduceDigitString, "22", 4},
        {"reduceDigitStringOnce", reduceDigitStringOnce, "1999", 10},
        {"reduceDigitStringOnce", reduceDigitStringOnce, "1909", 10},
        {"reduceDigitStringOnce", reduceDigitStringOnce, "2211", 6},
        {"reduceDigitStringOnce", reduceDigitStringOnce, "56", 11},
        // Date parts fold once and keep no master number.
        {"datePartNumber", datePartNumber, "29", 2},
        {"datePartNumber", datePartNumber, "1979", 8},
        {"datePartNumber", datePartNumber, "19", 1},
        {"datePartNumber", datePartNumber, "28", 1},
        {"datePartNumber", datePartNumber, "1909", 10},
        {"datePartNumber", datePartNumber, "1990", 10},
        {"datePartNumber", datePartNumber, "1999", 10},
        // Months by exact name or by number.
        {"monthNumber", monthNumber, "November", 2},
        {"monthNumber", monthNumber, "December", 3},
        {"monthNumber", monthNumber, "August", 8},
        {"monthNumber", monthNumber, "november", 0},
        {"monthNumber", monthNumber, "10", 1},
        {"monthNumber", monthNumber, "11", 2},
        {"monthNumber", monthNumber, "12", 3},
        {"monthNumber", monthNumber, "13", 0},
        {"monthNumber", monthNumber, "0", 0},
        {"monthNumber", monthNumber, "", 0},
        // A letter value needs exactly one upper-case letter.
        {"letterValue", letterValue, "A", 1},
        {"letterValue", letterValue, "R", 9},
        {"letterValue", letterValue, "Z", 8},
        {"letterValue", letterValue, "", 0},
        {"letterValue", letterValue, "AB", 0},
        {"letterValue", letterValue, "a", 0},
        {"letterValue", letterValue, "5", 0},
        {"letterValue", letterValue, " ", 0},
    };
    for (const TextRow &row : rows) {
        SCOPED_TRACE(std::string(row.operation) + "(\"" + row.input.toStdString() + "\")");
        EXPECT_EQ(row.function(row.input), row.expected);
    }
}

TEST(Numerology, FullNameTrimsBlanksFromEachNameAndJoinsWithoutSeparator)
{
    // A blank is the space character: a tab stays part of the name.
    EXPECT_EQ(fullName(" MARY ", "  ", "\tSMITH "), QStringLiteral("MARY\tSMITH"));
    EXPECT_EQ(trimBlanks(u" \u00A0A B\t "), QStringLiteral("\u00A0A B\t"));
}

TEST(Numerology, ReduceNumberKeepsMasterNumbersOnlyFromTheFirstDigitSum)
{
    const NumberRow rows[] = {
        {0, 0},     {7, 7},     {11, 11},   {22, 22},  {123, 6}, {56, 11},
        {29, 11},   {38, 11},   {47, 11},   {65, 11},  {74, 11}, {83, 11},
        {92, 11},   {499, 22},  {2999, 2},  {9929, 2}, {10, 1},  {19, 1},
        {28, 1},    {37, 1},    {33, 6},    {44, 8},
    };
    for (const NumberRow &row : rows) {
        SCOPED_TRACE("reduceNumber(" + std::to_string(row.input) + ")");
        qint16 n = qint16(row.input);
        EXPECT_EQ(reduceNumber(n), row.expected);
        EXPECT_EQ(n, row.expected) << "the number is reduced in place";
    }
}

TEST(Numerology, FoldOnceAddsFirstAndLastDigit)
{
    const NumberRow rows[] = {{0, 0}, {9, 9}, {10, 1}, {11, 2}, {29, 11}, {199, 10}, {2999, 11}};
    for (const NumberRow &row : rows) {
        SCOPED_TRACE("foldOnce(" + std::to_string(row.input) + ")");
        EXPECT_EQ(foldOnce(qint16(row.input)), row.expected);
    }
}

TEST(Numerology, SumsSkipAnAdditionThatWouldLeaveSixteenBits)
{
    // 3640 I's make 32760; the 3641st would pass 32767, so it is skipped, and so
    // is every later one, but a smaller value that still fits is added.
    EXPECT_EQ(nameLetterSum(QString(3641, u'I')), 32760);
    EXPECT_EQ(nameLetterSum(QString(3650, u'I')), 32760);
    EXPECT_EQ(nameLetterSum(QString(3640, u'I') + QStringLiteral("HG")), 32767);
    EXPECT_EQ(vowelSum(QString(3650, u'I')), 32760);
    EXPECT_EQ(consonantSum(QString(3650, u'R')), 32760);
    EXPECT_EQ(digitSum(QString(3650, u'9')), 32760);

    qint16 sum = std::numeric_limits<qint16>::max();
    addSkippingOverflow(sum, 1);
    EXPECT_EQ(sum, 32767);
    addSkippingOverflow(sum, -7);
    EXPECT_EQ(sum, 32760);

    sum = -32760;
    addSkippingOverflow(sum, -9);
    EXPECT_EQ(sum, -32760);
    addSkippingOverflow(sum, -8);
    EXPECT_EQ(sum, -32768);
    addSkippingOverflow(sum, -1);
    EXPECT_EQ(sum, -32768);
}

TEST(Numerology, NumberShortcutsAgreeWithTheirTextForms)
{
    for (int n : {0, 1, 9, 10, 11, 19, 22, 29, 38, 499, 2999, 9929, 32767, -5, -29, 2147483647, -2147483647 - 1}) {
        EXPECT_EQ(digitSumOf(n), digitSum(QString::number(n))) << n;
        EXPECT_EQ(reduceDigitsOf(n), reduceDigitString(QString::number(n))) << n;
    }
    for (int n = -50; n <= 3000; ++n)
        ASSERT_EQ(reduceDigitsOf(n), reduceDigitString(QString::number(n))) << n;
}
