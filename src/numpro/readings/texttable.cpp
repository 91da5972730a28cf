#include "numpro/readings/texttable.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <map>

namespace numpro {

TextTable TextTable::fromJson(const QByteArray &json)
{
    TextTable table;
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool ok = false;
        const int key = it.key().toInt(&ok);
        if (!ok || QString::number(key) != it.key() || !it.value().isString())
            continue;
        table.m_texts.insert(key, it.value().toString());
    }
    return table;
}

TextTable TextTable::fromResource(QStringView name)
{
    QFile file(QStringLiteral(":/texts/") + name.toString() + QStringLiteral(".json"));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("Interpretation table %s is not compiled in", qUtf8Printable(name.toString()));
        return {};
    }
    return fromJson(file.readAll());
}

QList<int> TextTable::keys() const
{
    QList<int> keys = m_texts.keys();
    std::sort(keys.begin(), keys.end());
    return keys;
}

const TextTable &textTable(QStringView name)
{
    // std::map keeps its elements in place, so handed-out references survive
    // later insertions.
    static QMutex mutex;
    static std::map<QString, TextTable> tables;
    const QMutexLocker lock(&mutex);
    const QString key = name.toString();
    auto it = tables.find(key);
    if (it == tables.end())
        it = tables.emplace(key, TextTable::fromResource(name)).first;
    return it->second;
}

} // namespace numpro
