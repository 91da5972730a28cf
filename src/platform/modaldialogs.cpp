#include "platform/modaldialogs.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

struct RunningBox
{
    QPointer<QWidget> owner;
    QPointer<QDialog> dialog;
};

struct Waiting
{
    QPointer<QWidget> window;
    std::function<void()> then;
};

QList<RunningBox> &running()
{
    static QList<RunningBox> boxes;
    return boxes;
}

QList<Waiting> &waiting()
{
    static QList<Waiting> list;
    return list;
}

bool within(const QWidget *window, const QWidget *widget)
{
    return widget && (widget == window || window->isAncestorOf(widget));
}

bool hasBoxes(const QWidget *window)
{
    for (const RunningBox &box : running()) {
        if (within(window, box.owner))
            return true;
    }
    return false;
}

void runWaiting()
{
    QList<Waiting> &list = waiting();
    for (qsizetype i = 0; i < list.size();) {
        if (list[i].window && hasBoxes(list[i].window)) {
            ++i;
            continue;
        }
        Waiting ready = list.takeAt(i);
        if (ready.window)
            ready.then();
    }
}

} // namespace

int runModal(QWidget *owner, QDialog *dialog)
{
    running().append({owner, dialog});
    const QPointer<QDialog> guard(dialog);
    const int result = dialog->exec();
    running().removeIf([&](const RunningBox &box) { return box.dialog == guard || !box.dialog; });
    runWaiting();
    return guard ? result : QDialog::Rejected;
}

bool rejectBoxesOf(QWidget *window)
{
    bool any = false;
    for (const RunningBox &box : QList<RunningBox>(running())) {
        if (within(window, box.owner) && box.dialog) {
            box.dialog->reject();
            any = true;
        }
    }
    return any;
}

void whenBoxesOfReturned(QWidget *window, std::function<void()> then)
{
    if (!hasBoxes(window)) {
        then();
        return;
    }
    waiting().append({window, std::move(then)});
}

} // namespace platform
