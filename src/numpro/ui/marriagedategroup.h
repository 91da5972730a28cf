#pragma once

#include <QDate>
#include <QGroupBox>

class QComboBox;
class QGridLayout;

// The marriage date: a group that is ticked to choose a date, and three lists
// like the birth date's (month, day, year 1900..2100).  The day list offers
// only the days the chosen month has, so no impossible date can be picked.
class MarriageDateGroup : public QGroupBox
{
    Q_OBJECT
public:
    // Unticked, showing today.
    MarriageDateGroup(QDate today, QWidget *parent);

    // The date the lists show while the group is ticked; null otherwise.
    QDate date() const;
    // Ticks the group and shows the date; a null date unticks it.
    void setDate(QDate date);

    // Where the owner adds its own controls, below the lists.
    QGridLayout *grid() const { return m_grid; }

private:
    void fillDays();
    QDate shownDate() const;

    QComboBox *m_month;
    QComboBox *m_day;
    QComboBox *m_year;
    QGridLayout *m_grid;
};
