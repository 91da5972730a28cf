#include "report/logo.h"

#include "common/regularfile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLocale>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace report {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("report::Logo", text);
}

// An SVG within an SVG within ... is cleaned to this depth and dropped below it.
constexpr int kMaxNesting = 4;

QByteArray cleaned(const QByteArray &svg, int depth);

// A data address as it may stay in a logo: an SVG in it cleaned; nothing
// when it cannot be.
QString cleanedDataAddress(const QString &address, int depth)
{
    const qsizetype comma = address.indexOf(u',');
    if (comma < 0)
        return {};
    const QString header = address.first(comma).toLower();
    if (!header.contains(u"svg"_s))
        return address;
    if (depth >= kMaxNesting)
        return {};
    const QByteArray payload = address.sliced(comma + 1).toUtf8();
    const QByteArray inner = header.endsWith(u";base64"_s) ? QByteArray::fromBase64(payload)
                                                            : QByteArray::fromPercentEncoding(payload);
    const QByteArray clean = cleaned(inner, depth + 1);
    if (clean.isEmpty())
        return {};
    return u"data:image/svg+xml;base64,"_s + QString::fromLatin1(clean.toBase64());
}

QByteArray cleaned(const QByteArray &svg, int depth)
{
    QXmlStreamReader in(svg);
    QByteArray out;
    QXmlStreamWriter writer(&out);
    while (!in.atEnd()) {
        switch (in.readNext()) {
        case QXmlStreamReader::StartDocument:
            writer.writeStartDocument();
            break;
        case QXmlStreamReader::EndDocument:
            writer.writeEndDocument();
            break;
        case QXmlStreamReader::StartElement: {
            // Declared first, so that the element and its attributes take
            // the document's own prefixes.
            for (const QXmlStreamNamespaceDeclaration &space : in.namespaceDeclarations()) {
                if (space.prefix().isEmpty())
                    writer.writeDefaultNamespace(space.namespaceUri().toString());
                else
                    writer.writeNamespace(space.namespaceUri().toString(), space.prefix().toString());
            }
            writer.writeStartElement(in.namespaceUri().toString(), in.name().toString());
            for (const QXmlStreamAttribute &attribute : in.attributes()) {
                QString value = attribute.value().toString();
                if (attribute.name() == u"href"_s) {
                    const QString address = value.trimmed();
                    if (address.startsWith(u'#'))
                        value = address;
                    else if (address.startsWith(u"data:"_s, Qt::CaseInsensitive))
                        value = cleanedDataAddress(address, depth);
                    else
                        value.clear();
                    if (value.isEmpty())
                        continue;
                }
                writer.writeAttribute(attribute.namespaceUri().toString(), attribute.name().toString(), value);
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            writer.writeEndElement();
            break;
        case QXmlStreamReader::Characters:
            if (in.isCDATA())
                writer.writeCDATA(in.text().toString());
            else
                writer.writeCharacters(in.text().toString());
            break;
        default:
            // The document type (and with it any entity it declares),
            // comments, processing instructions: nothing a logo is drawn from.
            break;
        }
    }
    if (in.hasError())
        return {};
    return out;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString notAPicture(const QString &path)
{
    return tr("%1 is not a picture the report can show. Please choose an SVG or PNG picture.").arg(shown(path));
}

} // namespace

QByteArray withoutOutsideReferences(const QByteArray &svg)
{
    return cleaned(svg, 0);
}

std::variant<Logo, QString> readLogo(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return notAPicture(path);
    if (info.size() > kMaxLogoBytes) {
        return tr("%1 is too large for a logo (%2). Please choose a picture of at most 16 MB.")
            .arg(shown(path), QLocale().formattedDataSize(info.size(), 1, QLocale::DataSizeTraditionalFormat));
    }
    // Read as a regular file only, and with a bound: a pipe put in its place
    // since the look above is refused rather than waited on.
    std::variant<QByteArray, kestrava::Failure> read =
        kestrava::readRegularFile(path, kMaxLogoBytes, kestrava::WhenLarger::Cut);
    if (const auto *failure = std::get_if<kestrava::Failure>(&read))
        return tr("%1 could not be read: %2").arg(shown(path), failure->reason);
    Logo logo;
    logo.data = std::get<QByteArray>(std::move(read));

    QBuffer buffer(&logo.data);
    buffer.open(QIODevice::ReadOnly);
    logo.format = QImageReader::imageFormat(&buffer).toLower();
    if (logo.format == "svg") {
        logo.data = withoutOutsideReferences(logo.data);
        const QSvgRenderer renderer(logo.data);
        logo.size = renderer.defaultSize();
        if (logo.data.isEmpty() || !renderer.isValid() || logo.size.isEmpty())
            return notAPicture(path);
        return logo;
    }
    if (logo.format != "png")
        return notAPicture(path);
    buffer.seek(0);
    QImageReader reader(&buffer, "png");
    logo.size = reader.size();
    if (logo.size.width() > kMaxLogoSide || logo.size.height() > kMaxLogoSide) {
        return tr("%1 is too large for a logo (%2 \u00d7 %3 pixels). Please choose a picture of at most %4 pixels "
                  "a side.")
            .arg(shown(path), QLocale().toString(logo.size.width()), QLocale().toString(logo.size.height()),
                 QLocale().toString(kMaxLogoSide));
    }
    // Decoded through once: a damaged file names its format in its first
    // bytes and fails only later.
    if (logo.size.isEmpty() || reader.read().isNull())
        return notAPicture(path);
    return logo;
}

QImage logoImage(const Logo &logo, QSize fitInto)
{
    if (fitInto.isEmpty() || logo.size.isEmpty())
        return {};
    const QSize size = logo.size.scaled(fitInto, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    if (logo.format == "svg") {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QSvgRenderer renderer(logo.data);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        return image;
    }
    QImage image = QImage::fromData(logo.data, "png");
    if (image.isNull() || image.size() == size)
        return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void drawLogo(QPainter &painter, const Logo &logo, const QRectF &target, qreal dotsPerUnit)
{
    if (target.isEmpty())
        return;
    if (logo.format == "svg") {
        QSvgRenderer renderer(logo.data);
        renderer.render(&painter, target);
        return;
    }
    // Never more pixels than the picture has: a small logo is not blown up.
    const QSize pixels = (target.size() * dotsPerUnit).toSize().boundedTo(logo.size);
    painter.drawImage(target, logoImage(logo, pixels));
}

} // namespace report
