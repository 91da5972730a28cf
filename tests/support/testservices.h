#pragma once

#include "platform/services.h"
#include "support/testdoubles.h"

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <deque>
#include <memory>

#include <ostream>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Message boxes that record what they were asked to show and answer as told.
class RecordingMessageBoxes final : public platform::MessageBoxes
{
public:
    struct Shown
    {
        platform::Icon icon;
        QString text;
        bool question;
    };

    void inform(QWidget *, platform::Icon icon, const QString &text) override
    {
        shown.push_back({icon, text, false});
    }
    bool ask(QWidget *, platform::Icon icon, const QString &text) override
    {
        shown.push_back({icon, text, true});
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QStringList texts() const
    {
        QStringList result;
        for (const Shown &s : shown)
            result << s.text;
        return result;
    }

    QList<Shown> shown;
    std::deque<bool> answers; // Yes = true; No when empty
};

// File dialogs that return prepared paths (cancel when none is prepared).
class PreparedFileDialogs final : public platform::FileDialogs
{
public:
    std::optional<QString> openFile(QWidget *, const platform::FileRequest &request) override
    {
        requests.push_back(request);
        return take();
    }
    std::optional<QString> saveFile(QWidget *, const platform::FileRequest &request) override
    {
        requests.push_back(request);
        return take();
    }

    std::deque<std::optional<QString>> paths;
    QList<platform::FileRequest> requests;

private:
    std::optional<QString> take()
    {
        std::optional<QString> path;
        if (!paths.empty()) {
            path = paths.front();
            paths.pop_front();
        }
        return path;
    }
};

// Catches every web address the suite hands to the system.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    UrlCatcher()
    {
        for (const char *scheme : {"http", "https", "mailto", "file", "ftp"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UrlCatcher() override
    {
        for (const char *scheme : {"http", "https", "mailto", "file", "ftp"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QStringList opened;

public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

// The services a window test hands to the main window.
struct TestServices
{
    TestServices()
        : clock(QDateTime(QDate(2026, 12, 10), QTime(9, 0)))
        , printer(std::make_unique<PdfFilePrinter>(dir.filePath(QStringLiteral("printed.pdf"))))
    {
    }
    platform::Services services()
    {
        if (realDialogs)
            return {&realMessages, &realFiles, &clock, printer.get(), &random};
        return {&messages, &files, &clock, printer.get(), &random};
    }

    QTemporaryDir dir;
    RecordingMessageBoxes messages;
    PreparedFileDialogs files;
    FixedClock clock;
    // Writes printed.pdf in dir unless a test puts another printer here.
    std::unique_ptr<platform::Printer> printer;
    // Deals the same spreads in every run.
    kestrava::SeededRandom random{20261210};
    // The real, modal boxes and dialogs, for the tests that need them running.
    bool realDialogs = false;
    platform::QtMessageBoxes realMessages;
    platform::QtFileDialogs realFiles;
};
