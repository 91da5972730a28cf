#pragma once

#include "numpro/readings/readinginputs.h"
#include "numpro/relationships/compatibility.h"
#include "numpro/relationships/compatibilityfile.h"
#include "widgets/readingwindow.h"

#include <array>
#include <optional>

class MarriageDateGroup;
class NumProProgram;
class QComboBox;
class QLineEdit;
class QTableWidget;

// The Compatibility window: two people's names and birth dates side by side
// (the first from the input window, the second typed), their core numbers in
// a table, and the compatibility document, which prints, exports as PDF and
// saves both people as a knc file that opens again.
class CompatibilityWindow : public ReadingWindow
{
    Q_OBJECT
public:
    CompatibilityWindow(NumProProgram &program, const numpro::ReadingInputs &first);

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

private:
    struct PersonFields
    {
        QLineEdit *first = nullptr;
        QLineEdit *middle = nullptr;
        QLineEdit *last = nullptr;
        QComboBox *month = nullptr;
        QComboBox *day = nullptr;
        QComboBox *year = nullptr;
    };
    QWidget *makePerson(int index, const QString &title, const numpro::ReadingInputs &person, QWidget *parent);
    numpro::ReadingSubject subjectOf(const PersonFields &fields) const;
    numpro::ReadingInputs inputsOf(const PersonFields &fields) const;
    void setFields(PersonFields &fields, const numpro::ReadingSubject &subject);
    void showTable(const numpro::Compatibility &compatibility);

    std::array<PersonFields, 2> m_people;
    MarriageDateGroup *m_marriageDate;
    QTableWidget *m_numbers;
    std::optional<numpro::Compatibility> m_shown;
};
