#include "platform/ui/waitcursor.h"

#include <dlfcn.h>

#include <QCursor>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

namespace ui {

namespace {

int g_depth = 0;       // BeginWaitCursor calls not ended yet
bool g_shown = false;  // the wait cursor overrides every window's own

// Sends what the toolkit has queued for the X server (the cursor change) now, without reading
// any event: QGuiApplication::sync() would handle events, and with them run other commands in
// the middle of the work. The X connection's library is the one the toolkit's X plugin loaded.
void FlushToDisplay() {
#if QT_CONFIG(xcb)
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->connection()) return;
  using Flush = int (*)(xcb_connection_t*);
  // The plugin's libraries are its own (not global): the loaded library is asked by name.
  static const auto flush = [] {
    void* xcb = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
    return xcb ? reinterpret_cast<Flush>(::dlsym(xcb, "xcb_flush")) : nullptr;
  }();
  if (flush) flush(x11->connection());
#endif
}

void Show(bool on) {
  if (on == g_shown || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  if (on) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else QGuiApplication::restoreOverrideCursor();
  g_shown = on;
  // Sent to the display now: the busy program reads no events that would send it later.
  FlushToDisplay();
}

}  // namespace

void BeginWaitCursor() {
  if (g_depth++ == 0) Show(true);
}

void EndWaitCursor() {
  if (g_depth > 0 && --g_depth == 0) Show(false);
}

bool IsWaitCursorShown() { return g_shown; }

WaitCursorPause::WaitCursorPause() : m_paused(g_shown) { Show(false); }

WaitCursorPause::~WaitCursorPause() {
  if (m_paused && g_depth > 0) Show(true);
}

}  // namespace ui
