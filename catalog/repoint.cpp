#include "catalog/repoint.h"

#include "database/recordset.h"
#include "platform/binding.h"

namespace tv {

bool repoint(Binding* binding, const QString& source)
{
    if (!binding->connection()) {
        binding->setRecordSource(source);
        return binding->open();
    }
    // The same source again is read again in place.
    if (binding->recordset() && binding->recordSource() == source)
        return binding->refresh();
    if (const auto current = binding->recordset()) {
        binding->collectControls();
        QString error;
        if (current->isDirty() && !current->update(&error)) {
            Binding::reportError(error);
            return false;
        }
    }
    QString error;
    auto set = db::RecordSet::open(binding->connection(), source, &error);
    if (!set) {
        Binding::reportError(error);
        return false;
    }
    binding->setRecordSource(source);
    binding->setRecordset(set);
    return true;
}

} // namespace tv
