#pragma once

#include "common/person.h"
#include "widgets/programwindow.h"

#include <QDate>
#include <QDateTime>

#include <optional>

class ClientLink;
class DailyProgram;
class DailyReminder;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QSystemTrayIcon;

// The Vavov Uvarevuvir window (frmDailyNumerologyMain): the reading page
// with the number of the day and the settings page with the birth date,
// the start-up choice and the time of day the reading comes up.  Its close
// box sends it to the notification area; only Exit and the launcher close it.
class DailyMain : public ProgramWindow
{
    Q_OBJECT
public:
    explicit DailyMain(DailyProgram &program);

    // The load sequence: start-up entry, lists, first run or stored values,
    // the reading, the stored settings.
    void load();

    // Computes the number of the day from the birth lists and the clock,
    // shows it and stores the three birth values.  While a client's reading
    // is shown, the reading page shows the client's number for the day and
    // nothing is stored.
    void calculateDailyNumber();
    // False (after saying so) for a day the birth month does not have.
    bool validateBirthDate();
    void saveDisplayOptions();
    void loadDailySettings();

    // "Show Daily Numerology Reading": check, keep the options, go to the tray.
    void applySettings();
    // Exit: asks first; No applies the settings instead.
    void exitAsked();
    void showSettingsPage();
    void showReadingPage();

    // Hidden with an icon in the notification area, or minimised where the
    // desktop has none.
    void sendToTray();
    // The tray's Show: back in the normal state, centred, without the icon.
    void showFromTray();
    // Exit, the tray's Exit and the launcher: the window really closes.
    void closeByProgram();

    // One tick of the reminder clock (its timer calls it every second).
    void tick();

    // Shows the reading of the day for a person's birth day and month
    // (see Program::readFor) on the reading page, under the person's name.
    // The settings page and the stored settings stay the user's own: the
    // reminder is never a client's.
    void readFor(const kestrava::Person &person, qint64 clientId);
    ClientLink *clientLink() const { return m_clients; }

    QSystemTrayIcon *trayIcon() const;
    bool isInTray() const;
    DailyReminder *reminder() const { return m_reminder; }

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void onClosed() override;

private:
    void buildMenus();
    QGroupBox *buildReadingPage();
    QWidget *buildSettingsPage();
    void storeOnSelection(QComboBox *list, const QString &key);
    // Shows a client's reading on the reading page (Choose Client, readFor).
    bool showClientReading(const kestrava::Person &person);
    // The reading page shows the user's own reading again.
    void endClientReading();
    // Fills both pages' numbers for today: the settings page the user's
    // own, the reading page the client's while one is shown.
    void showNumbers();
    // The reading page's caption: whose reading it is.
    void updateReadingCaption();
    // A client's reading goes into their history.
    void recordReading();
    // The program's choice of a start-up option: selected, with its effect
    // on the tray box, but the entry left as it is.
    void selectStartup(bool on);
    // What choosing an option does to the tray box.
    void startupChosen(bool on);
    // The reminder's display time has come: the user's own reading comes up.
    void remind();
    void displayTimeChanged();
    void bringUpMainWindow();
    void takeLauncherPlace();
    enum class Place { AtTop, Centred };
    // Places the window in the document area now and again whenever the
    // area changes size (it grows as the welcome panel hides, and gets its
    // size when the main window first shows), until the window is moved
    // some other way.
    void keepPlaced(Place place);
    void placeInArea();

    DailyProgram &m_program;
    QStackedWidget *m_pages = nullptr;
    QGroupBox *m_readingPage = nullptr;
    QPushButton *m_ownReading = nullptr;
    QWidget *m_settingsPage = nullptr;
    QLabel *m_bigNumber = nullptr;   // lblNumeroNumberTwo
    QLabel *m_smallNumber = nullptr; // lblNumeroNumberOne
    QLabel *m_word = nullptr;
    QLabel *m_paragraph = nullptr;
    QComboBox *m_day = nullptr;
    QComboBox *m_month = nullptr;
    QComboBox *m_year = nullptr;
    QComboBox *m_hour = nullptr;
    QComboBox *m_minute = nullptr;
    QComboBox *m_second = nullptr;
    QRadioButton *m_run = nullptr;
    QRadioButton *m_dontRun = nullptr;
    QCheckBox *m_sysTray = nullptr;
    DailyReminder *m_reminder = nullptr;
    bool m_closingByProgram = false;
    // Whose reading the reading page shows when it is not the user's own,
    // in the capitals of every reading.
    // The lists never hold a client's date: they are the user's settings.
    std::optional<kestrava::Person> m_client;
    ClientLink *m_clients = nullptr;
    bool m_loaded = false; // the load sequence has run
    bool m_placeWhenShown = false; // loaded while the main window was hidden
    std::optional<Place> m_keptPlace;
    bool m_placing = false;
};
