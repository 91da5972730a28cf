#include "numpro/ui/marriagedategroup.h"

#include "common/datelists.h"
#include "numpro/relationships/marriagevibration.h"
#include "widgets/inputfields.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;

MarriageDateGroup::MarriageDateGroup(QDate today, QWidget *parent)
    : QGroupBox(tr("&Marriage Date"), parent)
{
    setObjectName(u"fraMarriageDate"_s);
    setCheckable(true);
    setChecked(false);
    setToolTip(tr("Tick to read the marriage by its date"));

    QStringList years;
    for (int year = numpro::kFirstMarriageYear; year <= numpro::kLastMarriageYear; ++year)
        years << QString::number(year);
    m_month = inputfields::makePickList(u"cboMarriageMonth"_s, kestrava::monthNames(), this);
    m_day = inputfields::makePickList(u"cboMarriageDate"_s, kestrava::dayTexts(), this);
    m_year = inputfields::makePickList(u"cboMarriageYear"_s, years, this);
    m_month->setAccessibleName(tr("Marriage month"));
    m_day->setAccessibleName(tr("Marriage day"));
    m_year->setAccessibleName(tr("Marriage year"));
    const QDate shown = (today.isValid() && today.year() >= numpro::kFirstMarriageYear
                         && today.year() <= numpro::kLastMarriageYear)
                            ? today
                            : QDate(kestrava::kDefaultYear, kestrava::kDefaultMonth, kestrava::kDefaultDay);
    m_month->setCurrentIndex(shown.month() - 1);
    m_year->setCurrentIndex(shown.year() - numpro::kFirstMarriageYear);
    fillDays();
    m_day->setCurrentIndex(shown.day() - 1);
    connect(m_month, &QComboBox::currentIndexChanged, this, &MarriageDateGroup::fillDays);
    connect(m_year, &QComboBox::currentIndexChanged, this, &MarriageDateGroup::fillDays);

    m_grid = new QGridLayout(this);
    const auto label = [this](const QString &name, const QString &text, QComboBox *buddy) {
        auto *l = new QLabel(text, this);
        l->setObjectName(name);
        l->setBuddy(buddy);
        return l;
    };
    m_grid->addWidget(label(u"lblMarriageMonth"_s, tr("Month"), m_month), 0, 0);
    m_grid->addWidget(label(u"lblMarriageDate"_s, tr("Date"), m_day), 0, 1);
    m_grid->addWidget(label(u"lblMarriageYear"_s, tr("Year"), m_year), 0, 2);
    m_grid->addWidget(m_month, 1, 0);
    m_grid->addWidget(m_day, 1, 1);
    m_grid->addWidget(m_year, 1, 2);
    m_grid->setColumnStretch(0, 2);
    m_grid->setColumnStretch(1, 1);
    m_grid->setColumnStretch(2, 1);
}

void MarriageDateGroup::fillDays()
{
    // A day the new month lacks becomes its last day (31 March to February
    // gives the 28th or the 29th).
    const int wanted = m_day->currentIndex() + 1;
    const int days = QDate(m_year->currentIndex() + numpro::kFirstMarriageYear, m_month->currentIndex() + 1, 1)
                         .daysInMonth();
    if (m_day->count() == days)
        return;
    const QSignalBlocker quiet(m_day);
    m_day->clear();
    m_day->addItems(kestrava::dayTexts().mid(0, days));
    m_day->setCurrentIndex(qBound(0, wanted - 1, days - 1));
}

QDate MarriageDateGroup::shownDate() const
{
    return QDate(m_year->currentIndex() + numpro::kFirstMarriageYear, m_month->currentIndex() + 1,
                 m_day->currentIndex() + 1);
}

QDate MarriageDateGroup::date() const
{
    return isChecked() ? shownDate() : QDate();
}

void MarriageDateGroup::setDate(QDate date)
{
    if (!date.isValid() || date.year() < numpro::kFirstMarriageYear || date.year() > numpro::kLastMarriageYear) {
        setChecked(false);
        return;
    }
    setChecked(true);
    m_month->setCurrentIndex(date.month() - 1);
    m_year->setCurrentIndex(date.year() - numpro::kFirstMarriageYear);
    fillDays();
    m_day->setCurrentIndex(date.day() - 1);
}
