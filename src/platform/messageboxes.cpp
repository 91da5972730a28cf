#include "platform/messageboxes.h"

#include <QMessageBox>

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

} // namespace

void QtMessageBoxes::inform(QWidget *parent, Icon icon, const QString &text)
{
    QMessageBox box(toQt(icon), kAppTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtMessageBoxes::ask(QWidget *parent, Icon icon, const QString &text)
{
    QMessageBox box(toQt(icon), kAppTitle, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

} // namespace platform
