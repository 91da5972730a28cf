#pragma once

#include "tarot/profiles.h"
#include "tarot/spread.h"
#include "tarot/tarotdocument.h"
#include "widgets/programwindow.h"

#include <array>

class TarotProgram;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTextEdit;

// The Virer Ovuvudavov result window (frmTarotNumerologyResult): the life
// path page, the destiny page (each a number's profile with a card browser)
// and the numerology spread page.
class TarotResult : public ProgramWindow
{
    Q_OBJECT
public:
    explicit TarotResult(TarotProgram &program);

    // Fill a page with a number's profile and its first card; a number
    // without a profile only empties the card descriptions and keywords.
    void showLifePathProfile(int number);
    // `uncounted` is said under the number's text: the sentence naming the
    // letters of the name that count nothing, or empty.
    void showDestinyProfile(int number, const QString &uncounted = {});

    // The card browser of a page (0 life path, 1 destiny).
    void nextCard(int page);
    void previousCard(int page);

    // Lays the dealt cards into the grid and writes the spread's reading.
    void showSpread(const tarot::SpreadCards &cards);

    // What a number page (0 life path, 1 destiny) shows now.
    tarot::NumberSection section(int page) const;

    QTextEdit *spreadView() const { return m_spreadView; }

private:
    // What a number page shows and where its browser stands.
    struct Page
    {
        QLabel *picture = nullptr;
        QLabel *cardName = nullptr;
        QLabel *cardDescription = nullptr;
        QLabel *keywords = nullptr;
        std::array<QLabel *, 6> results{}; // number, planet, day, best days, colours, stones
        QPlainTextEdit *numberText = nullptr;
        QPlainTextEdit *planetText = nullptr;
        int number = 0;
        int count = 0;
        int position = 1;
        bool pending = false;
    };

    QWidget *buildNumberPage(int page);
    QWidget *buildSpreadPage();
    void showProfile(int page, int number);
    // Replaces the current card list; a page waiting for its first card gets it.
    void loadNumberCards(int number);
    void showCard(int page, int number, int position);

    TarotProgram &m_program;
    QTabBar *m_tabs = nullptr;
    QStackedWidget *m_pages = nullptr;
    std::array<Page, 2> m_page;
    QList<tarot::TarotCard> m_currentCards;
    QTextEdit *m_spreadView = nullptr;
    std::array<QLabel *, tarot::kSpreadSize> m_grid{};
};
