#pragma once

#include "clientbook/clientbookwindow.h"
#include "clients/client.h"
#include "clients/clientimport.h"

#include <QObject>
#include <QPointer>

#include <functional>

class ProgramHost;

// Opens the client book window (one at a time) for the main window and the
// programs' windows, which know it only through the functions the
// composition root hands the main window.
class ClientBookLauncher : public QObject
{
    Q_OBJECT
public:
    // Imports take the saved readings of the kinds given; readWith opens a
    // program on a client as the launcher opens it.
    ClientBookLauncher(ProgramHost &host, clients::SavedReadingKinds savedReadingKinds,
                       ClientBookWindow::ReadWith readWith, QObject *parent = nullptr);

    // Has the window offer "Report..." for the chosen client.
    void offerReport(std::function<void(const clients::Client &)> openReport);

    // Shows the client book window, centred at the top of the document area
    // when it opens; an open one is brought forward.
    ClientBookWindow *open();
    // Another window changed the book: an open client book window shows it.
    void bookChanged();

    // The client book window while it is open, or null.
    ClientBookWindow *window() const { return openOrNull(m_window); }

private:
    ProgramHost &m_host;
    clients::SavedReadingKinds m_savedReadingKinds;
    ClientBookWindow::ReadWith m_readWith;
    std::function<void(const clients::Client &)> m_openReport;
    QPointer<ClientBookWindow> m_window;
};
