#pragma once

#include "richtext/composition.h"

namespace numpro {

// Where a reading goes: the display window (which takes the reading's title as
// its caption and is shown) or the end of the comprehensive document.
enum class OutputMode { Display, Document };

struct ReadingResult
{
    // The composed text; its title is the display window's caption.  Empty
    // when the reading ran quietly.
    richtext::Composition text;
    // Leave the display window's caption as it is.
    bool keepCaption = false;
    // Goes to the display window even while the document is being written.
    bool alwaysToDisplay = false;
};

} // namespace numpro
