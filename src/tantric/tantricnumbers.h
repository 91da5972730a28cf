#pragma once

#include "richtext/composition.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Vorizov Avazodizaz: the five tantric numbers of a birth date and the chart
// that reads them.
namespace tantric {

// 11 stays; otherwise the digits are added from the left, and a running sum
// of 10 or 11 is the result at once, while one of 12 or more is taken apart
// into its digits again.  So 10 survives only as a digit sum (10 gives 1,
// 19 gives 10) and 11 both as input and as digit sum.  0 to 11.
qint16 tantricReduce(int n);

struct TantricNumbers
{
    qint16 soul = 0;
    qint16 karma = 0;
    qint16 gift = 0; // 0 for a year ending in 00
    qint16 knowledge = 0;
    qint16 path = 0;

    friend bool operator==(const TantricNumbers &, const TantricNumbers &) = default;
};

TantricNumbers tantricNumbers(int day, int month, int year);

// The five numbers as one compact JSON object, keys in the order above.
QByteArray tantricJson(const TantricNumbers &numbers);

enum class Table { Soul, Karma, Gift, Knowledge, Path };

// The paragraph of a number in a table; empty for 0 and any number without a row.
QString tantricText(Table table, int number);

// The number's caption: "Soul", "Karma", "Gift", "Knowledge" or "Path".
QString caption(Table table);

// "Orvanel Vorizov Avazodizaz Chart for " and the name.
QString chartTitle(const QString &name);

// The comprehensive chart: the title, then chartSections().
richtext::Composition tantricChart(const QString &name, const TantricNumbers &numbers);

// What a gift number of 0, which has neither heading nor text, leaves in the
// sections: the chart keeps the section's two line breaks; a document to
// read leaves no gap.
enum class EmptyGift { LineBreaks, Nothing };

// Path, Soul, Knowledge, Gift and Karma, each a heading with its number and
// its text, in its colour, all in bold.
richtext::Composition chartSections(const TantricNumbers &numbers, EmptyGift emptyGift = EmptyGift::LineBreaks);

} // namespace tantric
