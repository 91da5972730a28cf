#include "numpro/ui/compatibilitywindow.h"

#include "common/numerology.h"
#include "common/subjectcheck.h"
#include "numpro/readings/texttable.h"
#include "numpro/ui/marriagedategroup.h"
#include "numpro/ui/numproprogram.h"
#include "shell/commonmenus.h"
#include "widgets/inputfields.h"
#include "widgets/programhost.h"
#include "widgets/texteditrenderer.h"
#include "widgets/unreadablefile.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QString numberText(const QJsonValue &value)
{
    return value.isDouble() ? QString::number(value.toInt()) : QString();
}

} // namespace

CompatibilityWindow::CompatibilityWindow(NumProProgram &program, const numpro::ReadingInputs &first)
    : ReadingWindow(program.host(), u"frmCompatibility"_s, tr("Compatibility"), nullptr)
{
    QWidget *page = body();
    auto *people = new QHBoxLayout;
    people->addWidget(makePerson(0, tr("First Person"), first, page));
    people->addWidget(makePerson(1, tr("Second Person"), {}, page));

    m_marriageDate = new MarriageDateGroup(host().services().clock->now().date(), page);
    m_marriageDate->setDate(first.marriageDate);

    auto *compareButton = new QPushButton(tr("&Compare"), page);
    compareButton->setObjectName(u"cmdCompare"_s);
    compareButton->setDefault(true);
    connect(compareButton, &QPushButton::clicked, this, &CompatibilityWindow::compare);
    auto *swapButton = new QPushButton(tr("S&wap People"), page);
    swapButton->setObjectName(u"cmdSwap"_s);
    connect(swapButton, &QPushButton::clicked, this, &CompatibilityWindow::swapPeople);
    auto *actions = new QHBoxLayout;
    actions->addWidget(m_marriageDate, 1);
    auto *actionButtons = new QVBoxLayout;
    actionButtons->addStretch();
    actionButtons->addWidget(compareButton);
    actionButtons->addWidget(swapButton);
    actions->addLayout(actionButtons);

    // The six numbers side by side; the rated pairs add their rating.
    m_numbers = new QTableWidget(int(numpro::kCompatibilityNumberKeys.size()), 3, page);
    m_numbers->setObjectName(u"tblNumbers"_s);
    m_numbers->setAccessibleName(tr("Both people's numbers"));
    m_numbers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_numbers->setSelectionMode(QAbstractItemView::NoSelection);
    m_numbers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_numbers->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_numbers->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Rows of one fixed height, so the table is exactly as tall as its six rows.
    m_numbers->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_numbers->setHorizontalHeaderLabels({tr("First Person"), tr("Second Person"), tr("Rating")});
    QStringList rows;
    for (QStringView key : numpro::kCompatibilityNumberKeys)
        rows << numpro::readingTexts(key).caption;
    m_numbers->setVerticalHeaderLabels(rows);
    m_numbers->verticalHeader()->setDefaultSectionSize(22);
    m_numbers->setFixedHeight(22 * int(rows.size()) + m_numbers->horizontalHeader()->sizeHint().height() + 6);

    auto *layout = qobject_cast<QVBoxLayout *>(page->layout());
    layout->insertLayout(0, people);
    layout->insertLayout(1, actions);
    layout->insertWidget(2, m_numbers);

    QPushButton *printButton = addButton(u"cmdPrint"_s, tr("&Print"));
    connect(printButton, &QPushButton::clicked, this, &ReadingWindow::print);
    QPushButton *pdfButton = addButton(u"cmdExportPdf"_s, tr("Export as P&DF…"));
    connect(pdfButton, &QPushButton::clicked, this, &ReadingWindow::exportPdf);
    QPushButton *openButton = addButton(u"cmdOpen"_s, tr("&Open…"));
    connect(openButton, &QPushButton::clicked, this, &CompatibilityWindow::openFile);
    QPushButton *saveButton = addButton(u"cmdSave"_s, tr("&Save…"));
    connect(saveButton, &QPushButton::clicked, this, &CompatibilityWindow::saveFile);
    QPushButton *backButton = addButton(u"cmdBack"_s, tr("&Back"));
    connect(backButton, &QPushButton::clicked, this, &QWidget::close);

    addCommonMenus(menuBar(), this, {}, [this] { close(); }, {.modalAbout = false});
    setMinimumWidth(900);
    // The people, the marriage date and the table take their room; the
    // document scrolls, so the window fits a document area of 768-pixel screens.
    view()->setMinimumSize(640, 200);
    m_people[1].first->setFocus();
}

QWidget *CompatibilityWindow::makePerson(int index, const QString &title, const numpro::ReadingInputs &person,
                                         QWidget *parent)
{
    const QString suffix = u'_' + QString::number(index);
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(u"fraPerson"_s + suffix);
    PersonFields &fields = m_people[std::size_t(index)];
    fields.first = inputfields::makeNameField(u"txtFirstName"_s + suffix, box);
    fields.middle = inputfields::makeNameField(u"txtMiddleName"_s + suffix, box);
    fields.last = inputfields::makeNameField(u"txtLastName"_s + suffix, box);
    const inputfields::DateLists dates = inputfields::makeDateLists(box);
    fields.month = dates.month;
    fields.day = dates.day;
    fields.year = dates.year;
    fields.month->setObjectName(u"cboMonth"_s + suffix);
    fields.day->setObjectName(u"cboDate"_s + suffix);
    fields.year->setObjectName(u"cboYear"_s + suffix);

    auto *grid = new QGridLayout(box);
    const auto label = [box](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, box);
        l->setBuddy(buddy);
        return l;
    };
    // Accelerators only on the second person, the one usually typed.
    const bool keys = index == 1;
    grid->addWidget(label(keys ? tr("* &First Name") : tr("* First Name"), fields.first), 0, 0);
    grid->addWidget(fields.first, 0, 1, 1, 3);
    grid->addWidget(label(keys ? tr("M&iddle Name") : tr("Middle Name"), fields.middle), 1, 0);
    grid->addWidget(fields.middle, 1, 1, 1, 3);
    grid->addWidget(label(keys ? tr("* &Last Name") : tr("* Last Name"), fields.last), 2, 0);
    grid->addWidget(fields.last, 2, 1, 1, 3);
    grid->addWidget(label(tr("* Birth Day"), fields.month), 3, 0);
    grid->addWidget(fields.month, 3, 1);
    grid->addWidget(fields.day, 3, 2);
    grid->addWidget(fields.year, 3, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 1);
    for (QLineEdit *field : {fields.first, fields.middle, fields.last})
        connect(field, &QLineEdit::returnPressed, this, &CompatibilityWindow::compare);

    if (!person.firstName.isEmpty() || !person.lastName.isEmpty())
        setFields(fields, {person.firstName, person.middleName, person.lastName, person.month, person.day,
                           person.year});
    return box;
}

numpro::ReadingSubject CompatibilityWindow::subjectOf(const PersonFields &f) const
{
    using kestrava::trimBlanks;
    return {trimBlanks(f.first->text()), trimBlanks(f.middle->text()), trimBlanks(f.last->text()),
            f.month->currentText(), f.day->currentText(), f.year->currentText()};
}

numpro::ReadingInputs CompatibilityWindow::inputsOf(const PersonFields &f) const
{
    return {f.first->text(), f.middle->text(), f.last->text(), f.month->currentText(), f.day->currentText(),
            f.year->currentText(), host().services().clock->now().date()};
}

void CompatibilityWindow::setFields(PersonFields &fields, const numpro::ReadingSubject &subject)
{
    fields.first->setText(subject.firstName);
    fields.middle->setText(subject.middleName);
    fields.last->setText(subject.lastName);
    inputfields::selectIfPresent(fields.month, subject.month);
    inputfields::selectIfPresent(fields.day, subject.day);
    inputfields::selectIfPresent(fields.year, subject.year);
}

numpro::CompatibilitySubjects CompatibilityWindow::subjects() const
{
    return {subjectOf(m_people[0]), subjectOf(m_people[1]), m_marriageDate->date()};
}

void CompatibilityWindow::setSubjects(const numpro::CompatibilitySubjects &subjects)
{
    setFields(m_people[0], subjects.first);
    setFields(m_people[1], subjects.second);
    m_marriageDate->setDate(subjects.marriageDate);
}

bool CompatibilityWindow::compare()
{
    for (PersonFields &f : m_people) {
        const auto problem = kestrava::checkSubject(f.first->text(), f.last->text(), f.day->currentText(),
                                                    f.month->currentText(), f.year->currentText());
        if (problem) {
            host().services().messages->inform(this, platform::Icon::Information, problem->message);
            QWidget *const controls[] = {f.first, f.last, f.day, f.month, f.year};
            controls[int(problem->field)]->setFocus();
            return false;
        }
    }
    const numpro::Compatibility compatibility =
        numpro::computeCompatibility(inputsOf(m_people[0]), inputsOf(m_people[1]), m_marriageDate->date());
    showTable(compatibility);
    view()->clear();
    for (const richtext::Composition &part : numpro::composeCompatibility(compatibility))
        richtext::appendToTextEdit(view(), part);
    view()->moveCursor(QTextCursor::Start);
    m_shown = compatibility;
    return true;
}

void CompatibilityWindow::showTable(const numpro::Compatibility &c)
{
    m_numbers->setHorizontalHeaderLabels(
        {numpro::compatibilityName(c.first), numpro::compatibilityName(c.second), tr("Rating")});
    for (int row = 0; row < int(numpro::kCompatibilityNumberKeys.size()); ++row) {
        const QStringView key = numpro::kCompatibilityNumberKeys[std::size_t(row)];
        QString rating;
        for (const numpro::NumberPair &pair : c.pairs) {
            if (pair.key == key && pair.rating)
                rating = numpro::ratingName(*pair.rating);
        }
        const QString cells[] = {numberText(c.firstNumbers.value(key)), numberText(c.secondNumbers.value(key)),
                                 rating};
        for (int column = 0; column < 3; ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(Qt::AlignCenter);
            m_numbers->setItem(row, column, item);
        }
    }
}

void CompatibilityWindow::swapPeople()
{
    const numpro::CompatibilitySubjects now = subjects();
    setFields(m_people[0], now.second);
    setFields(m_people[1], now.first);
    if (m_shown)
        compare();
}

void CompatibilityWindow::saveFile()
{
    const numpro::CompatibilitySubjects saved = subjects();
    const auto path = host().services().files->saveFile(
        this, {tr("Save the Compatibility Reading ...."), tr("Compatibility reading (*.knc)"), u"knc"_s});
    if (!path)
        return;
    if (const kestrava::MaybeFailure failure = numpro::writeCompatibilityFile(*path, saved)) {
        host().services().messages->inform(this, platform::Icon::Error,
                                           tr("The reading could not be saved to %1.\n%2")
                                               .arg(QDir::toNativeSeparators(*path), failure->reason));
    }
}

void CompatibilityWindow::openFile()
{
    const auto path = host().services().files->openFile(
        this, {tr("Select the source file"), tr("Compatibility reading (*.knc)"), u"knc"_s});
    if (path)
        openCompatibilityFile(*path);
}

bool CompatibilityWindow::openCompatibilityFile(const QString &path)
{
    if (inputfields::refuseUnreadableFile(this, host().services(), path))
        return false;
    const auto read = numpro::readCompatibilityFile(path);
    if (const auto *failure = std::get_if<kestrava::Failure>(&read)) {
        host().services().messages->inform(this, platform::Icon::Error,
                                           tr("%1 cannot be opened as a compatibility reading.\n%2")
                                               .arg(QDir::toNativeSeparators(path), failure->reason));
        return false;
    }
    setSubjects(std::get<numpro::CompatibilitySubjects>(read));
    return compare();
}
