#pragma once

#include "clients/clientbook.h"

#include <QRandomGenerator>
#include <QStringList>

// Clients for the benchmarks: names from many languages, with and without
// a middle name, and birth dates over 150 years.
namespace generated {

using namespace Qt::StringLiterals;

inline const QStringList kFirst{u"MARY"_s, u"JOHN"_s, u"LYNN"_s, u"ROBERT"_s, u"ANNA"_s, u"PETER"_s, u"SUSAN"_s,
                                u"JAMES"_s, u"José"_s, u"Zoë"_s, u"Maria"_s, u"Ahmed"_s, u"Chen"_s, u"Olga"_s,
                                u"Fatima"_s, u"Liam"_s, u"Noah"_s, u"Emma"_s, u"Ingrid"_s, u"Søren"_s};
inline const QStringList kMiddle{u""_s, u""_s, u"ANN"_s, u"LEE"_s, u"MARIE"_s, u"JAMES"_s, u"Luisa"_s};
inline const QStringList kLast{u"SMITH"_s,   u"DOE"_s,      u"WYNN"_s,    u"BROWN"_s,  u"JOHNSON"_s, u"GARCIA"_s,
                               u"Álvarez"_s, u"O'Neill"_s,  u"Müller"_s,  u"Nguyen"_s, u"Kowalski"_s, u"Rossi"_s,
                               u"Dubois"_s,  u"Andersen"_s, u"Yamamoto"_s, u"Okafor"_s, u"Schmidt"_s,  u"Novak"_s,
                               u"Silva"_s,   u"Kaur"_s};

inline QList<clients::ImportCandidate> people(int count, QRandomGenerator &random)
{
    QList<clients::ImportCandidate> people;
    for (int i = 0; i < count; ++i) {
        clients::Client c;
        // A number in the last name keeps everyone distinct.
        c.person = {kFirst[random.bounded(kFirst.size())], kMiddle[random.bounded(kMiddle.size())],
                    kLast[random.bounded(kLast.size())] + (i % 3 ? QString() : u"-%1"_s.arg(i)),
                    QDate(1900, 1, 1).addDays(random.bounded(55000)), QString()};
        c.email = u"client%1@example.org"_s.arg(i);
        people.append({c, QString()});
    }
    return people;
}

} // namespace generated
