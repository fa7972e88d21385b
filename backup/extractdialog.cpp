#include "backup/extractdialog.h"

#include "backup/folderlists.h"
#include "platform/archive/archiveengine.h"
#include "platform/archive/drive.h"
#include "platform/interactive.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tv {

bool ExtractDialog::s_cancelled = false;

ExtractDialog::ExtractDialog(archive::ArchiveEngine* engine) : m_engine(engine)
{
    setObjectName(QStringLiteral("ExtractDialog"));
    setWindowTitle(QStringLiteral("Extract archive"));

    const QStringList captions{QStringLiteral("Extract files to:"), QStringLiteral("Directories:"),
                               QStringLiteral("Drives:")};
    for (int i = 0; i < captions.size(); ++i) {
        auto* label = new QLabel(captions.at(i), this);
        label->setObjectName(QStringLiteral("lbl(%1)").arg(i));
        lbl.append(label);
    }
    txtExtract = new QLineEdit(this);
    txtExtract->setObjectName(QStringLiteral("txtExtract"));
    dirExtract = new backup::FolderList(this);
    dirExtract->setObjectName(QStringLiteral("dirExtract"));
    drvExtract = new backup::DriveList(this);
    drvExtract->setObjectName(QStringLiteral("drvExtract"));
    cmdSelect = new QPushButton(QStringLiteral("Select"), this);
    cmdSelect->setObjectName(QStringLiteral("cmdSelect"));
    cmdSelect->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    lbl.at(0)->setBuddy(txtExtract);
    lbl.at(1)->setBuddy(dirExtract);
    lbl.at(2)->setBuddy(drvExtract);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 12, 14, 14);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    grid->addWidget(lbl.at(0), 0, 0, 1, 2);
    grid->addWidget(txtExtract, 1, 0, 1, 2);
    grid->addWidget(lbl.at(1), 2, 0);
    grid->addWidget(dirExtract, 3, 0, 3, 1);
    grid->addWidget(lbl.at(2), 2, 1);
    grid->addWidget(drvExtract, 3, 1);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(cmdSelect);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 5, 1, Qt::AlignBottom);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(4, 1);
    dirExtract->setMinimumHeight(190);
    drvExtract->setMinimumWidth(150);
    resize(480, 330);

    connect(dirExtract, &backup::FolderList::pathChanged, this, &ExtractDialog::dirExtract_Change);
    connect(drvExtract, &QComboBox::currentIndexChanged, this, &ExtractDialog::drvExtract_Change);
    connect(cmdSelect, &QPushButton::clicked, this, &ExtractDialog::cmdSelect_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &ExtractDialog::cmdCancel_Click);
}

void ExtractDialog::Form_Load()
{
    const QString folder = m_engine->extractFolder();
    // Where the folder list starts when no folder was chosen, or the chosen one is gone.
    const QString start = QDir::current().exists() ? QDir::currentPath() : QDir::homePath();
    dirExtract->setPath(start);
    if (folder.isEmpty()) {
        txtExtract->setText(dirExtract->path());
    } else {
        txtExtract->setText(folder);
        const QString local = archive::drives::toLocalPath(folder);
        if (!local.isEmpty())
            dirExtract->setPath(local);
        // The text box keeps the chosen folder even when the list could not move to it.
        txtExtract->setText(folder);
    }
    const QString drive = backup::DriveList::driveOf(dirExtract->path());
    drvExtract->setDrive(drive);
    m_folderOnDrive.insert(drive, dirExtract->path());
}

void ExtractDialog::dirExtract_Change()
{
    txtExtract->setText(dirExtract->path());
    m_folderOnDrive.insert(backup::DriveList::driveOf(dirExtract->path()), dirExtract->path());
}

void ExtractDialog::drvExtract_Change()
{
    const QString drive = drvExtract->drive();
    const QString root = backup::DriveList::rootOf(drive);
    QString folder = m_folderOnDrive.value(drive);
    // The folder last shown on the drive, unless another disk has come in since.
    QString rootPrefix = QDir::cleanPath(root);
    if (!rootPrefix.endsWith(QLatin1Char('/')))
        rootPrefix += QLatin1Char('/');
    if (folder.isEmpty() || root.isEmpty() ||
        !(folder == QDir::cleanPath(root) || folder.startsWith(rootPrefix)))
        folder = root;
    if (root.isEmpty() || !dirExtract->setPath(folder)) {
        if (root.isEmpty() || !dirExtract->setPath(root)) {
            msgBox(drvExtract->currentText().toUpper() + QStringLiteral("\\ is not accessible\n\n"
                                                                        "The device is not ready"),
                   vbCritical, QStringLiteral("Error"));
            drvExtract->setDrive(backup::DriveList::driveOf(dirExtract->path()));
        }
    }
}

void ExtractDialog::cmdSelect_Click()
{
    m_engine->setExtractFolder(txtExtract->text().trimmed());
    s_cancelled = false;
    m_answered = true;
    unload();
}

void ExtractDialog::cmdCancel_Click()
{
    s_cancelled = true;
    m_answered = true;
    unload();
}

bool ExtractDialog::Form_Unload()
{
    // Closed from the title bar: nothing was chosen, so nothing may be extracted.
    if (!m_answered)
        s_cancelled = true;
    return true;
}

} // namespace tv
