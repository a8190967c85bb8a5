// Finding the commission screen's components by name, and a row by its number, for the
// windows the desktop host adds beside the screen.
#pragma once
#include <string_view>

#include "toolkit/tclientdataset.h"
#include "toolkit/tform.h"

namespace gui {

// The form's component of that name when it is a T; nullptr otherwise.
template <class T>
T* Named(const tk::TForm& form, std::string_view name) {
    return dynamic_cast<T*>(form.FindComponent(name));
}

// The row (1-based) whose field `name` holds `number`; 0 when none.
int RowOf(const tk::TClientDataSet& set, std::string_view name, double number);

}  // namespace gui
