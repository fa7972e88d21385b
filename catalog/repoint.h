#pragma once

#include <QList>
#include <QString>

namespace tv {

class Binding;

// Points a binding at another record source (a table or an SQL text) and reads it, keeping the binding's own
// connection and its bound controls. Edits pending in the controls are saved into the row being left first;
// false, with the binding still on its old rows, when that save or the new source fails (the user has been
// told by the binding).
bool repoint(Binding* binding, const QString& source);

// The save step of the catalog windows: every binding but the one at skip saves the edits of its controls.
// False when any of them could not be stored (the user has been told); the others are saved all the same.
bool saveEditedRows(const QList<Binding*>& bindings, int skip);

} // namespace tv
