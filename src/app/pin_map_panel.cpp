#include "app/pin_map_panel.h"

#include <cstddef>
#include <utility>

namespace korvane {

PinMapPanel::PinMapPanel(const ProjectSettings& settings)
    : settings_(settings), table_(PinTableOf(settings)) {}

void PinMapPanel::setShown(bool shown) {
    if (shown == shown_) return;
    shown_ = shown;
    notify();
}

void PinMapPanel::Refresh() {
    PinTable table = PinTableOf(settings_);
    if (table == table_) return;
    table_ = std::move(table);
    notify();
}

void PinMapPanel::OpenPin(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= table_.rows.size()) return;
    const auto form = table_.rows[static_cast<std::size_t>(row)].form;
    if (form && openDialog) openDialog(*form);
}

}  // namespace korvane
