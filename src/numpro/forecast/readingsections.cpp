#include "numpro/forecast/readingsections.h"

#include "numpro/readings/readingcompose.h"
#include "numpro/readings/texttable.h"

using richtext::crlf;

namespace numpro {

namespace {

QString withoutBreaks(QString text)
{
    while (text.endsWith(u'\r') || text.endsWith(u'\n'))
        text.chop(1);
    while (text.startsWith(u'\r') || text.startsWith(u'\n'))
        text.remove(0, 1);
    return text;
}

} // namespace

QList<ReadingSection> redHeadingSections(const richtext::Composition &reading)
{
    QList<ReadingSection> sections;
    // The credit line runs on in the last paragraph's format: without this,
    // the last section would carry it as part of its paragraph.
    const richtext::Composition withoutCredit = withoutCreditAndFooter(reading);
    const QList<richtext::Run> &runs = withoutCredit.runs();
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const richtext::Format &format = runs[i].format;
        if (!format.bold || format.colour != richtext::kDarkRed)
            continue;
        ReadingSection section{withoutBreaks(runs[i].text), {}};
        if (i + 1 < runs.size() && !runs[i + 1].format.bold)
            section.paragraph = withoutBreaks(runs[i + 1].text);
        sections.append(section);
    }
    return sections;
}

ReadingSection numberReadingSection(const richtext::Composition &reading, QStringView id)
{
    const QString text = reading.plainText();
    const QString pieceEnd = crlf(2);
    ReadingSection section;
    section.heading = withoutBreaks(text.left(text.indexOf(crlf())));
    const QString introduction = readingTexts(id).introduction + pieceEnd;
    const qsizetype at = text.indexOf(introduction);
    if (at < 0)
        return section;
    const qsizetype start = at + introduction.size();
    const qsizetype end = text.indexOf(pieceEnd, start);
    section.paragraph = withoutBreaks(text.mid(start, end < 0 ? -1 : end - start));
    return section;
}

} // namespace numpro
