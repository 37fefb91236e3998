// Xlib ends the process when the connection to the display breaks; the session ends first, as
// any end of the desktop session does. Kept apart: Xlib's header defines names the rest of the
// backend uses.
#include <X11/Xlib.h>

#include "platform/session/session.h"

namespace backend {

namespace {

int DisplayLost(Display*) {
    session::EndNow(session::kDisplayLost);
}

}  // namespace

void WatchX11Connection() {
    XSetIOErrorHandler(DisplayLost);
}

}  // namespace backend
