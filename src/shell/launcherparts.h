#pragma once

#include "common/brand.h"
#include "widgets/linklabel.h"

#include <QPushButton>
#include <QString>
#include <QWidget>

#include <array>

class QColor;

// The main window's launcher as tables (where each launch button sits, the
// welcome labels' texts, colours and order) and its hand-painted pieces.
namespace launcher {

struct ButtonPlace
{
    int row;
    int column;
};

// Launch buttons by index: place in the two rows of three.
inline constexpr std::array<ButtonPlace, kestrava::kProgramCount> kButtonPlaces = {{
    {0, 1}, // Astrology
    {0, 0}, // Variduzeda Vad
    {0, 2}, // Tarot
    {1, 1}, // Daily
    {1, 2}, // Runes
    {1, 0}, // Tantric
}};

inline constexpr int kFirstProgramCaption = 3;

inline kestrava::ProgramId programAt(int index)
{
    return kestrava::ProgramId(index);
}

// The welcome label's text; 0 to 2 are headings, 3 to 8 name program index - 3.
QString captionText(int index);

inline constexpr std::array<const char *, 9> kCaptionColours = {
    "#00FFFF", "#FF0000", "#00FFFF", "#FFFF00", "#FF00FF", "#00FF00", "#00FFFF", "#FF8000", "#8080FF",
};

// Top to bottom on the panel: the headings, then the programs in the order
// Variduzeda Vad, Astrology, Tarot, Tantric, Daily, Runes.
inline constexpr std::array<int, 9> kCaptionOrder = {0, 1, 2, 4, 3, 5, 8, 6, 7};

// The main window's own looks are painted by hand rather than set with style
// sheets: a style sheet sends the widget and everything inside it through
// the style-sheet machinery, which took about a tenth of the start-up.

// The dark grey strips above and below the document area.
class Bar : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override;
};

QWidget *makeBar(const QString &name, QWidget *parent);

void setTextColour(QWidget *widget, const QColor &colour);

// The banner's text on a soft dark backdrop, which keeps it readable over the
// strip's pattern.
class BannerText : public LinkLabel
{
public:
    BannerText(const QString &text, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A launch button: light grey with a thin border, lighter under the mouse,
// darker while pressed, dimmed while its program is not offered, and a blue
// border with the keyboard focus.
class LaunchButton : public QPushButton
{
public:
    LaunchButton(const QString &text, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *) override;
};

// The welcome paragraph: a fixed width and the height its lines need there.
// It keeps out of the layout's height-for-width round, which laid its text
// out again for every width the window's layout tried.
class Paragraph : public LinkLabel
{
public:
    Paragraph(const QString &text, int width, QWidget *parent);

    bool hasHeightForWidth() const override { return false; }

protected:
    void changeEvent(QEvent *event) override;

private:
    int m_width;
};

} // namespace launcher
