#pragma once

#include <functional>

class QDialog;
class QWidget;

// Modal boxes and dialogs shown on behalf of a window.  A window may be
// closed while one of its boxes is open (the launcher closes every program
// window, and it can be reached while a box is up); the window then closes
// the box first and is destroyed only once the box's call has returned
// through the window's code.
namespace platform {

// Runs the dialog modally on behalf of owner and returns its result.  The
// dialog must be on the heap; it is not deleted here.
int runModal(QWidget *owner, QDialog *dialog);

// Rejects every box run on behalf of window or a widget inside it.  Returns
// whether there was any.
bool rejectBoxesOf(QWidget *window);

// Runs then once no box of window (or of a widget inside it) is running any
// more: at once when none is.
void whenBoxesOfReturned(QWidget *window, std::function<void()> then);

} // namespace platform
