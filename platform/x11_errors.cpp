// X protocol errors of the window backend. Xlib's own handler ends the
// process on any of them, and a window the program has just destroyed can
// still be named by a request already on its way (a focus hand-back, a
// synthetic event): such a BadWindow must not cost the user the session.
// Kept apart because Xlib's macros (None, Bool, Status...) clash with the
// platform's own names.
#include <X11/Xlib.h>

#include <cstdio>

namespace pl3 {

namespace {
int g_reported = 0;

int ReportProtocolError(Display* display, XErrorEvent* error) {
  // The first few are worth a line on stderr; the rest would only repeat.
  if (g_reported < 5) {
    char text[128] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "pl3: X error ignored: %s (request %d, resource 0x%lx)\n", text,
                 static_cast<int>(error->request_code), error->resourceid);
    ++g_reported;
  }
  return 0;
}
}  // namespace

// Installed once the backend runs on X; fatal I/O errors (a lost server)
// still end the program as Xlib decides.
void IgnoreX11ProtocolErrors() { XSetErrorHandler(&ReportProtocolError); }

}  // namespace pl3
