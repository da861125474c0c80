#include "platform/ui/waitcursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace ui {

namespace {

int g_depth = 0;       // BeginWaitCursor calls not ended yet
bool g_shown = false;  // the wait cursor overrides every window's own

void Show(bool on) {
  if (on == g_shown || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  if (on) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else QGuiApplication::restoreOverrideCursor();
  g_shown = on;
  // Sent to the display now: the busy program reads no events that would send it later.
  QGuiApplication::sync();
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
