#include "dialogs/pin_guard.h"

#include "chip/claims.h"

namespace korvane {

bool PinsAreFree(AppContext& context, PinUse use) {
    const auto conflict = ConflictOf(context.settings, use);
    if (!conflict) return true;
    const PinMessage message = ConflictMessage(*conflict);
    context.platform.messageBox(message.text, message.title, MessageIcon::Warning, MessageButtons::Ok);
    return false;
}

}  // namespace korvane
