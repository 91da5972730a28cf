#pragma once

#include "richtext/composition.h"

class QTextEdit;

namespace richtext {

// Appends the runs at the end of the view's text, each in its own format.
// CR LF (or a lone CR or LF) starts a new paragraph.
void appendToTextEdit(QTextEdit *view, const Composition &composition);

} // namespace richtext
