#pragma once

#include <QDialog>

// The About box (frmAbout): a separate window centred on the screen.
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

    // Shows the box for a window: modal (returns when it closes) or not.
    // Only one box is open at a time.
    static void showFor(QWidget *owner, bool modal);
    // The box currently open, if any.
    static AboutBox *current();
};
