#pragma once

#include "clients/clientbook.h"

#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

// What the client book tests share: a fresh folder for the book, a fixed
// clock, and a look at the file from outside the library.
namespace clientstest {

inline const QDateTime kNow(QDate(2024, 3, 7), QTime(10, 0), Qt::UTC);

inline clients::Client person(const QString &first, const QString &middle, const QString &last, QDate born,
                              const QString &now = {})
{
    clients::Client client;
    client.person = {first, middle, last, born, now};
    return client;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs one statement on the file through a connection of its own and gives
// the first column of the first row.
inline QVariant sqlValue(const QString &path, const QString &statement)
{
    static int connections = 0;
    const QString name = QStringLiteral("clients-test-%1").arg(++connections);
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(statement) && query.next())
                value = query.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return value;
}

class ClientBookTest : public ::testing::Test
{
protected:
    QString bookPath() const { return m_dir.filePath(QStringLiteral("book/clients.sqlite")); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace clientstest
