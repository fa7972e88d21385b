// Main window entries that open company settings and the terms lists, compact the database, choose the logo
// and show the about box.
#include "shell/mainmenu.h"

#include "database/connection.h"
#include "platform/binding.h"
#include "platform/interactive.h"
#include "settings/finance.h"
#include "settings/termstemplate.h"
#include "settings/yourinformation.h"
#include "shell/about.h"
#include "shell/compaction.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLabel>

namespace tv {

namespace {

void showTerms(const TermsList& list)
{
    Forms::loadKeyed<TermsTemplate>(list.table, list)->showModal();
}

// The file dialog offers every picture format this build can read, and any file.
QString pictureFilter()
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    return QStringLiteral("Pictures (%1);;All Files (*)").arg(patterns.join(u' '));
}

// The largest the logo shows at the top of the main window; a larger picture is shown scaled down.
constexpr int LogoMaxWidth = 560;

// Shows the stored picture of the logo label at a size that fits, keeping its proportions. The bytes stay
// as they are, so the picture is saved whole.
void fitLogo(QLabel* logo)
{
    const QPixmap shown = logo->pixmap();
    if (shown.isNull())
        return;
    const QSize bound(LogoMaxWidth, logo->maximumHeight());
    if (shown.width() <= bound.width() && shown.height() <= bound.height())
        return;
    logo->setPixmap(shown.scaled(bound, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace

void MainMenu::setUpSettingsEntries()
{
    // Whenever the binding shows the logo row, at start-up among others.
    connect(Data1, &Binding::reposition, this, [this]() { fitLogo(Image1); });
}

void MainMenu::MnuYourInformation_Click()
{
    setPointer(Pointer::Hourglass);
    Forms::load<YourInformation>()->showModeless();
    setPointer(Pointer::Default);
}

void MainMenu::MnuFinance_Click()
{
    setPointer(Pointer::Hourglass);
    Forms::load<Finance>()->showModal();
    setPointer(Pointer::Default);
}

void MainMenu::MnuPaymentTerms_Click()
{
    showTerms(TermsList::payment());
}

void MainMenu::MnuShipmentTerms_Click()
{
    showTerms(TermsList::shipment());
}

void MainMenu::MnuFileCompress_Click()
{
    setPointer(Pointer::Hourglass);
    const QString path = platform::databasePath();

    // Every other holder of the file must let go first; the main window's own binding is closed below.
    QStringList own;
    if (Data1->connection())
        own.append(Data1->connection()->owner());
    const QStringList holders = compaction::holdersOf(path, own);
    if (!holders.isEmpty()) {
        setPointer(Pointer::Default);
        msgBox(QStringLiteral("The database cannot be compressed while other windows are using it.\n\n"
                              "Please close these windows, then choose Compress again:\n\n%1")
                   .arg(holders.join(u'\n')),
               vbExclamation);
        return;
    }

    Data1->close(true);
    QString error;
    const bool compacted = compaction::compactDatabase(path, &error);
    setPointer(Pointer::Default);
    if (compacted)
        msgBox(QStringLiteral("Your database has been successfully compressed"), vbOKOnly);
    else
        msgBox(QStringLiteral(
                   "Your database could not be compressed.\n\n%1\n\nThe database file was not changed.")
                   .arg(error),
               vbCritical);
}

void MainMenu::MnuLogo_Click()
{
    // After a compression or a backup the binding stays closed for the rest of the run.
    if (!Data1->isOpen()) {
        msgBox(QStringLiteral("The logo cannot be changed now, because the database has been closed (after "
                              "Compress or Backup / Restore, or because it could not be opened at start).\n\n"
                              "Please restart Tarvenor, then choose the logo again."),
               vbInformation);
        return;
    }
    const QString file = platform::interactive().openFileName(QString(), QString(), pictureFilter());
    if (file.isEmpty())
        return;

    // The picture itself is stored, so that the database file holds everything, backups included.
    QFile source(file);
    QByteArray bytes;
    if (source.open(QIODevice::ReadOnly))
        bytes = source.readAll();
    QImage picture;
    if (bytes.isEmpty() || !picture.loadFromData(bytes)) {
        msgBox(QStringLiteral(
                   "The file %1 is not a picture that Tarvenor can show.\n\nThe logo was not changed.")
                   .arg(QDir::toNativeSeparators(file)),
               vbExclamation);
        return;
    }
    Binding::setPicture(Image1, bytes);
    fitLogo(Image1);
    // Saving the row takes the new picture from Image1; if it fails, the stored logo shows again.
    if (!Data1->updateRecord())
        Data1->cancelUpdate();
}

void MainMenu::MenuHelpAbout_Click()
{
    Forms::load<About>()->showModal();
}

} // namespace tv
