#pragma once
// Input injection: what a user would do with the mouse and the keyboard, delivered through the
// window system's path, so the thread's hooks see it, capture applies and the toolkit's own
// controls react as to real input. Tests use it; a posted message is never input.
#include <string>
#include <string_view>

#include "platform/ui/wnd.h"

namespace ui::input {

// Modifier keys held during an injected event.
enum Modifiers : UINT { kNone = 0, kShift = 1, kControl = 2, kAlt = 4 };

// client: a point in wnd's client coordinates; the event goes to whatever window is there (a
// child of wnd, or wnd itself). button: MK_LBUTTON, MK_RBUTTON or MK_MBUTTON.
void MouseMove(Wnd* wnd, Point client, UINT buttons = 0, UINT modifiers = kNone);
void MouseDown(Wnd* wnd, Point client, UINT button = MK_LBUTTON, UINT modifiers = kNone);
void MouseUp(Wnd* wnd, Point client, UINT button = MK_LBUTTON, UINT modifiers = kNone);
void Click(Wnd* wnd, Point client, UINT button = MK_LBUTTON, UINT modifiers = kNone);
void DoubleClick(Wnd* wnd, Point client, UINT button = MK_LBUTTON, UINT modifiers = kNone);
void Wheel(Wnd* wnd, Point client, int delta, UINT modifiers = kNone);

// Keys go to the window with the focus (else the active window).
void KeyDown(UINT virtualKey, UINT modifiers = kNone);
void KeyUp(UINT virtualKey, UINT modifiers = kNone);
void Key(UINT virtualKey, UINT modifiers = kNone);
// Types text: each character as a key press and release.
void Type(std::string_view text);

// Rests the pointer over a point until a tool tip would show; answers its text (empty: none).
std::string Hover(Wnd* wnd, Point client);

// Opens the menus of wnd's menu bar down to the item with this command id and chooses it, as a
// user would; false when the item is not there or is disabled.
bool ChooseMenuCommand(Wnd* wnd, UINT id);

}  // namespace ui::input
