#include "tarot/spread.h"

#include "common/randomsource.h"
#include "common/siteaddress.h"
#include "tarot/deck.h"

#include <QObject>

namespace tarot {

namespace {

using richtext::crlf;

qint16 drawCard(kestrava::RandomSource &random)
{
    // uniform() stays below 1, but a rounding slip must not reach card 78.
    return qint16(qMin(int(random.uniform() * kDeckSize), kDeckSize - 1));
}

// The underline rule: 512 underlined blanks on a line of their own.
void appendRule(richtext::Composition &text, bool breakBefore)
{
    text.underline(true).append((breakBefore ? crlf() : QString()) + QString(512, u' ') + crlf()).underline(false);
}

} // namespace

SpreadCards dealNumerologySpread(kestrava::RandomSource &random)
{
    SpreadCards cards{};
    for (int position = 0; position < kSpreadSize; ++position) {
        qint16 card = drawCard(random);
        for (int earlier = 0; earlier < position; ++earlier) {
            if (cards[std::size_t(earlier)] == card) {
                card = drawCard(random);
                earlier = -1; // compare again from the first position
            }
        }
        cards[std::size_t(position)] = card;
    }
    return cards;
}

std::optional<SpreadCards> dealSpread(int spreadType, kestrava::RandomSource &random)
{
    if (spreadType != kNumerologySpread)
        return std::nullopt;
    return dealNumerologySpread(random);
}

QString spreadName()
{
    return QObject::tr("Numerology Grid");
}

QString spreadDescription()
{
    return QObject::tr("Numerology Spread is also one of the mostly used spread and it is based upon the "
                       "Numerological meanings of the numbers ranging from 1 to 9. This spread is mostly used for "
                       "the purpose of exploring yourself in all your forms. This spread uses 9 cards which the "
                       "questioner has to select himself.");
}

QString positionMeaning(int position)
{
    static const char *const kSelves[kSpreadSize] = {
        "an Innovator",   "an Integrator",   "an Entertainer",  "a Builder",   "a Communicator",
        "a Peacemaker",   "an Individualist", "an Entrepreneur", "a Crusader",
    };
    if (position < 1 || position > kSpreadSize)
        return {};
    return QObject::tr("Card %1 - You see yourself as %2.").arg(position).arg(QLatin1String(kSelves[position - 1]));
}

void appendPositionBlocks(richtext::Composition &text, const SpreadCards &cards, int endOfDescription)
{
    using namespace richtext;
    for (int position = 1; position <= kSpreadSize; ++position) {
        const DeckCard *card = deckCard(cards[std::size_t(position - 1)]);
        const DeckCard none;
        const DeckCard &c = card ? *card : none;
        text.colour(kDarkCyan).bold(true).append(crlf() + QObject::tr("Position ") + QString::number(position)
                                                 + QStringLiteral(": ") + crlf());
        text.bold(false).colour(kBlack).append(positionMeaning(position));
        text.colour(kDarkCyan).bold(true).append(crlf() + QObject::tr("Card Name: ") + crlf());
        text.bold(false).colour(kBlack).append(c.name);
        text.colour(kDarkCyan).bold(true).append(crlf() + QObject::tr("Keywords: "));
        text.bold(false).colour(kBlack).append(crlf() + c.keywords);
        text.colour(kDarkCyan).bold(true).append(crlf() + QObject::tr("Description: "));
        text.bold(false).colour(kBlack).append(crlf() + c.description + crlf(endOfDescription));
    }
}

richtext::Composition spreadText(const SpreadCards &cards)
{
    using namespace richtext;
    Composition text;
    text.colour(kDarkRed).bold(true);
    text.append(kestrava::forumAddress()
                + QObject::tr(" the most popular online discussion forum. A place to learn, to share and to make "
                              "new friends.")
                + crlf(2));
    text.bold(false);
    text.colour(kBlack).bold(true).align(Align::Centre);
    text.append(QObject::tr("Visit ") + crlf() + kestrava::siteAddress() + u' ' + crlf() + QObject::tr("Now ")
                + crlf());
    text.align(Align::Left).bold(false);
    appendRule(text, false);
    text.colour(kDarkCyan).bold(true).append(crlf() + QObject::tr("Spread Name: ") + crlf());
    text.bold(false);
    text.colour(kPurple).bold(true).append(spreadName() + crlf());
    text.bold(false).append(spreadDescription() + crlf(2));
    appendPositionBlocks(text, cards, 2);
    appendRule(text, true);
    text.bold(true).colour(kDarkRed);
    text.append(crlf() + QObject::tr("Thank You for using Pellacor Software. Come spend some time with us online at")
                + u' ' + kestrava::siteAddress() + QObject::tr(". The best online discussion forum for every esoteric."));
    text.colour(kBlack).bold(false);
    return text;
}

} // namespace tarot
