#include "tarot/tarotdocument.h"

#include "common/numerology.h"
#include "common/shiftedlines.h"
#include "common/siteaddress.h"
#include "tarot/profiles.h"

#include <QObject>
#include <QStringList>

namespace tarot {

namespace {

using namespace richtext;

QString aboutLifePath()
{
    return QObject::tr("This is one of the most important numbers. Sometimes it is also called the Life Direction "
                       "Number. This represents who you are at birth. It gives a broad outline of the various good "
                       "and bad opportunities, struggles that you may have to face throughout your life.");
}

QString aboutDestiny()
{
    return QObject::tr("This number describes your vibration in the world and the tasks that you must achieve in "
                       "this lifetime using the name given to you. Destiny / Expression number more correctly reads "
                       "as what you MUST strive to become with the development of talents you are born with.");
}

// Teal and bold, the label; black, the value and `breaks` line breaks.
void appendField(Composition &text, const QString &label, const QString &value, int breaks = 1)
{
    text.colour(kDarkCyan).bold(true).append(label);
    text.bold(false).colour(kBlack).append(value + crlf(breaks));
}

void appendSection(Composition &text, const QString &heading, const QString &about, const QString &numberLabel,
                   const NumberSection &section)
{
    text.colour(kPurple).bold(true).append(heading + crlf());
    text.bold(false).append(about + crlf());
    appendField(text, numberLabel, section.fields[0]);
    text.colour(kBlack).append(section.numberText + crlf());
    appendField(text, QObject::tr("Associated Planet: "), section.fields[1]);
    text.colour(kBlack).append(section.planetText + crlf());
    appendField(text, QObject::tr("Lucky Day: "), section.fields[2]);
    appendField(text, QObject::tr("Best Day: "), section.fields[3]);
    appendField(text, QObject::tr("Best Colors: "), section.fields[4]);
    appendField(text, QObject::tr("Lucky Stones: "), section.fields[5], 2);

    text.colour(kDarkCyan).bold(true).append(QObject::tr("Cards Use: ") + crlf());
    text.bold(false).colour(kBlack);
    const QList<TarotCard> cards = numberCards(section.cardNumber);
    if (cards.isEmpty()) {
        text.append(noCardsText() + crlf(2));
        return;
    }
    for (const TarotCard &card : cards) {
        text.colour(kGreen).bold(true).append(QObject::tr("Card Name: "));
        text.bold(false).colour(kBlack).append(card.name + crlf());
        text.colour(kGreen).bold(true).append(QObject::tr("Card Description: "));
        text.bold(false).colour(kBlack).append(card.description + crlf());
        text.colour(kGreen).bold(true).append(QObject::tr("Card Keywords: "));
        text.bold(false).colour(kBlack).append(card.keywords + crlf(2));
    }
}

} // namespace

NumberSection numberSection(NumberPage page, int number)
{
    NumberSection section;
    const NumberProfile *profile = numberProfile(number);
    if (!profile) {
        section.fields[0] = QString::number(number);
        return section;
    }
    // The destiny page shows 2's best days with the trailing blank they have there.
    const QString bestDays =
        page == NumberPage::Destiny && number == 2 ? profile->bestDays + u' ' : profile->bestDays;
    section.fields = {QString::number(number), profile->planet,      profile->luckyDay,
                      bestDays,                profile->bestColours, profile->luckyStones};
    section.numberText = page == NumberPage::LifePath ? lifePathText(number) : destinyText(number);
    section.planetText = planetText(profile->planet);
    section.cardNumber = number;
    return section;
}

QString noCardsText()
{
    // Only a name without letters has no number, and so no cards.
    return QObject::tr("The name holds no letters to read, so no cards belong to it.");
}

richtext::Composition readingDocument(const TarotReading &reading, const NumberSection &lifePath,
                                      const NumberSection &destiny, kestrava::TitleBlock titleBlock)
{
    Composition text;
    const bool titled = titleBlock == kestrava::TitleBlock::Shown;
    if (titled)
        appendField(text, QObject::tr("Name: "), reading.name, 2);
    if (const QString uncounted = kestrava::unvaluedLettersSentence(kestrava::unvaluedLetters(reading.name));
        !uncounted.isEmpty())
        text.bold(false).colour(kBlack).append(uncounted + crlf(2));
    if (titled)
        appendField(text, QObject::tr("Date of Birth: "), reading.birthDate, 2);
    appendSection(text, QObject::tr("Tarot & Life Path Number"), aboutLifePath(), QObject::tr("Life Path Number: "),
                  lifePath);
    appendSection(text, QObject::tr("Tarot & Destiny Number"), aboutDestiny(), QObject::tr("Destiny Number: "),
                  destiny);
    return text;
}

richtext::Composition readingDocument(const TarotReading &reading, const NumberSection &lifePath,
                                      const NumberSection &destiny, const SpreadCards &spread,
                                      kestrava::TitleBlock titleBlock)
{
    Composition text = readingDocument(reading, lifePath, destiny, titleBlock);
    text.colour(kPurple).bold(true).append(QObject::tr("Numerology Spread") + crlf() + spreadDescription() + crlf());
    text.bold(false);
    appendPositionBlocks(text, spread, 1);
    return text;
}

QString printReport(const richtext::Composition &document)
{
    const QString credit = QObject::tr("Report Generated By ") + kestrava::siteAddress();
    return credit + QStringLiteral("\n\n") + toPlainText(document) + QStringLiteral("\n\n") + credit;
}

QStringList tnmLines(const TarotReading &reading)
{
    return {reading.name, reading.birthDay, reading.birthMonth, reading.birthYear};
}

kestrava::SavedPerson personInTnmFile(const QString &path)
{
    using kestrava::trimBlanks;
    // Name, day, month and year, as tnmLines gives them.
    const QStringList lines = kestrava::readShiftedLines(path, kTnmLineCount);
    return {kestrava::splitName(lines[0]), trimBlanks(lines[2]), trimBlanks(lines[1]), trimBlanks(lines[3])};
}

kestrava::SavedReadingKind tnmFileKind()
{
    return {QStringLiteral("tnm"), &personInTnmFile};
}

} // namespace tarot
