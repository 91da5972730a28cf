#pragma once

#include <QString>

namespace clients {

// Where the book is, for the suite's windows and kestrava-cli alike, so that
// both always open the same file: the file given (kestrava-cli's --clients)
// when it is not empty, otherwise clientBookPath() of this process's
// KESTRAVA_CLIENTS variable and the user's data folder.
QString clientBookLocation(const QString &given = QString());

} // namespace clients
