#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

// Windows-1252, the code page saved readings are written in.  Qt's own
// converter cannot be used: it does not know the name everywhere and writes
// 0x1A instead of '?' for a character the code page lacks.
namespace kestrava {

// The byte that stands for c, or nothing when the code page has no such
// character.  The five codes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) stand for the control characters of the same number.
std::optional<uchar> cp1252Code(QChar c);

// The character a byte stands for; every byte has one.
QChar cp1252Char(uchar code);

// One byte per character; a character the code page cannot represent,
// including a whole surrogate pair, becomes '?'.
QByteArray encodeCp1252(QStringView text);

QString decodeCp1252(QByteArrayView bytes);

} // namespace kestrava
