#include "platform/messageboxes.h"

#include "platform/modaldialogs.h"

#include <QMessageBox>
#include <QPointer>

namespace platform {

namespace {

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Warning: return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

// The box lives on the heap and is run through runModal: a window closed
// while its box is open closes the box first (see modaldialogs.h).
int run(QWidget *parent, Icon icon, const QString &text, QMessageBox::StandardButtons buttons)
{
    QPointer<QMessageBox> box = new QMessageBox(toQt(icon), kAppTitle, text, buttons, parent);
    if (buttons & QMessageBox::Yes)
        box->setDefaultButton(QMessageBox::Yes);
    const int answer = runModal(parent, box);
    delete box;
    return answer;
}

} // namespace

void QtMessageBoxes::inform(QWidget *parent, Icon icon, const QString &text)
{
    run(parent, icon, text, QMessageBox::Ok);
}

bool QtMessageBoxes::ask(QWidget *parent, Icon icon, const QString &text)
{
    return run(parent, icon, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace platform
