#include "common/jsonwriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <limits>

using namespace kestrava;
using namespace Qt::StringLiterals;

namespace {

std::string stringJson(QStringView text)
{
    std::string out;
    JsonWriter(out).value(text);
    return out;
}

} // namespace

TEST(JsonWriter, EscapesStringsAsTheCommandLineAlwaysHas)
{
    const struct
    {
        const char *what;
        QString text;
        const char *expected;
    } rows[] = {
        {"plain", u"MARY ANN"_s, R"("MARY ANN")"},
        {"empty", QString(), R"("")"},
        {"quote and backslash", uR"(O"BRIEN\X)"_s, R"("O\"BRIEN\\X")"},
        {"control characters as \\u00XX in lower case", u"a\nb\tc\x01\x1f"_s, R"("a\u000ab\u0009c\u0001\u001f")"},
        {"DEL is no control character here", u"a\x7f"_s, "\"a\x7f\""},
        {"accents as UTF-8", u"ÉLODIE STRAUß"_s, "\"ÉLODIE STRAUß\""},
        {"a letter beyond the first plane as one UTF-8 sequence", u"𝔄😀"_s, "\"\xF0\x9D\x94\x84\xF0\x9F\x98\x80\""},
        {"accent and escape together", u"É\"\n"_s, "\"É\\\"\\u000a\""},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        const std::string json = stringJson(row.text);
        EXPECT_EQ(json, row.expected);
        // Whatever is written reads back as the same text.
        const QJsonDocument back = QJsonDocument::fromJson(QByteArray::fromStdString("[" + json + "]"));
        EXPECT_EQ(back.array().at(0).toString(), row.text);
    }
}

TEST(JsonWriter, KeepsKeysInTheOrderAddedAndPutsEachCommaOnce)
{
    std::string out = "prefix ";
    {
        JsonWriter json(out);
        json.beginObject()
            .key("zeta").value(1)
            .key("alpha").beginArray().endArray()
            .key(u"mid").beginObject().key("x").beginArray().value(1).value(qint64(-2)).endArray().key("y").null().endObject()
            .key("list").beginArray().beginObject().endObject().beginObject().key("k").value(true).endObject().endArray()
            .key("é\"").value(u"s"_s)
            .key("raw").json(R"({"a":[1]})")
            .key("qjson").value(QJsonValue(QJsonObject{{u"b"_s, 2.0}, {u"a"_s, 0.5}}))
            .endObject();
    } // the rest reaches the string when the writer goes
    EXPECT_EQ(out, "prefix "
                   R"({"zeta":1,"alpha":[],"mid":{"x":[1,-2],"y":null},"list":[{},{"k":true}],"é\"":"s",)"
                   R"("raw":{"a":[1]},"qjson":{"a":0.5,"b":2}})");
}

TEST(JsonWriter, WritesWholeNumbersOfEverySize)
{
    std::string out;
    {
        JsonWriter json(out);
        json.beginArray();
        for (const qint64 n : {0LL, 9LL, 10LL, 99LL, 100LL, -1LL, -10LL, 32767LL, -32768LL, 9007199254740993LL,
                               std::numeric_limits<qint64>::min()})
            json.value(n);
        json.endArray();
    }
    EXPECT_EQ(out, "[0,9,10,99,100,-1,-10,32767,-32768,9007199254740993,-9223372036854775808]");
}

TEST(JsonWriter, TextLongerThanItsBufferArrivesWhole)
{
    // Strings both shorter and longer than the writer's own buffer, one of
    // them escaped, so every way text reaches the string is taken.
    const QString shortName(1000, u'A');
    const QString longName = QString(5000, u'B') + u'"';
    std::string out;
    {
        JsonWriter json(out);
        json.beginArray();
        for (int i = 0; i < 20; ++i)
            json.value(shortName).value(i);
        json.value(longName).endArray();
    }
    const QJsonArray back = QJsonDocument::fromJson(QByteArray::fromStdString(out)).array();
    ASSERT_EQ(back.size(), 41);
    EXPECT_EQ(back.at(38).toString(), shortName);
    EXPECT_EQ(back.at(39).toInt(), 19);
    EXPECT_EQ(back.at(40).toString(), longName);
}

TEST(JsonObjectWriter, WritesOneObjectInTheOrderAdded)
{
    const QByteArray json = JsonObjectWriter()
                                .add("number", 7)
                                .add("id", qint64(1) << 40)
                                .add("name", u"Ø\"\\"_s)
                                .addNull("rune")
                                .add("spread", QList<int>{3, 0, 21})
                                .add("cards", QStringList{u"The Fool"_s, QString()})
                                .add("none", QList<int>{})
                                .addJson("inputs", R"({"b":1,"a":2})")
                                .finish();
    EXPECT_EQ(json, R"({"number":7,"id":1099511627776,"name":"Ø\"\\","rune":null,"spread":[3,0,21],)"
                    R"("cards":["The Fool",""],"none":[],"inputs":{"b":1,"a":2}})");
    EXPECT_EQ(JsonObjectWriter().finish(), "{}");
}
