// Check-mark templates: the pick list's 40 check marks and the catalog's default check marks, saved under a
// template number and recalled.
#include "catalog/catalogmodel.h"
#include "catalog/repoint.h"
#include "platform/binding.h"
#include "platform/interactive.h"
#include "quote/picklist.h"
#include "quote/sqltexts.h"
#include "quote/templates.h"

#include <QCheckBox>
#include <cmath>

namespace tv {

namespace {

const QString WarningTitle = QStringLiteral("Warning");

bool hasCopies(int templateNumber)
{
    return templateNumber >= 1 && templateNumber <= 10;
}

} // namespace

bool PickList5::selectTemplate(const QString& title, QVariant* recordNo)
{
    if (m_data3->recordCount() == 0) {
        msgBox(QStringLiteral("There are no templates to choose from."), vbExclamation);
        return false;
    }
    UserTemplate* list = Forms::load<UserTemplate>();
    list->setTitle(title);
    list->showModal();
    *recordNo = m_data3->value(QStringLiteral("Recordno"));
    if (recordNo->isNull()) {
        if (UserTemplate* open = Forms::loaded<UserTemplate>())
            open->finish();
        msgBox(QStringLiteral("No template was chosen."), vbExclamation);
        return false;
    }
    return true;
}

void PickList5::finishTemplateOperation()
{
    if (UserTemplate* list = Forms::loaded<UserTemplate>())
        list->finish();
}

void PickList5::mnuCheckMarksSave_Click()
{
    if (msgBox(QStringLiteral("Do you want to save all checkmarks shown and all default checkmarks as your "
                              "template?"),
               vbYesNo + vbQuestion + vbDefaultButton2, WarningTitle) != vbYes)
        return;
    QVariant recordNo;
    if (!selectTemplate(QStringLiteral("Save Template"), &recordNo))
        return;
    const int number = int(std::lround(recordNo.toDouble()));
    repoint(m_data3, quote::sql::TemplateRow + QString::number(number));
    const QString name = m_data3->value(QStringLiteral("UserLabel")).toString();
    if (msgBox(QStringLiteral("You are about to save all checkmarks to your template called ") + name +
                   QStringLiteral(" ! ") + u'\r' + QStringLiteral("Are you sure you want to do this?"),
               vbYesNo + vbQuestion + vbDefaultButton2, WarningTitle) != vbYes) {
        // Nothing is written; the list offers every template again next time.
        repoint(m_data3, quote::sql::AllTemplates);
        finishTemplateOperation();
        return;
    }
    for (int k = 1; k <= catalog::ItemSlots; ++k)
        m_data3->setValue(QStringLiteral("User") + QString::number(k), m_checks.at(k - 1)->isChecked());
    QString error;
    if (hasCopies(number) && !quote::saveDefaultCopies(number, &error)) {
        m_data3->cancelUpdate();
        msgBox(
            QStringLiteral("Template %1 was not saved: the default check marks could not be copied.\n\n%2\n\n"
                           "The template is as it was before.")
                .arg(number)
                .arg(error),
            vbCritical);
    } else {
        m_data3->updateRecord();
    }
    repoint(m_data3, quote::sql::AllTemplatesAfterSave);
    finishTemplateOperation();
}

void PickList5::MnuCheckMarksRecall_Click()
{
    mnuCheckMarksNone_Click();
    QVariant recordNo;
    if (!selectTemplate(QStringLiteral("Recall Template"), &recordNo))
        return;
    const int number = int(std::lround(recordNo.toDouble()));
    repoint(m_data3, quote::sql::TemplateRow + QString::number(number));
    for (int k = 1; k <= catalog::ItemSlots; ++k)
        if (catalog::isSet(m_data3->value(QStringLiteral("User") + QString::number(k))))
            m_checks.at(k - 1)->setChecked(true);

    if (hasCopies(number)) {
        // The pick list's own hold on the two tables is released before they are replaced, and taken again
        // afterwards.
        Binding* itemDefault = m_data1.at(1);
        Binding* subItemDefault = m_data1.at(20);
        itemDefault->close(false);
        subItemDefault->close(false);
        QStringList missing;
        QString error;
        const bool restored = quote::restoreDefaultCopies(number, &missing, &error);
        const QString path = platform::databasePath();
        itemDefault->setDatabaseName(path);
        itemDefault->setRecordSource(QStringLiteral("ItemDefault"));
        itemDefault->open();
        subItemDefault->setDatabaseName(path);
        subItemDefault->setRecordSource(QStringLiteral("SubItemDefault"));
        subItemDefault->open();
        if (!restored)
            msgBox(QStringLiteral(
                       "The default check marks of template %1 could not be restored; they are as they "
                       "were before.\n\n%2")
                       .arg(number)
                       .arg(error),
                   vbCritical);
        else if (!missing.isEmpty())
            msgBox(
                QStringLiteral("The saved default check marks of template %1 are missing (%2). The current "
                               "default check marks were kept; save the template again to store them.")
                    .arg(number)
                    .arg(missing.join(QStringLiteral(", "))),
                vbExclamation);
    }
    repoint(m_data3, quote::sql::AllTemplates);
    finishTemplateOperation();
}

} // namespace tv
