#pragma once

#include "database/recordset.h"

namespace tv {

// Shows the quoted items editor modally over the given lines of one job; returns when it has closed.
void openQuotedItemsForJob(const db::RecordSetPtr& lines);

} // namespace tv
