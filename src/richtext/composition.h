#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

// A composed reading as a plain value: a title and runs of text, each carrying
// its whole format.  Readings build it the way they are described ("bold on,
// dark cyan, append ..., bold off"); the views only render what they get.
namespace richtext {

struct Rgb
{
    quint8 r = 0;
    quint8 g = 0;
    quint8 b = 0;

    friend bool operator==(const Rgb &, const Rgb &) = default;
};

// The colours of the 16-colour palette the readings use.
inline constexpr Rgb kDarkCyan{0, 128, 128};
inline constexpr Rgb kDarkRed{128, 0, 0};
inline constexpr Rgb kGreen{0, 128, 0};
inline constexpr Rgb kPurple{128, 0, 128};
inline constexpr Rgb kBlack{0, 0, 0};

enum class Align { Left, Centre, Right };

struct Format
{
    bool bold = false;
    std::optional<Rgb> colour; // nullopt: the view's default text colour
    qreal pointSize = 0;       // 0: the view's default size
    bool underline = false;
    // A paragraph property: the last run that reaches into a paragraph
    // decides it, as when the format is switched at a view's caret.
    Align align = Align::Left;

    friend bool operator==(const Format &, const Format &) = default;
};

struct Run
{
    QString text;
    Format format;

    friend bool operator==(const Run &, const Run &) = default;
};

// CR LF, n times: the line break the readings are written with.
QString crlf(int n = 1);

class Composition
{
public:
    // The caption a display window takes for this reading.
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }

    // Never holds an empty run, and no two neighbouring runs share a format.
    const QList<Run> &runs() const { return m_runs; }
    bool isEmpty() const { return m_runs.isEmpty(); }

    // The format the next append() uses.
    const Format &format() const { return m_format; }

    Composition &bold(bool on);
    Composition &colour(Rgb colour);
    Composition &defaultColour();
    Composition &size(qreal pointSize); // 0 returns to the view's default
    Composition &underline(bool on);
    Composition &align(Align align);

    // Adds the text in the current format; merges into the last run when that
    // has the same format.  Empty text adds nothing.
    Composition &append(const QString &text);
    // Adds the other composition's runs in their own formats.  Neither this
    // composition's current format nor its title changes.
    Composition &append(const Composition &other);

    // All run texts joined, line breaks as written (CR LF).
    QString plainText() const;

    // The same composition with every occurrence of the text that lies within
    // one run taken out; runs left empty go, and the title stays.
    Composition without(const QString &text) const;

private:
    void appendRun(const QString &text, const Format &format);

    QString m_title;
    QList<Run> m_runs;
    Format m_format;
};

// The block a program's reading document opens with: the composition's title
// in 16-point bold, then "Name: " with the name (when there is one) and
// "Date of Birth: " with the date (when given), each caption bold.
void appendTitleBlock(Composition &c, const QString &name, const std::optional<QString> &birthDate);

// The text with each line break (CR LF, or a lone CR or LF) as "\n".
QString toPlainText(const Composition &composition);

// A self-contained HTML fragment of <p> elements, one per line (the title is
// not part of it).  Text is escaped and blanks are kept as typed.
QString toHtml(const Composition &composition);

// A standalone HTML page that is well-formed XML too: the title, then the
// paragraphs of every composition in turn.  Web addresses (http, https and
// www. ones) become links.
QString toHtmlPage(const QString &title, const QList<Composition> &parts);

} // namespace richtext
