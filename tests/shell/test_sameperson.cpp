// One person, read through every door the suite has: the six programs'
// windows filled from the client book, the report window and the command
// line.  The book keeps names as the user wrote them; every reading takes
// them in capitals, so the numbers agree wherever the person came from.
#include "numpro/readings/readinglist.h"
#include "numpro/ui/numproprogram.h"
#include "report/ui/reportwindow.h"
#include "clientbook/clientbookwindow.h"
#include "support/clientbookfixture.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>

namespace {

using kestrava::ProgramId;

struct Written
{
    const char *first, *middle, *last;
    QDate born;
    // The names as every reading takes them.
    const char *readFirst, *readMiddle, *readLast;
    const char *uncounted; // the sentence under a name reading, or ""
};

const Written kPeople[] = {
    {"Mary", "Ann", "Smith", QDate(1979, 8, 6), "MARY", "ANN", "SMITH", ""},
    {"John", "", "doe", QDate(1980, 3, 15), "JOHN", "", "DOE", ""},
    {"Élodie", "", "Dupré", QDate(1985, 2, 14), "ÉLODIE", "", "DUPRÉ", ""},
    {"Bjørn", "", "Ødegård", QDate(1990, 11, 30), "BJØRN", "", "ØDEGÅRD",
     "Ø has no value in this system and was not counted."},
};

QJsonObject cli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(KESTRAVA_CLI), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

QString cliText(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(KESTRAVA_CLI), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class SamePersonTest : public ClientBookSuiteTest
{
};

TEST_F(SamePersonTest, AClientWrittenInSmallOrAccentedLettersReadsTheSameThroughEveryDoor)
{
    for (const Written &w : kPeople) {
        SCOPED_TRACE(w.first);
        const clients::Client client = addClient(QString::fromUtf8(w.first), QString::fromUtf8(w.middle),
                                                 QString::fromUtf8(w.last), w.born);
        // The book keeps the names as written.
        EXPECT_EQ(book().client(client.id)->person.firstName, QString::fromUtf8(w.first));
        const QString id = QString::number(client.id);
        const QString read = QStringList{QString::fromUtf8(w.readFirst), QString::fromUtf8(w.readMiddle),
                                         QString::fromUtf8(w.readLast)}
                                 .join(u' ')
                                 .simplified();

        // The command line, for the client and for the names typed in capitals.
        const QStringList bookOption{QStringLiteral("--clients"), bookPath};
        const QJsonObject numerology =
            cli(QStringList{"numerology", "--client", id, "--today", "2026-12-11"} + bookOption);
        QStringList typed{"numerology", "--first", QString::fromUtf8(w.readFirst), "--last",
                          QString::fromUtf8(w.readLast), "--born", w.born.toString(Qt::ISODate), "--today",
                          "2026-12-11", "--clients", bookPath};
        if (*w.middle)
            typed << "--middle" << QString::fromUtf8(w.readMiddle);
        EXPECT_EQ(numerology, cli(typed));

        // Variduzeda Vad's windows read the same subject, and so the same numbers.
        main->readFor(ProgramId::NumerologyPro, client.person, client.id);
        const auto *numPro = main->findChild<NumProProgram *>("numPro");
        ASSERT_NE(numPro, nullptr);
        const numpro::ReadingSubject subject = numPro->subject();
        EXPECT_EQ(subject.firstName, QString::fromUtf8(w.readFirst));
        EXPECT_EQ(subject.middleName, QString::fromUtf8(w.readMiddle));
        EXPECT_EQ(subject.lastName, QString::fromUtf8(w.readLast));
        numpro::ResultState state;
        numpro::computeAllReadings({subject.firstName, subject.middleName, subject.lastName, subject.month,
                                    subject.day, subject.year, QDate(2026, 12, 11)},
                                   state);
        const QJsonObject windowValues = numpro::valuesToJson(state);
        for (const char *key : {"destiny", "soulUrge", "innerDreams", "karmicLessons", "hiddenPassion", "essence"})
            EXPECT_EQ(windowValues.value(key), numerology.value(key)) << key;

        // The tarot and runes windows show the command line's destiny numbers.
        main->readFor(ProgramId::Tarot, client.person, client.id);
        const QJsonObject tarot = cli(QStringList{"tarot", "--client", id} + bookOption);
        EXPECT_EQ(control<QLabel>("frmTarotNumerologyResult", "lblResult_6")->text(),
                  QString::number(tarot.value("destiny").toInt()));
        main->readFor(ProgramId::Runes, client.person, client.id);
        const QJsonObject runes = cli(QStringList{"runes", "--client", id} + bookOption);
        EXPECT_EQ(control<QLabel>("frmRunesNumerologyMain", "lblLabel_1")->text(),
                  QString::number(runes.value("number").toInt()));
        // The one-name windows show the name as read.
        for (const auto &[program, input] : {std::pair{ProgramId::Astrology, "frmAstrologyNumerologyMain"},
                                             std::pair{ProgramId::Tantric, "frmTantricNumerologyMain"}}) {
            main->readFor(program, client.person, client.id);
            EXPECT_EQ(control<QLineEdit>(input, "txtName")->text(), read) << input;
        }

        // The report reads the same names.
        main->openClientBook();
        clientBookWindow()->select(client.id);
        clientBookWindow()->findChild<QPushButton *>("cmdReport")->click();
        auto *report = qobject_cast<ReportWindow *>(window("frmReport"));
        ASSERT_NE(report, nullptr);
        const auto request = report->request();
        ASSERT_TRUE(std::holds_alternative<report::ReportRequest>(request));
        EXPECT_EQ(std::get<report::ReportRequest>(request).person, kestrava::readingPerson(client.person));
        report->close();

        // Letters without a value are named under the reading, in the
        // window's reading and in the command line's document.
        const QString uncounted = QString::fromUtf8(w.uncounted);
        main->readFor(ProgramId::Runes, client.person, client.id);
        const QString runesText =
            control<QPlainTextEdit>("frmRunesNumerologyMain", "txtNumerologyInterpretation")->toPlainText();
        EXPECT_EQ(runesText.endsWith(uncounted), true) << runesText.right(120).toStdString();
        const QString document =
            cliText(QStringList{"numerology", "--client", id, "--format", "text"} + bookOption);
        if (uncounted.isEmpty()) {
            EXPECT_FALSE(document.contains("has no value in this system"));
        } else {
            EXPECT_TRUE(document.contains(uncounted)) << document.left(400).toStdString();
            EXPECT_TRUE(document.contains(QStringLiteral("Name: ") + QString::fromUtf8(w.readFirst))) << "shown as written";
        }
    }
}

TEST_F(SamePersonTest, TypedSmallLettersBecomeCapitalsAccentsIncluded)
{
    main->launch(ProgramId::NumerologyPro);
    auto *first = control<QLineEdit>("frmNumerologyProMain", "txtFirstName");
    ASSERT_NE(first, nullptr);
    // As a keyboard with those keys sends them (QTest's own clicks know ASCII only).
    for (QChar c : QString::fromUtf8("élodie ßø"))
        QTest::sendKeyEvent(QTest::Click, first, Qt::Key_unknown, QString(c), Qt::NoModifier);
    // ß has no capital of one letter: it stays, and is named under the readings.
    EXPECT_EQ(first->text(), QString::fromUtf8("ÉLODIE ßØ"));
}
