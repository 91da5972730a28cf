#pragma once

#include "clients/clientbook.h"
#include "platform/settingsstore.h"
#include "support/suitefixture.h"

#include <QCoreApplication>
#include <QSettings>

// A running suite with its client book in a temporary folder, and the
// programs' settings as on a machine where they never ran.
class ClientBookSuiteTest : public SuiteTest
{
protected:
    void SetUp() override
    {
        bookPath = test.dir.filePath(QStringLiteral("clients.sqlite"));
        qputenv("KESTRAVA_CLIENTS", bookPath.toLocal8Bit());
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, kestrava::productName(),
                           QCoreApplication::applicationName());
        settings.remove(QStringLiteral("Settings"));
        settings.sync();
        SuiteTest::SetUp();
    }
    void TearDown() override
    {
        SuiteTest::TearDown();
        qunsetenv("KESTRAVA_CLIENTS");
    }

    clients::ClientBook &book() { return main->clientBook(); }
    clients::Client addClient(const QString &first, const QString &middle, const QString &last, QDate born)
    {
        clients::Client c;
        c.person = {first, middle, last, born, {}};
        const clients::Result<clients::Client> added = book().add(c, QDateTime(QDate(2026, 1, 5), QTime(10, 0)));
        EXPECT_TRUE(added.ok()) << added.failure().reason.toStdString();
        return added.ok() ? added.value() : c;
    }

    QString bookPath;
};
