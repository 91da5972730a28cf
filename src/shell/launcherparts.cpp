#include "shell/launcherparts.h"

#include <QColor>
#include <QEvent>
#include <QObject>
#include <QPainter>
#include <QPalette>

namespace launcher {

QString captionText(int index)
{
    switch (index) {
    case 0: return QObject::tr("Welcome to %1").arg(kestrava::productName());
    case 1:
        return QObject::tr("Welcome to the interesting world of numbers. Know more about how numerology can "
                           "affect your lives with this software. Be it a normal Numerology Reading or one based "
                           "on Astrology, Kundalini, Tarot or Runes, this tool can help you understand yourself "
                           "better.");
    case 2: return QObject::tr("%1 includes the following programs").arg(kestrava::productName());
    default: return kestrava::programName(programAt(index - kFirstProgramCaption));
    }
}

void Bar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x3a, 0x3a, 0x3a));
    painter.setPen(QColor(0x22, 0x22, 0x22));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

QWidget *makeBar(const QString &name, QWidget *parent)
{
    auto *bar = new Bar(parent);
    bar->setObjectName(name);
    return bar;
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

BannerText::BannerText(const QString &text, QWidget *parent)
    : LinkLabel(text, parent)
{
    setContentsMargins(12, 2, 12, 2);
    setTextColour(this, QColor(0xFF, 0xD9, 0x66));
}

void BannerText::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(10, 6, 30, 170));
        painter.drawRoundedRect(QRectF(rect()), 4, 4);
    }
    LinkLabel::paintEvent(event);
}

LaunchButton::LaunchButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    setAttribute(Qt::WA_Hover);
}

void LaunchButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor fill = !isEnabled() ? QColor(0x8c, 0x8c, 0x8c)
                        : isDown()   ? QColor(0xa8, 0xa8, 0xa8)
                        : underMouse() ? QColor(0xd8, 0xd8, 0xd8)
                                       : QColor(0xc0, 0xc0, 0xc0);
    painter.setPen(hasFocus() ? QColor(0x20, 0x60, 0xc0) : QColor(0x80, 0x80, 0x80));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.setPen(isEnabled() ? QColor(Qt::black) : QColor(0x5a, 0x5a, 0x5a));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

Paragraph::Paragraph(const QString &text, int width, QWidget *parent)
    : LinkLabel(text, parent)
    , m_width(width)
{
    setWordWrap(true);
    setFixedWidth(width);
}

void Paragraph::changeEvent(QEvent *event)
{
    LinkLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        setFixedHeight(LinkLabel::heightForWidth(m_width));
}

} // namespace launcher
