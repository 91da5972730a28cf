#include "common/charactershift.h"
#include "common/cp1252.h"
#include "common/shiftedlines.h"
#include "numpro/files/numfile.h"
#include "support/ordinaryuser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace numpro;
using namespace kestrava;
using namespace std::chrono_literals;

namespace {

// Not in Windows-1252: a Polish letter and an emoji (a surrogate pair).
const QString kPolishL = QStringLiteral("\u0142");
const QString kEmoji = QString::fromUtf8("\xF0\x9F\x98\x80");

QByteArray allBytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes;
}

const ReadingSubject kMary{"MARY", "", "SMITH", "August", "6", "1979"};

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

long peakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

TEST(Cp1252, EveryByteRoundTrips)
{
    const QByteArray bytes = allBytes();
    const QString text = decodeCp1252(bytes);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(encodeCp1252(text), bytes);
}

TEST(Cp1252, AgreesWithTheSystemConverterOnDefinedCodes)
{
    QStringDecoder system("windows-1252");
    if (!system.isValid())
        GTEST_SKIP() << "Qt was built without a windows-1252 converter";
    for (int b = 0; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            continue; // undefined in the code page; converters differ
        SCOPED_TRACE("byte " + std::to_string(b));
        const QByteArray byte(1, char(b));
        EXPECT_EQ(decodeCp1252(byte), QString(system(byte)));
    }
}

TEST(Cp1252, EncodesKnownCharactersAndQuestionMarkForTheRest)
{
    struct Row
    {
        QString text;
        QByteArray expected;
    };
    const Row rows[] = {
        {"MARY", "MARY"},
        {QStringLiteral("\u20AC"), "\x80"},     // euro sign
        {QStringLiteral("\u00E9"), "\xE9"},     // e acute
        {QStringLiteral("\u0178"), "\x9F"},     // Y diaeresis
        {QStringLiteral("\u2019"), "\x92"},     // right single quote
        {QStringLiteral("\u0081"), "\x81"},     // undefined code, kept as its control character
        {QStringLiteral("\u0080"), "?"},        // the control character the euro displaced
        {QStringLiteral("\u0100"), "?"},
        {kPolishL, "?"},
        {"A" + kEmoji + "B", "A?B"},            // one character, one '?'
        {QString(QChar(0xD800)) + "A", "?A"},   // a lone surrogate
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(encodeCp1252(row.text), row.expected);
    }
    EXPECT_FALSE(cp1252Code(QChar(0x0142)).has_value());
    EXPECT_EQ(cp1252Code(QChar(0x20AC)), uchar(0x80));
}

TEST(CharacterShift, RoundTripsSavableTextAndDropsTheRest)
{
    struct Row
    {
        QString text;
        QString decoded;
    };
    const Row rows[] = {
        {"MARY ANN-SMITH", "MARY ANN-SMITH"},
        {QStringLiteral("Ren\u00E9e \u20AC\u2019"), QStringLiteral("Ren\u00E9e \u20AC\u2019")},
        {QStringLiteral("\u00F1"), QStringLiteral("\u00F1")},   // 241 + 14 = 255, the last to fit
        {QStringLiteral("\u00F2"), ""},                          // 242 is the first to be lost
        {QStringLiteral("M\u00FCller"), "Mller"},               // u umlaut is 252
        {"JAN" + kPolishL, "JAN?"},
        {kEmoji, "?"},
        {"TAB\tCR\rLF\n", "TAB\tCR\rLF\n"},                     // control characters survive
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(shiftDecode(shiftEncode(row.text)), row.decoded);
    }
    // The shift goes upwards: "MARY" is written as "[O`g".
    EXPECT_EQ(shiftEncode(u"MARY"), QByteArray("[O`g"));
}

TEST(CharacterShift, EncodedTextNeverHoldsALineBreak)
{
    const QByteArray encoded = shiftEncode(decodeCp1252(allBytes()));
    EXPECT_EQ(encoded.size(), 256 - kShift);
    EXPECT_FALSE(encoded.contains('\r'));
    EXPECT_FALSE(encoded.contains('\n'));
    for (char b : encoded)
        EXPECT_GE(uchar(b), kShift);
}

TEST(CharacterShift, DecodingDropsBytesBelowTheShift)
{
    EXPECT_EQ(shiftDecode(QByteArray("\x00\x0D[\x0AO\x0D", 6)), QStringLiteral("MA"));
    EXPECT_EQ(shiftDecode(QByteArray(1, char(kShift))), QString(QChar(0)));
}

TEST(CharacterShift, UnsavableCharactersAreListedOnceInOrder)
{
    const QString text = QStringLiteral("M\u00FCller \u00E9\u20AC ") + kPolishL + kEmoji
                         + QStringLiteral("\u00FC\u00FF") + kEmoji + kPolishL;
    using Fate = UnsavableCharacter::Fate;
    const QList<UnsavableCharacter> expected = {
        {QStringLiteral("\u00FC"), Fate::Dropped},
        {kPolishL, Fate::Replaced},
        {kEmoji, Fate::Replaced},
        {QStringLiteral("\u00FF"), Fate::Dropped},
    };
    EXPECT_EQ(unsavableCharacters(text), expected);
    EXPECT_TRUE(unsavableCharacters(QStringLiteral("REN\u00C9E \u20AC ?")).isEmpty());
}

TEST(ShiftedLines, DecodingAlwaysGivesTheRequestedNumberOfLines)
{
    const QByteArray three = encodeShiftedLines({"A", "B", "C"});
    EXPECT_EQ(decodeShiftedLines(three, 2), QStringList({"A", "B"}));
    EXPECT_EQ(decodeShiftedLines(three, 5), QStringList({"A", "B", "C", "", ""}));
    EXPECT_EQ(decodeShiftedLines("", 2), QStringList({"", ""}));
    EXPECT_EQ(decodeShiftedLines(three, 0), QStringList());
    // Bare LF endings and a missing last line break read the same.
    EXPECT_EQ(decodeShiftedLines(shiftEncode(u"A") + "\n\n" + shiftEncode(u"C"), 3),
              QStringList({"A", "", "C"}));
}

TEST(NumFile, WritesSixShiftedLinesEachEndingInCrLf)
{
    const QByteArray data = encodeNumFile(kMary);
    const QList<QByteArray> lines = data.split('\n');
    ASSERT_EQ(lines.size(), kNumFileLines + 1);
    EXPECT_TRUE(lines.last().isEmpty()) << "the file ends right after the last CR LF";
    for (int i = 0; i < kNumFileLines; ++i) {
        SCOPED_TRACE("line " + std::to_string(i));
        EXPECT_TRUE(lines[i].endsWith('\r'));
    }
    EXPECT_EQ(lines[0], QByteArray("[O`g\r"));
    EXPECT_EQ(lines[1], QByteArray("\r"));
    EXPECT_EQ(decodeNumFile(data), kMary);
}

TEST(NumFile, ShortAndLongFilesDecodeToSixFields)
{
    const ReadingSubject firstThree{"MARY", "ANN", "SMITH", "", "", ""};
    EXPECT_EQ(decodeNumFile(encodeShiftedLines({"MARY", "ANN", "SMITH"})), firstThree);
    EXPECT_EQ(decodeNumFile(encodeNumFile(kMary) + encodeShiftedLines({"EXTRA", "LINES"})), kMary);
    EXPECT_EQ(decodeNumFile(""), ReadingSubject());
}

TEST(NumFile, SuffixIsExactlyTheLastThreeCharacters)
{
    struct Row
    {
        QString path;
        bool accepted;
    };
    const Row rows[] = {
        {"a.num", true},    {"/home/me/readings/mary.num", true}, {"reading.xnum", true},
        {"num", true},      {"reading.NUM", false},               {"reading.Num", false},
        {"a.txt", false},   {"a.num.txt", false},                 {"", false},
        {"nu", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        EXPECT_EQ(hasNumSuffix(row.path), row.accepted);
    }
}

class NumFileOnDisk : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

TEST_F(NumFileOnDisk, WrittenSubjectReadsBack)
{
    const ReadingSubject renee{QStringLiteral("REN\u00C9E"), QStringLiteral("\u0152"), "O'NEIL",
                               "12", "31", "2000"};
    ASSERT_FALSE(writeNumFile(path("mary.num"), kMary));
    EXPECT_EQ(readBytes(path("mary.num")), encodeNumFile(kMary));
    EXPECT_EQ(readNumFile(path("mary.num")), kMary);

    // Saving again replaces the whole file, not just its start.
    ASSERT_FALSE(writeNumFile(path("mary.num"), renee));
    EXPECT_EQ(readNumFile(path("mary.num")), renee);
    EXPECT_EQ(readBytes(path("mary.num")), encodeNumFile(renee));
}

TEST_F(NumFileOnDisk, ReadingMatchesDecodingForAnyBytes)
{
    // Binary content with NULs, lone CRs and LFs in odd places.
    QByteArray binary = allBytes();
    binary += "\n\r\r\n" + allBytes() + '\0' + "\n\n" + QByteArray(300, char(200)) + "\r";
    ASSERT_TRUE(writeBytes(path("binary.num"), binary));
    for (int count : {0, 1, 3, 6, 9}) {
        SCOPED_TRACE("count " + std::to_string(count));
        EXPECT_EQ(readShiftedLines(path("binary.num"), count), decodeShiftedLines(binary, count));
    }
}

TEST_F(NumFileOnDisk, OverLongLineIsCutAndTheNextLineStillRead)
{
    const QByteArray data = QByteArray(10000, 'x') + "\r\n" + shiftEncode(u"SMITH") + "\r\n";
    ASSERT_TRUE(writeBytes(path("long.num"), data));
    const QStringList lines = readShiftedLines(path("long.num"), 2);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString(kMaxShiftedLineBytes, QChar(u'x' - kShift)));
    EXPECT_EQ(lines[1], QStringLiteral("SMITH"));
}

TEST_F(NumFileOnDisk, HugeFileIsReadInBoundedTimeAndMemory)
{
    constexpr int kChunk = 1 << 20;
    constexpr int kChunks = 50;
    {
        QFile file(path("huge.num"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray chunk(kChunk, 'x');
        for (int i = 0; i < kChunks; ++i)
            ASSERT_EQ(file.write(chunk), kChunk);
    }
    const long peakBefore = peakResidentKiB();
    QElapsedTimer timer;
    timer.start();
    const ReadingSubject subject = readNumFile(path("huge.num"));
    EXPECT_LT(timer.elapsed(), 2000);
    // Holding the file, or even one of its lines, would add about 50 MiB.
    EXPECT_LT(peakResidentKiB() - peakBefore, 8 * 1024);
    EXPECT_EQ(subject.firstName, QString(kMaxShiftedLineBytes, QChar(u'x' - kShift)));
    EXPECT_EQ(subject.middleName, QString());
    EXPECT_EQ(subject.year, QString());
}

TEST_F(NumFileOnDisk, WhatIsNotARegularFileReadsAsEmpty)
{
    EXPECT_EQ(readNumFile(path("missing.num")), ReadingSubject());
    EXPECT_EQ(readNumFile(m_dir.path()), ReadingSubject());

    // A pipe without a writer would block an ordinary open for ever.
    const QString fifo = path("pipe.num");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    auto reading = std::async(std::launch::async, [fifo] { return readNumFile(fifo); });
    if (reading.wait_for(5s) != std::future_status::ready) {
        // Let the blocked reader go before failing.
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        reading.wait();
        FAIL() << "reading a pipe blocked";
    }
    EXPECT_EQ(reading.get(), ReadingSubject());
}

TEST_F(NumFileOnDisk, SavingWhereNoFileCanBeMadeFails)
{
    // The failure carries the system's reason alone; the window names the file.
    const QString missingFolder = path("no-such-folder/mary.num");
    const kestrava::MaybeFailure noFolder = writeNumFile(missingFolder, kMary);
    ASSERT_TRUE(noFolder);
    EXPECT_FALSE(noFolder->reason.isEmpty());
    EXPECT_FALSE(noFolder->reason.contains(u"mary.num"));
    EXPECT_FALSE(QFile::exists(missingFolder));

    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.num"));
    const kestrava::MaybeFailure overFolder = writeNumFile(path("folder.num"), kMary);
    ASSERT_TRUE(overFolder);
    EXPECT_FALSE(overFolder->reason.isEmpty());
    EXPECT_TRUE(QFileInfo(path("folder.num")).isDir());
}

TEST_F(NumFileOnDisk, FailedSaveLeavesTheOldFileIntact)
{
    const QByteArray old = encodeNumFile({"OLD", "", "FILE", "1", "2", "1950"});
    const ReadingSubject replacement{"NEW", "", "SUBJECT", "3", "4", "1960"};

    // Over a read-only file in a writable folder.
    const QString readOnlyFile = path("readonly.num");
    ASSERT_TRUE(writeBytes(readOnlyFile, old));
    ASSERT_TRUE(QFile::setPermissions(readOnlyFile, QFile::ReadOwner | QFile::ReadUser));

    // Into a read-only folder holding a file of that name.
    const QString folder = path("locked");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("locked"));
    const QString inLockedFolder = folder + "/mary.num";
    ASSERT_TRUE(writeBytes(inLockedFolder, old));
    ASSERT_TRUE(QFile::setPermissions(inLockedFolder, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    const QFile::Permissions outer = QFile::permissions(m_dir.path());
    QFile::setPermissions(m_dir.path(), outer | QFile::ExeOther);

    // Run by the superuser, whom the bits do not bind, the locked folder is
    // tried as an ordinary user; the read-only file cannot be tried that way
    // (whether it may be written is asked for the real user, who may).
    const QStringList targets =
        ::geteuid() == 0 ? QStringList{inLockedFolder} : QStringList{readOnlyFile, inLockedFolder};
    bool permissionsEnforced = false;
    {
        AsOrdinaryUser ordinary;
        permissionsEnforced = !writeBytes(folder + "/probe", "x");
        for (const QString &target : targets) {
            SCOPED_TRACE(target.toStdString());
            if (!permissionsEnforced)
                break;
            const kestrava::MaybeFailure failure = writeNumFile(target, replacement);
            ASSERT_TRUE(failure);
            EXPECT_FALSE(failure->reason.isEmpty());
        }
    }
    if (permissionsEnforced) {
        for (const QString &target : targets)
            EXPECT_EQ(readBytes(target), old) << target.toStdString();
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"mary.num"}))
            << "no temporary file left behind";
    }

    // Let QTemporaryDir clean up.
    QFile::setPermissions(m_dir.path(), outer);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!permissionsEnforced)
        GTEST_SKIP() << "permission bits are not enforced here";
}
