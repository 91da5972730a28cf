#include "numpro/ui/compatibilitywindow.h"

#include "clients/clientbook.h"
#include "common/filenames.h"
#include "common/numerology.h"
#include "common/person.h"
#include "common/subjectcheck.h"
#include "numpro/readings/texttable.h"
#include "numpro/ui/marriagedategroup.h"
#include "numpro/ui/numproprogram.h"
#include "shell/commonmenus.h"
#include "widgets/clientlink.h"
#include "widgets/clientpicker.h"
#include "widgets/inputfields.h"
#include "widgets/programhost.h"
#include "widgets/texteditrenderer.h"
#include "widgets/unreadablefile.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
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

CompatibilityWindow::CompatibilityWindow(NumProProgram &program, const numpro::ReadingInputs &first,
                                         qint64 firstClientId)
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
    addClientsMenu();
    if (firstClientId != 0) {
        m_people[0].clientId = firstClientId;
        m_people[0].filled = snapshotOf(m_people[0]);
    }
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

    auto *choose = new QPushButton(keys ? tr("Choose Cli&ent…") : tr("Choose Client…"), box);
    choose->setObjectName(u"cmdChooseClient"_s + suffix);
    choose->setAccessibleName(index == 0 ? tr("Choose the first person from the client book")
                                         : tr("Choose the second person from the client book"));
    connect(choose, &QPushButton::clicked, this, [this, index] { chooseClient(index); });
    grid->addWidget(choose, 4, 1, 1, 3, Qt::AlignRight);

    if (!person.firstName.isEmpty() || !person.lastName.isEmpty())
        setFields(fields, {person.firstName, person.middleName, person.lastName, person.month, person.day,
                           person.year});
    return box;
}

void CompatibilityWindow::addClientsMenu()
{
    auto *menu = new QMenu(tr("Clie&nts"), menuBar());
    menu->setObjectName(u"mnuClients"_s);
    // Ctrl+K, as in the input windows, for the person usually chosen.
    const struct
    {
        QString caption;
        QKeySequence keys;
    } items[] = {{tr("Choose Client for the &First Person…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K)},
                 {tr("Choose Client for the &Second Person…"), QKeySequence(Qt::CTRL | Qt::Key_K)}};
    for (int person = 0; person < 2; ++person) {
        QAction *choose = menu->addAction(items[person].caption, this, [this, person] { chooseClient(person); });
        choose->setObjectName(u"mnuChooseClient_"_s + QString::number(person));
        choose->setShortcut(items[person].keys);
        // The keys belong to this window while it has the focus: the main
        // window and the other program windows share one top-level window.
        choose->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(choose);
    }
    menu->addSeparator();
    QAction *book = menu->addAction(tr("Client &Book…"), this, [this] { host().openClientBook(); });
    book->setObjectName(u"mnuClientBook"_s);
    // Between File and Help, as in the main window.
    const auto *help = menuBar()->findChild<QMenu *>(u"mnuHelp"_s);
    menuBar()->insertMenu(help ? help->menuAction() : nullptr, menu);
}

void CompatibilityWindow::chooseClient(int person)
{
    clients::ClientBook &book = host().clientBook();
    if (!book.isReadable()) {
        host().services().messages->inform(this, platform::Icon::Error,
                                           book.problem() ? book.problem()->message
                                                          : tr("The client book cannot be read."));
        return;
    }
    const std::optional<clients::Client> client = ClientPicker::choose(this, book);
    if (client && isOpen())
        fillFromClient(person, *client);
}

bool CompatibilityWindow::fillFromClient(int person, const clients::Client &client)
{
    PersonFields &fields = m_people[std::size_t(person)];
    const kestrava::Person reading = kestrava::readingPerson(client.person);
    if (!inputfields::selectDate({fields.month, fields.day, fields.year}, reading.birthDate)) {
        host().services().messages->inform(this, platform::Icon::Information,
                                           ClientLink::dateNotListed(reading.birthDate));
        return false;
    }
    fields.first->setText(reading.firstName);
    fields.middle->setText(reading.middleName);
    fields.last->setText(reading.lastName);
    fields.clientId = client.id;
    fields.filled = snapshotOf(fields);
    return true;
}

QStringList CompatibilityWindow::snapshotOf(const PersonFields &f)
{
    return {f.first->text(),        f.middle->text(),     f.last->text(),
            f.month->currentText(), f.day->currentText(), f.year->currentText()};
}

qint64 CompatibilityWindow::clientOf(int person) const
{
    const PersonFields &fields = m_people[std::size_t(person)];
    return (fields.clientId != 0 && snapshotOf(fields) == fields.filled) ? fields.clientId : 0;
}

void CompatibilityWindow::recordForClients()
{
    const QDate married = m_marriageDate->date();
    for (int person = 0; person < 2; ++person) {
        const qint64 id = clientOf(person);
        // A client on both sides gets the reading once.
        if (id == 0 || (person == 1 && clientOf(0) == id))
            continue;
        const QJsonObject inputs = numpro::compatibilityHistoryInputs(inputsOf(m_people[std::size_t(person)]),
                                                                      inputsOf(m_people[std::size_t(1 - person)]),
                                                                      married);
        // Showing the same pair again, the other way round or after saving,
        // is no new reading.
        if (m_recorded.value(id) == inputs)
            continue;
        clients::ReadingEntry entry;
        entry.clientId = id;
        entry.program = kestrava::ProgramId::NumerologyPro;
        entry.at = host().services().clock->now().toUTC();
        entry.inputs = QString::fromUtf8(QJsonDocument(inputs).toJson(QJsonDocument::Compact));
        const clients::Result<clients::ReadingEntry> added = host().clientBook().addReading(entry);
        if (!added) {
            host().services().messages->inform(this, platform::Icon::Error,
                                               tr("The reading could not be added to the client's history: %1")
                                                   .arg(added.failure().reason));
            return;
        }
        m_recorded.insert(id, inputs);
        host().clientBookChanged();
    }
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

bool CompatibilityWindow::checkPeople(bool tell)
{
    for (PersonFields &f : m_people) {
        const auto problem = kestrava::checkSubject(f.first->text(), f.last->text(), f.day->currentText(),
                                                    f.month->currentText(), f.year->currentText());
        if (problem) {
            if (tell) {
                host().services().messages->inform(this, platform::Icon::Information, problem->message);
                QWidget *const controls[] = {f.first, f.last, f.day, f.month, f.year};
                controls[int(problem->field)]->setFocus();
            }
            return false;
        }
    }
    return true;
}

bool CompatibilityWindow::compare()
{
    if (!checkPeople(true))
        return false;
    const numpro::Compatibility compatibility =
        numpro::computeCompatibility(inputsOf(m_people[0]), inputsOf(m_people[1]), m_marriageDate->date());
    showTable(compatibility);
    view()->clear();
    for (const richtext::Composition &part : numpro::composeCompatibility(compatibility))
        richtext::appendToTextEdit(view(), part);
    view()->moveCursor(QTextCursor::Start);
    m_shown = compatibility;
    recordForClients();
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
    // A client goes with their fields.
    std::swap(m_people[0].clientId, m_people[1].clientId);
    std::swap(m_people[0].filled, m_people[1].filled);
    if (m_shown)
        compare();
}

void CompatibilityWindow::saveFile()
{
    const numpro::CompatibilitySubjects saved = subjects();
    // A saved reading is the two people, not a day's document: no date.
    const auto path = host().services().files->saveFile(
        this, {tr("Save the Compatibility Reading ...."), tr("Compatibility reading (*.knc)"), u"knc"_s,
               kestrava::suggestedFileName(documentPeople(), {}, u"knc"_s, tr("Compatibility"))});
    if (!path)
        return;
    if (const kestrava::MaybeFailure failure = numpro::writeCompatibilityFile(*path, saved)) {
        host().services().messages->inform(this, platform::Icon::Error,
                                           tr("The reading could not be saved to %1.\n%2")
                                               .arg(QDir::toNativeSeparators(*path), failure->reason));
        return;
    }
    // Saved clients were read for, whether or not the reading was shown.
    if (isOpen() && subjects() == saved && checkPeople(false))
        recordForClients();
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

QStringList CompatibilityWindow::documentPeople() const
{
    QStringList people;
    for (const PersonFields &fields : m_people)
        people << QStringList{fields.first->text(), fields.middle->text(), fields.last->text()}.join(u' ');
    return people;
}
