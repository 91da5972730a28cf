#pragma once

#include <QProcessEnvironment>

// The paper a document is laid out on when nothing else says which.
namespace kestrava {

enum class Paper { A4, Letter };

// The paper of the user's locale: LC_ALL, then LC_PAPER, then LANG (an empty
// one counts as unset); Letter in the countries that use it, A4 elsewhere.
Paper localePaper(const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

} // namespace kestrava
