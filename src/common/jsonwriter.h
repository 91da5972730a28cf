#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <string>

namespace kestrava {

// Compact JSON text gathered in a buffer of its own and handed to a string
// in large pieces, so the many small writes of a subject's values cost no
// call each.  Everything is in the string once the writer is gone (or flushed).
class JsonWriter
{
public:
    explicit JsonWriter(std::string &out) : m_out(out) {}
    JsonWriter(const JsonWriter &) = delete;
    JsonWriter &operator=(const JsonWriter &) = delete;
    ~JsonWriter() { flush(); }

    void put(char c)
    {
        if (m_size == kRoom)
            flush();
        m_buffer[m_size++] = c;
    }
    void put(const char *text, std::size_t size);
    void putInteger(qint64 n);
    // The text as a JSON string, quoted and escaped.
    void putString(QStringView text);
    void put(const QJsonValue &value);
    void flush();

private:
    static constexpr std::size_t kRoom = 4096;
    std::string &m_out;
    std::size_t m_size = 0;
    char m_buffer[kRoom];
};

// Appends the value as compact JSON text (what QJsonDocument writes, with
// integral numbers written as integers).
void appendJson(std::string &out, const QJsonValue &value);
// Appends the text as a JSON string.
void appendJsonString(std::string &out, QStringView text);


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

} // namespace kestrava
