#include "widgets/clientlink.h"

#include "clients/clientbook.h"
#include "clients/historytext.h"
#include "widgets/clientlistmodel.h"
#include "widgets/clientpicker.h"
#include "widgets/programhost.h"
#include "widgets/programwindow.h"

#include <QAction>
#include <QFileInfo>
#include <QJsonDocument>
#include <QMenu>
#include <QMenuBar>

namespace {

QString shownName(const kestrava::Person &person)
{
    const QString joined = person.joinedName();
    return joined.isEmpty() ? ClientListModel::listName(person) : joined;
}

} // namespace

ClientLink::ClientLink(ProgramWindow &window, kestrava::ProgramId program, ClientFields fields)
    : QObject(&window)
    , m_window(window)
    , m_program(program)
    , m_fields(std::move(fields))
{
    auto *menu = new QMenu(tr("&Clients"), window.menuBar());
    menu->setObjectName(QStringLiteral("mnuClients"));
    m_choose = menu->addAction(tr("&Choose Client..."), this, &ClientLink::chooseClient);
    m_choose->setObjectName(QStringLiteral("mnuChooseClient"));
    m_choose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    // The key belongs to this window while it has the focus: the main window
    // and the other program windows share one top-level window.
    m_choose->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    window.addAction(m_choose);
    if (m_fields.typed) {
        m_add = menu->addAction(tr("&Add to Client Book"), this, &ClientLink::addToClientBook);
        m_add->setObjectName(QStringLiteral("mnuAddToClientBook"));
    }
    menu->addSeparator();
    QAction *book = menu->addAction(tr("Client &Book..."), this, [this] { m_window.host().openClientBook(); });
    book->setObjectName(QStringLiteral("mnuClientBook"));

    // Between File and Help, as in the main window.
    const auto *help = window.menuBar()->findChild<QMenu *>(QStringLiteral("mnuHelp"));
    window.menuBar()->insertMenu(help ? help->menuAction() : nullptr, menu);
}

QString ClientLink::dateNotListed(const QDate &date)
{
    return tr("The birth date %1 cannot be chosen in this window's date lists.")
        .arg(ClientListModel::dateText(date));
}

void ClientLink::chooseClient()
{
    ProgramHost &host = m_window.host();
    clients::ClientBook &book = host.clientBook();
    if (!book.isReadable()) {
        host.services().messages->inform(&m_window, platform::Icon::Error,
                                         book.problem() ? book.problem()->message
                                                        : tr("The client book cannot be read."));
        return;
    }
    const std::optional<clients::Client> client = ClientPicker::choose(&m_window, book);
    if (client && m_window.isOpen())
        fillFor(client->person, client->id);
}

bool ClientLink::fillFor(const kestrava::Person &person, qint64 clientId)
{
    m_clientId = 0;
    m_filled.clear();
    m_last.reset();
    // The book keeps names as written; the window reads them as typing them would.
    if (!m_fields.fill(kestrava::readingPerson(person)))
        return false;
    m_clientId = clientId;
    m_filled = m_fields.snapshot();
    emit filled();
    return true;
}

qint64 ClientLink::clientId() const
{
    return (m_clientId != 0 && m_fields.snapshot() == m_filled) ? m_clientId : 0;
}

void ClientLink::readingRan(const QJsonObject &inputs)
{
    m_last.reset();
    const qint64 id = clientId();
    if (id == 0)
        return;
    ProgramHost &host = m_window.host();
    clients::ClientBook &book = host.clientBook();
    clients::ReadingEntry entry;
    entry.clientId = id;
    entry.program = m_program;
    entry.at = host.services().clock->now().toUTC();
    entry.inputs = QString::fromUtf8(QJsonDocument(inputs).toJson(QJsonDocument::Compact));
    const clients::Result<clients::ReadingEntry> added = book.addReading(entry);
    if (!added) {
        host.services().messages->inform(&m_window, platform::Icon::Error,
                                         tr("The reading could not be added to the client's history: %1")
                                             .arg(added.failure().reason));
        return;
    }
    m_last = added.value();
    host.clientBookChanged();
}

void ClientLink::fileWritten(const QString &path)
{
    if (!m_last || clientId() != m_last->clientId)
        return;
    ProgramHost &host = m_window.host();
    const clients::Result<clients::ReadingEntry> stored = host.clientBook().setReadingInputs(
        m_last->id, clients::inputsWithFile(m_last->inputs, QFileInfo(path).absoluteFilePath()));
    if (!stored) {
        host.services().messages->inform(&m_window, platform::Icon::Error,
                                         tr("The file was written, but the client's history could not record it: %1")
                                             .arg(stored.failure().reason));
        return;
    }
    m_last = stored.value();
    host.clientBookChanged();
}

void ClientLink::addToClientBook()
{
    if (!m_fields.check())
        return;
    const std::optional<kestrava::Person> person = m_fields.typed();
    if (!person)
        return;
    ProgramHost &host = m_window.host();
    clients::ClientBook &book = host.clientBook();
    platform::MessageBoxes &messages = *host.services().messages;
    if (!book.isWritable()) {
        messages.inform(&m_window, platform::Icon::Error,
                        book.problem() ? book.problem()->message : tr("The client book cannot be changed."));
        return;
    }
    if (const std::optional<clients::Client> there = book.samePerson(*person)) {
        messages.inform(&m_window, platform::Icon::Information,
                        tr("%1, born %2, is already in the client book.")
                            .arg(shownName(there->person), ClientListModel::dateText(there->person.birthDate)));
        m_clientId = there->id;
        m_filled = m_fields.snapshot();
        return;
    }
    clients::Client client;
    client.person = *person;
    const clients::Result<clients::Client> added = book.add(client, host.services().clock->now().toUTC());
    if (!added) {
        messages.inform(&m_window, platform::Icon::Error,
                        tr("%1 could not be added to the client book: %2")
                            .arg(shownName(*person), added.failure().reason));
        return;
    }
    // The readings of these fields now go into the new client's history.
    m_clientId = added->id;
    m_filled = m_fields.snapshot();
    messages.inform(&m_window, platform::Icon::Information,
                    tr("%1, born %2, was added to the client book.")
                        .arg(shownName(added->person), ClientListModel::dateText(added->person.birthDate)));
    host.clientBookChanged();
}
