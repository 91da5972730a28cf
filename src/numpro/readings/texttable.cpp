#include "numpro/readings/texttable.h"

#include <QFile>
#include <QJsonDocument>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <map>

namespace numpro {

TextTable TextTable::fromJson(const QJsonObject &object)
{
    TextTable table;
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool ok = false;
        const int key = it.key().toInt(&ok);
        if (!ok || QString::number(key) != it.key() || !it.value().isString())
            continue;
        table.m_texts.insert(key, it.value().toString());
    }
    return table;
}

QList<int> TextTable::keys() const
{
    QList<int> keys = m_texts.keys();
    std::sort(keys.begin(), keys.end());
    return keys;
}

ReadingTexts ReadingTexts::fromJson(const QByteArray &json)
{
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    return {object.value(u"caption").toString(), object.value(u"heading").toString(),
            object.value(u"introduction").toString(), TextTable::fromJson(object.value(u"texts").toObject()),
            object};
}

const ReadingTexts &readingTexts(QStringView id)
{
    // std::map keeps its elements in place, so handed-out references survive
    // later insertions.
    static QMutex mutex;
    static std::map<QString, ReadingTexts> loaded;
    const QMutexLocker lock(&mutex);
    const QString key = id.toString();
    auto it = loaded.find(key);
    if (it == loaded.end()) {
        QFile file(QStringLiteral(":/texts/numpro/") + key + QStringLiteral(".json"));
        const bool found = file.open(QIODevice::ReadOnly);
        if (!found)
            qWarning("The texts of reading %s are not compiled in", qUtf8Printable(key));
        it = loaded.emplace(key, found ? ReadingTexts::fromJson(file.readAll()) : ReadingTexts{}).first;
    }
    return it->second;
}

} // namespace numpro
