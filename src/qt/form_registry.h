#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/app_context.h"
#include "controls/form.h"

class QWidget;

namespace korvane {

// How to make a form by name: its logic from the shared context, and its Qt
// view (a widget that is a window, normally a FormDialog) for that logic.
struct FormEntry {
    std::string name;
    std::function<std::unique_ptr<Form>(AppContext&)> createForm;
    std::function<QWidget*(Form&, QWidget* parent)> createView;
};

// The entry registered under `name`, or nullptr while that form does not exist.
const FormEntry* FindForm(const std::string& name);

// Builds an entry from a form class (constructed from AppContext&) and its
// view class (constructed from FormClass&, QWidget* parent).
template <class FormClass, class ViewClass>
FormEntry MakeFormEntry(std::string name) {
    return {std::move(name),
            [](AppContext& context) -> std::unique_ptr<Form> { return std::make_unique<FormClass>(context); },
            [](Form& form, QWidget* parent) -> QWidget* {
                return new ViewClass(static_cast<FormClass&>(form), parent);
            }};
}

}  // namespace korvane
