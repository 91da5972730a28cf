#include "clientbook/clientbooklauncher.h"

#include "widgets/programhost.h"

#include <QMdiArea>

ClientBookLauncher::ClientBookLauncher(ProgramHost &host, clients::SavedReadingKinds savedReadingKinds,
                                       ClientBookWindow::ReadWith readWith, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_savedReadingKinds(std::move(savedReadingKinds))
    , m_readWith(std::move(readWith))
{
}

void ClientBookLauncher::offerReport(std::function<void(const clients::Client &)> openReport)
{
    m_openReport = std::move(openReport);
    if (ClientBookWindow *shown = window(); shown && m_openReport)
        shown->offerReport(m_openReport);
}

ClientBookWindow *ClientBookLauncher::open()
{
    ClientBookWindow *shown = window();
    if (!shown) {
        shown = new ClientBookWindow(m_host, m_host.clientBook(), m_savedReadingKinds, m_readWith);
        if (m_openReport)
            shown->offerReport(m_openReport);
        m_window = shown;
        // Shown first: the welcome panel then gives way and the area has its full size.
        shown->show();
        const QSize room = m_host.documentArea()->viewport()->size();
        shown->resize(shown->size().boundedTo(room).expandedTo(shown->minimumSizeHint()));
        shown->move(qMax(0, (room.width() - shown->width()) / 2), 0);
    }
    bringToFront(shown);
    return shown;
}

void ClientBookLauncher::bookChanged()
{
    if (ClientBookWindow *shown = window())
        shown->bookChanged();
}
