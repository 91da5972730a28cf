// The practitioner's report read page by page, as a client reads it: for
// many people, every section, on both papers.  No page holds only its header
// and footer, every paragraph is in the PDF's text once, and no heading is
// left at the foot of a page without the lines it introduces.

#include "common/randomsource.h"
#include "report/reportlayout.h"
#include "tarot/spread.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace report;

namespace {

constexpr int kPeople = 50;

// People whose names and dates give the sections every length: short and
// long names, middle names or none, accented letters, birth days all over the
// years the programs read.
kestrava::Person person(int i)
{
    static const QStringList firsts{u"MARY"_s,     u"JOHN"_s,   u"ÉLODIE"_s, u"BO"_s,        u"ALEXANDRINA"_s,
                                    u"KWAME"_s,    u"SIÂN"_s,   u"LI"_s,     u"MAXIMILIAN"_s, u"ZOË"_s,
                                    u"GUADALUPE"_s, u"OTTO"_s,  u"FRANÇOIS"_s};
    static const QStringList middles{QString(), u"ANN"_s, QString(), u"JOSÉ"_s, u"VICTORIA ROSE"_s, QString(),
                                     u"K"_s};
    static const QStringList lasts{u"SMITH"_s,      u"DUPRÉ"_s, u"O'NEILL"_s, u"WU"_s,       u"MONTGOMERY-WATSON"_s,
                                   u"ADEYEMI"_s,    u"NUÑEZ"_s, u"LEE"_s,     u"HARGREAVES"_s, u"VAN DER BERG"_s,
                                   u"ØDEGÅRD"_s};
    const QDate born = QDate(1901, 1, 1).addDays((i * 2719L) % (QDate(1901, 1, 1).daysTo(QDate(2049, 12, 31))));
    return {firsts[i % firsts.size()], middles[(i * 3) % middles.size()], lasts[(i * 7) % lasts.size()], born, {}};
}

ReportRequest request(int i)
{
    ReportRequest r;
    r.person = person(i);
    r.today = QDate(2026, 12, 11).addDays(i * 17);
    r.locale = QLocale(QLocale::English, QLocale::UnitedKingdom);
    r.sections = QList<SectionKind>(std::begin(kSectionKinds), std::end(kSectionKinds));
    r.forecastFrom = r.today.year() - i % 2;
    r.forecastTo = r.forecastFrom + 1 + i % 3;
    kestrava::SeededRandom random(quint64(i) + 1);
    r.spread = tarot::dealNumerologySpread(random);
    r.partner = person(i + 5);
    // Some married, some marrying, some not known.
    if (i % 3 == 0)
        r.marriageDate = QDate(1990, 6, 20).addDays(i * 311);
    else if (i % 3 == 1)
        r.marriageDate = r.today.addDays(40 + i);
    return r;
}

// Letters and digits only, small, ligatures undone: a paragraph's words
// whatever the lines they were broken into and the hyphens that broke them.
QString letters(const QString &text)
{
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_KC)) {
        if (c.isLetterOrNumber())
            out += c.toLower();
    }
    return out;
}

class ReportPages : public ::testing::TestWithParam<kestrava::Paper>
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            GTEST_FAIL() << "pdftotext (installed by scripts/setup) is missing";
        ASSERT_TRUE(m_dir.isValid());
    }

    // The PDF's text, page by page.
    QStringList pdfPages(const QString &path) const
    {
        QProcess tool;
        tool.start(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, path, u"-"_s});
        tool.waitForFinished(60000);
        QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split(u'\f');
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    QTemporaryDir m_dir;
};

TEST_P(ReportPages, NoEmptyPageEveryParagraphOnceAndNoHeadingAloneAtAPageFoot)
{
    Practitioner practitioner;
    practitioner.name = u"Aurelia Venn"_s;
    practitioner.reportTitle = u"Numbers of a Life"_s;
    practitioner.paper = GetParam();

    for (int i = 0; i < kPeople; ++i) {
        const ReportRequest asked = request(i);
        SCOPED_TRACE(asked.person.joinedName().toStdString() + " born "
                     + asked.person.birthDate.toString(Qt::ISODate).toStdString());
        const auto composed = composeReport(asked, practitioner);
        ASSERT_TRUE(std::holds_alternative<Report>(composed)) << std::get<kestrava::Failure>(composed).reason.toStdString();
        const Report &made = std::get<Report>(composed);
        const ReportLayout layout(made);
        const QString path = m_dir.filePath(u"report-%1.pdf"_s.arg(i));
        {
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(reportPdf(layout));
        }
        const QStringList pages = pdfPages(path);
        ASSERT_EQ(pages.size(), layout.pageCount());

        // Each page's text but its running header and footer.
        const QStringList running{made.clientName, made.title, practitioner.name};
        QString body;
        for (int page = 1; page < pages.size(); ++page) {
            SCOPED_TRACE(page + 1);
            QStringList lines;
            for (const QString &line : pages[page].split(u'\n')) {
                const QString text = line.trimmed();
                if (!text.isEmpty() && !running.contains(text) && text != pageFooter(page + 1, pages.size()))
                    lines.append(text);
            }
            EXPECT_FALSE(lines.isEmpty()) << "a page with nothing but its header and footer";
            EXPECT_FALSE(layout.pageLines(page).isEmpty());
            body += lines.join(u' ') + u' ';
        }

        // Each paragraph of a reading is in the text once: no invisible copy
        // of a page's last lines on the next, and no paragraph said twice.
        const QString text = letters(body);
        for (const ReportSection &section : made.sections) {
            for (const TextBlock &block : section.text) {
                if (block.role != BlockRole::Paragraph || block.sayingText().size() < 120)
                    continue;
                const QString words = letters(block.sayingText());
                EXPECT_EQ(text.count(words), 1) << section.heading.toStdString() << ": "
                                                 << block.plainText().left(60).toStdString();
            }
        }

        // A heading stays with the first two lines of what it introduces.
        for (int page = 1; page < layout.pageCount(); ++page) {
            const QList<ReportLayout::Line> lines = layout.pageLines(page);
            for (qsizetype k = 0; k < lines.size(); ++k) {
                if (!lines[k].heading || lines[k].index != lines[k].lineCount - 1)
                    continue;
                // After the heading's last line: any further headings, then
                // the text they introduce.
                qsizetype next = k + 1;
                while (next < lines.size() && lines[next].heading)
                    ++next;
                const bool lastOfSection = next == lines.size() && page + 1 < layout.pageCount()
                                           && layout.pageLines(page + 1).value(0).block == 0;
                if (lastOfSection)
                    continue;
                int following = 0;
                while (next + following < lines.size() && lines[next + following].block == lines[next].block)
                    ++following;
                const int needed = next < lines.size() ? std::min(2, lines[next].lineCount) : 1;
                EXPECT_GE(following, needed) << "page " << page + 1 << ": \"" << lines[k].text.toStdString()
                                             << "\" at the foot of the page";
            }
        }
        QFile::remove(path);
    }
}

INSTANTIATE_TEST_SUITE_P(OnBothPapers, ReportPages, ::testing::Values(kestrava::Paper::A4, kestrava::Paper::Letter),
                         [](const ::testing::TestParamInfo<kestrava::Paper> &paper) {
                             return paper.param == kestrava::Paper::A4 ? std::string("A4") : std::string("Letter");
                         });

} // namespace
