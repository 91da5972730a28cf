#include "astrology/ui/astrologymain.h"

#include "astrology/astrologydocument.h"
#include "astrology/fadic.h"
#include "astrology/ui/astrologyprogram.h"
#include "common/brand.h"
#include "common/numerology.h"
#include "common/person.h"
#include "shell/commonmenus.h"
#include "widgets/brandlabels.h"
#include "widgets/clientlink.h"
#include "widgets/linklabel.h"
#include "widgets/numfiledates.h"
#include "widgets/programhost.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QLabel *caption(int index, const QString &text, QWidget *parent, bool bold)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("lblLabel_%1").arg(index));
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

AstrologyMain::AstrologyMain(AstrologyProgram &program)
    : ProgramWindow(program.host(), QStringLiteral("frmAstrologyNumerologyMain"),
                    QStringLiteral("Orvanel ") + kestrava::programName(kestrava::ProgramId::Astrology))
{
    QWidget *page = body();
    m_views = new QStackedWidget(page);
    m_input = buildInputView();
    m_result = buildResultView();
    m_views->addWidget(m_input);
    m_views->addWidget(m_result);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(brand::makeForumLabel(QStringLiteral("Label61"), true, page));
    layout->addWidget(m_views, 1);
    layout->addWidget(brand::makeFullBrandFrame(page));
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
    m_clients = new ClientLink(*this, kestrava::ProgramId::Astrology, std::move(fields));
    setMinimumWidth(600);
    m_views->setCurrentWidget(m_input);
    m_name->setFocus();
}

QWidget *AstrologyMain::buildInputView()
{
    auto *view = new QWidget;
    view->setObjectName(QStringLiteral("Frame1"));
    auto *intro = caption(0, tr("Enter your name and date of birth and get started!"), view, true);
    m_name = inputfields::makeNameField(QStringLiteral("txtName"), view);
    auto *nameLabel = caption(1, tr("Enter &Name"), view, false);
    nameLabel->setBuddy(m_name);
    m_date = inputfields::makeDateLists(view);
    // The lists start at their first entries: January, 1, 1900.
    for (QComboBox *list : {m_date.month, m_date.day, m_date.year})
        list->setCurrentIndex(0);
    auto *dateLabel = caption(2, tr("&Date of Birth"), view, false);
    dateLabel->setBuddy(m_date.month);

    auto *find = new QPushButton(tr("Find My %1 Sign").arg(kestrava::programName(kestrava::ProgramId::Astrology)),
                                 view);
    find->setObjectName(QStringLiteral("cmdNext"));
    find->setDefault(true);
    connect(find, &QPushButton::clicked, this, &AstrologyMain::find);
    connect(m_name, &QLineEdit::returnPressed, this, &AstrologyMain::find);
    auto *open = new QPushButton(tr("&Open Previously Saved Reading"), view);
    open->setObjectName(QStringLiteral("cmdOpen"));
    connect(open, &QPushButton::clicked, this, &AstrologyMain::openSavedReading);

    auto *dates = new QHBoxLayout;
    dates->addWidget(m_date.month, 2);
    dates->addWidget(m_date.day, 1);
    dates->addWidget(m_date.year, 1);
    auto *grid = new QGridLayout;
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(dateLabel, 1, 0);
    grid->addLayout(dates, 1, 1);
    grid->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addStretch();
    buttons->addWidget(find);

    auto *layout = new QVBoxLayout(view);
    layout->addWidget(intro);
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    setTabOrder(m_name, m_date.month);
    setTabOrder(m_date.month, m_date.day);
    setTabOrder(m_date.day, m_date.year);
    setTabOrder(m_date.year, find);
    setTabOrder(find, open);
    return view;
}

QWidget *AstrologyMain::buildResultView()
{
    auto *view = new QWidget;
    view->setObjectName(QStringLiteral("Frame2"));
    for (std::size_t i = 0; i < m_values.size(); ++i) {
        m_values[i] = new QLabel(view);
        m_values[i]->setObjectName(QStringLiteral("lblResult_%1").arg(i));
        QFont bold = m_values[i]->font();
        bold.setBold(true);
        m_values[i]->setFont(bold);
        m_values[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        m_texts[i] = new QPlainTextEdit(view);
        m_texts[i]->setObjectName(QStringLiteral("txtResult_%1").arg(i));
        m_texts[i]->setReadOnly(true);
        m_texts[i]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // Room for several lines; the scroll bar reaches the rest.
        m_texts[i]->setFixedHeight(124);
    }
    auto *back = new QPushButton(tr("&Back"), view);
    back->setObjectName(QStringLiteral("cmdBack"));
    connect(back, &QPushButton::clicked, this, &AstrologyMain::back);

    auto *grid = new QGridLayout(view);
    int row = 0;
    auto addRow = [&](int index) {
        grid->addWidget(caption(3 + index, astrology::caption(astrology::ResultRow(index)), view, true), row, 0);
        grid->addWidget(m_values[std::size_t(index)], row, 1);
        ++row;
    };
    addRow(0);
    grid->addWidget(back, 0, 2, Qt::AlignRight);
    addRow(1);
    grid->addWidget(m_texts[0], row++, 0, 1, 3);
    addRow(2);
    grid->addWidget(m_texts[1], row++, 0, 1, 3);
    addRow(3);
    grid->addWidget(m_texts[2], row++, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return view;
}

bool AstrologyMain::checkName()
{
    if (!m_name->text().isEmpty())
        return true;
    host().services().messages->inform(this, platform::Icon::Error, tr("Please Enter Your Name"));
    m_name->setFocus();
    return false;
}

bool AstrologyMain::fill(const kestrava::Person &person)
{
    if (!inputfields::selectDate(m_date, person.birthDate)) {
        host().services().messages->inform(this, platform::Icon::Error,
                                           ClientLink::dateNotListed(person.birthDate));
        return false;
    }
    m_name->setText(person.joinedName());
    return true;
}

void AstrologyMain::readFor(const kestrava::Person &person, qint64 clientId)
{
    if (m_clients->fillFor(person, clientId))
        find();
}

void AstrologyMain::find()
{
    const int month = m_date.month->currentIndex() + 1;
    const int day = kestrava::trimBlanks(m_date.day->currentText()).toInt();
    const int year = kestrava::trimBlanks(m_date.year->currentText()).toInt();
    if (!checkName())
        return;
    m_clients->readingRan({{QStringLiteral("name"), m_name->text()},
                           {QStringLiteral("day"), m_date.day->currentText()},
                           {QStringLiteral("month"), m_date.month->currentText()},
                           {QStringLiteral("year"), m_date.year->currentText()}});
    showFadicReading(month, day, year);
    m_views->setCurrentWidget(m_result);
}

void AstrologyMain::showFadicReading(int month, int day, int year)
{
    const qint16 combined = astrology::fadicSum(month, day, year, false);
    const qint16 fadic = astrology::fadicSum(month, day, year, true);
    const astrology::FadicProfile *profile = astrology::fadicProfile(fadic);
    if (!profile)
        return;
    m_values[0]->setText(QString::number(combined));
    m_values[1]->setText(QString::number(fadic));
    m_values[2]->setText(profile->planet);
    m_values[3]->setText(profile->sign);
    m_texts[0]->setPlainText(profile->fadicText);
    m_texts[1]->setPlainText(profile->planetText);
    m_texts[2]->setPlainText(profile->signText);
}

void AstrologyMain::back()
{
    m_name->clear();
    for (QComboBox *list : {m_date.month, m_date.day, m_date.year})
        list->setCurrentIndex(0);
    m_views->setCurrentWidget(m_input);
    m_name->setFocus();
}

void AstrologyMain::openSavedReading()
{
    if (inputfields::takeDateFromNumFile(this, host().services(), m_date))
        find();
}
