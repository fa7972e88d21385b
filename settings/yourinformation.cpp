#include "settings/yourinformation.h"

#include "platform/binding.h"
#include "platform/interactive.h"
#include "shell/application.h"
#include "shell/mainmenu.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tv {

const QList<QPair<QString, QString>>& YourInformation::boxFields()
{
    static const QList<QPair<QString, QString>> fields{
        {QStringLiteral("Text1"), QStringLiteral("Company Name")},
        {QStringLiteral("Text2"), QStringLiteral("Company Address 1")},
        {QStringLiteral("Text3"), QStringLiteral("Company Address 2")},
        {QStringLiteral("Text4"), QStringLiteral("Company Address 3")},
        {QStringLiteral("Text5"), QStringLiteral("Company Address 4")},
        {QStringLiteral("Text6"), QStringLiteral("Company Address 5")},
        {QStringLiteral("Text7"), QStringLiteral("Company Phone")},
        {QStringLiteral("Text8"), QStringLiteral("Company Fax")},
        {QStringLiteral("Text9"), QStringLiteral("Salesman Name")},
        {QStringLiteral("Text10"), QStringLiteral("Your email")},
        {QStringLiteral("Text11"), QStringLiteral("Your internet")},
    };
    return fields;
}

YourInformation::YourInformation()
{
    setObjectName(QStringLiteral("YourInformation"));
    setWindowTitle(QStringLiteral("Your Information Worksheet"));

    Data1 = new Binding(this, QStringLiteral("Data1"));

    auto* frame = new QGroupBox(QStringLiteral("Your Information"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    grid->setContentsMargins(14, 14, 14, 14);

    // The caption beside each box; the address lines after the first have none.
    const QStringList captions{QStringLiteral("Company Name"),
                               QStringLiteral("Address"),
                               {},
                               {},
                               {},
                               {},
                               QStringLiteral("Phone"),
                               QStringLiteral("Fax"),
                               QStringLiteral("Salesman Name"),
                               QStringLiteral("Your E-Mail"),
                               QStringLiteral("Internet Address")};
    int row = 0;
    for (const auto& [name, field] : boxFields()) {
        auto* box = new QLineEdit(frame);
        box->setObjectName(name);
        box->setMaxLength(MaxLength);
        box->setMinimumWidth(300);
        const QString caption = captions.at(row);
        if (!caption.isEmpty()) {
            auto* label = new QLabel(caption, frame);
            label->setObjectName(QStringLiteral("Label%1").arg(row + 1));
            label->setBuddy(box);
            grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        }
        grid->addWidget(box, row, 1);
        m_boxes.append(box);
        ++row;
    }

    Command2 = new QPushButton(QStringLiteral("E&xit"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setMinimumWidth(96);
    connect(Command2, &QPushButton::clicked, this, &YourInformation::Command2_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command2);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 16, 16, 16);
    outer->setSpacing(12);
    outer->addWidget(frame);
    outer->addLayout(buttons);
    setFixedSize(sizeHint());
}

void YourInformation::Form_Load()
{
    Data1->setDatabaseName(platform::databasePath());
    Data1->setRecordSource(QStringLiteral("Your Information"));
    for (int i = 0; i < m_boxes.size(); ++i)
        Data1->bind(m_boxes.at(i), boxFields().at(i).second);
    Data1->open();
}

void YourInformation::Command2_Click()
{
    // A row that could not be saved keeps the window open with the typed values; the binding has told why.
    if (Data1->isOpen() && !Data1->updateRecord())
        return;
    unload();
    mainMenu()->showModeless();
}

} // namespace tv
