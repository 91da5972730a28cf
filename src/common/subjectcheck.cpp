#include "common/subjectcheck.h"

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

bool hasFileEnding(const QString &path, QStringView ending)
{
    return path.endsWith(ending, Qt::CaseSensitive);
}

} // namespace kestrava
