#include "shell/artwork.h"

#include "common/savefile.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRadialGradient>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTransform>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>

namespace kestrava {

namespace {

// Every square picture is drawn on a 100 x 100 grid and scaled, so the shapes
// are the same at every size; only the outline keeps a minimum device width.
constexpr qreal kGrid = 100.0;

const QColor kOutline(24, 18, 36, 210);
const QColor kGoldLight(255, 241, 184);
const QColor kGold(245, 197, 66);
const QColor kGoldDeep(178, 122, 22);

qreal screenRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QPixmap drawBanner(int width, int height);

// The pictures are drawn once for each build, size and pixel ratio and kept
// in the user's cache folder; later starts read them back instead of drawing
// (text as shapes is slow to draw, and the main window shows several).
QPixmap cachedPicture(const QString &name, QSize size, const std::function<QPixmap()> &draw)
{
    static const QString folder = [] {
        const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        return base.isEmpty() ? QString() : base + QStringLiteral("/kestrava/artwork");
    }();
    // Any rebuild of the drawings makes a new name, so an old picture is never shown.
    static const QString build =
        QString::number(qHash(QByteArrayLiteral(__DATE__ " " __TIME__)), 16);
    const qreal ratio = screenRatio();
    const QSize pixels(qCeil(size.width() * ratio), qCeil(size.height() * ratio));
    // The pixels as they are (premultiplied ARGB, row after row): read back
    // with one copy, where decoding a PNG took a good part of the launcher's
    // start.  The size is in the name; a file of any other length is not used.
    const QString file = folder + QStringLiteral("/%1-%2x%3-%4.argb").arg(name).arg(pixels.width())
                                      .arg(pixels.height()).arg(build);
    const qsizetype bytes = qsizetype(pixels.width()) * pixels.height() * 4;
    if (!folder.isEmpty()) {
        QFile cached(file);
        if (cached.open(QIODevice::ReadOnly) && cached.size() == bytes) {
            QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
            if (cached.read(reinterpret_cast<char *>(image.bits()), bytes) == bytes) {
                QPixmap pixmap = QPixmap::fromImage(std::move(image));
                pixmap.setDevicePixelRatio(ratio);
                return pixmap;
            }
        }
    }
    QPixmap pixmap = draw();
    if (!folder.isEmpty() && QDir().mkpath(folder)) {
        // The first picture drawn by a new build clears those of older ones.
        static const bool cleared = [] {
            QDir old(folder);
            for (const QString &name : old.entryList(QDir::Files)) {
                if (!name.contains(build))
                    old.remove(name);
            }
            return true;
        }();
        Q_UNUSED(cleared);
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        // Through a save file, so a reader never sees half a picture.
        QSaveFile out(file);
        if (image.size() == pixels && out.open(QIODevice::WriteOnly))
            writeAndCommit(out, QByteArrayView(image.constBits(), bytes));
    }
    return pixmap;
}

QPixmap transparentCanvas(int width, int height)
{
    const qreal ratio = screenRatio();
    QPixmap pixmap(QSize(qCeil(width * ratio), qCeil(height * ratio)));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A painter set up for the 100-unit grid of a size x size picture, with the
// outline width in grid units: about one device pixel at icon sizes, growing
// gently for large pictures so the edge stays visible without looking heavy.
struct GridPainter {
    GridPainter(QPaintDevice &device, int size)
        : painter(&device)
        , outline(std::max(1.0, size / 44.0) * kGrid / size)
    {
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                               | QPainter::SmoothPixmapTransform);
        painter.scale(size / kGrid, size / kGrid);
    }

    QPen outlinePen(const QColor &colour = kOutline) const
    {
        QPen pen(colour, outline);
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::RoundCap);
        return pen;
    }

    void fillAndOutline(const QPainterPath &path, const QBrush &brush)
    {
        painter.setPen(outlinePen());
        painter.setBrush(brush);
        painter.drawPath(path);
    }

    QPainter painter;
    qreal outline;
};

QLinearGradient goldGradient(QPointF from, QPointF to)
{
    QLinearGradient gradient(from, to);
    gradient.setColorAt(0.0, kGoldLight);
    gradient.setColorAt(0.55, kGold);
    gradient.setColorAt(1.0, kGoldDeep);
    return gradient;
}

// Text as a filled shape, scaled to fill the box (keeping its proportions).
// Fitting the glyph's own outline, not the font's line metrics, keeps the
// pictures the same whichever sans serif the system substitutes.
QPainterPath glyphPath(const QString &text, const QRectF &box, const QString &family,
                       QFont::Weight weight)
{
    QFont font(family);
    font.setStyleHint(family.contains(QLatin1String("Serif")) ? QFont::Serif
                                                              : QFont::SansSerif);
    font.setWeight(weight);
    font.setPixelSize(200);

    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    if (bounds.width() <= 0 || bounds.height() <= 0)
        return path;

    const qreal scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    QTransform transform;
    transform.translate(box.center().x(), box.center().y());
    transform.scale(scale, scale);
    transform.translate(-bounds.center().x(), -bounds.center().y());
    return transform.map(path);
}

// A four-pointed sparkle, the suite's star.
QPainterPath sparklePath(QPointF centre, qreal radius, qreal waist = 0.26)
{
    QPolygonF points;
    for (int i = 0; i < 8; ++i) {
        const qreal angle = i * std::numbers::pi / 4 - std::numbers::pi / 2;
        const qreal r = (i % 2 == 0) ? radius : radius * waist;
        points << centre + QPointF(std::cos(angle) * r, std::sin(angle) * r);
    }
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    return path;
}

void drawSparkle(GridPainter &grid, QPointF centre, qreal radius)
{
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0.0, Qt::white);
    glow.setColorAt(0.45, kGoldLight);
    glow.setColorAt(1.0, kGold);
    grid.painter.setPen(grid.outlinePen(QColor(90, 60, 10, 200)));
    grid.painter.setBrush(glow);
    grid.painter.drawPath(sparklePath(centre, radius));
}

// A closed curve passing smoothly through the given points (Catmull-Rom).
QPainterPath smoothClosedPath(const QPolygonF &points)
{
    QPainterPath path;
    const qsizetype count = points.size();
    if (count < 3)
        return path;
    const auto at = [&](qsizetype i) { return points[(i + count) % count]; };
    path.moveTo(at(0));
    for (qsizetype i = 0; i < count; ++i) {
        const QPointF c1 = at(i) + (at(i + 1) - at(i - 1)) / 6.0;
        const QPointF c2 = at(i + 1) - (at(i + 2) - at(i)) / 6.0;
        path.cubicTo(c1, c2, at(i + 1));
    }
    path.closeSubpath();
    return path;
}

// 0: astrology.  An amber planet whose ring passes behind it and then in front.
void drawPlanet(GridPainter &grid)
{
    QPainter &p = grid.painter;
    const QPointF centre(50, 52);
    const qreal radius = 26;

    // The ring as a band, tilted; split into the half behind and the half in front.
    QTransform tilt;
    tilt.translate(centre.x(), centre.y());
    tilt.rotate(-18);
    QPainterPath ellipse;
    ellipse.addEllipse(QPointF(0, 0), 45, 13);
    QPainterPathStroker stroker;
    stroker.setWidth(8);
    const QPainterPath band = tilt.map(stroker.createStroke(ellipse).simplified());
    QPainterPath backHalf;
    backHalf.addRect(QRectF(-60, -40, 120, 40));
    QPainterPath frontHalf;
    frontHalf.addRect(QRectF(-60, 0, 120, 40));

    QLinearGradient ringBrush(QPointF(6, 40), QPointF(94, 64));
    ringBrush.setColorAt(0.0, QColor(120, 226, 255));
    ringBrush.setColorAt(0.5, QColor(205, 245, 255));
    ringBrush.setColorAt(1.0, QColor(58, 140, 214));

    grid.fillAndOutline(band.intersected(tilt.map(backHalf)), ringBrush);

    QRadialGradient body(centre + QPointF(-10, -11), radius * 1.5);
    body.setColorAt(0.0, QColor(255, 226, 140));
    body.setColorAt(0.45, QColor(243, 146, 42));
    body.setColorAt(1.0, QColor(150, 56, 20));
    QPainterPath planet;
    planet.addEllipse(centre, radius, radius);
    grid.fillAndOutline(planet, body);

    // Soft cloud bands, following the ring's tilt.
    p.save();
    p.setClipPath(planet);
    p.setTransform(tilt, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 236, 190, 90));
    p.drawRoundedRect(QRectF(-30, -12, 60, 5), 2.5, 2.5);
    p.setBrush(QColor(120, 40, 10, 60));
    p.drawRoundedRect(QRectF(-30, 7, 60, 5), 2.5, 2.5);
    p.restore();

    // Redraw the outline of the planet's edge so the bands do not soften it.
    p.setPen(grid.outlinePen());
    p.setBrush(Qt::NoBrush);
    p.drawPath(planet);

    grid.fillAndOutline(band.intersected(tilt.map(frontHalf)), ringBrush);

    drawSparkle(grid, QPointF(16, 17), 11);
    drawSparkle(grid, QPointF(86, 84), 7);
}

// 1: the numerology reading.  A bold golden 9 on an emerald disc ringed with
// nine golden dots, one for each digit.
void drawNumberDisc(GridPainter &grid)
{
    QPainter &p = grid.painter;
    const QPointF centre(50, 50);

    QRadialGradient disc(centre + QPointF(-14, -16), 62);
    disc.setColorAt(0.0, QColor(110, 236, 196));
    disc.setColorAt(0.45, QColor(22, 150, 128));
    disc.setColorAt(1.0, QColor(8, 64, 72));
    QPainterPath circle;
    circle.addEllipse(centre, 46, 46);
    grid.fillAndOutline(circle, disc);

    p.setPen(QPen(QColor(255, 255, 255, 70), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 41, 41);

    for (int i = 0; i < 9; ++i) {
        const qreal angle = i * 2 * std::numbers::pi / 9 - std::numbers::pi / 2;
        const QPointF dot = centre + QPointF(std::cos(angle), std::sin(angle)) * 36.5;
        QPainterPath path;
        path.addEllipse(dot, 3.6, 3.6);
        p.setPen(QPen(QColor(60, 40, 0, 160), grid.outline * 0.6));
        p.setBrush(goldGradient(dot - QPointF(3, 3), dot + QPointF(3, 3)));
        p.drawPath(path);
    }

    const QPainterPath nine = glyphPath(QStringLiteral("9"), QRectF(31, 24, 38, 52),
                                        QStringLiteral("DejaVu Sans"), QFont::Black);
    // A drop shadow lifts the numeral off the disc.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 30, 30, 110));
    p.drawPath(nine.translated(1.6, 2.0));
    grid.fillAndOutline(nine, goldGradient(QPointF(0, 24), QPointF(0, 76)));
}

// 2: tarot.  Two cards fanned out; the front one shows a sun.
void drawTarotCards(GridPainter &grid)
{
    QPainter &p = grid.painter;
    const QRectF card(-25, -39, 50, 78);

    // The card behind, showing its back.
    p.save();
    p.translate(40, 52);
    p.rotate(-14);
    QLinearGradient backBrush(card.topLeft(), card.bottomRight());
    backBrush.setColorAt(0.0, QColor(66, 98, 200));
    backBrush.setColorAt(1.0, QColor(24, 36, 110));
    QPainterPath back;
    back.addRoundedRect(card, 6, 6);
    grid.fillAndOutline(back, backBrush);
    p.setPen(QPen(QColor(245, 197, 66, 200), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(5, 5, -5, -5), 3, 3);
    p.restore();

    // The front card.
    p.save();
    p.translate(59, 50);
    p.rotate(8);
    QLinearGradient face(card.topLeft(), card.bottomRight());
    face.setColorAt(0.0, QColor(170, 48, 120));
    face.setColorAt(1.0, QColor(70, 14, 82));
    QPainterPath front;
    front.addRoundedRect(card, 6, 6);
    grid.fillAndOutline(front, face);

    p.setPen(QPen(kGold, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(5, 5, -5, -5), 3, 3);

    // The sun: twelve rays around a golden face.
    const QPointF sun(0, -2);
    QPainterPath rays;
    for (int i = 0; i < 12; ++i) {
        const qreal angle = i * std::numbers::pi / 6;
        const qreal side = std::numbers::pi / 16;
        const qreal outer = (i % 2 == 0) ? 19.5 : 15.5;
        QPolygonF ray;
        ray << sun + QPointF(std::cos(angle - side), std::sin(angle - side)) * 9
            << sun + QPointF(std::cos(angle), std::sin(angle)) * outer
            << sun + QPointF(std::cos(angle + side), std::sin(angle + side)) * 9;
        rays.addPolygon(ray);
        rays.closeSubpath();
    }
    p.setPen(QPen(QColor(120, 60, 0, 180), grid.outline * 0.7, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.setBrush(QColor(255, 206, 84));
    p.drawPath(rays.simplified());

    QRadialGradient sunFace(sun + QPointF(-3, -3), 13);
    sunFace.setColorAt(0.0, QColor(255, 250, 220));
    sunFace.setColorAt(0.5, QColor(255, 210, 80));
    sunFace.setColorAt(1.0, QColor(232, 128, 24));
    p.setBrush(sunFace);
    p.drawEllipse(sun, 10, 10);

    p.setPen(Qt::NoPen);
    p.setBrush(kGoldLight);
    p.drawPath(sparklePath(QPointF(0, -30), 3.2));
    p.drawPath(sparklePath(QPointF(0, 29), 3.2));
    p.restore();
}

// 3: the daily number.  A calendar page with a red header and the day's number.
void drawCalendar(GridPainter &grid)
{
    QPainter &p = grid.painter;
    const QRectF page(12, 14, 76, 76);

    QPainterPath sheet;
    sheet.addRoundedRect(page, 9, 9);
    QLinearGradient paper(page.topLeft(), page.bottomLeft());
    paper.setColorAt(0.0, QColor(255, 255, 255));
    paper.setColorAt(1.0, QColor(226, 230, 238));
    grid.fillAndOutline(sheet, paper);

    // The header band is the page's top, so it shares the page's rounded corners.
    QPainterPath headerArea;
    headerArea.addRect(QRectF(page.left(), page.top(), page.width(), 22));
    QLinearGradient red(QPointF(0, page.top()), QPointF(0, page.top() + 22));
    red.setColorAt(0.0, QColor(250, 96, 80));
    red.setColorAt(1.0, QColor(190, 32, 36));
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawPath(sheet.intersected(headerArea));
    p.setPen(grid.outlinePen());
    p.drawLine(QPointF(page.left(), page.top() + 22), QPointF(page.right(), page.top() + 22));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sheet);

    // Binding rings: a hole punched in the header and a metal loop through it.
    for (qreal x : {32.0, 68.0}) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(110, 14, 20));
        p.drawEllipse(QPointF(x, 27), 3.6, 3.6);
        QLinearGradient metal(QPointF(x - 3, 0), QPointF(x + 3, 0));
        metal.setColorAt(0.0, QColor(120, 126, 138));
        metal.setColorAt(0.5, QColor(236, 240, 246));
        metal.setColorAt(1.0, QColor(96, 102, 114));
        QPainterPath loop;
        loop.addRoundedRect(QRectF(x - 3, 6, 6, 22), 3, 3);
        grid.fillAndOutline(loop, metal);
    }

    const QPainterPath seven = glyphPath(QStringLiteral("7"), QRectF(33, 44, 34, 40),
                                         QStringLiteral("DejaVu Sans"), QFont::Black);
    QLinearGradient ink(QPointF(0, 44), QPointF(0, 84));
    ink.setColorAt(0.0, QColor(52, 92, 200));
    ink.setColorAt(1.0, QColor(22, 44, 130));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(seven);
}

// 4: runes.  A grey river stone with Algiz cut into it and stained red ochre,
// as the old stones were painted.
void drawRuneStone(GridPainter &grid)
{
    QPainter &p = grid.painter;

    const QPolygonF outline{ { 48, 7 },  { 74, 13 }, { 88, 36 }, { 87, 66 }, { 72, 90 },
                             { 42, 94 }, { 18, 80 }, { 11, 52 }, { 22, 21 } };
    const QPainterPath stone = smoothClosedPath(outline);

    QRadialGradient rock(QPointF(38, 30), 72);
    rock.setColorAt(0.0, QColor(222, 226, 232));
    rock.setColorAt(0.5, QColor(150, 158, 170));
    rock.setColorAt(1.0, QColor(84, 90, 104));
    grid.fillAndOutline(stone, rock);

    // A few fixed flecks give the surface some grain.
    p.save();
    p.setClipPath(stone);
    p.setPen(Qt::NoPen);
    constexpr std::array<std::array<qreal, 3>, 9> flecks{ { { 28, 34, 1.6 }, { 70, 28, 1.2 },
                                                            { 76, 58, 1.8 }, { 30, 70, 1.3 },
                                                            { 60, 82, 1.5 }, { 22, 52, 1.0 },
                                                            { 80, 44, 1.0 }, { 46, 18, 1.1 },
                                                            { 40, 84, 1.0 } } };
    for (const auto &[x, y, r] : flecks) {
        p.setBrush(QColor(60, 64, 76, 90));
        p.drawEllipse(QPointF(x, y), r, r);
    }
    p.restore();

    // Algiz: a stave with two arms raised.
    QPainterPath rune;
    rune.moveTo(50, 78);
    rune.lineTo(50, 24);
    rune.moveTo(50, 50);
    rune.lineTo(32, 28);
    rune.moveTo(50, 50);
    rune.lineTo(68, 28);

    auto stroke = [&](const QColor &colour, qreal width, QPointF offset) {
        QPen pen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPath(rune.translated(offset));
    };
    // Light catches the lower edge of a cut and the upper edge lies in shadow,
    // which is what makes the sign read as carved rather than painted on.
    stroke(QColor(250, 252, 255, 170), 9.5, QPointF(0.9, 1.1));
    stroke(QColor(34, 26, 30, 230), 9.5, QPointF(-0.5, -0.6));
    stroke(QColor(176, 46, 34), 6.4, QPointF(0, 0));
    stroke(QColor(232, 104, 72, 140), 2.0, QPointF(-0.8, -0.8));
}

// 5: tantric.  A lotus opening inside a thin golden chakra circle.
void drawLotus(GridPainter &grid)
{
    QPainter &p = grid.painter;
    const QPointF base(50, 80);

    // The chakra circle: a warm glow that also gives the pink flower a light
    // ground to stand out against on the grey button bar.
    QRadialGradient halo(QPointF(50, 46), 48);
    halo.setColorAt(0.0, QColor(255, 250, 222));
    halo.setColorAt(0.6, QColor(255, 228, 150));
    halo.setColorAt(1.0, QColor(246, 184, 76));
    QPainterPath circle;
    circle.addEllipse(QPointF(50, 50), 46, 46);
    grid.fillAndOutline(circle, halo);
    p.setPen(QPen(QColor(214, 140, 20, 160), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(50, 50), 41, 41);

    // One petal pointing straight up from the base; the others are it rotated.
    auto petal = [&](qreal length, qreal width) {
        QPainterPath path;
        path.moveTo(0, 0);
        path.cubicTo(-width, -length * 0.30, -width * 0.55, -length * 0.80, 0, -length);
        path.cubicTo(width * 0.55, -length * 0.80, width, -length * 0.30, 0, 0);
        path.closeSubpath();
        return path;
    };
    auto drawPetal = [&](qreal angle, qreal length, qreal width, const QColor &tip,
                         const QColor &root) {
        QTransform place;
        place.translate(base.x(), base.y());
        place.rotate(angle);
        const QPainterPath path = place.map(petal(length, width));
        QLinearGradient shade(place.map(QPointF(0, -length)), base);
        shade.setColorAt(0.0, tip);
        shade.setColorAt(1.0, root);
        grid.fillAndOutline(path, shade);
        // A fine vein down the middle of the petal.
        p.setPen(QPen(QColor(255, 255, 255, 110), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(place.map(QPointF(0, -length * 0.85)), place.map(QPointF(0, -length * 0.2)));
    };

    const QColor deepTip(206, 40, 120), deepRoot(120, 16, 80);
    const QColor midTip(240, 98, 160), midRoot(176, 30, 110);
    const QColor paleTip(255, 196, 222), paleRoot(230, 80, 150);

    drawPetal(-66, 44, 15, deepTip, deepRoot);
    drawPetal(66, 44, 15, deepTip, deepRoot);
    drawPetal(-36, 54, 16, midTip, midRoot);
    drawPetal(36, 54, 16, midTip, midRoot);
    drawPetal(-14, 60, 16, paleTip, paleRoot);
    drawPetal(14, 60, 16, paleTip, paleRoot);
    drawPetal(0, 64, 15, QColor(255, 226, 238), paleRoot);

    // The leaf pad the flower rests on.
    QPainterPath pad;
    pad.moveTo(10, 80);
    pad.cubicTo(22, 70, 40, 78, 50, 80);
    pad.cubicTo(60, 78, 78, 70, 90, 80);
    pad.cubicTo(78, 92, 22, 92, 10, 80);
    pad.closeSubpath();
    QLinearGradient leaf(QPointF(0, 72), QPointF(0, 92));
    leaf.setColorAt(0.0, QColor(120, 210, 110));
    leaf.setColorAt(1.0, QColor(30, 110, 56));
    grid.fillAndOutline(pad, leaf);
}

} // namespace

void paintProgramPicture(QPaintDevice &device, int program, int size)
{
    if (program < 0 || program >= programPictureCount || size < 1)
        return;
    GridPainter grid(device, size);
    switch (program) {
    case 0: drawPlanet(grid); break;
    case 1: drawNumberDisc(grid); break;
    case 2: drawTarotCards(grid); break;
    case 3: drawCalendar(grid); break;
    case 4: drawRuneStone(grid); break;
    case 5: drawLotus(grid); break;
    }
}

QPixmap programPicture(int program, int size)
{
    if (program < 0 || program >= programPictureCount || size < 1)
        return {};
    return cachedPicture(QStringLiteral("program%1").arg(program), QSize(size, size), [program, size] {
        QPixmap pixmap = transparentCanvas(size, size);
        paintProgramPicture(pixmap, program, size);
        return pixmap;
    });
}

QPixmap productLogo(int size)
{
    if (size < 1)
        return {};
    return cachedPicture(QStringLiteral("logo"), QSize(size, size), [size] {
        QPixmap pixmap = transparentCanvas(size, size);
        paintProductLogo(pixmap, size);
        return pixmap;
    });
}

void paintProductLogo(QPaintDevice &device, int size)
{
    if (size < 1)
        return;
    GridPainter grid(device, size);
    QPainter &p = grid.painter;
    const QPointF centre(50, 50);

    QRadialGradient night(centre + QPointF(-12, -16), 66);
    night.setColorAt(0.0, QColor(52, 96, 206));
    night.setColorAt(0.5, QColor(18, 38, 112));
    night.setColorAt(1.0, QColor(6, 12, 44));
    QPainterPath disc;
    disc.addEllipse(centre, 48, 48);
    grid.fillAndOutline(disc, night);

    const QLinearGradient gold = goldGradient(QPointF(10, 10), QPointF(90, 90));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(gold), size < 24 ? 5.0 : 2.6));
    p.drawEllipse(centre, size < 24 ? 41 : 43, size < 24 ? 41 : 43);

    // The ring of numerals 1 to 9, clockwise from the top.  Below about 60 pixels
    // a digit would be a smudge, so smaller logos show a bead for each instead,
    // and the smallest drop the ring altogether so the K keeps its room.
    QRectF initialBox(33, 31, 34, 38);
    if (size >= 24) {
        p.setPen(QPen(QBrush(gold), 1.6));
        p.drawEllipse(centre, 30, 30);
        const bool digitsReadable = size >= 60;
        for (int digit = 1; digit <= 9; ++digit) {
            const qreal angle = (digit - 1) * 2 * std::numbers::pi / 9 - std::numbers::pi / 2;
            const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * 36.5;
            p.setPen(Qt::NoPen);
            p.setBrush(kGold);
            if (digitsReadable) {
                const QRectF box(at - QPointF(4, 4.6), QSizeF(8, 9.2));
                p.drawPath(glyphPath(QString::number(digit), box, QStringLiteral("DejaVu Sans"),
                                     QFont::Bold));
            } else {
                p.drawEllipse(at, 2.6, 2.6);
            }
        }
    } else {
        initialBox = QRectF(25, 21, 50, 58);
    }

    const QPainterPath initial = glyphPath(QStringLiteral("K"), initialBox,
                                           QStringLiteral("DejaVu Serif"), QFont::Bold);
    if (size >= 48) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 20, 140));
        p.drawPath(initial.translated(1.2, 1.6));
    }
    p.setPen(QPen(QColor(80, 50, 0, 220), grid.outline * 0.8, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.setBrush(goldGradient(initialBox.topLeft(), initialBox.bottomLeft()));
    p.drawPath(initial);
}

QIcon windowIcon()
{
    QIcon icon;
    for (int size : { 16, 24, 32, 48, 64, 128 })
        icon.addPixmap(productLogo(size));
    return icon;
}

QPixmap bannerPicture(int width, int height)
{
    if (width < 1 || height < 1)
        return {};
    return cachedPicture(QStringLiteral("banner"), QSize(width, height), [width, height] {
        return drawBanner(width, height);
    });
}

namespace {

QPixmap drawBanner(int width, int height)
{
    QPixmap pixmap = transparentCanvas(width, height);
    QPainter p(&pixmap);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const QRectF area(0, 0, width, height);

    QLinearGradient sky(area.topLeft(), area.topRight());
    sky.setColorAt(0.0, QColor(48, 12, 78));
    sky.setColorAt(0.55, QColor(30, 22, 104));
    sky.setColorAt(1.0, QColor(12, 42, 112));
    p.fillRect(area, sky);

    // A soft sheen at the top and shade at the bottom give the strip depth.
    QLinearGradient depth(area.topLeft(), area.bottomLeft());
    depth.setColorAt(0.0, QColor(255, 255, 255, 26));
    depth.setColorAt(0.45, QColor(255, 255, 255, 0));
    depth.setColorAt(1.0, QColor(0, 0, 0, 70));
    p.fillRect(area, depth);

    // The stars and numerals come from a fixed-seed sequence of our own, so the
    // banner looks the same on every run and with every Qt version.
    quint32 state = 0x4b657374u;
    auto next = [&state]() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state & 0xffffffu) / qreal(0x1000000);
    };

    const qreal unit = std::max(1.0, height / 60.0);

    // Numerals drawn as fine golden outlines over a faint fill: at a low opacity
    // a solid gold fill turns a muddy brown on the purple.
    const int numeralCount = std::max(1, width / 110);
    for (int i = 0; i < numeralCount; ++i) {
        // Each numeral gets its own slice of the width, so they never bunch up;
        // stepping by 4 through 1..9 keeps neighbours different.
        const qreal x = (i + 0.2 + 0.6 * next()) * width / numeralCount;
        const qreal y = height * (0.42 + 0.16 * next());
        const int digit = 1 + (i * 4) % 9;
        const qreal pixels = height * (0.42 + 0.2 * next());
        const qreal turn = -16 + 32 * next();
        const QPainterPath numeral = glyphPath(
            QString::number(digit), QRectF(-pixels / 2, -pixels / 2, pixels, pixels),
            QStringLiteral("DejaVu Serif"), QFont::Bold);
        p.save();
        p.translate(x, y);
        p.rotate(turn);
        p.setPen(QPen(QColor(245, 197, 66, 70 + int(40 * next())), std::max(1.0, unit * 0.8)));
        p.setBrush(QColor(245, 197, 66, 22));
        p.drawPath(numeral);
        p.restore();
    }

    const int starCount = std::max(3, width / 22);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < starCount; ++i) {
        const QPointF at(next() * width, next() * height);
        const qreal kind = next();
        if (kind < 0.12) {
            const qreal radius = unit * (3.0 + 2.5 * next());
            QRadialGradient glow(at, radius);
            glow.setColorAt(0.0, QColor(255, 248, 215));
            glow.setColorAt(0.5, kGoldLight);
            glow.setColorAt(1.0, kGold);
            p.setBrush(glow);
            p.drawPath(sparklePath(at, radius, 0.22));
        } else {
            const qreal radius = unit * (0.5 + 0.9 * next());
            p.setBrush(QColor(255, 226, 150, 110 + int(120 * next())));
            p.drawEllipse(at, radius, radius);
        }
    }

    // A fine golden rule along the bottom edge sets the banner off from the window.
    QLinearGradient rule(area.topLeft(), area.topRight());
    rule.setColorAt(0.0, QColor(245, 197, 66, 0));
    rule.setColorAt(0.2, QColor(245, 197, 66, 200));
    rule.setColorAt(0.8, QColor(245, 197, 66, 200));
    rule.setColorAt(1.0, QColor(245, 197, 66, 0));
    p.fillRect(QRectF(0, height - unit, width, unit), rule);
    return pixmap;
}

} // namespace

} // namespace kestrava
