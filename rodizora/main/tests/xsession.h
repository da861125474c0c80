#pragma once
// A private X server for the end-to-end suite: a virtual display of its own (Xvfb, found
// through -displayfd so that it never collides with another), its top-level windows by title,
// real input through the XTest extension and screenshots judged by pixel statistics.
//
// Every wait is bounded; none sleeps longer than one short poll interval at a time.
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// A rectangle in screen pixels: left, top, width, height.
struct Box {
  int x = 0, y = 0, w = 0, h = 0;
  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
  int CenterX() const { return x + w / 2; }
  int CenterY() const { return y + h / 2; }
  bool Contains(const Box& other) const {
    return other.x >= x && other.y >= y && other.Right() <= Right() && other.Bottom() <= Bottom();
  }
  bool Intersects(const Box& other) const {
    return other.x < Right() && x < other.Right() && other.y < Bottom() && y < other.Bottom();
  }
  // The box moved in by d pixels on every side.
  Box Inset(int d) const { return {x + d, y + d, w - 2 * d, h - 2 * d}; }
};

// 0xRRGGBB.
using Rgb = std::uint32_t;
constexpr int Red(Rgb c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int Green(Rgb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int Blue(Rgb c) { return static_cast<int>(c & 0xFF); }

// A screenshot of a part of the screen (its origin is where it was taken).
class Shot {
 public:
  Shot() = default;
  Shot(Box where, std::vector<Rgb> pixels) : where_(where), pixels_(std::move(pixels)) {}

  const Box& Where() const { return where_; }
  bool Empty() const { return pixels_.empty(); }
  // The pixel at a screen point; 0 outside the shot.
  Rgb At(int x, int y) const;

  // Pixels inside box (screen coordinates, clipped to the shot) for which pred holds.
  std::int64_t Count(const Box& box, const std::function<bool(Rgb)>& pred) const;
  // Pixels whose red, green and blue are all at most level (trace lines, text).
  std::int64_t CountDark(const Box& box, int level = 80) const;
  // Pixels within tolerance (per channel) of colour.
  std::int64_t CountColour(const Box& box, Rgb colour, int tolerance = 0) const;
  // Pixels inside box that differ between this shot and other (taken of the same place).
  std::int64_t CountDifferent(const Shot& other, const Box& box) const;
  // The colour most pixels inside box have.
  Rgb Dominant(const Box& box) const;

  // Writes the shot as a PNG file (folders are made); false on failure.
  bool SavePng(const std::string& path) const;

 private:
  Box where_;
  std::vector<Rgb> pixels_;
};

// A top-level window of the display as the window system knows it.
struct XWindow {
  unsigned long id = 0;
  std::string title;
  Box box;  // outer geometry on the screen
  bool viewable = false;
};

class XSession {
 public:
  // Whether a virtual X server can be started here (Xvfb on the PATH).
  static bool Available();

  // Starts Xvfb with one screen of width x height x 24 and connects to it; Ok() tells. The
  // server ends with the session, or with this process if it dies.
  XSession(int width = 1600, int height = 1200);
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool Ok() const { return display_ != nullptr; }
  const std::string& DisplayName() const { return name_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  Box Screen() const { return {0, 0, width_, height_}; }

  // --- Windows ------------------------------------------------------------------------------------
  // Mapped windows that carry a title (the WM's frames looked through), bottom to top.
  std::vector<XWindow> Windows() const;
  // The topmost viewable window whose title contains part (case-sensitive).
  std::optional<XWindow> FindWindow(const std::string& part) const;
  // Waits until such a window is viewable; none when timeoutMs passed first.
  std::optional<XWindow> WaitForWindow(const std::string& part, int timeoutMs = 20000) const;
  // Waits until no viewable window's title contains part.
  bool WaitForNoWindow(const std::string& part, int timeoutMs = 10000) const;
  // Every viewable top-level window, titled or not (a logo has no title), bottom to top.
  std::vector<XWindow> Stack() const;

  // --- Screenshots ---------------------------------------------------------------------------------
  Shot Grab() const { return Grab(Screen()); }
  Shot Grab(const Box& box) const;
  // Grabs until two shots taken quietMs apart are the same inside box (the program stopped
  // drawing), at most timeoutMs; the last shot either way.
  Shot GrabSettled(const Box& box, int timeoutMs = 8000, int quietMs = 300) const;

  // --- The pointer's cursor ---------------------------------------------------------------------------
  // The picture the display shows at the pointer now, as its size and a digest of its pixels;
  // empty where the display cannot tell (no XFixes).
  struct Cursor {
    int w = 0, h = 0;
    std::uint64_t digest = 0;
    bool operator==(const Cursor&) const = default;
  };
  std::optional<Cursor> CursorNow() const;

  // --- Input ------------------------------------------------------------------------------------------
  // A key with modifiers: "ctrl+o", "Escape", "shift+Insert", "alt+f", "ctrl+shift+F6". Key
  // names are X keysym names; modifiers ctrl, shift, alt. holdMs: the key stays down that long
  // before it comes up, as under a person's finger (what its press does runs meanwhile).
  void Key(const std::string& combo, int holdMs = 0) const;
  // Types text (letters, digits, punctuation, blanks) key by key.
  void Type(const std::string& text) const;
  void Move(int x, int y) const;
  void Click(int x, int y, int button = 1) const;
  void DoubleClick(int x, int y) const;
  // Asks the window to close as a window manager's close button does (WM_DELETE_WINDOW).
  void RequestClose(const XWindow& window) const;
  // Presses at (x0, y0), moves in steps to (x1, y1) and releases there.
  void Drag(int x0, int y0, int x1, int y1, int steps = 12) const;
  void ButtonDown(int button = 1) const;
  void ButtonUp(int button = 1) const;

  // Polls pred every few milliseconds until it holds or timeoutMs passes; answers pred().
  static bool WaitUntil(const std::function<bool()>& pred, int timeoutMs);
  // Lets the program handle what was sent (a short pause, never a fixed long one).
  static void Pause(int ms);

 private:
  void Sync() const;
  void Fake(unsigned keycode, bool press) const;

  pid_t server_ = -1;
  void* display_ = nullptr;  // Display*
  std::string name_;
  int width_;
  int height_;
};

}  // namespace e2e
