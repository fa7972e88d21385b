#pragma once

#include <QString>

namespace tv {

class Binding;

// Points a binding at another record source (a table or an SQL text) and reads it, keeping the binding's own
// connection and its bound controls. Edits pending in the controls are saved into the row being left first;
// false, with the binding still on its old rows, when that save or the new source fails (the user has been
// told by the binding).
bool repoint(Binding* binding, const QString& source);

} // namespace tv
