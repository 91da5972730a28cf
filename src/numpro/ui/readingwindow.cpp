#include "numpro/ui/readingwindow.h"

#include "common/brand.h"
#include "common/charactershift.h"
#include "numpro/files/numfile.h"
#include "common/brand.h"
#include "numpro/ui/numproprogram.h"
#include "widgets/texteditrenderer.h"
#include "widgets/brandlabels.h"
#include "widgets/linkdetector.h"
#include "widgets/linklabel.h"
#include "widgets/programhost.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

ReadingWindow::ReadingWindow(NumProProgram &program, const QString &name, const QString &caption)
    : ProgramWindow(program.host(), name, caption)
    , m_program(program)
{
    // Long readings are easier to read in a larger window.
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    QWidget *page = body();
    m_view = new QTextEdit(page);
    m_view->setObjectName(QStringLiteral("RTB"));
    m_view->setReadOnly(true);
    m_view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_view->setMinimumSize(640, 380);
    new LinkDetector(m_view);

    auto *advert = new QLabel(brand::advertisingNote(), page);
    advert->setObjectName(QStringLiteral("lblAdvert"));
    advert->setStyleSheet(QStringLiteral("color: #800000;"));

    m_buttons = new QHBoxLayout;
    m_buttons->addWidget(advert);
    m_buttons->addStretch();

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_view, 1);
    layout->addWidget(brand::makeForumLabel(QStringLiteral("Label61"), false, page));
    layout->addLayout(m_buttons);
}

QPushButton *ReadingWindow::addButton(const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, body());
    button->setObjectName(name);
    m_buttons->addWidget(button);
    return button;
}

void ReadingWindow::appendReading(const richtext::Composition &reading)
{
    richtext::appendToTextEdit(m_view, reading);
}

void ReadingWindow::save()
{
    const platform::Services services = host().services();
    const auto path = services.files->saveFile(
        this, {tr("Save Your %1 Result ....").arg(kestrava::programName(kestrava::ProgramId::NumerologyPro)), tr("Rich Text Format (*.num)"), QStringLiteral("num")});
    if (!path)
        return;

    const numpro::ReadingSubject &subject = m_program.subject();
    const QString lost = kestrava::unsavableCharacters(subject.firstName + subject.middleName + subject.lastName
                                                     + subject.month + subject.day + subject.year);
    if (!lost.isEmpty()) {
        QStringList shown;
        for (char32_t c : lost.toUcs4())
            shown << QString::fromUcs4(&c, 1);
        const bool goOn = services.messages->ask(
            this, platform::Icon::Warning,
            tr("These characters cannot be kept in a saved reading and will be left out: %1\n"
               "Do you want to save the reading anyway?")
                .arg(shown.join(QStringLiteral(" "))));
        if (!goOn)
            return;
    }

    QString error;
    if (!numpro::writeNumFile(*path, subject, &error)) {
        services.messages->inform(this, platform::Icon::Error,
                                  tr("The reading could not be saved to %1.\n%2")
                                      .arg(QDir::toNativeSeparators(*path), error));
    }
}

void ReadingWindow::print()
{
    QTextCursor cursor = m_view->textCursor();
    cursor.clearSelection();
    m_view->setTextCursor(cursor);
    if (const auto problem = host().services().printer->print(*m_view->document()))
        host().services().messages->inform(this, platform::Icon::Error, *problem);
}
