#pragma once

#include "controls/app_context.h"
#include "settings/pin_claims.h"

namespace korvane {

// False, after telling the user, while another module holds a pin that
// `use` takes with the settings as they now stand; the caller then puts its
// choice back, so the other module keeps its pin.
bool PinsAreFree(AppContext& context, PinUse use);

}  // namespace korvane
