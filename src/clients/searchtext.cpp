#include "clients/searchtext.h"

#include "common/numerology.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace clients {

namespace {

bool isWordCharacter(QChar c)
{
    // Surrogate halves belong to letters outside the first plane.
    return c.isLetterOrNumber() || c.isSurrogate();
}

// Digits and hyphens, starting with a digit: "1979", "1979-08", "08-06".
bool isDatePart(QStringView token)
{
    if (token.isEmpty() || !token.front().isDigit())
        return false;
    for (QChar c : token) {
        if (!c.isDigit() && c != u'-')
            return false;
    }
    return true;
}

} // namespace

QString foldForSearch(QStringView text)
{
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    QString kept;
    kept.reserve(decomposed.size());
    for (QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
            || category == QChar::Mark_Enclosing || c == u'\'' || c == u'\u2019')
            continue;
        kept.append(c);
    }
    return kept.toCaseFolded();
}

QStringList searchWords(QStringView text)
{
    const QString folded = foldForSearch(text);
    QStringList words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= folded.size(); ++i) {
        const bool inWord = i < folded.size() && isWordCharacter(folded[i]);
        if (inWord && start < 0)
            start = i;
        else if (!inWord && start >= 0) {
            words.append(folded.mid(start, i - start));
            start = -1;
        }
    }
    return words;
}

QString personSearchWords(const kestrava::Person &person)
{
    QStringList words;
    for (const QString &name : {person.firstName, person.middleName, person.lastName, person.nameNowUsed})
        words += searchWords(name);
    if (person.birthDate.isValid())
        words.append(person.birthDate.toString(Qt::ISODate));
    return u' ' + words.join(u' ') + u' ';
}

QString personSortKey(const kestrava::Person &person)
{
    // The unit separator sorts before any letter, so SMITH comes before SMITHSON.
    return foldForSearch(person.lastName) + u'\x1f' + foldForSearch(person.firstName) + u'\x1f'
           + foldForSearch(person.middleName);
}

QStringList searchTerms(QStringView typed)
{
    static const QRegularExpression dayMonthYear(u"^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})$"_s);
    QStringList terms;
    for (QStringView token : typed.split(u' ', Qt::SkipEmptyParts)) {
        const QString text = token.trimmed().toString();
        if (text.isEmpty())
            continue;
        if (const QRegularExpressionMatch m = dayMonthYear.match(text); m.hasMatch()) {
            terms.append(u"%1-%2-%3"_s.arg(m.captured(3))
                             .arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'))
                             .arg(m.captured(1).toInt(), 2, 10, QLatin1Char('0')));
        } else if (isDatePart(text)) {
            terms.append(text);
        } else {
            terms += searchWords(text);
        }
    }
    terms.removeDuplicates();
    return terms;
}

QString personKey(const kestrava::Person &person)
{
    const auto key = [](const QString &name) { return kestrava::trimBlanks(name).toCaseFolded(); };
    return key(person.firstName) + u'\x1f' + key(person.middleName) + u'\x1f' + key(person.lastName);
}

} // namespace clients
