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

bool saveEditedRows(const QList<Binding*>& bindings, int skip)
{
    bool saved = true;
    for (int i = 0; i < bindings.size(); ++i) {
        if (i == skip)
            continue;
        Binding* b = bindings.at(i);
        b->collectControls();
        if (b->recordset() && b->recordset()->isDirty() && !b->updateRecord())
            saved = false;
    }
    return saved;
}

} // namespace tv
