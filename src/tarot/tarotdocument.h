#pragma once

#include "common/titleblock.h"
#include "common/person.h"
#include "richtext/composition.h"
#include "tarot/spread.h"
#include "tarot/tarotreading.h"

#include <QString>

#include <array>

// What the result window's number pages show, and the reading document
// composed from them with the spread.
namespace tarot {

enum class NumberPage { LifePath, Destiny };

// A number page's fields: the number, planet, lucky day, best days, best
// colours and lucky stones; the number's and the planet's texts; and the
// number whose cards the page lists (0: none).
struct NumberSection
{
    std::array<QString, 6> fields;
    QString numberText;
    QString planetText;
    int cardNumber = 0;
};

// A number page after it showed `number`.  A number without a profile (the
// destiny 0 of a name without letters) shows only the number: its other
// fields and texts are empty and it has no cards.
NumberSection numberSection(NumberPage page, int number);

// What a number page and the document say where a number has no cards.
QString noCardsText();

// The whole reading as formatted text: name and birth date, the life path
// section, the destiny section with their card lists, and the spread.
richtext::Composition readingDocument(const TarotReading &reading, const NumberSection &lifePath,
                                      const NumberSection &destiny, const SpreadCards &spread,
                                      kestrava::TitleBlock titleBlock = kestrava::TitleBlock::Shown);
// The same without a spread, where none was dealt: it ends after the
// destiny section's cards.
richtext::Composition readingDocument(const TarotReading &reading, const NumberSection &lifePath,
                                      const NumberSection &destiny,
                                      kestrava::TitleBlock titleBlock = kestrava::TitleBlock::Shown);

// The printed report: the document's plain text between two credit lines,
// lines separated by "\n".
QString printReport(const richtext::Composition &document);

// The lines of a saved reading (a .tnm file) before shifting: name, day,
// month and year.
QStringList tnmLines(const TarotReading &reading);
inline constexpr int kTnmLineCount = 4;

// The person in a .tnm file, for taking saved readings into the client book:
// the name field split into first, middle and last name, and the date texts
// without their outer blanks.  Reads a bounded amount (see readShiftedLines).
kestrava::SavedPerson personInTnmFile(const QString &path);

// The .tnm file as a kind of saved reading: ending "tnm", read by
// personInTnmFile.
kestrava::SavedReadingKind tnmFileKind();

} // namespace tarot
