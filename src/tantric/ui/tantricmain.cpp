#include "tantric/ui/tantricmain.h"

#include "common/brand.h"
#include "common/numerology.h"
#include "common/person.h"
#include "shell/commonmenus.h"
#include "tantric/ui/tantricprogram.h"
#include "widgets/brandlabels.h"
#include "widgets/clientlink.h"
#include "widgets/linklabel.h"
#include "widgets/numfiledates.h"
#include "widgets/programhost.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TantricMain::TantricMain(TantricProgram &program)
    : ProgramWindow(program.host(), QStringLiteral("frmTantricNumerologyMain"),
                    QStringLiteral("Orvanel ") + kestrava::programName(kestrava::ProgramId::Tantric))
    , m_program(program)
{
    QWidget *page = body();
    auto *about = new QLabel(tr("Vorizov avazodizaz also known as Akara Numerology has its roots in ancient yogic "
                                "and tantrik practices. It helps you rediscover yourself and revaluate where you "
                                "stand in life. Get your Orvanel Vorizov Avazodizaz Reading Now!"),
                             page);
    about->setObjectName(QStringLiteral("lblLabel_2"));
    about->setWordWrap(true);

    auto *details = new QGroupBox(tr("Personal Details"), page);
    details->setObjectName(QStringLiteral("Frame1"));
    m_name = new QLineEdit(details);
    m_name->setObjectName(QStringLiteral("txtName"));
    auto *nameLabel = new QLabel(tr("&Name"), details);
    nameLabel->setObjectName(QStringLiteral("lblLabel_0"));
    nameLabel->setBuddy(m_name);
    m_date = inputfields::makeDateLists(details);
    for (QComboBox *list : {m_date.month, m_date.day, m_date.year})
        list->setCurrentIndex(0);
    auto *dateLabel = new QLabel(tr("&Date of Birth"), details);
    dateLabel->setObjectName(QStringLiteral("lblLabel_1"));
    dateLabel->setBuddy(m_date.day);
    auto *next = new QPushButton(tr("&Get My %1 Reading").arg(kestrava::programName(kestrava::ProgramId::Tantric)),
                                 details);
    next->setObjectName(QStringLiteral("cmdNext"));
    next->setDefault(true);
    connect(next, &QPushButton::clicked, this, &TantricMain::next);
    connect(m_name, &QLineEdit::returnPressed, this, &TantricMain::next);

    auto *dates = new QHBoxLayout;
    dates->addWidget(m_date.day, 1);
    dates->addWidget(m_date.month, 2);
    dates->addWidget(m_date.year, 1);
    auto *grid = new QGridLayout(details);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(dateLabel, 1, 0);
    grid->addLayout(dates, 1, 1);
    grid->addWidget(next, 2, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    auto *open = new QPushButton(tr("&Open Previously Saved Reading"), page);
    open->setObjectName(QStringLiteral("cmdOpen"));
    connect(open, &QPushButton::clicked, this, &TantricMain::openSavedReading);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(brand::makeForumLabel(QStringLiteral("Label61"), true, page));
    layout->addWidget(about);
    layout->addWidget(details);
    layout->addLayout(buttons);
    layout->addWidget(brand::makeFullBrandFrame(page));

    setTabOrder(m_name, m_date.day);
    setTabOrder(m_date.day, m_date.month);
    setTabOrder(m_date.month, m_date.year);
    setTabOrder(m_date.year, next);
    setTabOrder(next, open);
    addCommonMenus(menuBar(), this, {}, [this] { close(); }, {.inputWindowWording = true});
    ClientFields fields;
    fields.fill = [this](const kestrava::Person &person) { return fill(person); };
    fields.typed = [this]() -> std::optional<kestrava::Person> {
        kestrava::Person person = kestrava::splitName(m_name->text());
        person.birthDate = QDate(kestrava::trimBlanks(m_date.year->currentText()).toInt(),
                                 m_date.month->currentIndex() + 1,
                                 kestrava::trimBlanks(m_date.day->currentText()).toInt());
        return person;
    };
    fields.check = [this] { return checkName(); };
    fields.snapshot = [this] {
        return QStringList{m_name->text(), m_date.day->currentText(), m_date.month->currentText(),
                           m_date.year->currentText()};
    };
    m_clients = new ClientLink(*this, kestrava::ProgramId::Tantric, std::move(fields));
    setMinimumWidth(560);
    m_name->setFocus();
}

bool TantricMain::fill(const kestrava::Person &person)
{
    if (!inputfields::selectDate(m_date, person.birthDate)) {
        host().services().messages->inform(this, platform::Icon::Error,
                                           ClientLink::dateNotListed(person.birthDate));
        return false;
    }
    m_name->setText(person.joinedName());
    return true;
}

void TantricMain::readFor(const kestrava::Person &person, qint64 clientId)
{
    if (m_clients->fillFor(person, clientId))
        next();
}

bool TantricMain::checkName()
{
    if (!m_name->text().isEmpty())
        return true;
    host().services().messages->inform(this, platform::Icon::Error, tr("Please Enter Your Name"));
    m_name->setFocus();
    return false;
}

void TantricMain::next()
{
    if (!checkName())
        return;
    m_clients->readingRan({{QStringLiteral("name"), m_name->text()},
                           {QStringLiteral("day"), m_date.day->currentText()},
                           {QStringLiteral("month"), m_date.month->currentText()},
                           {QStringLiteral("year"), m_date.year->currentText()}});
    m_program.calculateTantricReading(kestrava::trimBlanks(m_name->text()),
                                      kestrava::trimBlanks(m_date.day->currentText()).toInt(),
                                      m_date.month->currentIndex() + 1,
                                      kestrava::trimBlanks(m_date.year->currentText()).toInt());
}

void TantricMain::openSavedReading()
{
    if (inputfields::takeDateFromNumFile(this, host().services(), m_date))
        next();
}
