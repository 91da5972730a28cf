#include "tarot/ui/tarotmain.h"

#include "common/brand.h"
#include "common/numerology.h"
#include "common/person.h"
#include "common/shiftedlines.h"
#include "common/subjectcheck.h"
#include "platform/weblinks.h"
#include "shell/commonmenus.h"
#include "tarot/tarotdocument.h"
#include "tarot/ui/tarotprogram.h"
#include "widgets/brandlabels.h"
#include "widgets/clientlink.h"
#include "widgets/fonts.h"
#include "widgets/inputfields.h"
#include "widgets/linklabel.h"
#include "widgets/programhost.h"
#include "widgets/unreadablefile.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QJsonObject>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <limits>

namespace {


QLabel *namedLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

LinkLabel *makeCardForumLabel(const QString &name, QWidget *parent)
{
    auto *forum = new LinkLabel(QObject::tr("Questions about your cards? Ask the readers of our free forum."), parent);
    forum->setObjectName(name);
    forum->setAlignment(Qt::AlignCenter);
    forum->setStyleSheet(QStringLiteral("color: #0000c0;"));
    QObject::connect(forum, &LinkLabel::clicked, forum, [] { kestrava::openWebPage(kestrava::page::kHome); });
    return forum;
}

TarotMain::TarotMain(TarotProgram &program)
    : ProgramWindow(program.host(), QStringLiteral("frmTarotNumerologyMain"),
                    QStringLiteral("Orvanel ") + kestrava::programName(kestrava::ProgramId::Tarot))
    , m_program(program)
{
    QWidget *page = body();

    QLabel *title = namedLabel(QStringLiteral("Label6"), tr("Pellacor"), page);
    title->setFont(kestrava::verdana(14.25, true));
    title->setAlignment(Qt::AlignCenter);
    QLabel *about = namedLabel(
        QStringLiteral("Label4"),
        tr("Pellacor helps you in understanding the character of a person in a better way. Each of the numbers "
           "ranging from 1 - 9 is associated with a corresponding Major or Minor Arcana tarot deck. Pellacor aims "
           "to help you in understanding the underlying relationship between the 78-card tarot deck and their "
           "numerical sequences. The default Tarot deck used in this software is the Rider Waite Tarot Deck."),
        page);
    about->setWordWrap(true);

    auto *details = new QGroupBox(tr("Personal Details"), page);
    details->setObjectName(QStringLiteral("fraDetails"));
    m_name = new QLineEdit(details);
    m_name->setObjectName(QStringLiteral("txtName"));
    m_name->setMaxLength(std::numeric_limits<int>::max());
    m_name->setMinimumWidth(260);
    connect(m_name, &QLineEdit::returnPressed, this, &TarotMain::proceed);
    const inputfields::DateLists dates = inputfields::makeDateLists(details);
    m_day = dates.day;
    m_month = dates.month;
    m_year = dates.year;
    inputfields::selectIfPresent(m_day, QStringLiteral("1"));
    inputfields::selectIfPresent(m_month, QStringLiteral("January"));
    inputfields::selectIfPresent(m_year, QStringLiteral("1970"));
    auto *male = new QRadioButton(tr("Male"), details);
    male->setObjectName(QStringLiteral("optSex_0"));
    auto *female = new QRadioButton(tr("Female"), details);
    female->setObjectName(QStringLiteral("optSex_1"));

    QLabel *nameLabel = namedLabel(QStringLiteral("Label1"), tr("&Name"), details);
    nameLabel->setBuddy(m_name);
    QLabel *birthLabel = namedLabel(QStringLiteral("Label2"), tr("&Birth Day"), details);
    birthLabel->setBuddy(m_day);
    QLabel *sexLabel = namedLabel(QStringLiteral("Label5"), tr("Sex"), details);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(m_day, 1);
    dateRow->addWidget(m_month, 2);
    dateRow->addWidget(m_year, 1);
    auto *sexRow = new QHBoxLayout;
    sexRow->addWidget(male);
    sexRow->addWidget(female);
    sexRow->addStretch();
    auto *grid = new QGridLayout(details);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(birthLabel, 1, 0);
    grid->addLayout(dateRow, 1, 1);
    grid->addWidget(sexLabel, 2, 0);
    grid->addLayout(sexRow, 2, 1);

    auto *openButton = new QPushButton(tr("&Open Previously Saved Reading"), page);
    openButton->setObjectName(QStringLiteral("cmdOpen"));
    connect(openButton, &QPushButton::clicked, this, &TarotMain::openSavedReading);
    auto *proceedButton =
        new QPushButton(tr("Show &%1 Reading").arg(kestrava::programName(kestrava::ProgramId::Tarot)), page);
    proceedButton->setObjectName(QStringLiteral("cmdProceed"));
    proceedButton->setDefault(true);
    connect(proceedButton, &QPushButton::clicked, this, &TarotMain::proceed);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(openButton);
    buttons->addStretch();
    buttons->addWidget(proceedButton);

    // A second, shorter invitation under the title.
    LinkLabel *forum = makeCardForumLabel(QStringLiteral("Label3"), page);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(title);
    layout->addWidget(forum);
    layout->addWidget(about);
    layout->addWidget(details);
    layout->addLayout(buttons);
    layout->addWidget(brand::makeForumLabel(QStringLiteral("Label14"), true, page));
    layout->addWidget(brand::makeFullBrandFrame(page));

    setTabOrder(m_name, m_day);
    setTabOrder(m_day, m_month);
    setTabOrder(m_month, m_year);
    setTabOrder(m_year, male);
    setTabOrder(male, female);
    setTabOrder(female, proceedButton);
    setTabOrder(proceedButton, openButton);

    addCommonMenus(menuBar(), this, {}, [this] { close(); });
    ClientFields fields;
    fields.fill = [this](const kestrava::Person &person) { return fill(person); };
    fields.typed = [this]() -> std::optional<kestrava::Person> {
        kestrava::Person person = kestrava::splitName(m_name->text());
        person.birthDate = QDate(kestrava::trimBlanks(m_year->currentText()).toInt(), m_month->currentIndex() + 1,
                                 kestrava::trimBlanks(m_day->currentText()).toInt());
        return person;
    };
    fields.check = [this] { return checkName(); };
    fields.snapshot = [this] {
        return QStringList{m_name->text(), m_day->currentText(), m_month->currentText(), m_year->currentText()};
    };
    m_clients = new ClientLink(*this, kestrava::ProgramId::Tarot, std::move(fields));
    setMinimumWidth(560);
    m_name->setFocus();
}

bool TarotMain::fill(const kestrava::Person &person)
{
    if (!inputfields::selectDate({m_month, m_day, m_year}, person.birthDate)) {
        host().services().messages->inform(this, platform::Icon::Error,
                                           ClientLink::dateNotListed(person.birthDate));
        return false;
    }
    m_name->setText(person.joinedName());
    return true;
}

void TarotMain::readFor(const kestrava::Person &person, qint64 clientId)
{
    if (m_clients->fillFor(person, clientId))
        proceed();
}

bool TarotMain::checkName()
{
    if (!m_name->text().isEmpty())
        return true;
    host().services().messages->inform(this, platform::Icon::Error, tr("Please Enter Your Name"));
    m_name->setFocus();
    return false;
}

void TarotMain::proceed()
{
    if (!checkName())
        return;
    m_clients->readingRan({{QStringLiteral("name"), m_name->text()},
                           {QStringLiteral("day"), m_day->currentText()},
                           {QStringLiteral("month"), m_month->currentText()},
                           {QStringLiteral("year"), m_year->currentText()}});
    m_program.showReading(
        tarot::makeReading(m_name->text(), m_day->currentText(), m_month->currentText(), m_year->currentText()));
}

void TarotMain::openSavedReading()
{
    const auto path = host().services().files->openFile(
        this, {tr("Select the source file"), tr("Pellacor (*.tnm)"), QStringLiteral("tnm")});
    if (path)
        openReadingFile(*path);
}

void TarotMain::openReadingFile(const QString &path)
{
    if (!kestrava::hasFileEnding(path, u"tnm")) {
        host().services().messages->inform(this, platform::Icon::Error, tr("Please Check The File."));
        return;
    }
    if (path.isEmpty())
        return;
    if (inputfields::refuseUnreadableFile(this, host().services(), path))
        return;
    const QStringList lines = kestrava::readShiftedLines(path, tarot::kTnmLineCount);
    // A saved reading always holds a day, a month and a year of the lists.
    // A file missing any of them is some other file or a damaged one; opened,
    // it would leave that list as it was and read another date.
    const auto listed = [](const QComboBox *list, const QString &text) {
        return list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
    };
    if (!listed(m_day, lines[1]) || !listed(m_month, lines[2]) || !listed(m_year, lines[3])) {
        host().services().messages->inform(
            this, platform::Icon::Error,
            tr("%1 is not a saved %2 reading.")
                .arg(QDir::toNativeSeparators(path), kestrava::programName(kestrava::ProgramId::Tarot)));
        return;
    }
    m_name->setText(lines[0]);
    inputfields::selectIfPresent(m_day, lines[1]);
    inputfields::selectIfPresent(m_month, lines[2]);
    inputfields::selectIfPresent(m_year, lines[3]);
    proceed();
}
