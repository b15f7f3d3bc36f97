// The test's own connection to the X server: windows found by name, pixels read straight from
// the server and keys pressed through XTEST. Each takes a few milliseconds, where starting a
// program for it takes a tenth of a second or more on a busy machine, longer than a frame.
// Kept apart from the tests, whose names (Window, Region, None) Xlib's header would take.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "XServer.h"

namespace skyrift::e2e {
namespace {

// One connection for the whole test program, made at the first call that finds the server
// (it refuses connections for a moment while it resets, after its last client has left). Once
// made, it keeps the server from resetting. A window that has gone answers with an error, which
// is not fatal here: the call it answers comes back empty.
Display* Server() {
  static Display* display = nullptr;
  if (display == nullptr) {
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    display = XOpenDisplay(nullptr);
  }
  return display;
}

::Window Id(const std::string& window) {
  return static_cast<::Window>(std::strtoul(window.c_str(), nullptr, 10));
}

// The first window on screen under `parent`, itself included, whose name is `name`.
::Window Named(Display* display, ::Window parent, const std::string& name) {
  char* title = nullptr;
  if (XFetchName(display, parent, &title) != 0 && title != nullptr) {
    const bool same = name == title;
    XFree(title);
    XWindowAttributes attributes{};
    if (same && XGetWindowAttributes(display, parent, &attributes) != 0 &&
        attributes.map_state == IsViewable) {
      return parent;
    }
  }
  ::Window root = 0, up = 0, *children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, parent, &root, &up, &children, &count) == 0) return 0;
  ::Window found = 0;
  for (unsigned i = 0; i < count && found == 0; ++i) found = Named(display, children[i], name);
  if (children != nullptr) XFree(children);
  return found;
}

int Shift(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) mask >>= 1, ++shift;
  return shift;
}

KeyCode Code(Display* display, std::string name) {
  if (name == "alt") name = "Alt_L";
  if (name == "ctrl") name = "Control_L";
  if (name == "shift") name = "Shift_L";
  const KeySym symbol = XStringToKeysym(name.c_str());
  return symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
}

}  // namespace

std::string FindWindow(const std::string& name) {
  Display* display = Server();
  if (display == nullptr) return {};
  const ::Window found = Named(display, DefaultRootWindow(display), name);
  return found == 0 ? std::string() : std::to_string(found);
}

bool WindowManagerRunning() {
  Display* display = Server();
  if (display == nullptr) return false;
  // The manager's own window names itself in the same property as the root does; a property
  // left on the root by a manager that has gone names a window that is no more.
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  const auto checkWindow = [&](::Window window) -> ::Window {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    ::Window named = 0;
    if (XGetWindowProperty(display, window, check, 0, 1, False, XA_WINDOW, &type, &format, &count,
                           &left, &data) == Success &&
        data != nullptr && count == 1 && format == 32) {
      named = *reinterpret_cast<::Window*>(data);
    }
    if (data != nullptr) XFree(data);
    return named;
  };
  const ::Window manager = checkWindow(DefaultRootWindow(display));
  return manager != 0 && checkWindow(manager) == manager;
}

std::vector<unsigned char> WindowPixels(const std::string& window, int left, int top, int width,
                                        int height) {
  Display* display = Server();
  if (display == nullptr || width <= 0 || height <= 0) return {};
  XImage* image = XGetImage(display, Id(window), left, top, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image == nullptr) return {};
  const int red = Shift(image->red_mask), green = Shift(image->green_mask),
            blue = Shift(image->blue_mask);
  std::vector<unsigned char> rgb;
  rgb.reserve(static_cast<size_t>(width) * height * 3);
  // 32-bit pixels in this machine's byte order, as a 24-bit Xvfb gives them, are read in place;
  // anything else through Xlib's own reader.
  const bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst;
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(image->data + y * image->bytes_per_line);
    for (int x = 0; x < width; ++x) {
      const unsigned long pixel = direct ? row[x] : image->f.get_pixel(image, x, y);
      rgb.push_back(static_cast<unsigned char>((pixel & image->red_mask) >> red));
      rgb.push_back(static_cast<unsigned char>((pixel & image->green_mask) >> green));
      rgb.push_back(static_cast<unsigned char>((pixel & image->blue_mask) >> blue));
    }
  }
  image->f.destroy_image(image);
  return rgb;
}

bool PressKeys(const std::string& keys, bool down) {
  Display* display = Server();
  if (display == nullptr) return false;
  std::vector<KeyCode> codes;
  std::istringstream names(keys);
  for (std::string name; std::getline(names, name, '+');) {
    codes.push_back(Code(display, name));
    if (codes.back() == 0) return false;
  }
  // Pressed in the order given, let go in the reverse, as fingers do.
  for (size_t i = 0; i < codes.size(); ++i) {
    const KeyCode code = down ? codes[i] : codes[codes.size() - 1 - i];
    XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
  }
  XSync(display, False);
  return true;
}

}  // namespace skyrift::e2e
