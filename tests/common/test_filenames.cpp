#include "common/filenames.h"

#include <gtest/gtest.h>

using namespace kestrava;

TEST(SuggestedFileName, WritesNamesAsAPersonWouldAndLeavesOutWhatAFileCannotHold)
{
    const QDate day(2026, 12, 11);
    const struct
    {
        const char *what;
        QStringList people;
        QDate date;
        const char *suffix;
        const char *expected;
    } rows[] = {
        {"capitals", {"MARY ANN SMITH"}, day, "pdf", "Mary Ann Smith – 2026-12-11.pdf"},
        {"no date for a saved reading", {"MARY ANN SMITH"}, {}, "num", "Mary Ann Smith.num"},
        {"accents kept", {"ÉLODIE DUPRÉ"}, day, "html", "Élodie Dupré – 2026-12-11.html"},
        {"small letters", {"mary ann smith"}, day, "pdf", "Mary Ann Smith – 2026-12-11.pdf"},
        {"one character for one", {"STRAUß"}, {}, "tnm", "Strauß.tnm"},
        {"combining accent within the word", {"E\u0301LODIE"}, {}, "num", "E\u0301lodie.num"},
        {"hyphen, apostrophe and dot start a part", {"JEAN-PAUL O'NEIL ST.JOHN"}, {}, "num",
         "Jean-Paul O'Neil St.John.num"},
        {"a deliberate spelling stays", {"Mary McDonald"}, {}, "num", "Mary McDonald.num"},
        {"blanks around and between", {"  MARY   SMITH  "}, day, "pdf", "Mary Smith – 2026-12-11.pdf"},
        {"two people", {"MARY SMITH", "JOHN DOE"}, day, "pdf", "Mary Smith and John Doe – 2026-12-11.pdf"},
        {"an empty second person", {"MARY SMITH", "  "}, {}, "knc", "Mary Smith.knc"},
        {"reserved characters", {"MARY/ANN\\SMITH: *?\"<>|"}, {}, "num", "MaryAnnSmith.num"},
        {"a reserved character between blanks", {"MARY / SMITH"}, {}, "num", "Mary Smith.num"},
        {"control characters", {QString::fromUtf8("MARY\x01\x1f SMITH\x7f")}, {}, "num", "Mary Smith.num"},
        {"a direction override", {"MARY \u202eFDP.EXE"}, {}, "num", "Mary Fdp.Exe.num"},
        {"leading dots", {"..MARY"}, {}, "num", "Mary.num"},
        {"nothing left", {"../"}, day, "pdf", "Report – 2026-12-11.pdf"},
        {"no name", {""}, {}, "csv", "Report.csv"},
        {"no suffix", {"MARY"}, {}, "", "Mary"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(suggestedFileName(row.people, row.date, QString::fromLatin1(row.suffix), QStringLiteral("Report")),
                  QString::fromUtf8(row.expected));
    }
}

TEST(SuggestedFileName, AVeryLongNameStaysWithinWhatAFileSystemTakes)
{
    // Letters outside the Basic Multilingual Plane, four bytes each in UTF-8
    // and two UTF-16 units: the cut takes whole characters.
    QString longName;
    for (int i = 0; i < 100; ++i)
        longName += QString::fromUcs4(U"\U00010400", 1);
    const QString name =
        suggestedFileName(longName, QDate(2026, 12, 11), QStringLiteral("html"), QStringLiteral("Report"));
    EXPECT_LE(name.toUtf8().size(), 255);
    EXPECT_TRUE(name.isValidUtf16());
    EXPECT_TRUE(name.startsWith(QString::fromUcs4(U"\U00010400", 1)));
    EXPECT_TRUE(name.endsWith(QStringLiteral(" – 2026-12-11.html"))) << name.toStdString();
}
