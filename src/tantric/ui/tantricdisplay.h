#pragma once

#include "tantric/tantricnumbers.h"
#include "widgets/programwindow.h"

#include <array>

class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QTextEdit;
class TantricProgram;

// The Vorizov Avazodizaz result window (frmTranticNumerologyDisplay): the
// summary of the five numbers with their texts, and the comprehensive chart.
class TantricDisplay : public ProgramWindow
{
    Q_OBJECT
public:
    explicit TantricDisplay(TantricProgram &program);

    // Fills both views and brings the summary forward.
    void showReading(const QString &name, const tantric::TantricNumbers &numbers);
    void showChart();
    void showSummary();

    QTextEdit *chartView() const { return m_chart; }

private:
    QWidget *buildSummary();
    QWidget *buildChartView();

    TantricProgram &m_program;
    QStackedWidget *m_views = nullptr;
    QWidget *m_summary = nullptr;
    QWidget *m_chartFrame = nullptr;
    QLabel *m_title = nullptr;
    std::array<QLabel *, 10> m_labels{};           // lblLabel 0 to 9
    std::array<QPlainTextEdit *, 5> m_texts{};     // txtResult 0 to 4
    QTextEdit *m_chart = nullptr;
};
