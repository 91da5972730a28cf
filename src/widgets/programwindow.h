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
    // document area, in front and active.  Given a window it opens over, it
    // takes at least that window's size, so no part of the one below peeks
    // out at its edges, and closing it (its Back) returns to that window.
    void showAtTop(ProgramWindow *over = nullptr);
    // False once the window has been closed (it is then about to be destroyed).
    bool isOpen() const { return !m_closed; }

    QMenuBar *menuBar() const { return m_menuBar; }
    ProgramHost &host() const { return m_host; }

protected:
    QWidget *body() const { return m_body; }
    // Window-specific work after the close was accepted; a window it shows
    // or brings to the front here takes the place of the one returnToPrevious() chose.
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
    // The window closing was the active one: the window it opened over comes
    // back to the front, or else the one that was active before it.  Left to
    // itself, Qt activates a window by its place in the document area's list,
    // which put the client book over the window the user came back to.
    void returnToPrevious();

    ProgramHost &m_host;
    QPointer<ProgramWindow> m_opener;
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

// Shows a window of the document area in front as the active window,
// restored from its title bar.
void bringToFront(QMdiSubWindow *window);

// The window while it is open, or null: a closed window lingers until its
// deferred deletion but no longer counts.
template <typename Window>
Window *openOrNull(const QPointer<Window> &window)
{
    return (window && window->isOpen()) ? window.data() : nullptr;
}
