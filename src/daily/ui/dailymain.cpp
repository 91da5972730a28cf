#include "daily/ui/dailymain.h"

#include "common/brand.h"
#include "common/datelists.h"
#include "daily/dailydocument.h"
#include "daily/dailynumber.h"
#include "daily/ui/dailyprogram.h"
#include "daily/ui/dailyreminder.h"
#include "daily/ui/dailysettings.h"
#include "daily/ui/dayicon.h"
#include "platform/settingsstore.h"
#include "shell/commonmenus.h"
#include "shell/updatereminderrun.h"
#include "widgets/brandlabels.h"
#include "widgets/clientlink.h"
#include "widgets/clientlistmodel.h"
#include "widgets/fonts.h"
#include "widgets/inputfields.h"
#include "widgets/linklabel.h"
#include "widgets/programhost.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

using namespace daily::settings;

namespace {

constexpr int kFirstYear = 1901;
constexpr int kRestoredIcon = 31; // the icon a window restored from the tray wears

QString truth(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

QStringList numbers(int last)
{
    QStringList texts;
    for (int n = 0; n <= last; ++n)
        texts << QString::number(n);
    return texts;
}

// A birth date as the birth lists write it: the day, the month's name.
QString dayText(const QDate &date)
{
    return QString::number(date.day());
}

QString monthText(const QDate &date)
{
    return kestrava::monthNames().value(date.month() - 1);
}

QLabel *named(QLabel *label, const QString &name)
{
    label->setObjectName(name);
    return label;
}

QString caption()
{
    return QStringLiteral("Orvanel ") + kestrava::programName(kestrava::ProgramId::Daily);
}

} // namespace

DailyMain::DailyMain(DailyProgram &program)
    : ProgramWindow(program.host(), QStringLiteral("frmDailyNumerologyMain"), caption())
    , m_program(program)
{
    setFont(kestrava::verdana(font().pointSizeF(), false));
    setWindowIcon(daily::dayIcon(host().services().clock->now().date().day()));
    // Before the pages: the start-up choice on the settings page writes through it.
    m_reminder = new DailyReminder(*this);
    connect(m_reminder, &DailyReminder::showRequested, this, &DailyMain::showFromTray);
    connect(m_reminder, &DailyReminder::exitRequested, this, &DailyMain::closeByProgram);
    connect(m_reminder, &DailyReminder::due, this, &DailyMain::remind);

    QWidget *page = body();

    m_pages = new QStackedWidget(page);
    m_readingPage = buildReadingPage();
    m_settingsPage = buildSettingsPage();
    m_pages->addWidget(m_readingPage);
    m_pages->addWidget(m_settingsPage);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(brand::makeForumLabel(QStringLiteral("Label61"), true, page));
    layout->addWidget(m_pages, 1);
    layout->addWidget(brand::makeFullBrandFrame(page));
    buildMenus();
    setMinimumWidth(560);

    host().documentArea()->viewport()->installEventFilter(this);
}

QGroupBox *DailyMain::buildReadingPage()
{
    auto *frame = new QGroupBox(daily::readingCaption());
    frame->setObjectName(QStringLiteral("fraRune"));
    m_bigNumber = named(new QLabel(frame), QStringLiteral("lblNumeroNumberTwo"));
    m_bigNumber->setFont(kestrava::verdana(72, true));
    m_bigNumber->setAlignment(Qt::AlignCenter);
    m_bigNumber->setStyleSheet(QStringLiteral("color: #800000;"));
    auto *lucky = named(new QLabel(daily::luckyNumberCaption(), frame), QStringLiteral("Label4"));
    lucky->setAlignment(Qt::AlignCenter);
    m_word = named(new QLabel(frame), QStringLiteral("lblNumber"));
    m_word->setFont(kestrava::verdana(12, true));
    m_word->setAlignment(Qt::AlignCenter);
    auto *day = named(new QLabel(daily::dayCaption(), frame), QStringLiteral("Label8"));
    QFont heading = day->font();
    heading.setBold(true);
    day->setFont(heading);
    m_paragraph = named(new QLabel(frame), QStringLiteral("lblNumberDesc"));
    m_paragraph->setWordWrap(true);
    m_paragraph->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_paragraph->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_paragraph->setMinimumHeight(m_paragraph->fontMetrics().lineSpacing() * 6);
    auto *settings = new QPushButton(tr("&Settings"), frame);
    settings->setObjectName(QStringLiteral("cmdSettings"));
    connect(settings, &QPushButton::clicked, this, &DailyMain::showSettingsPage);
    // Offered only while a client's reading is shown.
    m_ownReading = new QPushButton(tr("&Your Own Reading"), frame);
    m_ownReading->setObjectName(QStringLiteral("cmdOwnReading"));
    m_ownReading->hide();
    connect(m_ownReading, &QPushButton::clicked, this, [this, settings] {
        endClientReading();
        settings->setFocus();
    });
    setTabOrder(m_ownReading, settings);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ownReading);
    buttons->addWidget(settings);
    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(m_bigNumber);
    layout->addWidget(lucky);
    layout->addWidget(m_word);
    layout->addSpacing(8);
    layout->addWidget(day);
    layout->addWidget(m_paragraph, 1);
    layout->addLayout(buttons);
    return frame;
}

QWidget *DailyMain::buildSettingsPage()
{
    auto *frame = new QGroupBox(tr("%1 Reading Settings").arg(kestrava::programName(kestrava::ProgramId::Daily)));
    frame->setObjectName(QStringLiteral("fraSettings"));

    auto *birth = new QGroupBox(daily::birthDateCaption(), frame);
    birth->setObjectName(QStringLiteral("Frame1"));
    m_day = inputfields::makePickList(QStringLiteral("cboDate"), kestrava::dayTexts(), birth);
    m_month = inputfields::makePickList(QStringLiteral("cboMonth"), kestrava::monthNames(), birth);
    m_year = inputfields::makePickList(QStringLiteral("cboYear"), kestrava::yearTexts(kFirstYear), birth);
    m_day->setAccessibleName(tr("Birth day"));
    m_month->setAccessibleName(tr("Birth month"));
    m_year->setAccessibleName(tr("Birth year"));
    auto *birthRow = new QHBoxLayout(birth);
    birthRow->addWidget(m_day, 1);
    birthRow->addWidget(m_month, 2);
    birthRow->addWidget(m_year, 1);

    auto *today = named(new QLabel(tr("How Will your Day Be?"), frame), QStringLiteral("Label1"));
    m_smallNumber = named(new QLabel(frame), QStringLiteral("lblNumeroNumberOne"));
    m_smallNumber->setFont(kestrava::verdana(28, true));
    m_smallNumber->setStyleSheet(QStringLiteral("color: #800000;"));
    auto *todayRow = new QHBoxLayout;
    todayRow->addWidget(today);
    todayRow->addWidget(m_smallNumber);
    todayRow->addStretch();

    auto *mode = new QGroupBox(tr("Choose Display Mode"), frame);
    mode->setObjectName(QStringLiteral("Frame3"));
    m_run = new QRadioButton(tr("Run at start-up"), mode);
    m_run->setObjectName(QStringLiteral("optRun"));
    m_dontRun = new QRadioButton(tr("Don't run at start-up"), mode);
    m_dontRun->setObjectName(QStringLiteral("optDontRun"));
    m_sysTray = new QCheckBox(tr("Start at system tray"), mode);
    m_sysTray->setObjectName(QStringLiteral("chkSysTray"));
    auto *modeLayout = new QVBoxLayout(mode);
    modeLayout->addWidget(m_run);
    modeLayout->addWidget(m_dontRun);
    modeLayout->addWidget(m_sysTray);

    auto *time = new QGroupBox(tr("Choose Display Time"), frame);
    time->setObjectName(QStringLiteral("Frame4"));
    m_hour = inputfields::makePickList(QStringLiteral("cboHour"), numbers(23), time);
    m_minute = inputfields::makePickList(QStringLiteral("cboMinute"), numbers(59), time);
    m_second = inputfields::makePickList(QStringLiteral("cboSecond"), numbers(59), time);
    auto *timeGrid = new QGridLayout(time);
    // Alt+H and Alt+C belong to the Help and Clients menus: a label claiming
    // the same letter would take every other press.
    const struct
    {
        const char *name, *caption;
        QComboBox *list;
    } parts[] = {{"Label5", "H&our", m_hour}, {"Label7", "M&inute", m_minute}, {"Label6", "Secon&d", m_second}};
    for (int i = 0; i < 3; ++i) {
        auto *label = named(new QLabel(tr(parts[i].caption), time), QString::fromLatin1(parts[i].name));
        label->setBuddy(parts[i].list);
        timeGrid->addWidget(label, 0, i);
        timeGrid->addWidget(parts[i].list, 1, i);
    }

    auto *apply = new QPushButton(tr("Show Daily &Numerology Reading"), frame);
    apply->setObjectName(QStringLiteral("cmdCalculateMoonPhase"));
    apply->setDefault(true);
    connect(apply, &QPushButton::clicked, this, &DailyMain::applySettings);
    auto *exit = new QPushButton(tr("&Exit"), frame);
    exit->setObjectName(QStringLiteral("cmdExit"));
    connect(exit, &QPushButton::clicked, this, &DailyMain::exitAsked);

    // The user's choice acts at once; the check box stores its state at once.
    // (The load sequence selects the options with their signals blocked and
    // writes the entry once, at its end.)
    connect(m_run, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            startupChosen(true);
            m_reminder->writeStartupEntry(true);
        }
    });
    connect(m_dontRun, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            startupChosen(false);
            m_reminder->writeStartupEntry(false);
        }
    });
    connect(m_sysTray, &QCheckBox::toggled, this,
            [](bool on) { platform::writeSetting(kRunAtSysTray, truth(on)); });

    auto *options = new QHBoxLayout;
    options->addWidget(mode, 1);
    options->addWidget(time, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(birth);
    layout->addLayout(todayRow);
    layout->addLayout(options);
    layout->addStretch();
    layout->addLayout(buttons);

    setTabOrder(m_day, m_month);
    setTabOrder(m_month, m_year);
    setTabOrder(m_year, m_run);
    setTabOrder(m_run, m_dontRun);
    setTabOrder(m_dontRun, m_sysTray);
    setTabOrder(m_sysTray, m_hour);
    setTabOrder(m_hour, m_minute);
    setTabOrder(m_minute, m_second);
    setTabOrder(m_second, apply);
    setTabOrder(apply, exit);
    return frame;
}

void DailyMain::buildMenus()
{
    auto *apply = new QAction(tr("Show Daily &Numerology Reading"), this);
    apply->setObjectName(QStringLiteral("mnuCalculateMoonPhase"));
    connect(apply, &QAction::triggered, this, &DailyMain::applySettings);
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    addCommonMenus(menuBar(), this, {apply, separator}, [this] { exitAsked(); });

    auto *tools = new QMenu(tr("&Tools"), menuBar());
    tools->setObjectName(QStringLiteral("mnuTools"));
    QAction *settings = tools->addAction(tr("&Settings"), this, &DailyMain::showSettingsPage);
    settings->setObjectName(QStringLiteral("mnuSettings"));
    // Between File and Help.
    const auto *help = menuBar()->findChild<QMenu *>(QStringLiteral("mnuHelp"));
    menuBar()->insertMenu(help ? help->menuAction() : nullptr, tools);

    // The lists are the user's own settings: a client chosen gets a reading
    // of their own on the reading page, and a date alone is no client to add.
    ClientFields fields;
    fields.fill = [this](const kestrava::Person &person) { return showClientReading(person); };
    fields.check = [this] { return validateBirthDate(); };
    fields.snapshot = [this] {
        return m_client ? QStringList{m_client->joinedName(), m_client->birthDate.toString(Qt::ISODate)}
                        : QStringList{};
    };
    m_clients = new ClientLink(*this, kestrava::ProgramId::Daily, std::move(fields));
    // Choosing a client shows their reading at once: it goes into their history.
    connect(m_clients, &ClientLink::filled, this, &DailyMain::recordReading);
}

bool DailyMain::showClientReading(const kestrava::Person &person)
{
    if (!person.birthDate.isValid()) {
        host().services().messages->inform(this, platform::Icon::Information,
                                           tr("The number of the day needs a valid birth date."));
        return false;
    }
    m_client = kestrava::readingPerson(person);
    m_ownReading->show();
    updateReadingCaption();
    showNumbers();
    showReadingPage();
    return true;
}

void DailyMain::endClientReading()
{
    if (!m_client)
        return;
    m_client.reset();
    m_ownReading->hide();
    updateReadingCaption();
    showNumbers();
}

void DailyMain::updateReadingCaption()
{
    QString caption = daily::readingCaption();
    if (m_client) {
        const QString name = m_client->joinedName();
        caption = name.isEmpty()
                      ? tr("%1 for a Client Born %2").arg(caption, ClientListModel::dateText(m_client->birthDate))
                      : tr("%1 for %2").arg(caption, name);
    }
    m_readingPage->setTitle(caption);
}

void DailyMain::recordReading()
{
    if (!m_client)
        return;
    m_clients->readingRan({{QStringLiteral("day"), dayText(m_client->birthDate)},
                           {QStringLiteral("month"), monthText(m_client->birthDate)},
                           {QStringLiteral("today"),
                            host().services().clock->now().date().toString(Qt::ISODate)}});
}

void DailyMain::readFor(const kestrava::Person &person, qint64 clientId)
{
    if (!m_clients->fillFor(person, clientId))
        return;
    if (isInTray() || isMinimized())
        showFromTray();
}

void DailyMain::storeOnSelection(QComboBox *list, const QString &key)
{
    connect(list, &QComboBox::currentIndexChanged, this,
            [list, key] { platform::writeSetting(key, list->currentText()); });
}

void DailyMain::load()
{
    showAtTop();
    m_placeWhenShown = window() != this && window()->isHidden();
    runUpdateReminder(host().services(), this);
    if (!isOpen())
        return;

    if (DailyReminder::hasStartupEntry()) {
        selectStartup(true);
        m_sysTray->setChecked(platform::readSetting(kRunAtSysTray) == QLatin1String("True"));
    } else {
        selectStartup(false);
    }
    if (m_program.startedAtLogon() && m_sysTray->isChecked())
        sendToTray();

    // The lists are filled when built; from here on a selection is stored at once.
    storeOnSelection(m_day, kBirthDay);
    storeOnSelection(m_month, kBirthMonth);
    storeOnSelection(m_year, kBirthYear);
    storeOnSelection(m_hour, kHour);
    storeOnSelection(m_minute, kMinute);
    storeOnSelection(m_second, kSecond);
    for (QComboBox *list : {m_hour, m_minute, m_second})
        connect(list, &QComboBox::currentIndexChanged, this, &DailyMain::displayTimeChanged);

    if (platform::readSetting(kHour).isEmpty()) {
        for (QComboBox *list : {m_day, m_month, m_year, m_hour, m_minute, m_second})
            list->setCurrentIndex(0);
        platform::writeSetting(kHour, QStringLiteral("7"));
        platform::writeSetting(kMinute, QStringLiteral("0"));
        platform::writeSetting(kSecond, QStringLiteral("0"));
        platform::writeSetting(kBirthDay, m_day->currentText());
        platform::writeSetting(kBirthMonth, m_month->currentText());
        platform::writeSetting(kBirthYear, m_year->currentText());
        calculateDailyNumber();
        showSettingsPage();
    } else {
        inputfields::selectIfPresent(m_day, platform::readSetting(kBirthDay));
        inputfields::selectIfPresent(m_month, platform::readSetting(kBirthMonth));
        inputfields::selectIfPresent(m_year, platform::readSetting(kBirthYear));
        calculateDailyNumber();
        showReadingPage();
    }
    loadDailySettings();
    // The options may have been chosen twice above; the entry follows the
    // last choice, written once (so a failure is told once).
    m_reminder->writeStartupEntry(m_run->isChecked());

    m_reminder->start();
    m_loaded = true;
    if (!isInTray() && !isMinimized())
        m_day->setFocus();
}

void DailyMain::calculateDailyNumber()
{
    showNumbers();
    // A client's reading leaves the settings file as the user left it.
    if (m_client)
        return;
    platform::writeSetting(kBirthDay, m_day->currentText());
    platform::writeSetting(kBirthMonth, m_month->currentText());
    platform::writeSetting(kBirthYear, m_year->currentText());
}

void DailyMain::showNumbers()
{
    const QDate today = host().services().clock->now().date();
    const qint16 own = daily::dailyNumber(m_day->currentText(), m_month->currentText(), today);
    const qint16 number =
        m_client ? daily::dailyNumber(dayText(m_client->birthDate), monthText(m_client->birthDate), today) : own;
    m_smallNumber->setText(QString::number(own));
    m_bigNumber->setText(QString::number(number));
    m_word->setText(daily::dailyWord(number));
    m_paragraph->setText(daily::dailyText(number));
}

bool DailyMain::validateBirthDate()
{
    if (daily::birthDateExists(m_day->currentIndex() + 1, m_month->currentIndex() + 1))
        return true;
    host().services().messages->inform(this, platform::Icon::Information, tr("Please Enter Correct Date !"));
    return false;
}

void DailyMain::saveDisplayOptions()
{
    platform::writeSetting(kAutorun, truth(m_run->isChecked()));
    platform::writeSetting(kSystemTray, truth(m_sysTray->isChecked()));
}

void DailyMain::loadDailySettings()
{
    m_sysTray->setChecked(platform::readSetting(kSystemTray) == QLatin1String("True"));
    selectStartup(platform::readSetting(kAutorun) == QLatin1String("True"));
    inputfields::selectIfPresent(m_hour, platform::readSetting(kHour));
    inputfields::selectIfPresent(m_minute, platform::readSetting(kMinute));
    inputfields::selectIfPresent(m_second, platform::readSetting(kSecond));
    inputfields::selectIfPresent(m_day, platform::readSetting(kBirthDay));
    inputfields::selectIfPresent(m_month, platform::readSetting(kBirthMonth));
    inputfields::selectIfPresent(m_year, platform::readSetting(kBirthYear));
}

void DailyMain::selectStartup(bool on)
{
    {
        const QSignalBlocker run(m_run);
        const QSignalBlocker dontRun(m_dontRun);
        (on ? m_run : m_dontRun)->setChecked(true);
    }
    startupChosen(on);
}

void DailyMain::startupChosen(bool on)
{
    m_sysTray->setEnabled(on);
    if (!on) {
        m_sysTray->setChecked(false);
        // The check box stores its state when it changes; clearing a clear
        // box stores it all the same.
        platform::writeSetting(kRunAtSysTray, truth(false));
    }
}

void DailyMain::applySettings()
{
    if (!validateBirthDate())
        return;
    saveDisplayOptions();
    // The reading waiting in the tray is the user's own, for the date just
    // applied.
    endClientReading();
    calculateDailyNumber();
    sendToTray();
    showReadingPage();
}

void DailyMain::exitAsked()
{
    const QString question = tr("Are You Sure You Want To Quit %1 ?").arg(caption());
    if (host().services().messages->ask(this, platform::Icon::Warning, question))
        closeByProgram();
    else if (isOpen())
        applySettings();
}

void DailyMain::showSettingsPage()
{
    // The settings are the user's own, and so is the reading they go with.
    endClientReading();
    m_pages->setCurrentWidget(m_settingsPage);
}

void DailyMain::showReadingPage()
{
    m_pages->setCurrentWidget(m_readingPage);
}

QSystemTrayIcon *DailyMain::trayIcon() const
{
    return m_reminder->trayIcon();
}

bool DailyMain::isInTray() const
{
    return m_reminder->trayIconShown() && isHidden();
}

void DailyMain::sendToTray()
{
    // What waits in the tray is the user's reminder, never a client's reading.
    endClientReading();
    if (m_reminder->showInTray(windowIcon())) {
        showMinimized();
        hide();
    } else {
        // Without a notification area a hidden window could never be found
        // again: it waits minimised in the document area instead.
        showMinimized();
    }
}

void DailyMain::showFromTray()
{
    setWindowIcon(daily::dayIcon(kRestoredIcon));
    // Shown before the day's display time, the reading is today's all the same.
    calculateDailyNumber();
    showNormal();
    raise();
    host().documentArea()->setActiveSubWindow(this);
    m_reminder->hideTrayIcon();
    bringUpMainWindow();
    // Centred in the document area, both ways, also once the area has grown
    // back over the welcome panel that this window's return hides.
    keepPlaced(Place::Centred);
}

void DailyMain::keepPlaced(Place place)
{
    m_keptPlace = place;
    placeInArea();
}

void DailyMain::placeInArea()
{
    if (!m_keptPlace)
        return;
    const QWidget *area = host().documentArea()->viewport();
    const int top = *m_keptPlace == Place::Centred ? qMax(0, (area->height() - height()) / 2) : 0;
    const QScopedValueRollback placing(m_placing, true);
    move(qMax(0, (area->width() - width()) / 2), top);
}

bool DailyMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == host().documentArea()->viewport())
        placeInArea();
    return ProgramWindow::eventFilter(watched, event);
}

void DailyMain::moveEvent(QMoveEvent *event)
{
    // Moved by the user (or minimised, or restored): the window stays where
    // it is put from now on.
    if (!m_placing)
        m_keptPlace.reset();
    ProgramWindow::moveEvent(event);
}

void DailyMain::tick()
{
    m_reminder->tick();
}

void DailyMain::remind()
{
    // The reminder is the user's own reading, not the last client's.
    endClientReading();
    calculateDailyNumber();
    showNormal();
    raise();
    host().documentArea()->setActiveSubWindow(this);
    bringUpMainWindow();
}

void DailyMain::displayTimeChanged()
{
    m_reminder->displayTimeChanged(
        QTime(m_hour->currentText().toInt(), m_minute->currentText().toInt(), m_second->currentText().toInt()));
}

void DailyMain::bringUpMainWindow()
{
    // Started at log-in, the main window waits hidden (or minimised where
    // there is no notification area) until the reading comes up.
    QWidget *main = window();
    if (main == this || !(main->isHidden() || main->isMinimized()))
        return;
    main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
    main->show();
    main->raise();
    main->activateWindow();
    takeLauncherPlace();
}

void DailyMain::takeLauncherPlace()
{
    // Loaded before the main window first showed, this window was placed in
    // a document area without a size: the first time both are in view it
    // takes the launcher's place, centred at the top, as the area gets its
    // size.
    if (!m_placeWhenShown || isMinimized() || window()->isHidden() || window()->isMinimized())
        return;
    m_placeWhenShown = false;
    keepPlaced(Place::AtTop);
}

void DailyMain::closeByProgram()
{
    m_closingByProgram = true;
    close();
}

void DailyMain::changeEvent(QEvent *event)
{
    ProgramWindow::changeEvent(event);
    // Restored from minimised (where there is no notification area the user
    // does it): the number is today's, not the one of the day it was put away.
    if (event->type() == QEvent::WindowStateChange && m_loaded && isOpen()
        && (static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized) && !isMinimized()) {
        calculateDailyNumber();
        takeLauncherPlace();
    }
}

void DailyMain::closeEvent(QCloseEvent *event)
{
    if (!isOpen()) {
        ProgramWindow::closeEvent(event);
        return;
    }
    if (!m_closingByProgram && !host().isClosingPrograms()) {
        // The close box only puts the reading away.
        event->ignore();
        sendToTray();
        showReadingPage();
        return;
    }
    saveDisplayOptions();
    showReadingPage();
    ProgramWindow::closeEvent(event);
}

void DailyMain::onClosed()
{
    m_reminder->stop();
    saveDisplayOptions();
    m_reminder->hideTrayIcon();
    // Started at log-in into the tray, the suite has shown nothing but this
    // reading: closed, it leaves nothing to come back to, so the suite ends.
    QWidget *main = window();
    if (main != this && main->isHidden() && !host().isClosingPrograms())
        QTimer::singleShot(0, main, &QWidget::close);
}
