#pragma once

#include "clients/client.h"
#include "report/ui/reportwindow.h"

#include <QObject>
#include <QPointer>

#include <optional>

class ProgramHost;
class QWidget;

// Opens the report window (one at a time) and Report Settings for the main
// window and the client book window, which know the report only through
// the functions the composition root hands them.
class ReportLauncher : public QObject
{
    Q_OBJECT
public:
    ReportLauncher(ProgramHost &host, QObject *parent = nullptr);

    // Shows the report window, on the client when one is given; an open
    // window is brought forward (and takes the client).
    ReportWindow *open(const std::optional<clients::Client> &client = std::nullopt);
    // Report Settings over owner; an open report window follows the change.
    void editSettings(QWidget *owner);

    // The report window while it is open, or null.
    ReportWindow *window() const { return openOrNull(m_window); }

private:
    ProgramHost &m_host;
    QPointer<ReportWindow> m_window;
};
