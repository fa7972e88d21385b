#include "quote/quoteditems.h"

#include "jobs/databases.h"
#include "platform/binding.h"

namespace tv {

void openQuotedItemsForJob(const db::RecordSetPtr& lines)
{
    Databases* editor = Forms::load<Databases>();
    editor->Data1()->setRecordset(lines);
    editor->showModal();
}

} // namespace tv
