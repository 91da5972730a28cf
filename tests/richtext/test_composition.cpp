#include "richtext/composition.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace richtext;

namespace {

Format boldCyan()
{
    Format f;
    f.bold = true;
    f.colour = kDarkCyan;
    return f;
}

} // namespace

TEST(Composition, BuilderMergesEqualFormatsAndSplitsOnEveryChange)
{
    Composition c;
    c.bold(true).colour(kDarkCyan).append(u"Your number: "_s).append(u"22"_s + crlf(2));
    c.bold(false).append(u"plain cyan"_s);
    c.size(14.25).underline(true).align(Align::Centre).append(u"title"_s);
    c.append(QString()); // nothing to add, no empty run
    c.defaultColour().size(0).underline(false).align(Align::Left).append(u"default"_s);

    Format cyan;
    cyan.colour = kDarkCyan;
    Format title = cyan;
    title.pointSize = 14.25;
    title.underline = true;
    title.align = Align::Centre;
    const QList<richtext::Run> expected = {
        {u"Your number: 22\r\n\r\n"_s, boldCyan()},
        {u"plain cyan"_s, cyan},
        {u"title"_s, title},
        {u"default"_s, Format{}},
    };
    EXPECT_EQ(c.runs(), expected);
    EXPECT_EQ(c.plainText(), u"Your number: 22\r\n\r\nplain cyantitledefault"_s);
    EXPECT_EQ(crlf(3), u"\r\n\r\n\r\n"_s);
    EXPECT_EQ(crlf(0), QString());
}

TEST(Composition, AppendingACompositionKeepsItsFormatsTitleAndOurFormat)
{
    Composition reading;
    reading.setTitle(u"LifePath Number"_s);
    reading.bold(true).colour(kDarkCyan).append(u"heading\r\n"_s).bold(false).append(u"tail"_s);

    Composition document;
    document.setTitle(u"Document"_s);
    document.bold(true).colour(kDarkCyan).append(u"before "_s);
    document.append(reading);
    document.append(u"after"_s); // still in the document's own bold dark cyan

    Format cyan;
    cyan.colour = kDarkCyan;
    const QList<richtext::Run> expected = {
        {u"before heading\r\n"_s, boldCyan()}, // merged across the boundary
        {u"tail"_s, cyan},
        {u"after"_s, boldCyan()},
    };
    EXPECT_EQ(document.runs(), expected);
    EXPECT_EQ(document.title(), u"Document"_s);
}

TEST(Composition, PlainTextTurnsEveryLineBreakIntoNewline)
{
    Composition c;
    c.append(u"Name: MARY  SMITH\r\n"_s).bold(true).append(u"a\rb\nc\r\n\r\n"_s);
    EXPECT_EQ(toPlainText(c), u"Name: MARY  SMITH\na\nb\nc\n\n"_s);
    EXPECT_EQ(toPlainText(Composition{}), QString());
}

TEST(Composition, HtmlEscapesAndMakesOneParagraphPerLine)
{
    Composition c;
    c.setTitle(u"not in the fragment"_s);
    c.align(Align::Centre).bold(true).size(14.25).append(u"<Title> & \"more\"\r\n"_s);
    c.align(Align::Left).bold(false).size(0).colour(kDarkRed).underline(true).append(u"MARY  SMITH"_s);
    c.defaultColour().underline(false).append(u"\r\n\r\n"_s);
    c.append(u"left "_s).align(Align::Right).append(u"then right\r\n"_s);

    const QString p = u"<p style=\"margin:0;white-space:pre-wrap"_s;
    const QString expected =
        p + u";text-align:center\"><span style=\"font-size:14.25pt\"><b>&lt;Title&gt; &amp; "
            "&quot;more&quot;</b></span></p>\n"_s
        + p + u"\"><span style=\"color:#800000\"><u>MARY  SMITH</u></span></p>\n"_s
        + p + u"\"><br/></p>\n"_s
        // The run that breaks a line decides its alignment, as at a view's caret.
        + p + u";text-align:right\">left then right</p>\n"_s;
    EXPECT_EQ(toHtml(c), expected);
}

TEST(Composition, HtmlOfTextWithoutClosingBreakKeepsTheLastLine)
{
    Composition c;
    c.append(u"one\r\ntwo"_s);
    const QString p = u"<p style=\"margin:0;white-space:pre-wrap\">"_s;
    EXPECT_EQ(toHtml(c), p + u"one</p>\n"_s + p + u"two</p>\n"_s);
    EXPECT_EQ(toHtml(Composition{}), QString());
}
