#include "rodizora/main/tests/xsession.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#ifdef E2E_HAVE_XFIXES
#include <X11/extensions/Xfixes.h>
#endif
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <thread>

namespace e2e {

namespace {

Display* Dpy(void* d) { return static_cast<Display*>(d); }

// --- PNG -------------------------------------------------------------------------------------------

void PutBe32(std::vector<unsigned char>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

void PutChunk(std::vector<unsigned char>& out, const char type[4], const std::vector<unsigned char>& data) {
  PutBe32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  PutBe32(out, static_cast<std::uint32_t>(crc));
}

std::vector<unsigned char> EncodePng(int width, int height, const std::vector<Rgb>& pixels) {
  std::vector<unsigned char> raw;
  raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixels[static_cast<std::size_t>(y) * width + x];
      raw.push_back(static_cast<unsigned char>(Red(c)));
      raw.push_back(static_cast<unsigned char>(Green(c)));
      raw.push_back(static_cast<unsigned char>(Blue(c)));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<unsigned char> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK) return {};
  packed.resize(packedSize);
  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<unsigned char> header;
  PutBe32(header, static_cast<std::uint32_t>(width));
  PutBe32(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter method, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

// --- Windows ----------------------------------------------------------------------------------------

std::string TitleOf(Display* d, Window w) {
  const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success &&
      data) {
    title.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
    if (!title.empty()) return title;
  }
  char* name = nullptr;
  if (XFetchName(d, w, &name) && name) {
    title = name;
    XFree(name);
  }
  return title;
}

Box BoxOf(Display* d, Window w, bool* viewable) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a)) {
    *viewable = false;
    return {};
  }
  *viewable = a.map_state == IsViewable;
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child);
  return {x, y, a.width, a.height};
}

std::vector<Window> ChildrenOf(Display* d, Window w) {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  std::vector<Window> out;
  if (XQueryTree(d, w, &root, &parent, &children, &count) && children) {
    out.assign(children, children + count);
    XFree(children);
  }
  return out;
}

// A titled window among w and its descendants down to depth levels (a window manager's frame
// holds the client window).
void CollectTitled(Display* d, Window w, int depth, std::vector<XWindow>* out) {
  bool viewable = false;
  const Box box = BoxOf(d, w, &viewable);
  if (!viewable) return;
  std::string title = TitleOf(d, w);
  if (!title.empty()) {
    out->push_back({w, std::move(title), box, viewable});
    return;
  }
  if (depth > 0)
    for (Window c : ChildrenOf(d, w)) CollectTitled(d, c, depth - 1, out);
}

// Silences X errors of windows that vanish while they are looked at.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

struct KeyStroke {
  KeyCode code = 0;
  bool shift = false;
};

KeyStroke StrokeOf(Display* d, KeySym sym) {
  KeyStroke k;
  k.code = XKeysymToKeycode(d, sym);
  if (k.code && XkbKeycodeToKeysym(d, k.code, 0, 0) != sym && XkbKeycodeToKeysym(d, k.code, 0, 1) == sym)
    k.shift = true;
  return k;
}

KeySym SymOfChar(char c) {
  switch (c) {
    case ' ': return XK_space;
    case '\n': return XK_Return;
    case '\t': return XK_Tab;
    default: return static_cast<KeySym>(static_cast<unsigned char>(c));  // Latin-1 keysyms are the codes
  }
}

}  // namespace

// --- Shot ---------------------------------------------------------------------------------------------

Rgb Shot::At(int x, int y) const {
  const int lx = x - where_.x, ly = y - where_.y;
  if (lx < 0 || ly < 0 || lx >= where_.w || ly >= where_.h) return 0;
  return pixels_[static_cast<std::size_t>(ly) * where_.w + lx];
}

std::int64_t Shot::Count(const Box& box, const std::function<bool(Rgb)>& pred) const {
  const int x0 = std::max(box.x, where_.x), y0 = std::max(box.y, where_.y);
  const int x1 = std::min(box.Right(), where_.Right()), y1 = std::min(box.Bottom(), where_.Bottom());
  std::int64_t n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (pred(At(x, y))) ++n;
  return n;
}

std::int64_t Shot::CountDark(const Box& box, int level) const {
  return Count(box, [level](Rgb c) { return Red(c) <= level && Green(c) <= level && Blue(c) <= level; });
}

std::int64_t Shot::CountColour(const Box& box, Rgb colour, int tolerance) const {
  return Count(box, [&](Rgb c) {
    return std::abs(Red(c) - Red(colour)) <= tolerance && std::abs(Green(c) - Green(colour)) <= tolerance &&
           std::abs(Blue(c) - Blue(colour)) <= tolerance;
  });
}

std::int64_t Shot::CountDifferent(const Shot& other, const Box& box) const {
  const int x0 = std::max(box.x, where_.x), y0 = std::max(box.y, where_.y);
  const int x1 = std::min(box.Right(), where_.Right()), y1 = std::min(box.Bottom(), where_.Bottom());
  std::int64_t n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (At(x, y) != other.At(x, y)) ++n;
  return n;
}

Rgb Shot::Dominant(const Box& box) const {
  std::map<Rgb, std::int64_t> counts;
  Count(box, [&](Rgb c) {
    ++counts[c];
    return false;
  });
  Rgb best = 0;
  std::int64_t most = -1;
  for (const auto& [c, n] : counts)
    if (n > most) {
      most = n;
      best = c;
    }
  return best;
}

bool Shot::SavePng(const std::string& path) const {
  if (pixels_.empty()) return false;
  const std::vector<unsigned char> png = EncodePng(where_.w, where_.h, pixels_);
  if (png.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  return std::fclose(f) == 0 && ok;
}

// --- XSession ---------------------------------------------------------------------------------------------

bool XSession::Available() {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t end = std::min(dirs.find(':', start), dirs.size());
    const std::string candidate = dirs.substr(start, end - start) + "/Xvfb";
    if (::access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

XSession::XSession(int width, int height) : width_(width), height_(height) {
  int fds[2];
  if (::pipe(fds) != 0) return;
  const std::string fd = std::to_string(fds[1]);
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  server_ = ::fork();
  if (server_ == 0) {
    ::close(fds[0]);
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
      ::dup2(null, 1);
      ::dup2(null, 2);
    }
    // -terminate: the server ends with its last client, our connection, also when this process
    // dies without taking it down.
    ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
             "-terminate", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  if (server_ < 0) {
    ::close(fds[0]);
    return;
  }
  // The server writes its display number once it accepts connections.
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    if (::poll(&p, 1, 200) <= 0) continue;
    char buffer[32];
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    number.append(buffer, static_cast<std::size_t>(n));
    if (number.find('\n') != std::string::npos) break;
  }
  ::close(fds[0]);
  while (!number.empty() && (number.back() == '\n' || number.back() == ' ')) number.pop_back();
  if (number.empty()) return;
  name_ = ":" + number;
  XSetErrorHandler(IgnoreXError);
  display_ = XOpenDisplay(name_.c_str());
  int event = 0, error = 0, major = 0, minor = 0;
  if (display_ && !XTestQueryExtension(Dpy(display_), &event, &error, &major, &minor)) {
    XCloseDisplay(Dpy(display_));
    display_ = nullptr;
  }
}

XSession::~XSession() {
  if (display_) XCloseDisplay(Dpy(display_));
  if (server_ > 0) {
    ::kill(server_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100 && ::waitpid(server_, &status, WNOHANG) == 0; ++i) Pause(20);
    if (::waitpid(server_, &status, WNOHANG) == 0) {
      ::kill(server_, SIGKILL);
      ::waitpid(server_, &status, 0);
    }
  }
}

std::vector<XWindow> XSession::Windows() const {
  std::vector<XWindow> out;
  if (!display_) return out;
  Display* d = Dpy(display_);
  for (Window w : ChildrenOf(d, DefaultRootWindow(d))) CollectTitled(d, w, 2, &out);
  return out;
}

std::vector<XWindow> XSession::Stack() const {
  std::vector<XWindow> out;
  if (!display_) return out;
  Display* d = Dpy(display_);
  for (Window w : ChildrenOf(d, DefaultRootWindow(d))) {
    XWindow x;
    x.id = w;
    x.box = BoxOf(d, w, &x.viewable);
    if (!x.viewable) continue;
    x.title = TitleOf(d, w);
    out.push_back(std::move(x));
  }
  return out;
}

std::optional<XWindow> XSession::FindWindow(const std::string& part) const {
  const std::vector<XWindow> all = Windows();
  for (auto it = all.rbegin(); it != all.rend(); ++it)
    if (it->viewable && it->title.find(part) != std::string::npos) return *it;
  return std::nullopt;
}

std::optional<XWindow> XSession::WaitForWindow(const std::string& part, int timeoutMs) const {
  std::optional<XWindow> found;
  WaitUntil([&] { return (found = FindWindow(part)).has_value(); }, timeoutMs);
  return found;
}

bool XSession::WaitForNoWindow(const std::string& part, int timeoutMs) const {
  return WaitUntil([&] { return !FindWindow(part); }, timeoutMs);
}

namespace {

// Copies the part of window w (at screen box `at`) that falls inside box into pixels.
void PasteWindow(Display* d, Window w, const Box& at, const Box& box, std::vector<Rgb>* pixels) {
  const int x0 = std::max(at.x, box.x), y0 = std::max(at.y, box.y);
  const int x1 = std::min(at.Right(), box.Right()), y1 = std::min(at.Bottom(), box.Bottom());
  if (x1 <= x0 || y1 <= y0) return;
  XImage* image = XGetImage(d, w, x0 - at.x, y0 - at.y, static_cast<unsigned>(x1 - x0), static_cast<unsigned>(y1 - y0),
                            AllPlanes, ZPixmap);
  if (!image) return;
  const bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst && image->red_mask == 0xFF0000 &&
                      image->green_mask == 0xFF00 && image->blue_mask == 0xFF;
  for (int y = y0; y < y1; ++y) {
    Rgb* row = &(*pixels)[static_cast<std::size_t>(y - box.y) * box.w + (x0 - box.x)];
    if (direct) {
      const auto* src =
          reinterpret_cast<const std::uint32_t*>(image->data + static_cast<std::size_t>(y - y0) * image->bytes_per_line);
      for (int x = 0; x < x1 - x0; ++x) row[x] = src[x] & 0xFFFFFF;
    } else {
      for (int x = 0; x < x1 - x0; ++x) row[x] = static_cast<Rgb>(XGetPixel(image, x, y - y0) & 0xFFFFFF);
    }
  }
  XDestroyImage(image);
}

}  // namespace

Shot XSession::Grab(const Box& wanted) const {
  if (!display_) return {};
  const int x0 = std::clamp(wanted.x, 0, width_), y0 = std::clamp(wanted.y, 0, height_);
  const int x1 = std::clamp(wanted.Right(), 0, width_), y1 = std::clamp(wanted.Bottom(), 0, height_);
  const Box box{x0, y0, x1 - x0, y1 - y0};
  if (box.w <= 0 || box.h <= 0) return {};
  Display* d = Dpy(display_);
  std::vector<Rgb> pixels(static_cast<std::size_t>(box.w) * box.h, 0);
  // Each window's own pixels, bottom to top, as a person sees them: the virtual server's own
  // picture of the screen misses windows mapped with save-under (menus) and some shown after
  // them, which stay black there while their windows hold what was drawn.
  PasteWindow(d, DefaultRootWindow(d), Screen(), box, &pixels);
  for (Window w : ChildrenOf(d, DefaultRootWindow(d))) {
    bool viewable = false;
    const Box at = BoxOf(d, w, &viewable);
    if (viewable) PasteWindow(d, w, at, box, &pixels);
  }
  return Shot(box, std::move(pixels));
}

Shot XSession::GrabSettled(const Box& box, int timeoutMs, int quietMs) const {
  Shot last = Grab(box);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    Pause(quietMs);
    Shot now = Grab(box);
    const bool same = now.CountDifferent(last, box) == 0;
    last = std::move(now);
    if (same) break;
  }
  return last;
}

void XSession::Sync() const {
  if (display_) XSync(Dpy(display_), False);
}

void XSession::Fake(unsigned keycode, bool press) const {
  XTestFakeKeyEvent(Dpy(display_), keycode, press ? True : False, CurrentTime);
}

void XSession::Key(const std::string& combo, int holdMs) const {
  if (!display_) return;
  Display* d = Dpy(display_);
  std::vector<KeyCode> modifiers;
  std::string rest = combo;
  for (;;) {
    const std::size_t plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 >= rest.size()) break;
    const std::string mod = rest.substr(0, plus);
    rest = rest.substr(plus + 1);
    const KeySym sym = mod == "ctrl" ? XK_Control_L : mod == "shift" ? XK_Shift_L : mod == "alt" ? XK_Alt_L : NoSymbol;
    if (sym != NoSymbol) modifiers.push_back(XKeysymToKeycode(d, sym));
  }
  KeySym sym = XStringToKeysym(rest.c_str());
  if (sym == NoSymbol && rest.size() == 1) sym = SymOfChar(rest[0]);
  const KeyStroke key = StrokeOf(d, sym);
  if (!key.code) return;
  const KeyCode shift = XKeysymToKeycode(d, XK_Shift_L);
  const bool addShift = key.shift && std::find(modifiers.begin(), modifiers.end(), shift) == modifiers.end();
  if (addShift) modifiers.push_back(shift);
  for (KeyCode m : modifiers) Fake(m, true);
  Fake(key.code, true);
  if (holdMs > 0) {
    Sync();
    Pause(holdMs);
  }
  Fake(key.code, false);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) Fake(*it, false);
  Sync();
  Pause(30);
}

void XSession::Type(const std::string& text) const {
  if (!display_) return;
  Display* d = Dpy(display_);
  const KeyCode shift = XKeysymToKeycode(d, XK_Shift_L);
  for (char c : text) {
    const KeyStroke key = StrokeOf(d, SymOfChar(c));
    if (!key.code) continue;
    if (key.shift) Fake(shift, true);
    Fake(key.code, true);
    Fake(key.code, false);
    if (key.shift) Fake(shift, false);
    Sync();
    Pause(5);
  }
  Pause(30);
}

void XSession::Move(int x, int y) const {
  if (!display_) return;
  XTestFakeMotionEvent(Dpy(display_), -1, x, y, CurrentTime);
  Sync();
  Pause(15);
}

void XSession::ButtonDown(int button) const {
  if (!display_) return;
  XTestFakeButtonEvent(Dpy(display_), static_cast<unsigned>(button), True, CurrentTime);
  Sync();
  Pause(15);
}

void XSession::ButtonUp(int button) const {
  if (!display_) return;
  XTestFakeButtonEvent(Dpy(display_), static_cast<unsigned>(button), False, CurrentTime);
  Sync();
  Pause(15);
}

void XSession::RequestClose(const XWindow& window) const {
  if (!display_) return;
  Display* d = Dpy(display_);
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window.id;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, window.id, False, NoEventMask, &e);
  Sync();
}

void XSession::Click(int x, int y, int button) const {
  Move(x, y);
  ButtonDown(button);
  ButtonUp(button);
  Pause(30);
}

void XSession::DoubleClick(int x, int y) const {
  Move(x, y);
  for (int i = 0; i < 2; ++i) {
    XTestFakeButtonEvent(Dpy(display_), 1, True, CurrentTime);
    XTestFakeButtonEvent(Dpy(display_), 1, False, CurrentTime);
    Sync();
    Pause(40);
  }
}

void XSession::Drag(int x0, int y0, int x1, int y1, int steps) const {
  Move(x0, y0);
  ButtonDown(1);
  steps = std::max(1, steps);
  for (int i = 1; i <= steps; ++i) Move(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
  Pause(50);
  ButtonUp(1);
  Pause(50);
}

bool XSession::WaitUntil(const std::function<bool()>& pred, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= deadline) return pred();
    Pause(25);
  }
  return true;
}

void XSession::Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::optional<XSession::Cursor> XSession::CursorNow() const {
#ifdef E2E_HAVE_XFIXES
  if (!display_) return std::nullopt;
  XFixesCursorImage* image = XFixesGetCursorImage(Dpy(display_));
  if (!image) return std::nullopt;
  Cursor c{image->width, image->height, 1469598103934665603ull};
  for (int i = 0; i < image->width * image->height; ++i) c.digest = (c.digest ^ image->pixels[i]) * 1099511628211ull;
  XFree(image);
  return c;
#else
  return std::nullopt;
#endif
}

}  // namespace e2e
