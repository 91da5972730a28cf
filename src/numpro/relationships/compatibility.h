#pragma once

#include "numpro/readings/readinginputs.h"
#include "richtext/composition.h"

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <functional>
#include <optional>

// The compatibility of two people: each person's core numbers side by side,
// and for the life path, destiny and soul urge pairs a rating and a paragraph
// from one table of unordered pairs.  Nothing here depends on which person
// comes first, except the order in which the two are shown.
namespace numpro {

enum class PairRating { Harmonious, Workable, Challenging };

// The numbers shown side by side, under the keys the readings use.
inline constexpr std::array<QStringView, 6> kCompatibilityNumberKeys = {
    u"lifePath", u"destiny", u"soulUrge", u"innerDreams", u"birthDay", u"maturity"};
// The numbers whose pair is rated and read.
inline constexpr std::array<QStringView, 3> kRatedPairKeys = {u"lifePath", u"destiny", u"soulUrge"};

// "harmonious", "workable" or "challenging".
QString ratingName(PairRating rating);

// The number the pair table reads a number as: 11 as 2, 22 as 4.
qint16 pairRoot(qint16 number);

// The rating of a pair of numbers 1..9, 11 or 22, in either order; none when
// either is not such a number (0 for a name without the letters counted).
std::optional<PairRating> pairRating(qint16 a, qint16 b);

// The paragraph about the pair, followed by a sentence for each master number
// in it (11 before 22); the same in either order.  For a pair that cannot be
// rated, the sentence that says why.
QString pairParagraph(qint16 a, qint16 b);

// One rated pair as the two people have it.
struct NumberPair
{
    QStringView key; // one of kRatedPairKeys
    qint16 first = 0;
    qint16 second = 0;
    std::optional<PairRating> rating;

    friend bool operator==(const NumberPair &, const NumberPair &) = default;
};

struct Compatibility
{
    ReadingInputs first;
    ReadingInputs second;
    // The six numbers of each, computed by the readings themselves; maturity
    // is null where it cannot be computed.
    QJsonObject firstNumbers;
    QJsonObject secondNumbers;
    // In the order of kRatedPairKeys.
    QList<NumberPair> pairs;
    // The day they married, when known (null otherwise).
    QDate marriageDate;
};

// The six numbers of one person under kCompatibilityNumberKeys.
QJsonObject compatibilityNumbers(const ReadingInputs &person);

// Both people's numbers and the rated pairs.
Compatibility computeCompatibility(const ReadingInputs &first, const ReadingInputs &second,
                                   QDate marriageDate = {});

// {"first": {six numbers}, "second": {...}, "pairs": [{"key": "lifePath",
// "numbers": [a, b], "rating": "workable"}, ...]} and, with a marriage date,
// "marriageDate" and "marriageVibration".
QJsonObject compatibilityToJson(const Compatibility &compatibility);

// The values as the command line writes them, one compact JSON object:
// {"a": {six numbers}, "b": {...}, "pairs": {"lifePath": {"numbers": [a, b],
// "rating": "workable"}, ...}} and, with a marriage date, "marriageVibration".
QByteArray compatibilityJson(const Compatibility &compatibility);

// How the document is written where it stands inside another one.
struct CompatibilityDocumentOptions
{
    // Writes the birth and marriage dates; unset, they read "June 16, 2001".
    std::function<QString(QDate)> formatDate;
    // Whether the document names the pair in its title line and opens with
    // the first person's own "born" line.  A document that already names the
    // first person and the partner in its own headings leaves them out; the
    // second person's "born" line stays.
    bool introduceFirstPerson = true;
};

// The document: the heading naming both people with the introduction and the
// numbers side by side, one part for each rated pair, the marriage vibration
// when a marriage date is known, and the credit line with the footer.  A
// marriage date after the day the reading is made for (the first person's
// today) is a wedding being planned: "Marrying on"; otherwise "Married on".
QList<richtext::Composition> composeCompatibility(const Compatibility &compatibility,
                                                  const CompatibilityDocumentOptions &options = {});

// The person's birth names, trimmed, joined with single blanks.
QString compatibilityName(const ReadingInputs &person);

// What a compatibility reading puts in the history of a client of the book:
// "reading": "compatibility"; the client's birth names and birth date as the
// reading took them ("first", "middle", "last", "month", "day", "year", the
// names trimmed), as a Variduzeda Vad reading of the client alone records
// them; the other person's the same way under "partner"; and with a marriage
// date, "married" (YYYY-MM-DD).  The same whichever of the two came first.
QJsonObject compatibilityHistoryInputs(const ReadingInputs &client, const ReadingInputs &partner,
                                       QDate marriageDate);

} // namespace numpro
