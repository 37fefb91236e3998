// The built-in controls, inside platform/user.
#pragma once

#include <vector>

#include "platform/user/internal/window_object.h"

namespace user {

// The controls of w's group: from the nearest sibling at or before w with WS_GROUP up to the
// next sibling with WS_GROUP, in creation order.
std::vector<Window*> GroupOf(Window* w);

void ResetNavBar();

}  // namespace user
