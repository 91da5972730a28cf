#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <string>

// One JSON object written as compact text with its keys in the order they
// are added (QJsonObject would sort them).
class JsonObjectWriter
{
public:
    JsonObjectWriter();

    JsonObjectWriter &add(const char *key, int number);
    JsonObjectWriter &add(const char *key, qint64 number);
    JsonObjectWriter &add(const char *key, const QString &text);
    JsonObjectWriter &addNull(const char *key);
    JsonObjectWriter &add(const char *key, const QList<int> &numbers);
    JsonObjectWriter &add(const char *key, const QStringList &texts);
    // A value that is compact JSON text already.
    JsonObjectWriter &addJson(const char *key, QByteArrayView json);

    // The object's text, "{...}".
    QByteArray finish();

private:
    void addKey(const char *key);

    std::string m_out;
};

// The compact JSON text indented by `step` spaces a level, each member and
// element on a line of its own, in the same order.  Empty objects and
// arrays stay "{}" and "[]".
QByteArray indentJson(QByteArrayView compact, int step = 2);
