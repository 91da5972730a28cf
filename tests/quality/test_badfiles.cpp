// Files that are no saved reading, opened in the real windows: each is
// refused (or opens as an ordinary bad file would) at once, without hanging
// on a pipe or reading a huge file into memory.
#include "common/regularfile.h"
#include "common/shiftedlines.h"
#include "report/practitioner.h"
#include "support/ordinaryuser.h"
#include "support/suitefixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>

#include <chrono>
#include <future>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The resident memory of this process in kilobytes.
qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

constexpr char kUnreadable[] = "unreadable";

bool isUnreadable(const QString &file)
{
    return QFileInfo(file).completeBaseName() == QLatin1String(kUnreadable);
}

struct Opener
{
    kestrava::ProgramId program;
    const char *window;
    const char *ending;
    const char *refusal; // the end of the message for a file that is no reading
};

const Opener kOpeners[] = {
    {kestrava::ProgramId::Tarot, "frmTarotNumerologyMain", "tnm", "is not a saved Virer Ovuvudavov reading."},
    {kestrava::ProgramId::Astrology, "frmAstrologyNumerologyMain", "num", "is not a saved Variduzeda Vad reading."},
    {kestrava::ProgramId::Tantric, "frmTantricNumerologyMain", "num", "is not a saved Variduzeda Vad reading."},
    {kestrava::ProgramId::NumerologyPro, "frmNumerologyProMain", "num", "is not a saved Variduzeda Vad reading."},
};

} // namespace

class BadFilesTest : public SuiteTest
{
protected:
    // The bad files, each under the given ending, in a folder of their own.
    QStringList makeBadFiles(const QString &ending, const QString &folderName)
    {
        const QString folder = test.dir.filePath(folderName);
        QDir().mkpath(folder);
        auto name = [&](const char *base) { return folder + u'/' + QLatin1String(base) + u'.' + ending; };
        QStringList files;

        QFile empty(name("empty"));
        EXPECT_TRUE(empty.open(QIODevice::WriteOnly));
        files << empty.fileName();

        QFile binary(name("binary"));
        EXPECT_TRUE(binary.open(QIODevice::WriteOnly));
        QByteArray noise(64 * 1024, '\0');
        QRandomGenerator random(17);
        for (char &c : noise)
            c = char(random.bounded(256));
        binary.write(noise);
        files << binary.fileName();

        QFile huge(name("huge"));
        EXPECT_TRUE(huge.open(QIODevice::WriteOnly));
        EXPECT_TRUE(huge.resize(qint64(1) << 30)); // 1 GB, sparse
        files << huge.fileName();

        QDir().mkdir(name("folder"));
        files << name("folder");

        EXPECT_EQ(::mkfifo(QFile::encodeName(name("pipe")).constData(), 0600), 0);
        files << name("pipe");

        QFile::link(name("loop-b"), name("loop-a"));
        QFile::link(name("loop-a"), name("loop-b"));
        files << name("loop-a");

        // A file nobody but the superuser may read; the folders above it may
        // be passed through, so it is found but cannot be opened.
        QFile unreadable(name(kUnreadable));
        EXPECT_TRUE(unreadable.open(QIODevice::WriteOnly));
        unreadable.write("MARY\r\n");
        unreadable.close();
        EXPECT_TRUE(QFile::setPermissions(unreadable.fileName(), {}));
        for (const QString &above : {test.dir.path(), folder})
            QFile::setPermissions(above, QFile::permissions(above) | QFile::ExeOther);
        files << unreadable.fileName();
        return files;
    }
};

TEST_F(BadFilesTest, EveryOpenCommandRefusesThemAtOnce)
{
    for (const Opener &opener : kOpeners) {
        SCOPED_TRACE(opener.window);
        const QStringList files =
            makeBadFiles(QString::fromLatin1(opener.ending), QString::fromLatin1(opener.window));
        for (const QString &file : files) {
            SCOPED_TRACE(QFileInfo(file).fileName().toStdString());
            main->launch(opener.program);
            test.messages.shown.clear();
            test.files.paths.push_back(file);
            const qint64 before = residentKb();
            QElapsedTimer timer;
            timer.start();
            {
                std::optional<AsOrdinaryUser> ordinary;
                if (isUnreadable(file))
                    ordinary.emplace();
                click(QString::fromLatin1(opener.window), QStringLiteral("cmdOpen"));
            }
            EXPECT_LT(timer.elapsed(), 1000);
            EXPECT_LT(residentKb() - before, 32 * 1024);
            if (isUnreadable(file)) {
                // Said as it is, whichever program: not taken for some other file.
                ASSERT_EQ(test.messages.shown.size(), 1);
                EXPECT_EQ(test.messages.shown[0].text, file + " cannot be read: Permission denied.");
                EXPECT_EQ(window(QStringLiteral("frmNumerologyProResult")), nullptr);
            } else {
                // Refused as no reading, not opened to ask for a name or
                // read letters found in the bytes as one.
                ASSERT_EQ(test.messages.shown.size(), 1);
                EXPECT_TRUE(test.messages.shown[0].text.endsWith(QString::fromLatin1(opener.refusal)))
                    << test.messages.shown[0].text.toStdString();
                EXPECT_EQ(window(QStringLiteral("frmNumerologyProResult")), nullptr);
            }
        }
    }
}

TEST_F(BadFilesTest, FromTheCommandLineToo)
{
    const QStringList files = makeBadFiles(QStringLiteral("tnm"), QStringLiteral("command-line"));
    for (const QString &file : files) {
        SCOPED_TRACE(QFileInfo(file).fileName().toStdString());
        test.messages.shown.clear();
        QElapsedTimer timer;
        timer.start();
        {
            std::optional<AsOrdinaryUser> ordinary;
            if (isUnreadable(file))
                ordinary.emplace();
            main->openFile(file);
        }
        EXPECT_LT(timer.elapsed(), 1000);
        ASSERT_EQ(test.messages.shown.size(), 1);
        const QString text = test.messages.shown[0].text;
        // A symlink loop leads nowhere: it cannot be found.
        EXPECT_TRUE(text.endsWith("is not a saved Virer Ovuvudavov reading.") || text.endsWith("cannot be found.")
                    || (isUnreadable(file) && text.endsWith("cannot be read: Permission denied.")))
            << text.toStdString();
    }
}

TEST_F(BadFilesTest, ATnmFileWithADateNoListHoldsIsRefused)
{
    // One damaged date line is enough: opened, it would leave its list as it
    // was and read the reading for another date.
    const QStringList rows[] = {
        {"John Smith", "32", "March", "1980"},
        {"John Smith", "15", "march", "1980"},
        {"John Smith", "15", "March", "1899"},
        {"John Smith", " 15", "March", "1980"},
        {"John Smith", "15", "March"},
    };
    int n = 0;
    for (const QStringList &lines : rows) {
        SCOPED_TRACE(lines.join(u'|').toStdString());
        const QString path = test.dir.filePath(QStringLiteral("damaged%1.tnm").arg(n++));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kestrava::encodeShiftedLines(lines));
        file.close();

        main->launch(kestrava::ProgramId::Tarot);
        const QString input = QStringLiteral("frmTarotNumerologyMain");
        control<QLineEdit>(input, "txtName")->setText("Someone Else");
        test.messages.shown.clear();
        test.files.paths.push_back(path);
        click(input, "cmdOpen");
        ASSERT_EQ(test.messages.shown.size(), 1);
        EXPECT_EQ(test.messages.shown[0].text, path + " is not a saved Virer Ovuvudavov reading.");
        EXPECT_EQ(window(QStringLiteral("frmTarotNumerologyResult")), nullptr);
        EXPECT_EQ(control<QLineEdit>(input, "txtName")->text(), "Someone Else");
        EXPECT_EQ(control<QComboBox>(input, "cboMonth")->currentText(), "January");
    }
}

TEST_F(BadFilesTest, ANumFileWithoutADateOfTheListsIsRefusedByEveryDoor)
{
    // Each line as a saved reading holds it, but for one damaged date; and
    // files that hold no date at all.
    const QStringList rows[] = {
        {"MARY", "", "SMITH", "August", "99", "1979"},
        {"MARY", "", "SMITH", "Smarch", "6", "1979"},
        {"MARY", "", "SMITH", "August", "6", "99999"},
        {"MARY", "", "SMITH", "august", "6", "1979"},
        {"MARY", "ANN", "SMITH"},
        {},
    };
    struct Door
    {
        const char *name;
        kestrava::ProgramId program;
        const char *window; // empty: the file is handed over on the command line
    };
    const Door doors[] = {
        {"Open Previously Saved Reading", kestrava::ProgramId::NumerologyPro, "frmNumerologyProMain"},
        {"the astrology program's date from a file", kestrava::ProgramId::Astrology, "frmAstrologyNumerologyMain"},
        {"the tantric program's date from a file", kestrava::ProgramId::Tantric, "frmTantricNumerologyMain"},
        {"the command line", kestrava::ProgramId::NumerologyPro, ""},
    };
    int n = 0;
    for (const Door &door : doors) {
        SCOPED_TRACE(door.name);
        for (const QStringList &lines : rows) {
            SCOPED_TRACE(lines.join(u'|').toStdString());
            const QString path = test.dir.filePath(QStringLiteral("damaged%1.num").arg(n++));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(kestrava::encodeShiftedLines(lines));
            file.close();

            test.messages.shown.clear();
            if (*door.window) {
                main->launch(door.program);
                test.files.paths.push_back(path);
                click(QString::fromLatin1(door.window), "cmdOpen");
            } else {
                main->openFile(path);
            }
            ASSERT_EQ(test.messages.shown.size(), 1);
            EXPECT_EQ(test.messages.shown[0].text, path + " is not a saved Variduzeda Vad reading.");
            EXPECT_EQ(test.messages.shown[0].icon, platform::Icon::Error);
            EXPECT_EQ(window(QStringLiteral("frmNumerologyProResult")), nullptr);
        }
    }
}

TEST_F(BadFilesTest, OnlyARegularFileIsOpenedAndOnlyAsFarAsAsked)
{
    const QString folder = test.dir.filePath("kinds");
    QDir().mkpath(folder);
    auto file = [&](const char *name, const QByteArray &bytes) {
        QFile f(folder + u'/' + QLatin1StringView(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    const QString pipe = folder + "/pipe";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QFile::link(folder + "/loop-b", folder + "/loop-a");
    QFile::link(folder + "/loop-a", folder + "/loop-b");
    QFile::link(pipe, folder + "/to-pipe");
    struct Row
    {
        QString path;
        qint64 maxBytes;
        kestrava::WhenLarger larger;
        QByteArray bytes; // when read
        QString reason;   // when refused
    };
    using enum kestrava::WhenLarger;
    const Row rows[] = {
        {file("small", "MARY\r\n"), 16, Refuse, "MARY\r\n", {}},
        {file("exact", "0123456789"), 10, Refuse, "0123456789", {}},
        {file("large", "0123456789A"), 10, Refuse, {}, "it is larger than 10 bytes"},
        {file("larger", QByteArray(3 * 1024 * 1024, 'x')), 2 * 1024 * 1024, Refuse, {}, "it is larger than 2 MB"},
        {file("cut", "0123456789A"), 4, Cut, "0123", {}},
        {file("empty", {}), 16, Refuse, "", {}},
        {pipe, 16, Refuse, {}, "it is not a regular file (it is a named pipe)"},
        {folder + "/to-pipe", 16, Refuse, {}, "it is not a regular file (it is a named pipe)"},
        {"/dev/zero", 16, Cut, {}, "it is not a regular file (it is a device)"},
        {folder, 16, Refuse, {}, "it is a folder"},
        {folder + "/missing", 16, Refuse, {}, "there is no such file"},
        {folder + "/small/below", 16, Refuse, {}, "there is no such file"},
        {"", 16, Refuse, {}, "there is no such file"},
        {folder + "/loop-a", 16, Refuse, {}, "Too many levels of symbolic links"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        // Run aside, so that a pipe waited on fails the test instead of hanging it.
        auto reading = std::async(std::launch::async, [&row] {
            return kestrava::readRegularFile(row.path, row.maxBytes, row.larger);
        });
        if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
            reading.wait();
            FAIL() << "waited on the file";
        }
        const auto read = reading.get();
        if (row.reason.isEmpty()) {
            ASSERT_TRUE(std::holds_alternative<QByteArray>(read))
                << std::get<kestrava::Failure>(read).reason.toStdString();
            EXPECT_EQ(std::get<QByteArray>(read), row.bytes);
        } else {
            ASSERT_TRUE(std::holds_alternative<kestrava::Failure>(read));
            EXPECT_EQ(std::get<kestrava::Failure>(read).reason, row.reason);
        }
        // Only a regular file is named as none, the rest by what it is.
        EXPECT_EQ(kestrava::notARegularFile(row.path).has_value(),
                  !row.reason.isEmpty() && !row.reason.startsWith("it is larger"));
    }
}

TEST_F(BadFilesTest, AQuotedExcerptIsShortAndPrintable)
{
    const QChar replaced(QChar::ReplacementCharacter);
    const struct
    {
        QString text;
        int maxChars;
        QString shown;
    } rows[] = {
        {"August", 12, "August"},
        {QString::fromUtf8("Ren\xc3\xa9" "e O'Neil"), 32, QString::fromUtf8("Ren\xc3\xa9" "e O'Neil")},
        {"\x1b[2J\a", 12, replaced + QString("[2J") + replaced},
        {"tab\there\r\n", 32, QString("tab") + replaced + "here" + replaced + replaced},
        {QString(40, u'x'), 12, QString(12, u'x') + QChar(0x2026)},
        {QString(12, u'x'), 12, QString(12, u'x')},
        {QString(QChar(0xd800)) + "a", 12, replaced + QString("a")},
        {QString::fromUtf8("\xf0\x9f\x8c\x99 moon"), 12, QString::fromUtf8("\xf0\x9f\x8c\x99 moon")},
        {QString(QChar(0x200e)) + "a" + QChar(0x7f), 12, replaced + QString("a") + replaced},
        {QString::fromUtf8("\xff\xfe"), 12, QString(2, replaced)},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(kestrava::shownExcerpt(row.text, row.maxChars), row.shown);
    }
}

TEST_F(BadFilesTest, ACompatibilityReadingNamingAPipeSaysWhatItIs)
{
    const QString pipe = test.dir.filePath("couple.knc");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    openNavigator("MARY", "ANN", "SMITH");
    click("frmNumerologyProResult", "cmdCompatibility");
    test.messages.shown.clear();
    test.files.paths.push_back(pipe);
    QElapsedTimer timer;
    timer.start();
    click("frmCompatibility", "cmdOpen");
    EXPECT_LT(timer.elapsed(), 1000);
    ASSERT_EQ(test.messages.shown.size(), 1);
    EXPECT_EQ(test.messages.shown[0].text,
              pipe + " cannot be opened as a compatibility reading.\nIt is not a regular file (it is a named pipe).");
}

TEST_F(BadFilesTest, ASavedLogoThatIsNoFileIsLeftOutAndAMissingOneStaysNamed)
{
    const QString pipe = test.dir.filePath("logo.svg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString png = test.dir.filePath("logo.png");
    QFile real(png);
    ASSERT_TRUE(real.open(QIODevice::WriteOnly));
    real.write("\x89PNG\r\n\x1a\n");
    real.close();
    const struct
    {
        QString saved;
        QString read;
    } rows[] = {
        {pipe, ""},
        {test.dir.path(), ""},
        {"/dev/zero", ""},
        {png, png},
        // On a drive not mounted now, say: it comes back with the drive.
        {test.dir.filePath("missing.png"), test.dir.filePath("missing.png")},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.saved.toStdString());
        QSettings settings(test.dir.filePath("settings.ini"), QSettings::IniFormat);
        settings.setValue("Report/Logo", row.saved);
        EXPECT_EQ(report::readPractitioner(settings, kestrava::Paper::A4).logoFile, row.read);
    }
}

namespace {

// A small RAM disk, filled to the last byte; unmounted again at the end.
class FullDisk
{
public:
    explicit FullDisk(const QString &folder) : m_folder(folder)
    {
        QDir().mkpath(folder);
        m_mounted = QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}) == 0;
    }
    ~FullDisk()
    {
        if (m_mounted)
            QProcess::execute("umount", {m_folder});
    }
    bool mounted() const { return m_mounted; }
    // Writes until the disk takes no byte more.
    void fill() const
    {
        QFile filler(m_folder + "/filler");
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(512, 'x');
        while (filler.write(block) > 0) {
        }
        while (filler.write("x", 1) == 1) {
        }
    }

private:
    QString m_folder;
    bool m_mounted = false;
};

} // namespace

TEST_F(BadFilesTest, SavingIntoAFullDiskSaysSoAndKeepsTheOldFile)
{
    FullDisk disk(test.dir.filePath("full"));
    if (!disk.mounted())
        GTEST_SKIP() << "no permission to mount a small RAM disk here";
    const QString reading = test.dir.filePath("full/mary.num");
    const QString pdf = test.dir.filePath("full/mary.pdf");
    for (const QString &file : {reading, pdf}) {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    disk.fill();

    openNavigator("MARY", "ANN", "SMITH");
    click("frmNumerologyProResult", "cmdLifePath");
    test.files.paths.push_back(reading);
    click("frmNumerologyProDisp", "cmdSave");
    test.files.paths.push_back(pdf);
    click("frmNumerologyProDisp", "cmdExportPdf");
    ASSERT_EQ(test.messages.shown.size(), 2);
    EXPECT_TRUE(test.messages.shown[0].text.startsWith("The reading could not be saved to"));
    EXPECT_TRUE(test.messages.shown[1].text.startsWith("The reading could not be exported to"));
    for (const QString &file : {reading, pdf}) {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "old") << file.toStdString();
    }
    // Nothing half-written is left behind.
    EXPECT_EQ(QDir(test.dir.filePath("full")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"filler", "mary.num", "mary.pdf"}));
}
