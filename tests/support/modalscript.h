#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <initializer_list>

// Plays the user's part in the real modal dialogs a command opens (a test
// with realDialogs set): each step runs on the next modal dialog that comes
// up, and a file dialog counts as new again once a box over it has closed.
// A dialog that comes up with no step left, or a script that stalls, fails
// the test and is closed, so a test never hangs on a box.
class ModalScript
{
public:
    using Step = std::function<void(QWidget *dialog)>;

    ModalScript(std::initializer_list<Step> steps) : m_steps(steps)
    {
        m_started.start();
        QTimer::singleShot(0, &m_context, [this] { poll(); });
    }
    ModalScript(const ModalScript &) = delete;
    ModalScript &operator=(const ModalScript &) = delete;

    // Every step ran.
    bool done() const { return m_steps.empty(); }
    // The texts of the message boxes that came up, in order.
    const QStringList &boxTexts() const { return m_boxTexts; }

    // In the file dialog: go to folder, type name, press Enter.
    static Step typeName(const QString &folder, const QString &name)
    {
        return [folder, name](QWidget *dialog) {
            auto *files = qobject_cast<QFileDialog *>(dialog);
            ASSERT_NE(files, nullptr) << "expected a file dialog";
            files->setDirectory(folder);
            auto *field = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(field, nullptr);
            field->setFocus();
            field->setText(name);
            QTest::keyClick(field, Qt::Key_Return);
        };
    }
    // Cancel the file dialog.
    static Step cancel()
    {
        return [](QWidget *dialog) {
            ASSERT_NE(qobject_cast<QFileDialog *>(dialog), nullptr) << "expected a file dialog";
            static_cast<QDialog *>(dialog)->reject();
        };
    }
    // Answer a message box with one of its buttons.
    static Step answer(QMessageBox::StandardButton button)
    {
        return [button](QWidget *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            ASSERT_NE(box, nullptr) << "expected a message box";
            ASSERT_NE(box->button(button), nullptr);
            box->button(button)->click();
        };
    }
private:
    void poll()
    {
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog && dialog != m_last) {
            m_last = dialog;
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                m_boxTexts << box->text();
            if (m_steps.empty()) {
                ADD_FAILURE() << "an unexpected " << dialog->metaObject()->className() << " came up";
                dialog->close();
                return;
            }
            const Step step = m_steps.front();
            m_steps.pop_front();
            // The step may open a box over this dialog and wait for it, so the
            // next look is planned first.
            QTimer::singleShot(10, &m_context, [this] { poll(); });
            step(dialog);
            return;
        }
        if (m_started.elapsed() > 10000) {
            if (dialog) {
                ADD_FAILURE() << "a " << dialog->metaObject()->className() << " stayed open";
                dialog->close();
            }
            return;
        }
        QTimer::singleShot(10, &m_context, [this] { poll(); });
    }

    std::deque<Step> m_steps;
    QStringList m_boxTexts;
    QPointer<QWidget> m_last;
    QElapsedTimer m_started;
    QObject m_context; // last: pending looks end with the script
};
