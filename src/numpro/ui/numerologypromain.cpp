#include "numpro/ui/numerologypromain.h"

#include "common/brand.h"
#include "numpro/files/numfile.h"
#include "numpro/ui/numproprogram.h"
#include "widgets/brandlabels.h"
#include "shell/commonmenus.h"
#include "widgets/linklabel.h"
#include "widgets/programhost.h"
#include "shell/updatereminderrun.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QStringList &monthNames()
{
    static const QStringList names = {
        QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
        QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
        QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
        QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December"),
    };
    return names;
}

constexpr int kDefaultMonth = 7; // August
constexpr int kDefaultDay = 5;   // 6
constexpr int kDefaultYear = 79; // 1979
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2050;

QLabel *buddyLabel(const QString &name, const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

QLineEdit *nameField(const QString &name, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setMinimumWidth(220);
    return field;
}

QComboBox *pickList(const QString &name, const QStringList &entries, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(false);
    list->addItems(entries);
    list->setMaxVisibleItems(16);
    return list;
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
    m_first = nameField(QStringLiteral("txtFirstName"), names);
    m_middle = nameField(QStringLiteral("txtMiddleName"), names);
    m_last = nameField(QStringLiteral("txtLastName"), names);
    auto *nameGrid = new QGridLayout(names);
    nameGrid->addWidget(buddyLabel(QStringLiteral("Label1"), tr("* First Name"), m_first, names), 0, 0);
    nameGrid->addWidget(m_first, 0, 1);
    nameGrid->addWidget(buddyLabel(QStringLiteral("Label4"), tr("Middle Name"), m_middle, names), 1, 0);
    nameGrid->addWidget(m_middle, 1, 1);
    nameGrid->addWidget(buddyLabel(QStringLiteral("Label5"), tr("* Last Name"), m_last, names), 2, 0);
    nameGrid->addWidget(m_last, 2, 1);
    for (QLineEdit *field : {m_first, m_middle, m_last}) {
        field->installEventFilter(this);
        connect(field, &QLineEdit::returnPressed, this, &NumerologyProMain::next);
    }

    auto *birth = new QGroupBox(tr("* Birth Day"), page);
    birth->setObjectName(QStringLiteral("fraBirthDay"));
    QStringList days;
    for (int day = 1; day <= 31; ++day)
        days << QString::number(day);
    QStringList years;
    for (int year = kFirstYear; year <= kLastYear; ++year)
        years << QString::number(year);
    m_month = pickList(QStringLiteral("cboMonth"), monthNames(), birth);
    m_date = pickList(QStringLiteral("cboDate"), days, birth);
    m_year = pickList(QStringLiteral("cboYear"), years, birth);
    m_month->setCurrentIndex(kDefaultMonth);
    m_date->setCurrentIndex(kDefaultDay);
    m_year->setCurrentIndex(kDefaultYear);
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
}

void NumerologyProMain::afterLoad()
{
    m_program.ensureDocument();
    runUpdateReminder(host().services(), this);
    m_first->setFocus();
}

bool NumerologyProMain::eventFilter(QObject *watched, QEvent *event)
{
    // Typed a..z become A..Z; everything else, and text that arrives without
    // typing (pasting, an opened reading), is taken as it is.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (text.size() == 1 && text.front() >= u'a' && text.front() <= u'z'
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            if (auto *field = qobject_cast<QLineEdit *>(watched)) {
                field->insert(text.toUpper());
                return true;
            }
        }
    }
    return ProgramWindow::eventFilter(watched, event);
}

void NumerologyProMain::next()
{
    struct Check
    {
        QWidget *control;
        QString text;
        QString message;
    };
    const Check checks[] = {
        {m_first, m_first->text(), tr("Please Enter Your First Name")},
        {m_last, m_last->text(), tr("Please Enter Your Last Name")},
        {m_date, m_date->currentText(), tr("Please Specify Your Birth Date")},
        {m_month, m_month->currentText(), tr("Please Specify Your Birth Month")},
        {m_year, m_year->currentText(), tr("Please Specify Your Birth Year")},
    };
    for (const Check &check : checks) {
        if (check.text.isEmpty()) {
            host().services().messages->inform(this, platform::Icon::Information, check.message);
            check.control->setFocus();
            return;
        }
    }

    m_program.setSubject({m_first->text().trimmed(), m_middle->text().trimmed(), m_last->text().trimmed(),
                          m_month->currentText().trimmed(), m_date->currentText().trimmed(),
                          m_year->currentText().trimmed()});
    hide();
    m_program.showNavigator();
}

void NumerologyProMain::openSavedReading()
{
    const auto path = host().services().files->openFile(
        this, {tr("Select the source file"), tr("Tovrani (*.num)"), QStringLiteral("num")});
    if (!path)
        return;
    if (!numpro::hasNumSuffix(*path)) {
        host().services().messages->inform(this, platform::Icon::Error, tr("Please Check The File."));
        return;
    }
    if (path->isEmpty())
        return;
    const numpro::ReadingSubject saved = numpro::readNumFile(*path);
    m_first->setText(saved.firstName);
    m_middle->setText(saved.middleName);
    m_last->setText(saved.lastName);
    selectIfPresent(m_month, saved.month);
    selectIfPresent(m_date, saved.day);
    selectIfPresent(m_year, saved.year);
    next();
}

void NumerologyProMain::selectIfPresent(QComboBox *list, const QString &value)
{
    const int index = list->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        list->setCurrentIndex(index);
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
