#include "cli/jsonwriter.h"

#include "numpro/readings/readingvalues.h"

JsonObjectWriter::JsonObjectWriter()
{
    m_out.reserve(128);
    m_out += '{';
}

void JsonObjectWriter::addKey(const char *key)
{
    if (m_out.size() > 1)
        m_out += ',';
    numpro::appendJsonString(m_out, QString::fromUtf8(key));
    m_out += ':';
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, int number)
{
    addKey(key);
    m_out += std::to_string(number);
    return *this;
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, qint64 number)
{
    addKey(key);
    m_out += std::to_string(number);
    return *this;
}

JsonObjectWriter &JsonObjectWriter::addJson(const char *key, QByteArrayView json)
{
    addKey(key);
    m_out.append(json.data(), std::size_t(json.size()));
    return *this;
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, const QString &text)
{
    addKey(key);
    numpro::appendJsonString(m_out, text);
    return *this;
}

JsonObjectWriter &JsonObjectWriter::addNull(const char *key)
{
    addKey(key);
    m_out += "null";
    return *this;
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, const QList<int> &numbers)
{
    addKey(key);
    m_out += '[';
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            m_out += ',';
        m_out += std::to_string(numbers[i]);
    }
    m_out += ']';
    return *this;
}

JsonObjectWriter &JsonObjectWriter::add(const char *key, const QStringList &texts)
{
    addKey(key);
    m_out += '[';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            m_out += ',';
        numpro::appendJsonString(m_out, texts[i]);
    }
    m_out += ']';
    return *this;
}

QByteArray JsonObjectWriter::finish()
{
    m_out += '}';
    return QByteArray(m_out.data(), qsizetype(m_out.size()));
}

QByteArray indentJson(QByteArrayView compact, int step)
{
    QByteArray out;
    out.reserve(compact.size() * 2);
    int depth = 0;
    auto newLine = [&] {
        out += '\n';
        out += QByteArray(depth * step, ' ');
    };
    bool inString = false;
    for (qsizetype i = 0; i < compact.size(); ++i) {
        const char c = compact[i];
        if (inString) {
            out += c;
            if (c == '\\' && i + 1 < compact.size())
                out += compact[++i];
            else if (c == '"')
                inString = false;
            continue;
        }
        switch (c) {
        case '"':
            inString = true;
            out += c;
            break;
        case '{':
        case '[':
            out += c;
            if (i + 1 < compact.size() && (compact[i + 1] == '}' || compact[i + 1] == ']')) {
                out += compact[++i];
                break;
            }
            ++depth;
            newLine();
            break;
        case '}':
        case ']':
            --depth;
            newLine();
            out += c;
            break;
        case ',':
            out += c;
            newLine();
            break;
        case ':':
            out += ": ";
            break;
        default:
            out += c;
        }
    }
    return out;
}
