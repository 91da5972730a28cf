#include "common/subjectcheck.h"

#include "common/datelists.h"
#include "common/regularfile.h"

#include <QObject>

namespace kestrava {

std::optional<SubjectProblem> checkSubject(const QString &first, const QString &last, const QString &day,
                                           const QString &month, const QString &year)
{
    const struct
    {
        const QString &text;
        SubjectField field;
        const char *message;
    } checks[] = {
        {first, SubjectField::FirstName, "Please Enter Your First Name"},
        {last, SubjectField::LastName, "Please Enter Your Last Name"},
        {day, SubjectField::Day, "Please Specify Your Birth Date"},
        {month, SubjectField::Month, "Please Specify Your Birth Month"},
        {year, SubjectField::Year, "Please Specify Your Birth Year"},
    };
    for (const auto &check : checks) {
        if (check.text.isEmpty())
            return SubjectProblem{check.field, QObject::tr(check.message)};
    }
    return std::nullopt;
}

namespace {

// Whether text is a number from..to written as the lists write it: decimal
// digits without sign, blank or leading zero (from is at least 1).
bool isListNumber(const QString &text, int from, int to)
{
    if (text.isEmpty() || text.size() > 9 || text.front() == u'0')
        return false;
    int n = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n >= from && n <= to;
}

} // namespace

std::optional<SubjectProblem> checkDateEntries(const QString &day, const QString &month, const QString &year,
                                               int firstYear)
{
    if (!isListNumber(day, 1, 31))
        return SubjectProblem{SubjectField::Day,
                              QObject::tr("The day must be 1 to 31, not \"%1\".").arg(shownExcerpt(day))};
    if (!monthNames().contains(month)) {
        return SubjectProblem{SubjectField::Month,
                              QObject::tr("The month must be January to December, not \"%1\".")
                                  .arg(shownExcerpt(month))};
    }
    if (!isListNumber(year, firstYear, kLastBirthYear)) {
        return SubjectProblem{SubjectField::Year, QObject::tr("The year must be %1 to %2, not \"%3\".")
                                                      .arg(firstYear)
                                                      .arg(kLastBirthYear)
                                                      .arg(shownExcerpt(year))};
    }
    return std::nullopt;
}

bool hasFileEnding(const QString &path, QStringView ending)
{
    return path.endsWith(ending, Qt::CaseSensitive);
}

} // namespace kestrava
