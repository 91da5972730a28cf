#include "numpro/ui/numerologypromain.h"

#include "common/brand.h"
#include "common/subjectcheck.h"
#include "common/numerology.h"
#include "common/person.h"
#include "numpro/files/numfile.h"
#include "numpro/ui/numproprogram.h"
#include "shell/commonmenus.h"
#include "shell/updatereminderrun.h"
#include "widgets/brandlabels.h"
#include "widgets/clientlink.h"
#include "widgets/inputfields.h"
#include "widgets/linklabel.h"
#include "widgets/programhost.h"
#include "widgets/unreadablefile.h"

#include <QAction>
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
#include <QVBoxLayout>

namespace {

QLabel *buddyLabel(const QString &name, const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

} // namespace

NumerologyProMain::NumerologyProMain(NumProProgram &program)
    : ProgramWindow(program.host(), QStringLiteral("frmNumerologyProMain"),
                    kestrava::programWindowTitle(kestrava::ProgramId::NumerologyPro))
    , m_program(program)
{
    QWidget *page = body();

    auto *names = new QGroupBox(tr("Name"), page);
    names->setObjectName(QStringLiteral("fraName"));
    m_first = inputfields::makeNameField(QStringLiteral("txtFirstName"), names);
    m_middle = inputfields::makeNameField(QStringLiteral("txtMiddleName"), names);
    m_last = inputfields::makeNameField(QStringLiteral("txtLastName"), names);
    auto *nameGrid = new QGridLayout(names);
    nameGrid->addWidget(buddyLabel(QStringLiteral("Label1"), tr("* First Name"), m_first, names), 0, 0);
    nameGrid->addWidget(m_first, 0, 1);
    nameGrid->addWidget(buddyLabel(QStringLiteral("Label4"), tr("Middle Name"), m_middle, names), 1, 0);
    nameGrid->addWidget(m_middle, 1, 1);
    nameGrid->addWidget(buddyLabel(QStringLiteral("Label5"), tr("* Last Name"), m_last, names), 2, 0);
    nameGrid->addWidget(m_last, 2, 1);
    for (QLineEdit *field : {m_first, m_middle, m_last})
        connect(field, &QLineEdit::returnPressed, this, &NumerologyProMain::next);

    auto *birth = new QGroupBox(tr("* Birth Day"), page);
    birth->setObjectName(QStringLiteral("fraBirthDay"));
    const inputfields::DateLists dates = inputfields::makeDateLists(birth);
    m_month = dates.month;
    m_date = dates.day;
    m_year = dates.year;
    auto *dateGrid = new QGridLayout(birth);
    dateGrid->addWidget(buddyLabel(QStringLiteral("Label6"), tr("Month"), m_month, birth), 0, 0);
    dateGrid->addWidget(buddyLabel(QStringLiteral("Label3"), tr("Date"), m_date, birth), 0, 1);
    dateGrid->addWidget(buddyLabel(QStringLiteral("Label7"), tr("Year"), m_year, birth), 0, 2);
    dateGrid->addWidget(m_month, 1, 0);
    dateGrid->addWidget(m_date, 1, 1);
    dateGrid->addWidget(m_year, 1, 2);
    dateGrid->setColumnStretch(0, 2);
    dateGrid->setColumnStretch(1, 1);
    dateGrid->setColumnStretch(2, 1);

    auto *noteFrame = new QGroupBox(tr("Note: "), page);
    noteFrame->setObjectName(QStringLiteral("fraNote"));
    auto *note = new QLabel(
        tr("This program has been designed keeping in mind date settings according to MM/DD/YYYY format"),
        noteFrame);
    note->setObjectName(QStringLiteral("Label2"));
    note->setWordWrap(true);
    (new QVBoxLayout(noteFrame))->addWidget(note);

    auto *nextButton = new QPushButton(tr("&Next"), page);
    nextButton->setObjectName(QStringLiteral("cmdNext"));
    nextButton->setDefault(true);
    connect(nextButton, &QPushButton::clicked, this, &NumerologyProMain::next);
    auto *exitButton = new QPushButton(tr("E&xit"), page);
    exitButton->setObjectName(QStringLiteral("cmdExit"));
    connect(exitButton, &QPushButton::clicked, this, &QWidget::close);
    auto *openButton = new QPushButton(tr("&Open Previously Saved Reading"), page);
    openButton->setObjectName(QStringLiteral("cmdOpen"));
    connect(openButton, &QPushButton::clicked, this, &NumerologyProMain::openSavedReading);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(openButton);
    buttons->addStretch();
    buttons->addWidget(nextButton);
    buttons->addWidget(exitButton);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(names);
    layout->addWidget(birth);
    layout->addWidget(noteFrame);
    layout->addLayout(buttons);
    layout->addSpacing(6);
    layout->addWidget(brand::makeForumLabel(QStringLiteral("Label61"), true, page));
    layout->addWidget(brand::makeFullBrandFrame(page));

    setTabOrder(m_first, m_middle);
    setTabOrder(m_middle, m_last);
    setTabOrder(m_last, m_month);
    setTabOrder(m_month, m_date);
    setTabOrder(m_date, m_year);
    setTabOrder(m_year, nextButton);
    setTabOrder(nextButton, exitButton);
    setTabOrder(exitButton, openButton);

    buildMenus();
    setMinimumWidth(520);
    m_first->setFocus();
}

void NumerologyProMain::buildMenus()
{
    auto *nextItem = new QAction(tr("&Next"), this);
    nextItem->setObjectName(QStringLiteral("mnuNext"));
    connect(nextItem, &QAction::triggered, this, &NumerologyProMain::next);
    addCommonMenus(menuBar(), this, {nextItem}, [this] { close(); }, {.inputWindowWording = true});

    ClientFields fields;
    fields.fill = [this](const kestrava::Person &person) { return fill(person); };
    fields.typed = [this]() -> std::optional<kestrava::Person> {
        using kestrava::trimBlanks;
        return kestrava::Person{trimBlanks(m_first->text()), trimBlanks(m_middle->text()),
                                trimBlanks(m_last->text()),
                                QDate(trimBlanks(m_year->currentText()).toInt(), m_month->currentIndex() + 1,
                                      trimBlanks(m_date->currentText()).toInt()),
                                {}};
    };
    fields.check = [this] { return checkFields(); };
    fields.snapshot = [this] {
        return QStringList{m_first->text(),        m_middle->text(),      m_last->text(),
                           m_month->currentText(), m_date->currentText(), m_year->currentText()};
    };
    m_clients = new ClientLink(*this, kestrava::ProgramId::NumerologyPro, std::move(fields));
}

bool NumerologyProMain::fill(const kestrava::Person &person)
{
    if (!inputfields::selectDate({m_month, m_date, m_year}, person.birthDate)) {
        host().services().messages->inform(this, platform::Icon::Error,
                                           ClientLink::dateNotListed(person.birthDate));
        return false;
    }
    m_first->setText(person.firstName);
    m_middle->setText(person.middleName);
    m_last->setText(person.lastName);
    return true;
}

void NumerologyProMain::readFor(const kestrava::Person &person, qint64 clientId)
{
    if (m_clients->fillFor(person, clientId))
        next();
}

void NumerologyProMain::afterLoad()
{
    m_program.ensureDocument();
    runUpdateReminder(host().services(), this);
    m_first->setFocus();
}

bool NumerologyProMain::checkFields()
{
    const std::optional<kestrava::SubjectProblem> problem = kestrava::checkSubject(
        m_first->text(), m_last->text(), m_date->currentText(), m_month->currentText(), m_year->currentText());
    if (problem) {
        host().services().messages->inform(this, platform::Icon::Information, problem->message);
        QWidget *const controls[] = {m_first, m_last, m_date, m_month, m_year};
        controls[int(problem->field)]->setFocus();
        return false;
    }
    return true;
}

void NumerologyProMain::next()
{
    if (!checkFields())
        return;

    using kestrava::trimBlanks;
    const numpro::ReadingSubject subject{trimBlanks(m_first->text()),        trimBlanks(m_middle->text()),
                                         trimBlanks(m_last->text()),         trimBlanks(m_month->currentText()),
                                         trimBlanks(m_date->currentText()), trimBlanks(m_year->currentText())};
    m_program.setSubject(subject);
    m_clients->readingRan({{QStringLiteral("first"), subject.firstName},
                           {QStringLiteral("middle"), subject.middleName},
                           {QStringLiteral("last"), subject.lastName},
                           {QStringLiteral("month"), subject.month},
                           {QStringLiteral("day"), subject.day},
                           {QStringLiteral("year"), subject.year}});
    hide();
    m_program.showNavigator();
}

void NumerologyProMain::openSavedReading()
{
    const auto path = host().services().files->openFile(
        this, {tr("Select the source file"), tr("Tovrani (*.num)"), QStringLiteral("num")});
    if (path)
        openReadingFile(*path);
}

void NumerologyProMain::openReadingFile(const QString &path)
{
    if (!kestrava::hasFileEnding(path, u"num")) {
        host().services().messages->inform(this, platform::Icon::Error, tr("Please Check The File."));
        return;
    }
    if (path.isEmpty())
        return;
    if (inputfields::refuseUnreadableFile(this, host().services(), path))
        return;
    const numpro::ReadingSubject saved = numpro::readNumFile(path);
    // A saved reading always holds a month, a day and a year of the lists.
    // Anything else (an empty or binary file, a folder, a damaged date) is
    // no reading: opened, it would ask for a name or read another date.
    const auto listed = [](const QComboBox *list, const QString &text) {
        return list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
    };
    if (!listed(m_month, saved.month) || !listed(m_date, saved.day) || !listed(m_year, saved.year)) {
        host().services().messages->inform(
            this, platform::Icon::Error,
            tr("%1 is not a saved %2 reading.")
                .arg(QDir::toNativeSeparators(path), kestrava::programName(kestrava::ProgramId::NumerologyPro)));
        return;
    }
    // A file written by hand or by another program may hold small letters:
    // the names read as typing them would.
    m_first->setText(kestrava::capitalLetters(saved.firstName));
    m_middle->setText(kestrava::capitalLetters(saved.middleName));
    m_last->setText(kestrava::capitalLetters(saved.lastName));
    inputfields::selectIfPresent(m_month, saved.month);
    inputfields::selectIfPresent(m_date, saved.day);
    inputfields::selectIfPresent(m_year, saved.year);
    next();
}

numpro::ReadingInputs NumerologyProMain::inputs() const
{
    return {m_first->text(), m_middle->text(), m_last->text(),
            m_month->currentText(), m_date->currentText(), m_year->currentText(), QDate()};
}

void NumerologyProMain::clearNames()
{
    m_first->clear();
    m_last->clear();
    m_middle->clear();
}
