#include "common/regularfile.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace kestrava {

namespace {

QString systemReason(int error)
{
    if (error == ENOENT || error == ENOTDIR)
        return u"there is no such file"_s;
    return QString::fromLocal8Bit(std::strerror(error));
}

// Why a file of this mode is not read, or nothing for a regular file.
MaybeFailure kindProblem(mode_t mode)
{
    if (S_ISREG(mode))
        return std::nullopt;
    if (S_ISDIR(mode))
        return Failure{u"it is a folder"_s};
    const auto other = [](const char *kind) {
        return Failure{u"it is not a regular file (it is %1)"_s.arg(QLatin1StringView(kind))};
    };
    if (S_ISFIFO(mode))
        return other("a named pipe");
    if (S_ISSOCK(mode))
        return other("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return other("a device");
    return other("of an unknown kind");
}

QString sizeText(qint64 bytes)
{
    constexpr qint64 kMegabyte = 1024 * 1024;
    if (bytes >= kMegabyte && bytes % kMegabyte == 0)
        return u"%1 MB"_s.arg(bytes / kMegabyte);
    if (bytes >= 1024 && bytes % 1024 == 0)
        return u"%1 KB"_s.arg(bytes / 1024);
    return u"%1 bytes"_s.arg(bytes);
}

} // namespace

RegularFile &RegularFile::operator=(RegularFile &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

RegularFile::~RegularFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int RegularFile::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

MaybeFailure notARegularFile(const QString &path)
{
    if (path.isEmpty())
        return Failure{u"there is no such file"_s};
    struct stat info{};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return Failure{systemReason(errno)};
    return kindProblem(info.st_mode);
}

std::variant<RegularFile, Failure> openRegularFile(const QString &path)
{
    // Looked at first: even opening some devices does something.
    if (MaybeFailure problem = notARegularFile(path))
        return *problem;
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return Failure{systemReason(errno)};
    RegularFile file(fd);
    struct stat info{};
    if (::fstat(fd, &info) != 0)
        return Failure{systemReason(errno)};
    if (MaybeFailure problem = kindProblem(info.st_mode))
        return *problem;
    // A regular file reads the same either way; readers expect to wait.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return file;
}

std::variant<QByteArray, Failure> readRegularFile(const QString &path, qint64 maxBytes, WhenLarger larger)
{
    auto opened = openRegularFile(path);
    if (auto *failure = std::get_if<Failure>(&opened))
        return *failure;
    const RegularFile &file = std::get<RegularFile>(opened);
    maxBytes = qMax<qint64>(maxBytes, 0);
    // One byte more than allowed tells a file that is too large, even one
    // that grew since it was looked at.
    const qint64 wanted = maxBytes + 1;
    QByteArray bytes;
    char chunk[64 * 1024];
    while (bytes.size() < wanted) {
        const ssize_t n = ::read(file.fd(), chunk, size_t(qMin<qint64>(sizeof chunk, wanted - bytes.size())));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Failure{systemReason(errno)};
        if (n == 0)
            break;
        bytes.append(chunk, qsizetype(n));
    }
    if (bytes.size() > maxBytes) {
        if (larger == WhenLarger::Refuse)
            return Failure{u"it is larger than %1"_s.arg(sizeText(maxBytes))};
        bytes.truncate(qsizetype(maxBytes));
    }
    return bytes;
}

QString shownExcerpt(const QString &text, int maxChars)
{
    QString shown;
    const QChar replacement(QChar::ReplacementCharacter);
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (count == maxChars) {
            shown += u'\u2026';
            break;
        }
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const char32_t code = QChar::surrogateToUcs4(c, text.at(i + 1));
            if (QChar::isPrint(code)) {
                shown += c;
                shown += text.at(i + 1);
            } else {
                shown += replacement;
            }
            ++i;
        } else if (c == u' ' || (c.isPrint() && !c.isSurrogate())) {
            shown += c;
        } else {
            shown += replacement;
        }
        ++count;
    }
    return shown;
}

} // namespace kestrava
