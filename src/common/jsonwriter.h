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

// Compact JSON text written in the order it is given: objects keep their
// keys in the order added (QJsonObject would sort them), and the writer puts
// the commas and colons between members and elements itself.  The text is
// gathered in a buffer of the writer's own and handed to the string in large
// pieces, so the many small writes of a batch of subjects cost no call each;
// everything is in the string once the writer is gone (or flushed).  A
// writer writes one value at the top (one line of a batch, say).
//
// Strings are escaped as the command line has always written them: '"' and
// '\' with a backslash, the control characters below U+0020 as \u00XX
// (lower-case hex), everything else as UTF-8 as it is.
class JsonWriter
{
public:
    explicit JsonWriter(std::string &out) : m_out(out) {}
    JsonWriter(const JsonWriter &) = delete;
    JsonWriter &operator=(const JsonWriter &) = delete;
    ~JsonWriter() { flush(); }

    JsonWriter &beginObject() { return open('{'); }
    JsonWriter &endObject() { return close('}'); }
    JsonWriter &beginArray() { return open('['); }
    JsonWriter &endArray() { return close(']'); }
    // The next member's key; its value follows.
    JsonWriter &key(QStringView name)
    {
        separate();
        putString(name);
        put(':');
        m_comma = false;
        return *this;
    }
    // A key given as UTF-8 (a literal, usually).
    JsonWriter &key(const char *name);

    JsonWriter &value(int number) { return value(qint64(number)); }
    JsonWriter &value(qint64 number)
    {
        separate();
        putInteger(number);
        m_comma = true;
        return *this;
    }
    JsonWriter &value(bool flag);
    JsonWriter &value(QStringView text)
    {
        separate();
        putString(text);
        m_comma = true;
        return *this;
    }
    JsonWriter &value(const QString &text) { return value(QStringView(text)); }
    // Integral numbers as integers; an object in QJsonObject's (sorted) order.
    JsonWriter &value(const QJsonValue &value);
    // A pointer would otherwise be taken for a flag.
    JsonWriter &value(const char *) = delete;
    JsonWriter &null();
    // A value that is compact JSON text already.
    JsonWriter &json(QByteArrayView compact);

    void flush();

private:
    JsonWriter &open(char bracket);
    JsonWriter &close(char bracket);
    // The comma before a member or element that is not its parent's first.
    // One flag is enough: opening a bracket or writing a key clears it, any
    // finished value (a closed bracket too) sets it.  The batch writes every
    // key and value through here, so it costs one test.
    void separate()
    {
        if (m_comma)
            put(',');
    }
    void put(char c)
    {
        if (m_size == kRoom)
            flush();
        m_buffer[m_size++] = c;
    }
    void put(const char *text, std::size_t size);
    void putInteger(qint64 n)
    {
        // Nearly every number a reading writes has one or two digits.
        if (n >= 0 && n < 100) {
            if (m_size + 2 > kRoom)
                flush();
            if (n >= 10)
                m_buffer[m_size++] = char('0' + n / 10);
            m_buffer[m_size++] = char('0' + n % 10);
            return;
        }
        putLongInteger(n);
    }
    void putLongInteger(qint64 n);
    void putString(QStringView text);
    void putJsonValue(const QJsonValue &value);

    static constexpr std::size_t kRoom = 4096;
    std::string &m_out;
    std::size_t m_size = 0;
    int m_depth = 0; // only to check that brackets pair up
    bool m_comma = false;
    char m_buffer[kRoom];
};

// One JSON object as compact text, built member by member with the writer
// above: for the small objects the command line and the programs' values
// write one at a time.
class JsonObjectWriter
{
public:
    JsonObjectWriter() { m_json.beginObject(); }

    JsonObjectWriter &add(const char *key, int number);
    JsonObjectWriter &add(const char *key, qint64 number);
    JsonObjectWriter &add(const char *key, const QString &text);
    JsonObjectWriter &addNull(const char *key);
    JsonObjectWriter &add(const char *key, const QList<int> &numbers);
    JsonObjectWriter &add(const char *key, const QStringList &texts);
    // A value that is compact JSON text already.
    JsonObjectWriter &addJson(const char *key, QByteArrayView json);
    // The writer, ready for the key's value: for an array or object the
    // caller writes in place.  It must be whole before the next add.
    JsonWriter &member(const char *key) { return m_json.key(key); }

    // The object's text, "{...}".
    QByteArray finish();

private:
    std::string m_out;
    JsonWriter m_json{m_out};
};

// The compact JSON text indented by `step` spaces a level, each member and
// element on a line of its own, in the same order.  Empty objects and
// arrays stay "{}" and "[]".
QByteArray indentJson(QByteArrayView compact, int step = 2);

} // namespace kestrava
