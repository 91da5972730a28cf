#pragma once

#include "numpro/forecast/forecast.h"
#include "widgets/readingwindow.h"

class NumProProgram;
class QLabel;
class QSpinBox;
class QTableWidget;
class QTextCursor;
class QTextDocument;
class QTextEdit;

// The Forecast window: the forecast document for a range of years, the
// personal months of a chosen year, and a month calendar of personal days
// coloured by number whose days show their reading when clicked.  Print and
// Export as PDF carry all of it.
class ForecastWindow : public ReadingWindow
{
    Q_OBJECT
public:
    ForecastWindow(NumProProgram &program, const numpro::ReadingInputs &subject);

    // The document for the years of the range fields.
    void showRange(int firstYear, int lastYear);
    // The personal months of a year, and the calendar of one of its months.
    void showMonths(int year);
    void showCalendar(int year, int month);
    // The personal day reading of the date beside the calendar.
    void showDay(QDate date);

    const numpro::Forecaster &forecaster() const { return m_forecaster; }

protected:
    QStringList documentPeople() const override;
    // The document, then a page with the months table and the month
    // calendar side by side and the reading under them, as the window shows
    // them.
    const QTextDocument &paperDocument() override;

private:
    void showMonthReading(int year, int month);
    void appendMonthPage(QTextCursor &cursor) const;

    numpro::Forecaster m_forecaster;
    QSpinBox *m_fromYear;
    QSpinBox *m_toYear;
    QSpinBox *m_monthsYear;
    QTableWidget *m_months;
    QLabel *m_calendarTitle;
    QTableWidget *m_calendar;
    QTextEdit *m_dayReading;
    QDate m_today; // framed in the calendar
    int m_calendarYear = 0;
    int m_calendarMonth = 0;
    QTextDocument *m_paper = nullptr;
};
