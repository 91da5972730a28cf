#include "numpro/calc/numerology.h"

#include <gtest/gtest.h>

using namespace numpro;

TEST(Numerology, WorkedNameSums)
{
    EXPECT_EQ(nameLetterSum(u"MARY"), 21);
    EXPECT_EQ(nameLetterSum(fullName("MARY", "ANN", "SMITH")), 56);
}
