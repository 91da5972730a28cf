#pragma once

#include "clients/client.h"
#include "common/brand.h"
#include "common/person.h"

#include <QJsonObject>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class ProgramWindow;
class QAction;

// What an input window offers the client book: its own fields and checks.
struct ClientFields
{
    // Fills the name and date fields from a person; false (after saying so)
    // when the window cannot show the person's birth date.
    std::function<bool(const kestrava::Person &)> fill;
    // The person as typed, for "Add to Client Book"; nothing when the window
    // holds no name (the daily window takes a birth date only).
    std::function<std::optional<kestrava::Person>()> typed;
    // The checks of the window's own Show button, with its messages.
    std::function<bool()> check;
    // The texts of the fields a reading reads, to tell whether they still
    // hold the person they were filled with.
    std::function<QStringList()> snapshot;
};

// The client book in a program's input window: a Clients menu with "Choose
// Client..." (Ctrl+K), which fills the fields from a client of the book,
// "Add to Client Book" for the person typed in, and "Client Book..." for the
// book's own window.  A reading run on fields still holding a client's
// name and date goes into that client's history.
class ClientLink : public QObject
{
    Q_OBJECT
public:
    ClientLink(ProgramWindow &window, kestrava::ProgramId program, ClientFields fields);

    // Picks a client and fills the fields from them.
    void chooseClient();
    // Adds the person typed in to the book, unless they are there already.
    void addToClientBook();

    // Fills the fields from a person; a client of the book (clientId not 0)
    // gets the readings run on these fields in their history.  False when
    // the fields could not take the person.
    bool fillFor(const kestrava::Person &person, qint64 clientId);
    // The window ran its reading on its fields, with these inputs: a client
    // the fields still hold gets it in their history.
    void readingRan(const QJsonObject &inputs);

    // The reading last put into a client's history was saved or exported to
    // a file: the entry records it, while the fields still hold the client.
    void fileWritten(const QString &path);

    // The client the fields hold, or 0.
    qint64 clientId() const;

    // Says that the window's date lists cannot show a birth date.
    static QString dateNotListed(const QDate &date);

    QAction *chooseAction() const { return m_choose; }
    QAction *addAction() const { return m_add; }

signals:
    // The fields were filled from a person, chosen or handed in; a client
    // of the book is clientId() by now.  A window whose filling is its
    // reading (the daily window) records it here.
    void filled();

private:
    ProgramWindow &m_window;
    kestrava::ProgramId m_program;
    ClientFields m_fields;
    QAction *m_choose = nullptr;
    QAction *m_add = nullptr;
    qint64 m_clientId = 0;
    QStringList m_filled; // the fields as filled for the client
    std::optional<clients::ReadingEntry> m_last; // the reading of these fields in the history
};
