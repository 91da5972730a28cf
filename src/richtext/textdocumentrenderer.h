#pragma once

#include "richtext/composition.h"

#include <QColor>

class QTextCursor;

namespace richtext {

// Inserts the runs at the cursor, each in its own format; a run without a
// colour or size of its own takes the default text colour and point size.
// CR LF (or a lone CR or LF) starts a new paragraph, and a line of
// underlined blanks (the readings' horizontal rule) becomes a real rule.
void insertComposition(QTextCursor &cursor, const Composition &composition, const QColor &defaultColour,
                       qreal defaultPointSize);

} // namespace richtext
