#pragma once

#include "common/titleblock.h"
#include "richtext/composition.h"

#include <QDate>
#include <QString>
#include <QStringView>

// The reading page's words, and the page as a reading to keep.
namespace daily {

// "Vavov Uvarevuvir Reading": the reading page's caption.
QString readingCaption();
// "You Lucky Number": under the big number, over its word.
QString luckyNumberCaption();
// "How will your Day Be": over the paragraph.
QString dayCaption();
// "Your Date Of Birth": over the three birth lists.
QString birthDateCaption();

// The reading page for a birth day and month (as dailyNumber() takes them)
// on the given date: a heading naming the date, the birth day and month,
// then the number large in dark red over "You Lucky Number" and its word,
// all centred, and the paragraph under "How will your Day Be".  The title
// is the heading's text.
richtext::Composition readingDocument(QStringView birthDay, QStringView birthMonth, const QDate &today,
                                      kestrava::TitleBlock titleBlock = kestrava::TitleBlock::Shown);

} // namespace daily
