#pragma once

#include "clients/client.h"
#include "common/brand.h"
#include "common/person.h"
#include "widgets/programhost.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class LinkLabel;
class Program;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class WelcomePanel;
namespace clients {
class ClientBook;
}

// The practitioner's report as the main window offers it.  The composition
// root hands these in, so that the shell knows no report code.
struct ReportOpener
{
    // Opens the report window, on a client of the book when one is given.
    std::function<void(const std::optional<clients::Client> &)> open;
    // Opens Report Settings over the window given.
    std::function<void(QWidget *owner)> editSettings;
};

// The client book window as the main window offers it.  The composition
// root hands these in, so that the shell knows no client book window code.
struct ClientBookOpener
{
    // Shows the client book window (an open one comes forward) and returns it.
    std::function<QWidget *()> open;
    // A window changed the book: the client book window, while open, shows it.
    std::function<void()> bookChanged;
};

// The main window (frmMDI): banner, launch buttons, welcome panel and the
// document area every program window opens in.  Launching a program first
// closes every program window, so at most one program is open at a time.
class MainWindow : public QMainWindow, public ProgramHost
{
    Q_OBJECT
public:
    explicit MainWindow(platform::Services services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Takes a program (not its ownership): its launch button and welcome
    // label come alive.  A program never added keeps its button disabled.
    void addProgram(Program *program);

    // Opens a program as its launch button does.
    void launch(kestrava::ProgramId program);
    // Opens a saved reading in the program that saves files with its ending,
    // as that program's Open command would; says so for any other file.
    void openFile(const QString &path);
    // Closes every program window: the fixed closing order first, then
    // whatever a program still has open.
    void runClosingSequence();
    // Opens a program on a person as the launcher opens it, and has it read
    // for them (Program::readFor).
    void readFor(kestrava::ProgramId program, const kestrava::Person &person, qint64 clientId = 0);
    // The Online Help item of this window's Help menu.
    QAction *onlineHelp() const { return m_onlineHelp; }
    // Offers the report: "New Report..." and "Report Settings..." in the
    // Clients menu, and "Report..." for the client chosen in the client book.
    void setReportOpener(ReportOpener opener);
    // Offers the client book window: Clients > Client Book... (disabled
    // until then) and every program window's way to the book.
    void setClientBookOpener(ClientBookOpener opener);

    // ProgramHost
    QMdiArea *documentArea() const override { return m_area; }
    platform::Services services() const override { return m_services; }
    void addProgramWindow(QWidget *window) override;
    bool isClosingPrograms() const override { return m_closingPrograms; }
    clients::ClientBook &clientBook() override;
    void openClientBook() override;
    void clientBookChanged() override;

    // The window names the closing sequence visits, in order.  Closing a
    // window can show another (the document window shows the navigator), which
    // is why some names come twice.
    static const QStringList &closingSequence();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildBanner();
    QWidget *buildButtonBar();
    QWidget *buildWelcomePanel();
    QWidget *buildBottomBar();
    void captionClicked(int index);
    void captionHovered(int index);
    void clearCaptionUnderlines();
    // The open program window of that name, or null.
    QWidget *openProgramWindow(const QString &name) const;
    // The welcome panel shows exactly while no program window is showing.
    void updateWelcome();
    // The program window that holds the keyboard focus and shows its
    // contents, or null.
    QWidget *focusedProgramWindow() const;
    // The main window's own accelerators (its menus' and its Exit button's)
    // work only while no program window has the focus; see the constructor.
    // Its F1 gives way only to a program window that shows an Online Help
    // item of its own.
    void updateAccelerators();

    // The Window menu: Cascade, Tile, Next and Previous, then the windows of
    // the document area that show, the active one checked.
    QMenu *buildWindowMenu();
    // The windows the Window menu lists, in the order they opened: a window
    // a program hid (it moved on to another) is not among them.
    QList<QMdiSubWindow *> shownWindows() const;
    void listWindows();
    void updateWindowCommands();
    // The next (step 1) or previous (-1) shown window after the active one
    // comes to the front.
    void activateNeighbour(int step);

    platform::Services m_services;
    QMdiArea *m_area = nullptr;
    WelcomePanel *m_welcome = nullptr;
    std::array<QPushButton *, kestrava::kProgramCount> m_buttons{};
    std::array<LinkLabel *, 9> m_captions{};
    std::array<Program *, kestrava::kProgramCount> m_programs{};
    QList<QPointer<QWidget>> m_programWindows;
    QAction *m_onlineHelp = nullptr;
    QPushButton *m_exitButton = nullptr;
    QString m_exitCaption;
    // The menu bar's menus with their titles as written, accelerators marked.
    QList<QPair<QAction *, QString>> m_menuTitles;
    bool m_ownAccelerators = true;
    bool m_closingPrograms = false;
    QAction *m_clientBookItem = nullptr;
    QMenu *m_clientsMenu = nullptr;
    QMenu *m_windowMenu = nullptr;
    QAction *m_cascade = nullptr;
    QAction *m_tile = nullptr;
    QAction *m_nextWindow = nullptr;
    QAction *m_previousWindow = nullptr;
    QList<QAction *> m_windowItems; // one per window shown
    ReportOpener m_reportOpener;
    ClientBookOpener m_clientBookOpener;
    std::unique_ptr<clients::ClientBook> m_clientBook;
    QPointer<QWidget> m_clientBookWindow;
};
