#pragma once

#include <memory>

#include "controls/app_context.h"
#include "controls/form.h"
#include "platform/form_id.h"

class QWidget;

namespace korvane {

// How to make a form: its logic from the shared context, and its Qt view (a
// widget that is a window, normally a FormDialog) for that logic.
struct FormEntry {
    FormId id;
    std::unique_ptr<Form> (*createForm)(AppContext&);
    QWidget* (*createView)(Form&, QWidget* parent);
};

// The entry of a form; every FormId has one.
const FormEntry& FindForm(FormId id);

// Builds an entry from a form class (constructed from AppContext&) and its
// view class (constructed from FormClass&, QWidget* parent).
template <class FormClass, class ViewClass>
constexpr FormEntry MakeFormEntry(FormId id) {
    return {id,
            [](AppContext& context) -> std::unique_ptr<Form> { return std::make_unique<FormClass>(context); },
            [](Form& form, QWidget* parent) -> QWidget* {
                return new ViewClass(static_cast<FormClass&>(form), parent);
            }};
}

}  // namespace korvane
