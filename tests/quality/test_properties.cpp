// Properties that hold over whole input ranges rather than worked examples.
#include "astrology/fadic.h"
#include "common/charactershift.h"
#include "common/cp1252.h"
#include "common/datelists.h"
#include "daily/dailynumber.h"
#include "numpro/readings/readinglist.h"
#include "numpro/readings/resultstate.h"
#include "runes/runes.h"
#include "tantric/tantricnumbers.h"
#include "tarot/tarotnumbers.h"

#include <QJsonObject>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

bool coreNumber(int n)
{
    return (n >= 1 && n <= 9) || n == 11 || n == 22;
}

// A few names of every shape: short, long, with blanks, lower case, foreign letters.
const QStringList kNames = {u"A"_s, u"MARY ANN SMITH"_s, u"  jo  "_s, u"ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ"_s,
                            u"Jos\u00e9 M\u00fcller"_s, u"O'BRIEN-SMYTHE"_s, u"Y"_s};

} // namespace

TEST(Properties, ShiftedFilesKeepEveryCharacterUpToCode241)
{
    int kept = 0;
    for (int code = 0; code <= 241; ++code) {
        // (The five codes the code page leaves undefined stand for the
        // control characters of the same number, and come back as well.)
        const QChar c = kestrava::cp1252Char(uchar(code));
        ASSERT_EQ(kestrava::cp1252Code(c), uchar(code));
        const QString text = QString(c) + u"x"_s + QString(c);
        EXPECT_EQ(kestrava::shiftDecode(kestrava::shiftEncode(text)), text) << code;
        EXPECT_TRUE(kestrava::unsavableCharacters(text).isEmpty()) << code;
        ++kept;
    }
    EXPECT_EQ(kept, 242);
    // Above 241 the shift would pass 255: such characters are named, never silently mangled.
    EXPECT_FALSE(kestrava::unsavableCharacters(QString(kestrava::cp1252Char(242))).isEmpty());
}

TEST(Properties, EveryListDateStaysInRangeInEveryProgram)
{
    const QStringList months = kestrava::monthNames();
    int dates = 0;
    for (int year = 1900; year <= 2050; ++year) {
        const QString yearText = QString::number(year);
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                ++dates;
                const QString dayText = QString::number(day);
                const qint16 lifePath = tarot::lifePathNumber(dayText, months[month - 1], yearText);
                ASSERT_TRUE(coreNumber(lifePath)) << day << "/" << month << "/" << year;
                const int daily = daily::dailyNumber(dayText, months[month - 1], QDate(year, 1, 1));
                ASSERT_TRUE(daily >= 1 && daily <= 9);
                const int combined = astrology::fadicSum(month, day, year, false);
                ASSERT_TRUE(combined >= 4 && combined <= 48);
                ASSERT_NE(astrology::fadicProfile(astrology::fadicSum(month, day, year, true)), nullptr);
                const tantric::TantricNumbers n = tantric::tantricNumbers(day, month, year);
                for (int value : {n.soul, n.karma, n.knowledge, n.path})
                    ASSERT_TRUE(value >= 1 && value <= 11);
                ASSERT_TRUE(n.gift >= 0 && n.gift <= 11);
                ASSERT_EQ(n.gift == 0, year % 100 == 0);
            }
        }
    }
    EXPECT_EQ(dates, 56172);

    for (const QString &name : kNames) {
        const int destiny = tarot::destinyNumber(name);
        EXPECT_TRUE(destiny == 0 || coreNumber(destiny)) << name.toStdString();
        const int rune = runes::runesNumber(name);
        EXPECT_TRUE(rune == 0 || coreNumber(rune)) << name.toStdString();
        EXPECT_EQ(rune == 0, runes::nameTotal(name) == 0);
    }
}

// Variduzeda Vad's core numbers for every list date (with a name of each
// shape in turn): each is 1 to 9, 11 or 22.
TEST(Properties, VariduzedaVadCoreNumbersOverEveryListDate)
{
    const QStringList months = kestrava::monthNames();
    int subjects = 0;
    for (int year = 1900; year <= 2050; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                const QString &name = kNames[subjects % kNames.size()];
                ++subjects;
                numpro::ReadingInputs inputs{name, u"ANN"_s, u"SMITH"_s, months[month - 1], QString::number(day),
                                             QString::number(year), QDate(2026, 12, 10)};
                numpro::ResultState state;
                numpro::computeAllReadings(inputs, state);
                const QJsonObject values = numpro::valuesToJson(state);
                for (const char *key : {"lifePath", "destiny", "soulUrge", "maturity"}) {
                    const int value = values.value(QLatin1String(key)).toInt(-1);
                    ASSERT_TRUE(coreNumber(value)) << key << " " << value << " for " << day << "/" << month << "/"
                                                   << year << " " << name.toStdString();
                }
            }
        }
    }
    EXPECT_EQ(subjects, 56172);
}
