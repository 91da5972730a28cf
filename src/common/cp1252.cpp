#include "common/cp1252.h"

#include <array>

namespace kestrava {

namespace {

// Characters of the bytes 0x80..0x9F; all other bytes stand for the Latin-1
// character of the same number.
constexpr std::array<char16_t, 32> kHighControlBlock = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

} // namespace

std::optional<uchar> cp1252Code(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return uchar(u);
    for (std::size_t i = 0; i < kHighControlBlock.size(); ++i) {
        if (kHighControlBlock[i] == u)
            return uchar(0x80 + i);
    }
    return std::nullopt;
}

QChar cp1252Char(uchar code)
{
    if (code >= 0x80 && code <= 0x9F)
        return QChar(kHighControlBlock[code - 0x80]);
    return QChar(char16_t(code));
}

QByteArray encodeCp1252(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // one character, so one '?'
        bytes.append(char(cp1252Code(c).value_or(uchar('?'))));
    }
    return bytes;
}

QString decodeCp1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes)
        text.append(cp1252Char(uchar(b)));
    return text;
}

} // namespace kestrava
