#include "widgets/texteditrenderer.h"

#include "richtext/textdocumentrenderer.h"

#include <QTextCursor>
#include <QTextEdit>

namespace richtext {

void appendToTextEdit(QTextEdit *view, const Composition &composition)
{
    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    insertComposition(cursor, composition, view->palette().color(QPalette::Text), view->font().pointSizeF());
    cursor.endEditBlock();
    view->setTextCursor(cursor);
}

} // namespace richtext
