#pragma once

#include <QString>

// The reading page's words, shared by the window and the printable reading.
namespace daily {

// "Vavov Uvarevuvir Reading": the reading page's caption.
QString readingCaption();
// "You Lucky Number": under the big number, over its word.
QString luckyNumberCaption();
// "How will your Day Be": over the paragraph.
QString dayCaption();
// "Your Date Of Birth": over the three birth lists.
QString birthDateCaption();

} // namespace daily
