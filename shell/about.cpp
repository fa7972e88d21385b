#include "shell/about.h"

#include "platform/interactive.h"
#include "shell/artwork.h"
#include "version.h"

#include <QFrame>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

namespace tv {

namespace {

QLabel* line(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

About::About()
{
    setObjectName(QStringLiteral("About"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);

    // Shape1: the rectangle framing the maker's lines.
    auto* shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameShape(QFrame::Box);
    shape->setLineWidth(1);

    auto* icon = new QLabel(shape);
    icon->setObjectName(QStringLiteral("Icon"));
    icon->setPixmap(artwork::applicationIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignCenter);

    auto* title = line(shape, QStringLiteral("Title"), ApplicationTitle);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);

    Label4 = line(shape, QStringLiteral("Label4"), QString());
    auto* label1 = line(shape, QStringLiteral("Label1"), QStringLiteral("Tarvenor Software"));
    QFont bold = label1->font();
    bold.setBold(true);
    label1->setFont(bold);
    auto* label2 = line(shape, QStringLiteral("Label2"), QStringLiteral("4 Quarry Lane, Halden Bridge"));
    auto* label3 = line(shape, QStringLiteral("Label3"), QStringLiteral("Sales and support: (555) 555-0148"));
    auto* label5 = line(shape, QStringLiteral("Label5"), QStringLiteral("support@tarvenor.example"));
    auto* label6 = line(shape, QStringLiteral("Label6"), QStringLiteral("www.tarvenor.example"));

    auto* inner = new QVBoxLayout(shape);
    inner->setContentsMargins(28, 20, 28, 22);
    inner->setSpacing(4);
    inner->addWidget(icon);
    inner->addWidget(title);
    inner->addWidget(Label4);
    inner->addSpacing(14);
    for (QLabel* label : {label1, label2, label3, label5, label6})
        inner->addWidget(label);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 14, 14, 14);
    outer->addWidget(shape);

    // The box has no buttons: its close box, or Esc, closes it.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &About::unload);
}

QString About::versionLine(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString About::versionLine()
{
    return versionLine(VersionMajor, VersionMinor, VersionRevision);
}

void About::Form_Load()
{
    setWindowTitle(ApplicationTitle);
    Label4->setText(versionLine());
    setFixedSize(sizeHint().expandedTo(QSize(340, 0)));
}

} // namespace tv
