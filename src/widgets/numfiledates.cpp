#include "widgets/numfiledates.h"

#include "common/brand.h"
#include "common/shiftedlines.h"
#include "common/subjectcheck.h"
#include "widgets/unreadablefile.h"

#include <QComboBox>
#include <QDir>
#include <QObject>

namespace inputfields {

namespace {

constexpr int kNumFileLines = 6; // first, middle and last name, month, day, year

bool isEntry(const QComboBox *list, const QString &value)
{
    return list->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
}

} // namespace

bool takeDateFromNumFile(QWidget *window, const platform::Services &services, const DateLists &lists)
{
    const auto path = services.files->openFile(
        window, {QObject::tr("Select the source file"), QObject::tr("Tovrani (*.num)"), QStringLiteral("num")});
    if (!path || path->isEmpty())
        return false;
    if (!kestrava::hasFileEnding(*path, u"num")) {
        services.messages->inform(window, platform::Icon::Error, QObject::tr("Please Check The File."));
        return false;
    }
    if (refuseUnreadableFile(window, services, *path))
        return false;
    const QStringList lines = kestrava::readShiftedLines(*path, kNumFileLines);
    const QString &month = lines[3];
    const QString &day = lines[4];
    const QString &year = lines[5];
    // All three, as a saved reading holds them: a date missing one would
    // leave that list as it was and read for another date.
    if (!isEntry(lists.month, month) || !isEntry(lists.day, day) || !isEntry(lists.year, year)) {
        services.messages->inform(
            window, platform::Icon::Error,
            QObject::tr("%1 is not a saved %2 reading.")
                .arg(QDir::toNativeSeparators(*path), kestrava::programName(kestrava::ProgramId::NumerologyPro)));
        return false;
    }
    selectIfPresent(lists.month, month);
    selectIfPresent(lists.day, day);
    selectIfPresent(lists.year, year);
    return true;
}

} // namespace inputfields
