#include "common/subjectcheck.h"

#include <gtest/gtest.h>

using namespace kestrava;

TEST(SubjectCheck, ReportsTheFirstEmptyFieldInTheFixedOrder)
{
    const struct
    {
        const char *first, *last, *day, *month, *year;
        std::optional<SubjectField> field;
        const char *message;
    } rows[] = {
        {"", "", "", "", "", SubjectField::FirstName, "Please Enter Your First Name"},
        {"MARY", "", "", "", "", SubjectField::LastName, "Please Enter Your Last Name"},
        {"MARY", " ", "", "", "", SubjectField::Day, "Please Specify Your Birth Date"},
        {"MARY", "SMITH", "6", "", "", SubjectField::Month, "Please Specify Your Birth Month"},
        {"MARY", "SMITH", "6", "August", "", SubjectField::Year, "Please Specify Your Birth Year"},
        {" ", " ", "6", "August", "1979", std::nullopt, ""}, // blanks pass
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        const auto problem = checkSubject(row.first, row.last, row.day, row.month, row.year);
        ASSERT_EQ(problem.has_value(), row.field.has_value());
        if (problem) {
            EXPECT_EQ(problem->field, *row.field);
            EXPECT_EQ(problem->message, QString::fromLatin1(row.message));
        }
    }
}
