#pragma once

#include "common/datelists.h"

#include <QDate>
#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QWidget;

// The name fields and date lists of the input windows.
namespace inputfields {

// A name field without a length limit.  Typed letters a..z become A..Z;
// everything else, and text that arrives without typing (pasting, an opened
// reading), is taken as it is.
QLineEdit *makeNameField(const QString &name, QWidget *parent);

// A drop-down list the user can only pick from.
QComboBox *makePickList(const QString &name, const QStringList &entries, QWidget *parent);

// The three birth-date lists (cboMonth, cboDate, cboYear) showing the default date.
struct DateLists
{
    QComboBox *month = nullptr;
    QComboBox *day = nullptr;
    QComboBox *year = nullptr;
};
DateLists makeDateLists(QWidget *parent, int firstYear = kestrava::kFirstBirthYear);

// Selects the entry that is exactly value (case counts); a value that is no
// entry leaves the list as it is.
void selectIfPresent(QComboBox *list, const QString &value);

// Selects a date in the three lists.  False, leaving the lists as they
// were, when the lists cannot show it (a year outside the year list, or no
// valid date); a null list is passed over.
bool selectDate(const DateLists &lists, const QDate &date);

} // namespace inputfields
