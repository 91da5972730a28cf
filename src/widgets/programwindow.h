#pragma once

#include <QMdiSubWindow>
#include <QPointer>

class ProgramHost;
class QMenuBar;
class QVBoxLayout;

// Base of every program window: a child window of the main window's document
// area with its own menu bar.  Closing it destroys it; onClosed() runs once,
// when the close has been accepted.
class ProgramWindow : public QMdiSubWindow
{
    Q_OBJECT
public:
    ProgramWindow(ProgramHost &host, const QString &name, const QString &caption);

    // Shows the window and places it centred horizontally at the top of the
    // document area.  Given a window it opens over, it takes at least that
    // window's size, so no part of the one below peeks out at its edges.
    void showAtTop(const QWidget *over = nullptr);
    // False once the window has been closed (it is then about to be destroyed).
    bool isOpen() const { return !m_closed; }

    QMenuBar *menuBar() const { return m_menuBar; }
    ProgramHost &host() const { return m_host; }

protected:
    QWidget *body() const { return m_body; }
    // Window-specific work after the close was accepted.
    virtual void onClosed() {}
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Puts a window back from its title bar (or from the notification area)
    // where it stood before, moved as little as needed to lie wholly inside
    // the document area, or with its title bar at the top where it is
    // taller than the area.
    void placeRestored();
    void rememberPlace();

    ProgramHost &m_host;
    QWidget *m_body;
    QMenuBar *m_menuBar;
    bool m_closed = false;
    // Where the window last stood, shown and neither minimised nor maximised.
    QRect m_normalGeometry;
    // The state the window last finished changing to.
    Qt::WindowStates m_settledState = Qt::WindowNoState;
    bool m_restoring = false;
    int m_handlingChange = 0;
};

// The window while it is open, or null: a closed window lingers until its
// deferred deletion but no longer counts.
template <typename Window>
Window *openOrNull(const QPointer<Window> &window)
{
    return (window && window->isOpen()) ? window.data() : nullptr;
}
