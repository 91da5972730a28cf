#pragma once

#include "app/programs.h"
#include "clientbook/clientbooklauncher.h"
#include "shell/mainwindow.h"
#include "support/testservices.h"
#include "widgets/programwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A running suite: the real main window with its programs, on test services.
class SuiteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        main = std::make_unique<MainWindow>(test.services());
        installPrograms(*main);
        main->resize(1280, 800);
        main->show();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }
    void TearDown() override
    {
        main.reset();
        QApplication::processEvents();
    }

    // An open program window by name, or null.
    ProgramWindow *window(const QString &name) const
    {
        for (QMdiSubWindow *sub : main->documentArea()->subWindowList()) {
            auto *program = qobject_cast<ProgramWindow *>(sub);
            if (program && program->objectName() == name && program->isOpen())
                return program;
        }
        return nullptr;
    }
    int openCount(const QString &name) const
    {
        int count = 0;
        for (QMdiSubWindow *sub : main->documentArea()->subWindowList()) {
            auto *program = qobject_cast<ProgramWindow *>(sub);
            count += program && program->objectName() == name && program->isOpen();
        }
        return count;
    }
    template <typename T>
    T *control(const QString &windowName, const QString &controlName) const
    {
        ProgramWindow *w = window(windowName);
        return w ? w->findChild<T *>(controlName) : nullptr;
    }
    void click(const QString &windowName, const QString &button) const
    {
        auto *b = control<QPushButton>(windowName, button);
        ASSERT_NE(b, nullptr) << button.toStdString();
        ASSERT_TRUE(b->isEnabled()) << button.toStdString();
        b->click();
    }
    // The client book window while it is open, or null.
    ClientBookWindow *clientBookWindow() const
    {
        const auto *launcher = main->findChild<ClientBookLauncher *>();
        return launcher ? launcher->window() : nullptr;
    }
    QWidget *welcome() const { return main->findChild<QWidget *>(QStringLiteral("picMain")); }

    // Launches Variduzeda Vad and fills the names; the date stays as given.
    void enterNames(const QString &first, const QString &middle, const QString &last)
    {
        const QString input = QStringLiteral("frmNumerologyProMain");
        control<QLineEdit>(input, QStringLiteral("txtFirstName"))->setText(first);
        control<QLineEdit>(input, QStringLiteral("txtMiddleName"))->setText(middle);
        control<QLineEdit>(input, QStringLiteral("txtLastName"))->setText(last);
    }
    void selectDate(const QString &month, const QString &day, const QString &year)
    {
        const QString input = QStringLiteral("frmNumerologyProMain");
        auto pick = [&](const char *name, const QString &value) {
            auto *list = control<QComboBox>(input, QString::fromLatin1(name));
            list->setCurrentIndex(list->findText(value));
        };
        pick("cboMonth", month);
        pick("cboDate", day);
        pick("cboYear", year);
    }
    // Launch, type the subject, press Next: the navigator is open.
    void openNavigator(const QString &first, const QString &middle, const QString &last)
    {
        main->launch(kestrava::ProgramId::NumerologyPro);
        enterNames(first, middle, last);
        click(QStringLiteral("frmNumerologyProMain"), QStringLiteral("cmdNext"));
    }

    TestServices test;
    std::unique_ptr<MainWindow> main;
};
