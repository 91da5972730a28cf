#pragma once

#include "richtext/composition.h"

#include <QList>
#include <QString>
#include <QStringView>

// The forecast and the timeline quote the readings as the readings compose
// them: these pick a heading and its paragraph out of a composed reading, so
// that no heading, paragraph or choice between paragraphs is made twice.
namespace numpro {

struct ReadingSection
{
    QString heading;
    QString paragraph;

    friend bool operator==(const ReadingSection &, const ReadingSection &) = default;
};

// The sections of a reading that sets its headings bold in dark red
// (pinnacles, challenges, life path periods): each heading with the paragraph
// that follows it, without the line breaks around them.
QList<ReadingSection> redHeadingSections(const richtext::Composition &reading);

// The heading and the interpretation paragraph of a one-number reading
// composed for the display window (its pieces are heading, introduction,
// paragraph, credit line, each ending with an empty line); `id` names the
// reading whose introduction stands before the paragraph.
ReadingSection numberReadingSection(const richtext::Composition &reading, QStringView id);

} // namespace numpro
