// Writes the icons Kestrava installs into a hicolor icon theme folder: the
// application icon and the icons of its two saved-reading file types, each
// as scalable SVG and as PNG at the usual sizes.  They are the suite's own
// drawings (shell/artwork), so the installed icons match the program's.
//
//   kestrava-icons OUTPUT-FOLDER
#include "shell/artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QTextStream>

#include <functional>

namespace {

using Painter = std::function<void(QPaintDevice &, int)>;

bool writeIcon(const QString &root, const QString &context, const QString &name, const Painter &paint)
{
    const QString scalable = root + QStringLiteral("/scalable/") + context;
    if (!QDir().mkpath(scalable))
        return false;
    QSvgGenerator svg;
    svg.setFileName(scalable + u'/' + name + QStringLiteral(".svg"));
    svg.setSize(QSize(256, 256));
    svg.setViewBox(QRect(0, 0, 256, 256));
    svg.setTitle(name);
    paint(svg, 256);
    if (!QFileInfo::exists(svg.fileName()))
        return false;

    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = root + QStringLiteral("/%1x%1/").arg(size) + context;
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        paint(image, size);
        if (!QDir().mkpath(folder) || !image.save(folder + u'/' + name + QStringLiteral(".png")))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // Fonts are needed for the numerals; no screen is.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: kestrava-icons OUTPUT-FOLDER\n";
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const bool written =
        writeIcon(root, QStringLiteral("apps"), QStringLiteral("org.kestrava.Kestrava"),
                  [](QPaintDevice &device, int size) { kestrava::paintProductLogo(device, size); })
        && writeIcon(root, QStringLiteral("mimetypes"), QStringLiteral("application-x-kestrava-num"),
                     [](QPaintDevice &device, int size) { kestrava::paintProgramPicture(device, 1, size); })
        && writeIcon(root, QStringLiteral("mimetypes"), QStringLiteral("application-x-kestrava-tnm"),
                     [](QPaintDevice &device, int size) { kestrava::paintProgramPicture(device, 2, size); });
    if (!written) {
        QTextStream(stderr) << "kestrava-icons: could not write the icons into " << root << "\n";
        return 1;
    }
    return 0;
}
