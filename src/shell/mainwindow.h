#pragma once

#include "widgets/programhost.h"

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>

class LinkLabel;
class QMdiArea;
class QPushButton;
class WelcomePanel;

// The main window (frmMDI): banner, launch buttons, welcome panel and the
// document area every program window opens in.  Launching a program first
// closes every program window, so at most one program is open at a time.
class MainWindow : public QMainWindow, public ProgramHost
{
    Q_OBJECT
public:
    static constexpr int kProgramCount = 6;
    // Opens a program's first window and returns it.
    using Launcher = std::function<QWidget *()>;

    explicit MainWindow(platform::Services services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Programs register how they open; a program without a launcher keeps its
    // button disabled.
    void setLauncher(int program, Launcher launcher);
    // Registers how a program creates the windows launching needs created
    // hidden beforehand (the Variduzeda Vad document window).
    void setLaunchPreparation(std::function<void()> prepare);

    // Opens program 0..5 as its launch button does.
    void launch(int program);
    // Closes every program window, in the fixed closing order.
    void runClosingSequence();

    // ProgramHost
    QMdiArea *documentArea() const override { return m_area; }
    void setWelcomeVisible(bool visible) override;
    platform::Services services() const override { return m_services; }
    bool isClosingPrograms() const override { return m_closingPrograms; }

    // The window names the closing sequence visits, in order.  Closing a
    // window can show another (the document window shows the navigator), which
    // is why some names come twice.
    static const QStringList &closingSequence();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildBanner();
    QWidget *buildButtonBar();
    QWidget *buildWelcomePanel();
    QWidget *buildBottomBar();
    void captionClicked(int index);
    void captionHovered(int index);
    void clearCaptionUnderlines();

    platform::Services m_services;
    QMdiArea *m_area = nullptr;
    WelcomePanel *m_welcome = nullptr;
    std::array<QPushButton *, kProgramCount> m_buttons{};
    std::array<LinkLabel *, 9> m_captions{};
    std::array<Launcher, kProgramCount> m_launchers;
    std::function<void()> m_prepare;
    bool m_closingPrograms = false;
};
