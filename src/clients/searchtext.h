#pragma once

#include "common/person.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// How names are compared when someone looks for a client: without case and
// accents, word by word.  The book stores each client's words in this form,
// and a search folds what was typed the same way.
namespace clients {

// Lower case without accents or apostrophes: "José" and "JOSE" give "jose",
// "O'Neill" gives "oneill".
QString foldForSearch(QStringView text);

// The folded words of a text, split wherever a character is not a letter or
// digit ("Mary-Ann" gives "mary", "ann").
QStringList searchWords(QStringView text);

// The words a search matches for this person: every word of the birth names
// and of the name now used, and the birth date as YYYY-MM-DD, each with a
// blank before and after it so that a word's start and end can be found.
QString personSearchWords(const kestrava::Person &person);

// The order of the list: last, first and middle name, folded.
QString personSortKey(const kestrava::Person &person);

// What two clients who are one person share beside their birth date: the
// three birth names without outer blanks and case (accents count).  The
// book keeps it with each client, so that finding a person is one look-up
// however many clients share the birth date.
QString personKey(const kestrava::Person &person);

// What was typed, as the words to look for: name words folded and split, a
// date written D.M.YYYY turned into YYYY-MM-DD, a run of digits and hyphens
// starting with a digit (a date as the book writes it, or part of one) kept
// whole.
QStringList searchTerms(QStringView typed);

} // namespace clients
