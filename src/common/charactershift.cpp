#include "common/charactershift.h"

#include "common/cp1252.h"

#include <QSet>

namespace kestrava {

namespace {

constexpr int kHighestSavableCode = 255 - kShift;

} // namespace

QByteArray shiftEncode(QStringView text)
{
    const QByteArray codes = encodeCp1252(text);
    QByteArray encoded;
    encoded.reserve(codes.size());
    for (char b : codes) {
        const int code = uchar(b);
        if (code <= kHighestSavableCode)
            encoded.append(char(code + kShift));
    }
    return encoded;
}

QString shiftDecode(QByteArrayView encoded)
{
    QString text;
    text.reserve(encoded.size());
    for (char b : encoded) {
        const int code = uchar(b) - kShift;
        if (code >= 0)
            text.append(cp1252Char(uchar(code)));
    }
    return text;
}

QList<UnsavableCharacter> unsavableCharacters(QStringView text)
{
    QList<UnsavableCharacter> result;
    QSet<QString> seen;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        QString character(c);
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            character.append(text[++i]);
        const std::optional<uchar> code = character.size() == 1 ? cp1252Code(c) : std::nullopt;
        if (code && *code <= kHighestSavableCode)
            continue;
        if (seen.contains(character))
            continue;
        seen.insert(character);
        result.append({character, code ? UnsavableCharacter::Fate::Dropped : UnsavableCharacter::Fate::Replaced});
    }
    return result;
}

} // namespace kestrava
