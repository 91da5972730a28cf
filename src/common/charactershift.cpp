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

QString unsavableCharacters(QStringView text)
{
    QString result;
    QSet<char32_t> seen;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const QChar low = text[++i];
            if (!seen.contains(QChar::surrogateToUcs4(c, low))) {
                seen.insert(QChar::surrogateToUcs4(c, low));
                result.append(c).append(low);
            }
            continue;
        }
        const std::optional<uchar> code = cp1252Code(c);
        if (code && *code <= kHighestSavableCode)
            continue;
        if (!seen.contains(c.unicode())) {
            seen.insert(c.unicode());
            result.append(c);
        }
    }
    return result;
}

} // namespace kestrava
