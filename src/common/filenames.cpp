#include "common/filenames.h"

#include <QList>
#include <QObject>

namespace kestrava {

namespace {

// The name part stays well inside the 255 bytes most file systems allow a
// file name, with room left for the date and the ending.
constexpr qsizetype kMaxNameBytes = 150;

bool isLetter(char32_t c)
{
    return QChar::isLetter(c);
}

// Marks and digits carry on the word they are in: "É" typed as E and a
// combining acute is one letter, not two words.
bool continuesWord(char32_t c)
{
    if (isLetter(c) || QChar::isDigit(c))
        return true;
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
           || category == QChar::Mark_Enclosing;
}

bool isCapital(char32_t c)
{
    return QChar::isUpper(c) || QChar::isTitleCase(c);
}

// A word that starts with a capital and has a capital after a small letter
// was written that way on purpose: McDonald, DeVito, MacLeod.
bool spelledOnPurpose(const QList<char32_t> &word)
{
    bool first = true;
    bool smallSeen = false;
    for (const char32_t c : word) {
        if (!isLetter(c))
            continue;
        if (first) {
            if (!isCapital(c))
                return false;
            first = false;
            continue;
        }
        if (QChar::isLower(c))
            smallSeen = true;
        else if (smallSeen && isCapital(c))
            return true;
    }
    return false;
}

QString recased(const QString &word)
{
    QList<char32_t> codePoints;
    for (const uint c : word.toUcs4())
        codePoints.append(char32_t(c));
    if (spelledOnPurpose(codePoints))
        return word;
    bool startsPart = true;
    for (char32_t &c : codePoints) {
        if (isLetter(c)) {
            // One character for one: ß stays ß rather than becoming SS.
            c = startsPart ? QChar::toTitleCase(c) : QChar::toLower(c);
            startsPart = false;
        } else {
            startsPart = !continuesWord(c);
        }
    }
    return QString::fromUcs4(codePoints.constData(), codePoints.size());
}

// Characters no file name should hold: those the common file systems
// refuse, control characters, and those that turn the text's direction
// around (they make "report.exe.pdf" look like something else).
bool unsafe(char32_t c)
{
    switch (c) {
    case u'/':
    case u'\\':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
    case 0x061C: // Arabic letter mark
    case 0x200E: // left-to-right mark
    case 0x200F: // right-to-left mark
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
    case 0xFFFD: // what a damaged text was read as
        return true;
    default:
        break;
    }
    if ((c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069))
        return true;
    return QChar::category(c) == QChar::Other_Control || QChar::isNonCharacter(c);
}

// The text without unsafe characters, outer or doubled blanks or leading dots, cut to
// kMaxNameBytes of UTF-8 at a character's end.
QString safePart(const QString &text)
{
    QString kept;
    qsizetype bytes = 0;
    for (const uint c : text.toUcs4()) {
        if (unsafe(c))
            continue;
        if (kept.isEmpty() && (c == u'.' || c == u' '))
            continue;
        // A character left out between blanks leaves one blank.
        if (c == u' ' && kept.endsWith(u' '))
            continue;
        const qsizetype size = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (bytes + size > kMaxNameBytes)
            break;
        bytes += size;
        const char32_t point = c;
        kept += QString::fromUcs4(&point, 1);
    }
    while (kept.endsWith(u' '))
        kept.chop(1);
    return kept;
}

} // namespace

QString writtenName(const QString &name)
{
    QStringList words = name.split(u' ', Qt::SkipEmptyParts);
    for (QString &word : words)
        word = recased(word);
    return words.join(u' ');
}

QString suggestedFileName(const QStringList &people, QDate date, const QString &suffix, const QString &fallback)
{
    QString names;
    for (const QString &person : people) {
        const QString written = safePart(writtenName(person));
        if (written.isEmpty())
            continue;
        names = names.isEmpty() ? written : QObject::tr("%1 and %2").arg(names, written);
    }
    names = safePart(names);
    if (names.isEmpty())
        names = safePart(fallback);
    if (names.isEmpty())
        names = QObject::tr("Untitled");
    if (date.isValid())
        names += QStringLiteral(" \u2013 ") + date.toString(Qt::ISODate);
    if (!suffix.isEmpty())
        names += u'.' + suffix;
    return names;
}

QString suggestedFileName(const QString &person, QDate date, const QString &suffix, const QString &fallback)
{
    return suggestedFileName(QStringList{person}, date, suffix, fallback);
}

} // namespace kestrava
