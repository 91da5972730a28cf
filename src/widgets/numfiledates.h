#pragma once

#include "platform/services.h"
#include "widgets/inputfields.h"

class QWidget;

// Programs that read a birth date can take it from a saved Variduzeda Vad
// reading (a .num file): its fourth to sixth lines hold month, day and year.
namespace inputfields {

// Asks for the file and selects its month, day and year in the lists.  True
// when the date was taken and the reading may go on; false when the user
// cancelled or was told why not: a name not ending in "num", or a file whose
// month, day or year is no entry of the lists and so is no saved reading.
// Reads a bounded amount whatever the file is.
bool takeDateFromNumFile(QWidget *window, const platform::Services &services, const DateLists &lists);

} // namespace inputfields
