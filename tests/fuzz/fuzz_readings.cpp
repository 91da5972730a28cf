// Every core reading of every program, on inputs within the lists and
// beyond them and names of any characters: nothing crashes, and each number
// stays in its range.  Variduzeda Vad runs one reading an input, computed and
// composed for both the display and the document (the reading's own
// dependencies are computed along the way); now and then all of them at once.
#include "astrology/fadic.h"
#include "daily/dailynumber.h"
#include "fuzzinput.h"
#include "numpro/readings/readinglist.h"
#include "numpro/readings/resultstate.h"
#include "richtext/composition.h"
#include "runes/runes.h"
#include "tantric/tantricnumbers.h"
#include "tarot/spread.h"
#include "tarot/tarotreading.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool holds)
{
    if (!holds)
        std::abort();
}

bool coreNumber(int n)
{
    return (n >= 0 && n <= 9) || n == 11 || n == 22;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const int program = in.byte() % 6;
    const QString day = in.entryOrStray(kestrava::dayTexts());
    const QString month = in.entryOrStray(kestrava::monthNames());
    const QString year = in.entryOrStray(kestrava::yearTexts());
    const QDate today(in.number(1, 9999), in.number(1, 12), in.number(1, 28));
    switch (program) {
    case 0: {
        const auto readings = numpro::readingList();
        const size_t which = in.byte() % (readings.size() + 1);
        numpro::ReadingInputs inputs{in.text(40), in.text(20), in.text(100000), month, day, year, today};
        // Any day of the lists' years, impossible ones (31 April) giving no date.
        if (in.byte() % 2)
            inputs.marriageDate = QDate(in.number(1900, 2100), in.number(1, 12), in.number(1, 31));
        numpro::ResultState state;
        if (which == readings.size()) {
            numpro::computeAllReadings(inputs, state);
        } else {
            const numpro::Reading &reading = readings[which];
            for (numpro::OutputMode mode : {numpro::OutputMode::Display, numpro::OutputMode::Document}) {
                const numpro::ReadingResult result = numpro::runReading(reading, inputs, state, mode);
                // The marriage vibration alone has nothing to say without a marriage date.
                const bool quiet = reading.id == u"marriageVibration" && !inputs.marriageDate.isValid();
                check(!reading.isOffered() || result.keepCaption || quiet
                      || !richtext::toPlainText(result.text).isEmpty());
            }
        }
        check(!numpro::valuesToJsonText(state).isEmpty());
        if (const numpro::ReadingValues *marriage = state.values(u"marriageVibration")) {
            const qint16 number = marriage->number(u"marriageVibration");
            check(inputs.marriageDate.isValid() ? coreNumber(number) && number > 0 : marriage->entries().isEmpty());
        }
        break;
    }
    case 1: {
        const tarot::TarotReading reading = tarot::makeReading(in.text(100000), day, month, year);
        check(coreNumber(reading.lifePath) && coreNumber(reading.destiny));
        break;
    }
    case 2: {
        const qint16 number = daily::dailyNumber(day, month, today);
        check(number >= 0 && number <= 9);
        const bool inLists = kestrava::dayTexts().contains(day) && kestrava::monthNames().contains(month);
        check(!inLists || number >= 1);
        break;
    }
    case 3: {
        const int m = in.number(-40000, 40000), d = in.number(-40000, 40000), y = in.number(-40000, 40000);
        const qint16 fadic = astrology::fadicSum(m, d, y, true);
        check(fadic >= 0 && fadic <= 9);
        check(astrology::fadicSum(m, d, y, false) >= 0);
        break;
    }
    case 4: {
        const QString name = in.text(100000);
        const qint16 number = runes::runesNumber(name);
        check(coreNumber(number));
        check(number == 0 || runes::runeRow(number));
        break;
    }
    case 5: {
        const tantric::TantricNumbers n =
            tantric::tantricNumbers(in.number(-40000, 40000), in.number(-40000, 40000), in.number(-40000, 40000));
        for (int value : {n.soul, n.karma, n.gift, n.knowledge, n.path})
            check(value >= 0 && value <= 11);
        check(!tantric::tantricChart(in.text(200), n).isEmpty());
        break;
    }
    }
    return 0;
}
