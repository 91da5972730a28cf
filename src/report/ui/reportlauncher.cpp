#include "report/ui/reportlauncher.h"

#include "report/ui/reportsettingsdialog.h"
#include "widgets/programhost.h"

#include <QMdiArea>

ReportLauncher::ReportLauncher(ProgramHost &host, QObject *parent)
    : QObject(parent)
    , m_host(host)
{
}

ReportWindow *ReportLauncher::open(const std::optional<clients::Client> &client)
{
    ReportWindow *shown = window();
    if (!shown) {
        shown = new ReportWindow(m_host);
        m_window = shown;
        // Shown first, so that the document area has its full size when the
        // window is fitted into it.
        shown->show();
        const QSize room = m_host.documentArea()->viewport()->size();
        shown->resize(shown->size().boundedTo(room).expandedTo(shown->minimumSizeHint()));
        shown->move(qMax(0, (room.width() - shown->width()) / 2), 0);
    }
    if (client)
        shown->showClient(*client);
    shown->showNormal();
    shown->raise();
    m_host.documentArea()->setActiveSubWindow(shown);
    return shown;
}

void ReportLauncher::editSettings(QWidget *owner)
{
    if (ReportSettingsDialog::edit(owner, m_host.services())) {
        if (ReportWindow *shown = window())
            shown->settingsChanged();
    }
}
