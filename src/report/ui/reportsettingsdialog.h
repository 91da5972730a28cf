#pragma once

#include "platform/services.h"
#include "report/practitioner.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Report Settings: the practitioner's name, contact and logo, the report's
// title, its accent colour and its paper.  OK stores them in the suite's
// settings; a chosen logo is copied into the suite's data folder first, so
// that the report keeps its logo when the original file moves.
class ReportSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    // Opens on the practitioner given; logoFolder is where OK copies a newly
    // chosen logo, and settingsFile the store OK writes to.
    ReportSettingsDialog(const report::Practitioner &practitioner, const platform::Services &services,
                         QString logoFolder, QString settingsFile, QWidget *parent = nullptr);

    // Runs the dialog on the stored settings on behalf of owner; true when
    // the user accepted and the settings were stored.
    static bool edit(QWidget *owner, const platform::Services &services);

    // The stored practitioner, the paper of the locale where none is stored.
    static report::Practitioner stored();
    // $XDG_DATA_HOME/kestrava/report: the folder of the logo's copy.
    static QString logoFolder();

    // The practitioner as the fields hold them; the logo is the file chosen
    // (before OK, not yet the copy).
    report::Practitioner practitioner() const;

    // Takes a picture as the logo, refusing (with a message) a file that is
    // not a readable SVG or PNG picture; true when taken.
    bool chooseLogo(const QString &path);
    void removeLogo();
    void setAccent(richtext::Rgb colour);

    void accept() override;

private:
    void askForLogo();
    void askForAccent();
    void showLogo();
    // Copies the chosen logo into the logo folder; the copy's path, or
    // nothing after saying why not.
    std::optional<QString> copyLogo();

    platform::Services m_services;
    QString m_logoFolder;
    QString m_settingsFile;
    QString m_logo; // the file shown: the stored copy, or one just chosen
    richtext::Rgb m_accent;
    QLineEdit *m_name = nullptr;
    QPlainTextEdit *m_contact = nullptr;
    QLabel *m_logoPreview = nullptr;
    QPushButton *m_chooseLogo = nullptr;
    QPushButton *m_removeLogo = nullptr;
    QLineEdit *m_title = nullptr;
    QPushButton *m_accentButton = nullptr;
    QComboBox *m_paper = nullptr;
};
