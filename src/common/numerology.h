#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

// The numerology arithmetic the programs share: letter values, digit sums
// and the reductions with the master numbers 11 and 22.  All numbers are 16-bit;
// an addition that would leave that range is skipped and the sum keeps its value.
namespace kestrava {

// Adds `value` to `sum` unless the result would not fit in 16 bits, in which
// case `sum` is left as it was.  The one place the overflow rule lives.
inline void addSkippingOverflow(qint16 &sum, int value)
{
    const int result = int(sum) + value;
    if (result >= -32768 && result <= 32767)
        sum = qint16(result);
}

// The capital A..Z that a capital with a diacritic is read as (É, È and Ê
// as E, Ü as U, Ç as C, Ñ as N, Å as A: the first letter of its canonical
// decomposition); every other character as itself.  Lower-case letters stay
// as they are, so they keep counting nothing.
char16_t baseCapital(char16_t c);

// Value 1..9 of a text that is exactly one upper-case letter A..Z, or a
// capital with a diacritic read as its base letter; 0 otherwise.
qint16 letterValue(QStringView text);
// The same for one UTF-16 code unit.
inline qint16 letterValue(char16_t c)
{
    // The table runs 1..9 from A, again from J and from S.
    if (c >= 0xC0)
        c = baseCapital(c);
    return c >= u'A' && c <= u'Z' ? qint16((c - u'A') % 9 + 1) : qint16(0);
}

// The letters of the text that count nothing in the letter tables even as
// capitals (Ø, Æ, ß, Ł, a Greek or Cyrillic letter), each once, in the order
// met, as written.  Lower-case a..z and blanks, digits and punctuation are not
// letters without a value: they are left out.
QStringList unvaluedLetters(QStringView text);

// The sentence that names those letters under a reading ("Ø has no value in
// this system and was not counted."); empty when there are none.
QString unvaluedLettersSentence(const QStringList &letters);

// Sum of the letter values of the text, unreduced.  Lower case, digits,
// blanks and punctuation count nothing.
qint16 nameLetterSum(QStringView text);

// Sum of A, E, I, O, U (1, 5, 9, 6, 3).  Only when the text has none of them
// does every Y count 7.
qint16 vowelSum(QStringView text);

// Sum of the letter values of every letter that is not A, E, I, O, U (Y counts 7).
qint16 consonantSum(QStringView text);

// The text without its leading and trailing blanks.  A blank is the space
// character only: tabs and other white space stay.
QString trimBlanks(QStringView text);
// The same as a view into the text, for reading it without a copy.
QStringView blanksTrimmed(QStringView text);
// The same; a text without such blanks is handed back as it is, uncopied.
QString trimBlanks(const QString &text);

// The three names, each without leading and trailing blanks, joined without
// a separator.
QString fullName(const QString &first, const QString &middle, const QString &last);

// Sum of the decimal digit characters of the text; everything else counts 0.
qint16 digitSum(QStringView text);

// One folding step: a one-digit number stays; otherwise first digit + last digit.
qint16 foldOnce(qint16 n);

// Reduces n in place: 11 and 22 stay, a first digit sum of 11 or 22 is kept,
// anything else is folded twice.  Returns the new value of n.
qint16 reduceNumber(qint16 &n);

// digitSum of the number written in decimal (the sign adds nothing).
qint16 digitSumOf(int n);

// reduceDigitString of the number written in decimal.
qint16 reduceDigitsOf(int n);

// reduceNumber on a text of digits, without keeping 11/22 given directly.
qint16 reduceDigitString(QStringView text);

// As reduceDigitString but folds only once, so 10 and a non-master 11 can result.
qint16 reduceDigitStringOnce(QStringView text);

// Month name ("January".."December") or number text ("1".."12") to 1..9;
// November and December are already reduced (2 and 3).  0 for anything else.
qint16 monthNumber(QStringView text);

// foldOnce(digitSum(text)): one folding step, no master numbers.
qint16 datePartNumber(QStringView text);

} // namespace kestrava
