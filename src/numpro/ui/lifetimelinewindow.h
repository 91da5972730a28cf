#pragma once

#include "numpro/forecast/picture/timelinepicture.h"
#include "widgets/programwindow.h"

#include <QWidget>

class NumProProgram;
class QCheckBox;
class QLabel;
class QStackedWidget;
class QTableWidget;
class QTextEdit;

// The life timeline picture on screen: hovering a band names it, clicking
// it reports which.
class TimelineView : public QWidget
{
    Q_OBJECT
public:
    TimelineView(numpro::LifeTimeline timeline, QWidget *parent = nullptr);

    const numpro::TimelinePicture &picture() const { return m_picture; }
    // Where the band of that index is drawn, in the view's coordinates.
    QRect bandRect(qsizetype index) const;
    qsizetype hoveredBand() const { return m_hovered; }
    void setSelectedBand(qsizetype index);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The band under the mouse changed (-1: none).
    void bandHovered(qsizetype index);
    void bandClicked(qsizetype index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    numpro::TimelinePicture m_picture;
    qsizetype m_hovered = -1;
    qsizetype m_selected = -1;
};

// The Life Timeline window: the person's pinnacles, challenges, life path
// periods, essence and personal years along the ages, the reading of a
// clicked band beside it, the same values as a table for screen readers, and
// the picture's export as PNG, SVG and PDF.
class LifeTimelineWindow : public ProgramWindow
{
    Q_OBJECT
public:
    LifeTimelineWindow(NumProProgram &program, const numpro::ReadingInputs &subject);

    const numpro::LifeTimeline &timeline() const;
    // Shows the reading of the band beside the picture and marks the band.
    void showBand(qsizetype index);
    // Asks for a file and writes the picture in the format of the suffix.
    void exportPicture(const QString &suffix);

private:
    TimelineView *m_view;
    QTableWidget *m_table;
    QStackedWidget *m_stack;
    QTextEdit *m_reading;
    QLabel *m_hoverLine;
};
