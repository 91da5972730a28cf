#pragma once

#include "numpro/readings/readinginputs.h"
#include "numpro/relationships/compatibility.h"
#include "numpro/relationships/compatibilityfile.h"
#include "widgets/readingwindow.h"

#include <QHash>
#include <QJsonObject>
#include <QStringList>

#include <array>
#include <optional>

class MarriageDateGroup;
class NumProProgram;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace clients {
struct Client;
}

// The Compatibility window: two people's names and birth dates side by side
// (the first from the input window, the second typed or either one chosen
// from the client book), their core numbers in a table, and the
// compatibility document, which prints, exports as PDF and saves both people
// as a knc file that opens again.  A comparison shown or saved while a
// person's fields still hold a client of the book goes into that client's
// history.
class CompatibilityWindow : public ReadingWindow
{
    Q_OBJECT
public:
    // firstClientId: the client of the book the first person is, or 0.
    CompatibilityWindow(NumProProgram &program, const numpro::ReadingInputs &first, qint64 firstClientId = 0);

    // Picks a client of the book for the person (0 first, 1 second) and
    // fills their fields.
    void chooseClient(int person);
    // Fills the person's fields from a client, their names in capitals as a
    // reading takes them; false (after saying so) when the date lists
    // cannot show the birth date.
    bool fillFromClient(int person, const clients::Client &client);
    // The client of the book whose name and birth date the person's fields
    // still hold, or 0.
    qint64 clientOf(int person) const;

    // Checks both people and shows their compatibility; false (with the
    // input window's message) when a name or date is missing.
    bool compare();
    // Exchanges the two people's fields and compares again.
    void swapPeople();
    // Asks where to and writes the knc file; a failure is reported.
    void saveFile();
    // Asks for a knc file and opens it.
    void openFile();
    // Fills both people (and the marriage date) from the file and compares;
    // a file that cannot be opened is reported and changes nothing.
    bool openCompatibilityFile(const QString &path);

    // What the fields hold now.
    numpro::CompatibilitySubjects subjects() const;
    void setSubjects(const numpro::CompatibilitySubjects &subjects);
    // The last comparison shown, if any.
    const std::optional<numpro::Compatibility> &shown() const { return m_shown; }

protected:
    QStringList documentPeople() const override;

private:
    struct PersonFields
    {
        QLineEdit *first = nullptr;
        QLineEdit *middle = nullptr;
        QLineEdit *last = nullptr;
        QComboBox *month = nullptr;
        QComboBox *day = nullptr;
        QComboBox *year = nullptr;
        // The client the fields were filled with, and the fields' texts then.
        qint64 clientId = 0;
        QStringList filled;
    };
    QWidget *makePerson(int index, const QString &title, const numpro::ReadingInputs &person, QWidget *parent);
    void addClientsMenu();
    numpro::ReadingSubject subjectOf(const PersonFields &fields) const;
    numpro::ReadingInputs inputsOf(const PersonFields &fields) const;
    static QStringList snapshotOf(const PersonFields &fields);
    void setFields(PersonFields &fields, const numpro::ReadingSubject &subject);
    void showTable(const numpro::Compatibility &compatibility);
    // Checks both people; with tell, says what is missing and focuses it.
    bool checkPeople(bool tell);
    // Adds the comparison of the fields to the history of each client they
    // hold, unless it is what that client got last from this window.
    void recordForClients();

    std::array<PersonFields, 2> m_people;
    // What each client's history last got from this window.
    QHash<qint64, QJsonObject> m_recorded;
    MarriageDateGroup *m_marriageDate;
    QTableWidget *m_numbers;
    std::optional<numpro::Compatibility> m_shown;
};
