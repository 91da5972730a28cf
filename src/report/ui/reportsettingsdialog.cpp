#include "report/ui/reportsettingsdialog.h"

#include "common/paper.h"
#include "common/regularfile.h"
#include "common/savefile.h"
#include "platform/modaldialogs.h"
#include "report/logo.h"
#include "report/ui/logopicture.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

// As much as a logo may hold (logoFormat refuses a larger file).
constexpr qint64 kMaxLogoCopyBytes = 16 * 1024 * 1024;

constexpr QSize kPreviewSize(160, 80);

QColor toColor(richtext::Rgb colour)
{
    return QColor(colour.r, colour.g, colour.b);
}

QIcon swatch(richtext::Rgb colour)
{
    QPixmap pixmap(28, 16);
    pixmap.fill(toColor(colour));
    QPainter painter(&pixmap);
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

} // namespace

ReportSettingsDialog::ReportSettingsDialog(const report::Practitioner &practitioner,
                                           const platform::Services &services, QString logoFolder,
                                           QString settingsFile, QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_logoFolder(std::move(logoFolder))
    , m_settingsFile(std::move(settingsFile))
    , m_logo(practitioner.logoFile)
    , m_accent(practitioner.accent)
{
    setObjectName(QStringLiteral("frmReportSettings"));
    setWindowTitle(tr("Report Settings"));

    m_name = new QLineEdit(practitioner.name, this);
    m_name->setObjectName(QStringLiteral("txtPractitionerName"));
    m_contact = new QPlainTextEdit(this);
    m_contact->setObjectName(QStringLiteral("txtContact"));
    m_contact->setPlainText(practitioner.contact);
    m_contact->setTabChangesFocus(true);
    m_contact->setPlaceholderText(tr("Address, telephone, e-mail, web site: one per line"));
    m_contact->setFixedHeight(m_contact->fontMetrics().lineSpacing() * 5 + 12);

    m_logoPreview = new QLabel(this);
    m_logoPreview->setObjectName(QStringLiteral("picLogo"));
    m_logoPreview->setFixedSize(kPreviewSize + QSize(8, 8));
    m_logoPreview->setAlignment(Qt::AlignCenter);
    m_logoPreview->setFrameShape(QFrame::StyledPanel);
    m_chooseLogo = new QPushButton(tr("C&hoose..."), this);
    m_chooseLogo->setObjectName(QStringLiteral("cmdChooseLogo"));
    connect(m_chooseLogo, &QPushButton::clicked, this, &ReportSettingsDialog::askForLogo);
    m_removeLogo = new QPushButton(tr("&Remove"), this);
    m_removeLogo->setObjectName(QStringLiteral("cmdRemoveLogo"));
    connect(m_removeLogo, &QPushButton::clicked, this, &ReportSettingsDialog::removeLogo);
    auto *logoButtons = new QVBoxLayout;
    logoButtons->addWidget(m_chooseLogo);
    logoButtons->addWidget(m_removeLogo);
    logoButtons->addStretch();
    auto *logoRow = new QHBoxLayout;
    logoRow->addWidget(m_logoPreview);
    logoRow->addLayout(logoButtons);
    logoRow->addStretch();

    m_title = new QLineEdit(practitioner.reportTitle, this);
    m_title->setObjectName(QStringLiteral("txtReportTitle"));
    m_title->setPlaceholderText(report::defaultReportTitle());

    m_accentButton = new QPushButton(this);
    m_accentButton->setObjectName(QStringLiteral("cmdAccent"));
    connect(m_accentButton, &QPushButton::clicked, this, &ReportSettingsDialog::askForAccent);
    auto *accentRow = new QHBoxLayout;
    accentRow->addWidget(m_accentButton);
    accentRow->addStretch();

    m_paper = new QComboBox(this);
    m_paper->setObjectName(QStringLiteral("cboPaper"));
    m_paper->addItem(tr("A4"), int(kestrava::Paper::A4));
    m_paper->addItem(tr("Letter"), int(kestrava::Paper::Letter));
    m_paper->setCurrentIndex(m_paper->findData(int(practitioner.paper)));
    auto *paperRow = new QHBoxLayout;
    paperRow->addWidget(m_paper);
    paperRow->addStretch();

    auto *form = new QFormLayout;
    form->addRow(tr("Practitioner's &name:"), m_name);
    form->addRow(tr("&Contact:"), m_contact);
    form->addRow(tr("&Logo:"), logoRow);
    form->addRow(tr("Report &title:"), m_title);
    form->addRow(tr("&Accent colour:"), accentRow);
    form->addRow(tr("&Paper size:"), paperRow);
    // A row holding a layout has no buddy of its own.
    for (auto [row, buddy] : {std::pair<QLayout *, QWidget *>{logoRow, m_chooseLogo}, {accentRow, m_accentButton},
                              {paperRow, m_paper}}) {
        if (auto *label = qobject_cast<QLabel *>(form->labelForField(row)))
            label->setBuddy(buddy);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ReportSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(480);

    setTabOrder(m_name, m_contact);
    setTabOrder(m_contact, m_chooseLogo);
    setTabOrder(m_chooseLogo, m_removeLogo);
    setTabOrder(m_removeLogo, m_title);
    setTabOrder(m_title, m_accentButton);
    setTabOrder(m_accentButton, m_paper);
    setTabOrder(m_paper, buttons);

    showLogo();
    setAccent(m_accent);
    m_name->setFocus();
}

QString ReportSettingsDialog::logoFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/kestrava/report");
}

report::Practitioner ReportSettingsDialog::stored()
{
    QSettings settings(report::suiteSettingsFile(), QSettings::IniFormat);
    return report::readPractitioner(settings, kestrava::localePaper());
}

bool ReportSettingsDialog::edit(QWidget *owner, const platform::Services &services)
{
    QPointer<ReportSettingsDialog> dialog =
        new ReportSettingsDialog(stored(), services, logoFolder(), report::suiteSettingsFile(), owner);
    const bool accepted = platform::runModal(owner, dialog) == QDialog::Accepted;
    delete dialog;
    return accepted;
}

report::Practitioner ReportSettingsDialog::practitioner() const
{
    report::Practitioner p;
    p.name = m_name->text().trimmed();
    p.contact = m_contact->toPlainText().trimmed();
    p.logoFile = m_logo;
    p.reportTitle = m_title->text().trimmed();
    if (p.reportTitle.isEmpty())
        p.reportTitle = report::defaultReportTitle();
    p.accent = m_accent;
    p.paper = kestrava::Paper(m_paper->currentData().toInt());
    return p;
}

void ReportSettingsDialog::showLogo()
{
    const QImage image = report::ui::logoImage(m_logo, kPreviewSize * devicePixelRatioF());
    if (image.isNull()) {
        m_logoPreview->setPixmap({});
        m_logoPreview->setText(m_logo.isEmpty() ? tr("No logo") : tr("Logo missing"));
    } else {
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(devicePixelRatioF());
        m_logoPreview->setPixmap(pixmap);
    }
    m_logoPreview->setToolTip(QDir::toNativeSeparators(m_logo));
    m_removeLogo->setEnabled(!m_logo.isEmpty());
}

void ReportSettingsDialog::askForLogo()
{
    const std::optional<QString> path =
        m_services.files->openFile(this, {tr("Choose a Logo"), tr("Pictures (*.svg *.png)"), QString()});
    if (path)
        chooseLogo(*path);
}

bool ReportSettingsDialog::chooseLogo(const QString &path)
{
    const std::variant<report::Logo, QString> logo = report::readLogo(path);
    if (const QString *problem = std::get_if<QString>(&logo)) {
        m_services.messages->inform(this, platform::Icon::Error, *problem);
        return false;
    }
    m_logo = QFileInfo(path).absoluteFilePath();
    showLogo();
    return true;
}

void ReportSettingsDialog::removeLogo()
{
    m_logo.clear();
    showLogo();
    m_chooseLogo->setFocus();
}

void ReportSettingsDialog::setAccent(richtext::Rgb colour)
{
    m_accent = colour;
    m_accentButton->setIcon(swatch(colour));
    m_accentButton->setText(report::colourName(colour));
    m_accentButton->setAccessibleName(tr("Accent colour %1").arg(report::colourName(colour)));
}

void ReportSettingsDialog::askForAccent()
{
    QPointer<QColorDialog> dialog = new QColorDialog(toColor(m_accent), this);
    dialog->setWindowTitle(tr("Accent Colour"));
    const bool chosen = platform::runModal(this, dialog) == QDialog::Accepted;
    if (chosen && dialog) {
        const QColor colour = dialog->selectedColor();
        setAccent({quint8(colour.red()), quint8(colour.green()), quint8(colour.blue())});
    }
    delete dialog;
}

std::optional<QString> ReportSettingsDialog::copyLogo()
{
    const std::optional<QByteArray> format = report::ui::logoFormat(m_logo);
    const auto refuse = [this](const QString &reason) {
        m_services.messages->inform(this, platform::Icon::Error,
                                    tr("The logo could not be kept: %1").arg(reason));
        return std::nullopt;
    };
    if (!format)
        return refuse(tr("%1 is no longer a readable SVG or PNG picture.").arg(QDir::toNativeSeparators(m_logo)));
    // Opened only as a regular file, and read with a bound: the file may have
    // changed since it was chosen.
    const auto read = kestrava::readRegularFile(m_logo, kMaxLogoCopyBytes);
    if (const auto *failure = std::get_if<kestrava::Failure>(&read))
        return refuse(tr("%1: %2.").arg(QDir::toNativeSeparators(m_logo), failure->reason));
    const QByteArray &bytes = std::get<QByteArray>(read);
    if (!kestrava::makePrivateFolder(m_logoFolder))
        return refuse(tr("the folder %1 could not be made.").arg(QDir::toNativeSeparators(m_logoFolder)));
    const QString copy = QDir(m_logoFolder).filePath(QStringLiteral("logo.") + QString::fromLatin1(*format));
    const bool replacing = QFileInfo::exists(copy);
    QSaveFile file(copy);
    if (!file.open(QIODevice::WriteOnly))
        return refuse(file.errorString());
    // A new copy is the user's alone, as the suite's other files are; one
    // that is replaced keeps the permissions it has.
    if (!replacing)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (const std::optional<kestrava::SaveFailure> failure = kestrava::writeAndCommit(file, bytes))
        return refuse(failure->reason);
    return copy;
}

void ReportSettingsDialog::accept()
{
    report::Practitioner p = practitioner();
    const QString before = [this] {
        QSettings settings(m_settingsFile, QSettings::IniFormat);
        return report::readPractitioner(settings, kestrava::Paper::A4).logoFile;
    }();
    const QDir folder(m_logoFolder);
    const bool isCopy = !p.logoFile.isEmpty() && QFileInfo(p.logoFile).absolutePath() == folder.absolutePath();
    if (!p.logoFile.isEmpty() && !isCopy) {
        const std::optional<QString> copy = copyLogo();
        if (!copy)
            return;
        p.logoFile = *copy;
    }

    QSettings settings(m_settingsFile, QSettings::IniFormat);
    report::writePractitioner(settings, p);
    if (settings.status() != QSettings::NoError) {
        m_services.messages->inform(this, platform::Icon::Error,
                                    tr("The report settings could not be saved to %1.")
                                        .arg(QDir::toNativeSeparators(m_settingsFile)));
        return;
    }
    // A copy no longer named (removed, or replaced by one of the other kind)
    // goes; a file outside the folder was never ours.
    if (!before.isEmpty() && before != p.logoFile && QFileInfo(before).absolutePath() == folder.absolutePath())
        QFile::remove(before);
    m_logo = p.logoFile;
    QDialog::accept();
}
