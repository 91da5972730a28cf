#include "widgets/linkdetector.h"

#include "platform/weblinks.h"

#include <QMouseEvent>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

const QRegularExpression &addressPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"((?:https?://|mailto:|www\.)[^\s<>"']+)"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// Sentence punctuation after an address belongs to the sentence.
QString trimTrailingPunctuation(QString address)
{
    while (!address.isEmpty() && QStringLiteral(".,;:!?)]}").contains(address.back()))
        address.chop(1);
    return address;
}

} // namespace

LinkDetector::LinkDetector(QTextEdit *view)
    : QObject(view)
    , m_view(view)
    , m_viewport(view->viewport())
{
    m_view->viewport()->installEventFilter(this);
    m_view->viewport()->setMouseTracking(true);
    connect(m_view->document(), &QTextDocument::contentsChanged, this, &LinkDetector::markLinks);
    markLinks();
}

void LinkDetector::markLinks()
{
    if (m_marking)
        return;
    m_marking = true;
    QTextDocument *document = m_view->document();
    const QString text = document->toPlainText();
    auto it = addressPattern().globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString address = trimTrailingPunctuation(match.captured());
        if (address.isEmpty())
            continue;
        QTextCursor cursor(document);
        cursor.setPosition(int(match.capturedStart()));
        cursor.setPosition(int(match.capturedStart() + address.size()), QTextCursor::KeepAnchor);
        if (cursor.charFormat().isAnchor() && cursor.charFormat().anchorHref() == address)
            continue;
        QTextCharFormat link;
        link.setAnchor(true);
        link.setAnchorHref(address);
        link.setFontUnderline(true);
        link.setForeground(QColor(0, 0, 255));
        cursor.mergeCharFormat(link);
    }
    m_marking = false;
}

bool LinkDetector::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton) {
                const QString href = m_view->anchorAt(mouse->position().toPoint());
                if (!href.isEmpty())
                    kestrava::openReadingLink(href);
            }
        } else if (event->type() == QEvent::MouseMove) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const bool overLink = !m_view->anchorAt(mouse->position().toPoint()).isEmpty();
            m_view->viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
        }
    }
    return QObject::eventFilter(watched, event);
}
