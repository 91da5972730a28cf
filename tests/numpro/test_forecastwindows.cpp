#include "numpro/forecast/forecast.h"
#include "numpro/forecast/lifetimeline.h"
#include "numpro/forecast/picture/timelinepicture.h"
#include "numpro/readings/texttable.h"
#include "numpro/ui/forecastwindow.h"
#include "numpro/ui/lifetimelinewindow.h"
#include "support/suitefixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

const QString kTimeline = u"frmLifeTimeline"_s;
const QString kForecast = u"frmForecast"_s;
const QString kNavigator = u"frmNumerologyProResult"_s;

// The subject the windows open on: the input window's default birth date,
// 6 August 1979, on the test clock's 10 December 2026.
numpro::ReadingInputs mary()
{
    return {u"MARY"_s, u"ANN"_s, u"SMITH"_s, u"August"_s, u"6"_s, u"1979"_s, QDate(2026, 12, 10)};
}

// The PDF's text in reading order, or with layout as the page places it.
QString pdfText(const QString &path, bool layout = false)
{
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, layout ? QStringList{u"-layout"_s, path, u"-"_s} : QStringList{path, u"-"_s});
    if (!pdftotext.waitForFinished(30000))
        return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

qsizetype bandIndex(const numpro::LifeTimeline &timeline, numpro::TimelineRow row, int position)
{
    for (qsizetype i = 0; i < timeline.bands.size(); ++i) {
        if (timeline.bands[i].row == row && timeline.bands[i].position == position)
            return i;
    }
    return -1;
}

} // namespace

TEST_F(SuiteTest, LifeTimelineShowsABandWhenHoveredAndItsReadingWhenClicked)
{
    openNavigator("MARY", "ANN", "SMITH");
    click(kNavigator, u"cmdLifeTimeline"_s);
    auto *window = qobject_cast<LifeTimelineWindow *>(this->window(kTimeline));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->timeline().subject, mary());
    auto *view = window->findChild<TimelineView *>(u"picTimeline"_s);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));

    const qsizetype second = bandIndex(window->timeline(), numpro::TimelineRow::Pinnacles, 2);
    const numpro::TimelineBand band = window->timeline().bands[second];
    const QPoint centre = view->bandRect(second).center();
    QTest::mouseMove(view, centre);
    EXPECT_EQ(view->hoveredBand(), second);
    EXPECT_EQ(control<QLabel>(kTimeline, u"lblHoveredBand"_s)->text(),
              u"Second pinnacle %1: ages %2 to %3, %4 to %5"_s.arg(band.number)
                  .arg(band.fromAge).arg(band.toAge).arg(band.fromYear).arg(band.toYear));

    QTest::mouseClick(view, Qt::LeftButton, {}, centre);
    const QString reading = control<QTextEdit>(kTimeline, u"txtBandReading"_s)->toPlainText();
    EXPECT_TRUE(reading.startsWith(u"Second Pinnacle from age "_s)) << reading.toStdString();
    EXPECT_TRUE(reading.contains(numpro::readingTexts(u"pinnacles").table.text(band.number)));

    // An essence cell: the essence reading of that year.
    const qsizetype essence = bandIndex(window->timeline(), numpro::TimelineRow::Essence, 0) + 30;
    QTest::mouseClick(view, Qt::LeftButton, {}, view->bandRect(essence).center());
    const numpro::TimelineBand cell = window->timeline().bands[essence];
    EXPECT_TRUE(control<QTextEdit>(kTimeline, u"txtBandReading"_s)
                    ->toPlainText()
                    .contains(numpro::readingTexts(u"essence").table.text(cell.number)));
    EXPECT_EQ(cell.fromYear, 1979 + 30);

    // The launcher's closing sequence closes the timeline with the program.
    main->launch(kestrava::ProgramId::Runes);
    EXPECT_EQ(this->window(kTimeline), nullptr);
}

TEST_F(SuiteTest, LifeTimelineTableHoldsTheSameNumbers)
{
    openNavigator("MARY", "ANN", "SMITH");
    click(kNavigator, u"cmdLifeTimeline"_s);
    auto *window = qobject_cast<LifeTimelineWindow *>(this->window(kTimeline));
    ASSERT_NE(window, nullptr);
    auto *stack = control<QStackedWidget>(kTimeline, u"stkTimeline"_s);
    auto *table = control<QTableWidget>(kTimeline, u"tblTimeline"_s);
    EXPECT_NE(stack->currentWidget(), table);
    control<QCheckBox>(kTimeline, u"chkShowTable"_s)->setChecked(true);
    EXPECT_EQ(stack->currentWidget(), table);

    // Every band is a row, with the number the forecast gives for its ages.
    const numpro::Forecaster forecaster(mary());
    const numpro::LifeTimeline &timeline = window->timeline();
    ASSERT_EQ(table->rowCount(), timeline.bands.size());
    for (int row = 0; row < table->rowCount(); ++row) {
        const numpro::TimelineBand &band = timeline.bands[row];
        SCOPED_TRACE(numpro::bandDescription(band).toStdString());
        const numpro::ForecastPoint point = forecaster.at(QDate(band.fromYear, 7, 1));
        qint16 expected = 0;
        switch (band.row) {
        case numpro::TimelineRow::Pinnacles: expected = point.pinnacle.number; break;
        case numpro::TimelineRow::Challenges: expected = point.challenge.number; break;
        case numpro::TimelineRow::Periods: expected = forecaster.periodNumbers()[point.currentPeriod - 1]; break;
        case numpro::TimelineRow::Essence: expected = point.essence; break;
        case numpro::TimelineRow::PersonalYears: expected = point.personalYear; break;
        }
        EXPECT_EQ(table->item(row, 0)->text(), numpro::timelineRowName(band.row));
        EXPECT_EQ(table->item(row, 1)->text(), QString::number(expected));
        const QString ages = band.fromAge == band.toAge ? QString::number(band.fromAge)
                                                        : u"%1 to %2"_s.arg(band.fromAge).arg(band.toAge);
        EXPECT_EQ(table->item(row, 2)->text(), ages);
    }

    // Choosing a row reads it, as a click on the picture does.
    const qsizetype challenge = bandIndex(timeline, numpro::TimelineRow::Challenges, 3);
    table->setCurrentCell(int(challenge), 0);
    EXPECT_TRUE(control<QTextEdit>(kTimeline, u"txtBandReading"_s)->toPlainText().startsWith(u"Third Challenge"_s));
}

TEST_F(SuiteTest, LifeTimelineExportsReadablePngSvgAndPdf)
{
    openNavigator("MARY", "ANN", "SMITH");
    click(kNavigator, u"cmdLifeTimeline"_s);
    const QString png = test.dir.filePath(u"timeline.png"_s);
    const QString svg = test.dir.filePath(u"timeline.svg"_s);
    const QString pdf = test.dir.filePath(u"timeline.pdf"_s);
    test.files.paths = {png, svg, pdf, test.dir.filePath(u"no such folder/timeline.png"_s)};
    click(kTimeline, u"cmdExportPng"_s);
    click(kTimeline, u"cmdExportSvg"_s);
    click(kTimeline, u"cmdExportPdf"_s);
    ASSERT_EQ(test.files.requests.size(), 3);
    EXPECT_EQ(test.files.requests[1].defaultSuffix, u"svg"_s);
    EXPECT_TRUE(test.messages.shown.isEmpty()) << test.messages.texts().join(u'\n').toStdString();

    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), numpro::TimelinePicture::naturalSize() * 2);

    QFile svgFile(svg);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svgFile);
    QStringList texts;
    int rects = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            if (xml.name() == u"text")
                texts << xml.readElementText();
            else if (xml.name() == u"rect")
                ++rects;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(texts.contains(u"Life timeline of MARY ANN SMITH, born August 6, 1979"_s));
    EXPECT_TRUE(texts.contains(u"Pinnacles"_s));
    EXPECT_GT(rects, 100); // every band and cell

    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(u"Life timeline of MARY ANN SMITH"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Life path periods"_s));
    EXPECT_TRUE(text.contains(u"Today: 10 December 2026, age 47"_s));

    // A place that cannot be written is reported, not passed over.
    click(kTimeline, u"cmdExportPng"_s);
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_EQ(test.messages.shown[0].icon, platform::Icon::Error);
    EXPECT_TRUE(test.messages.shown[0].text.contains(u"could not be exported"_s));
}

namespace {

// A length of the SVG root in logical pixels (96 to the inch), or -1.
double svgLength(QStringView value)
{
    if (value.endsWith(u"mm"))
        return value.chopped(2).toDouble() * 96 / 25.4;
    bool ok = false;
    const double pixels = (value.endsWith(u"px") ? value.chopped(2) : value).toDouble(&ok);
    return ok ? pixels : -1;
}

} // namespace

TEST(TimelineSvg, IsOneWellFormedPictureOfItsNaturalSizeWhateverTheName)
{
    // Names are not checked for markup characters on every way in.
    const numpro::ReadingInputs subject{u"A&B"_s, QString(), u"<SMITH>"_s, u"August"_s, u"6"_s, u"1979"_s,
                                        QDate(2024, 3, 7)};
    for (const bool subjectLine : {true, false}) {
        SCOPED_TRACE(subjectLine);
        const QByteArray svg = numpro::timelineSvg(numpro::lifeTimeline(subject), {subjectLine, {}});
        QXmlStreamReader xml(svg);
        QString title, description;
        QStringList texts, families;
        QXmlStreamAttributes root;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"svg")
                root = xml.attributes();
            else if (xml.name() == u"title")
                title = xml.readElementText();
            else if (xml.name() == u"desc")
                description = xml.readElementText();
            else if (xml.name() == u"text") {
                families << xml.attributes().value(u"font-family"_s).toString();
                texts << xml.readElementText();
            }
        }
        ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line " << xml.lineNumber();

        // The title names the person even where the picture leaves it out (under a heading that does).
        EXPECT_EQ(title, u"Life timeline of A&B <SMITH>, born August 6, 1979"_s);
        EXPECT_EQ(texts.contains(title), subjectLine);
        EXPECT_TRUE(description.contains(u"Personal years"_s) && description.contains(u"1979 to 2069"_s))
            << description.toStdString();
        EXPECT_TRUE(texts.contains(u"Life path periods"_s));
        EXPECT_TRUE(texts.contains(u"Today: 7 March 2024, age 45"_s)) << texts.join(u'|').toStdString();

        // Drawn in the units it is laid out in, at the size it is laid out for.
        const QSize size = numpro::TimelinePicture::naturalSize();
        EXPECT_EQ(root.value(u"viewBox"_s), u"0 0 %1 %2"_s.arg(size.width()).arg(size.height()));
        EXPECT_NEAR(svgLength(root.value(u"width"_s)), size.width(), 0.5);
        EXPECT_NEAR(svgLength(root.value(u"height"_s)), size.height(), 0.5);

        // A viewer without the typeface still shows every text in a sans serif.
        families.removeDuplicates();
        EXPECT_EQ(families, QStringList{u"Verdana, sans-serif"_s});
    }
}

TEST_F(SuiteTest, ForecastShowsTheYearsMonthsAndDaysOfTheReadings)
{
    openNavigator("MARY", "ANN", "SMITH");
    click(kNavigator, u"cmdForecast"_s);
    auto *window = qobject_cast<ForecastWindow *>(this->window(kForecast));
    ASSERT_NE(window, nullptr);
    const numpro::Forecaster forecaster(mary());

    // This calendar year and the next two, at first.
    QString document = control<QTextEdit>(kForecast, u"RTB"_s)->toPlainText();
    EXPECT_TRUE(document.startsWith(u"Forecast from 2026 to 2028"_s));
    for (int year : {2026, 2027, 2028})
        EXPECT_TRUE(document.contains(u"The year %1, age %2"_s.arg(year).arg(year - 1979)));
    EXPECT_FALSE(document.contains(u"The year 2029"_s));
    control<QSpinBox>(kForecast, u"spnFromYear"_s)->setValue(2030);
    control<QSpinBox>(kForecast, u"spnToYear"_s)->setValue(2031);
    click(kForecast, u"cmdShowRange"_s);
    document = control<QTextEdit>(kForecast, u"RTB"_s)->toPlainText();
    EXPECT_TRUE(document.startsWith(u"Forecast from 2030 to 2031"_s));
    EXPECT_TRUE(document.contains(numpro::readingTexts(u"personalYear").heading
                                  + QString::number(forecaster.at(QDate(2031, 1, 1)).personalYear)));

    // The calendar opens on this month with today framed and named as today.
    auto *calendar = control<QTableWidget>(kForecast, u"tblCalendar"_s);
    const QDate today = test.clock.now().date();
    QStringList todays;
    for (int row = 0; row < calendar->rowCount(); ++row) {
        for (int column = 0; column < calendar->columnCount(); ++column) {
            const QTableWidgetItem *item = calendar->item(row, column);
            if (item && item->data(Qt::AccessibleTextRole).toString().endsWith(u"(today)"_s))
                todays << item->data(Qt::UserRole).toDate().toString(Qt::ISODate);
        }
    }
    EXPECT_EQ(todays, QStringList{today.toString(Qt::ISODate)});

    // The months of a chosen year.
    control<QSpinBox>(kForecast, u"spnMonthsYear"_s)->setValue(2027);
    auto *months = control<QTableWidget>(kForecast, u"tblMonths"_s);
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(months->item(month - 1, 1)->text(),
                  QString::number(forecaster.at(QDate(2027, month, 1)).personalMonth));

    // The calendar of a month: each day where the week puts it, with its number.
    months->setCurrentCell(1, 0); // February 2027, which begins on a Monday
    EXPECT_EQ(control<QLabel>(kForecast, u"lblCalendarMonth"_s)->text(), u"Personal days of February 2027"_s);
    EXPECT_EQ(calendar->item(0, 0)->data(Qt::UserRole).toDate(), QDate(2027, 2, 1));
    EXPECT_EQ(calendar->item(3, 6)->data(Qt::UserRole).toDate(), QDate(2027, 2, 28));
    EXPECT_EQ(calendar->item(4, 0), nullptr);
    for (int cell = 0; cell < 28; ++cell) {
        const QDate date(2027, 2, cell + 1);
        EXPECT_EQ(calendar->item(cell / 7, cell % 7)->text(), QString::number(forecaster.at(date).personalDay));
    }
    const QRect day = calendar->visualItemRect(calendar->item(2, 3)); // Thursday 18 February
    QTest::mouseClick(calendar->viewport(), Qt::LeftButton, {}, day.center());
    const qint16 pd = forecaster.at(QDate(2027, 2, 18)).personalDay;
    const QString reading = control<QTextEdit>(kForecast, u"txtDayReading"_s)->toPlainText();
    EXPECT_TRUE(reading.startsWith(u"Thursday 18 February 2027: "_s)) << reading.toStdString();
    EXPECT_TRUE(reading.contains(numpro::readingTexts(u"personalDay").table.text(pd)));
}

TEST_F(SuiteTest, ForecastPrintsAndExportsWhatTheWindowShows)
{
    openNavigator("MARY", "ANN", "SMITH");
    click(kNavigator, u"cmdForecast"_s);
    // At first: this year's months and this month's calendar, today framed.
    const QString first = test.dir.filePath(u"forecast.pdf"_s);
    test.files.paths = {first};
    click(kForecast, u"cmdExportPdf"_s);
    const QString firstText = pdfText(first);
    EXPECT_TRUE(firstText.contains(u"Forecast from 2026 to 2028"_s));
    EXPECT_TRUE(firstText.contains(u"\fPersonal months of 2026"_s)) << "the months begin a page";
    EXPECT_TRUE(firstText.contains(u"Personal days of December 2026"_s));
    EXPECT_TRUE(firstText.contains(u"Framed: today, Thursday 10 December 2026."_s));

    // Another year's months, another month's calendar and a day read from it.
    control<QSpinBox>(kForecast, u"spnMonthsYear"_s)->setValue(2027);
    auto *months = control<QTableWidget>(kForecast, u"tblMonths"_s);
    months->setCurrentCell(1, 0); // February 2027, four whole weeks from a Monday
    auto *calendar = control<QTableWidget>(kForecast, u"tblCalendar"_s);
    QTest::mouseClick(calendar->viewport(), Qt::LeftButton, {},
                      calendar->visualItemRect(calendar->item(2, 3)).center()); // Thursday 18 February
    const QString exported = test.dir.filePath(u"february.pdf"_s);
    test.files.paths = {exported};
    click(kForecast, u"cmdExportPdf"_s);
    click(kForecast, u"cmdPrint"_s);
    const QString printed = test.dir.filePath(u"printed.pdf"_s);
    QTRY_VERIFY(QFile::exists(printed));
    EXPECT_TRUE(test.messages.shown.isEmpty());

    for (const QString &path : {exported, printed}) {
        SCOPED_TRACE(path.toStdString());
        const QString text = pdfText(path);
        EXPECT_TRUE(text.contains(u"The year 2027, age 48"_s));
        EXPECT_TRUE(text.contains(u"\fPersonal months of 2027"_s));
        EXPECT_TRUE(text.contains(u"Personal days of February 2027"_s));
        EXPECT_FALSE(text.contains(u"Framed: today"_s)); // today is not in February 2027
        EXPECT_TRUE(text.contains(control<QTextEdit>(kForecast, u"txtDayReading"_s)->toPlainText().section(u'\n', 0, 0)))
            << "the reading beside the calendar";
        // Each row of the months table as the window has it, and each week
        // of the calendar with its personal days in order.
        const QString layout = pdfText(path, true);
        for (int row = 0; row < 12; ++row) {
            const QString line = u"(^|\\n)\\s*%1\\s+%2(\\s|$)"_s.arg(months->item(row, 0)->text(),
                                                                     months->item(row, 1)->text());
            EXPECT_TRUE(QRegularExpression(line).match(layout).hasMatch()) << line.toStdString();
        }
        for (int week = 0; week < 4; ++week) {
            QStringList days;
            for (int day = 0; day < 7; ++day)
                days << calendar->item(week, day)->text();
            // The first rows of the months table may share the line.
            const QString line = u"\\s"_s + days.join(u"\\s+"_s) + u"\\s*\\n"_s;
            EXPECT_TRUE(QRegularExpression(line).match(layout).hasMatch()) << line.toStdString();
        }
    }
}
