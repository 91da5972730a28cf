#include "numpro/relationships/compatibilityfile.h"

#include "common/regularfile.h"
#include "common/savefile.h"
#include "common/subjectcheck.h"
#include "numpro/relationships/marriagevibration.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

using namespace Qt::StringLiterals;
using kestrava::Failure;

namespace numpro {

namespace {

constexpr QStringView kKind = u"compatibility";

QString tr(const char *text)
{
    return QCoreApplication::translate("CompatibilityFile", text);
}

const QString kFields[] = {u"firstName"_s, u"middleName"_s, u"lastName"_s, u"month"_s, u"day"_s, u"year"_s};

QJsonObject personToJson(const ReadingSubject &s)
{
    const QString values[] = {s.firstName, s.middleName, s.lastName, s.month, s.day, s.year};
    QJsonObject person;
    for (std::size_t i = 0; i < std::size(kFields); ++i)
        person.insert(kFields[i], values[i]);
    return person;
}

std::variant<ReadingSubject, Failure> personFromJson(const QJsonValue &value, int number)
{
    const QString which = number == 1 ? tr("the first person") : tr("the second person");
    if (!value.isObject())
        return Failure{tr("%1 is missing.").arg(which)};
    const QJsonObject person = value.toObject();
    QString texts[std::size(kFields)];
    for (std::size_t i = 0; i < std::size(kFields); ++i) {
        const QJsonValue field = person.value(kFields[i]);
        if (!field.isString())
            return Failure{tr("The %1 of %2 is missing.").arg(kFields[i], which)};
        texts[i] = field.toString();
    }
    const ReadingSubject subject{texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]};
    // What the input window would refuse is refused here too.
    if (auto problem = kestrava::checkSubject(subject.firstName, subject.lastName, subject.day, subject.month,
                                              subject.year))
        return Failure{tr("For %1: %2").arg(which, problem->message)};
    if (auto problem = kestrava::checkDateEntries(subject.day, subject.month, subject.year))
        return Failure{tr("For %1: %2").arg(which, problem->message)};
    return subject;
}

} // namespace

QByteArray encodeCompatibilityFile(const CompatibilitySubjects &subjects)
{
    QJsonObject root{{u"kestrava"_s, kKind.toString()},
                     {u"version"_s, kCompatibilityFileVersion},
                     {u"people"_s, QJsonArray{personToJson(subjects.first), personToJson(subjects.second)}}};
    if (subjects.marriageDate.isValid())
        root.insert(u"marriageDate"_s, subjects.marriageDate.toString(Qt::ISODate));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::variant<CompatibilitySubjects, Failure> decodeCompatibilityFile(QByteArrayView data)
{
    if (data.size() > kMaxCompatibilityFileBytes)
        return Failure{tr("The file is too large to be a compatibility reading.")};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return Failure{tr("The file is damaged or is no compatibility reading.")};
    const QJsonObject root = document.object();
    if (root.value(u"kestrava").toString() != kKind)
        return Failure{tr("The file is no compatibility reading.")};
    const QJsonValue version = root.value(u"version");
    if (!version.isDouble() || version.toDouble() < 1 || version.toDouble() != double(version.toInt()))
        return Failure{tr("The file does not say which version of the format it uses.")};
    if (version.toInt() > kCompatibilityFileVersion)
        return Failure{tr("The file was written by a newer Kestrava (format version %1).").arg(version.toInt())};
    const QJsonArray people = root.value(u"people").toArray();
    if (people.size() != 2)
        return Failure{tr("The file does not hold two people.")};

    CompatibilitySubjects subjects;
    ReadingSubject *const places[] = {&subjects.first, &subjects.second};
    for (int i = 0; i < 2; ++i) {
        auto person = personFromJson(people.at(i), i + 1);
        if (auto *failure = std::get_if<Failure>(&person))
            return *failure;
        *places[i] = std::get<ReadingSubject>(person);
    }
    if (root.contains(u"marriageDate")) {
        const QDate date = QDate::fromString(root.value(u"marriageDate").toString(), Qt::ISODate);
        if (!date.isValid() || date.year() < kFirstMarriageYear || date.year() > kLastMarriageYear)
            return Failure{tr("The marriage date is damaged.")};
        subjects.marriageDate = date;
    }
    return subjects;
}

kestrava::MaybeFailure writeCompatibilityFile(const QString &path, const CompatibilitySubjects &subjects)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{file.errorString()};
    if (const auto failure = kestrava::writeAndCommit(file, encodeCompatibilityFile(subjects)))
        return Failure{failure->reason};
    return std::nullopt;
}

std::variant<CompatibilitySubjects, Failure> readCompatibilityFile(const QString &path)
{
    // One byte more than allowed tells a file too large to be a reading, even
    // one that grew since it was looked at; decoding says so.
    const auto data =
        kestrava::readRegularFile(path, kMaxCompatibilityFileBytes + 1, kestrava::WhenLarger::Cut);
    if (const auto *failure = std::get_if<Failure>(&data)) {
        // The reason as a sentence of its own, under the file's name.
        QString sentence = failure->reason;
        if (!sentence.isEmpty())
            sentence[0] = sentence[0].toUpper();
        if (!sentence.endsWith(u'.'))
            sentence += u'.';
        return Failure{sentence};
    }
    return decodeCompatibilityFile(std::get<QByteArray>(data));
}

} // namespace numpro
