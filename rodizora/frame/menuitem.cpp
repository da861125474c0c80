// The entries of the menu bar: menu items and the maximised document window's caption buttons.
#include <string>

#include "rodizora/frame/menubar.h"

namespace {

// The text before the mnemonic, the mnemonic letter (one character) and the rest.
struct MnemonicParts {
  std::string before, letter, after;
};

MnemonicParts SplitMnemonic(const std::string& text) {
  const std::size_t amp = text.find('&');
  if (amp == std::string::npos) return {text, "", ""};
  std::size_t end = amp + 1;
  if (end < text.size()) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return {text.substr(0, amp), text.substr(amp + 1, end - amp - 1), text.substr(end)};
}

std::string WithoutAmpersand(const std::string& text) {
  const MnemonicParts p = SplitMnemonic(text);
  return p.before + p.letter + p.after;
}

}  // namespace

bool CMenuEx::LoadMenu(ui::UINT resourceId) {
  if (!m_loaded.LoadMenu(resourceId)) return false;
  m_hMenu = &m_loaded;
  return true;
}

ui::Menu* CMenuEx::Detach() {
  ui::Menu* menu = m_hMenu;
  m_hMenu = nullptr;
  return menu;
}

ui::Rect CMenuItem::Draw(gdi::DC& dc, const ui::Rect& remaining, bool vertical) {
  const MnemonicParts parts = SplitMnemonic(m_text);
  const int charHeight = dc.GetTextExtent(std::string_view("A")).cy;
  const int padding = charHeight / 2;
  const ui::Size before = dc.GetTextExtent(parts.before);
  const ui::Size letter = dc.GetTextExtent(parts.letter);
  const ui::Size after = dc.GetTextExtent(parts.after);
  const int textWidth = before.cx + letter.cx + after.cx;
  const int textHeight = std::max({before.cy, letter.cy, after.cy});
  ui::Rect next = remaining;
  if (!vertical) {
    m_rect = ui::Rect(remaining.left, remaining.top, remaining.left + padding + textWidth + padding, remaining.bottom);
    const int x = m_rect.left + padding;
    const int y = m_rect.top + (m_rect.Height() - textHeight) / 2;
    dc.TextOut(x, y, parts.before);
    dc.TextOut(x + before.cx, y, parts.letter);
    dc.TextOut(x + before.cx + letter.cx, y, parts.after);
    if (letter.cx > 0) {
      dc.MoveTo(x + before.cx, y + textHeight - 2);
      dc.LineTo(x + before.cx + letter.cx, y + textHeight - 2);
    }
    next.left = m_rect.right;
  } else {
    // The vertical font reads top to bottom: the text's top faces right.
    m_rect = ui::Rect(remaining.left, remaining.top, remaining.right, remaining.top + padding + textWidth + padding);
    const int x = m_rect.right - (m_rect.Width() - textHeight) / 2;
    const int y = m_rect.top + padding;
    dc.TextOut(x, y, parts.before);
    dc.TextOut(x, y + before.cx, parts.letter);
    dc.TextOut(x, y + before.cx + letter.cx, parts.after);
    if (letter.cx > 0) {
      dc.MoveTo(x - textHeight + 2, y + before.cx);
      dc.LineTo(x - textHeight + 2, y + before.cx + letter.cx);
    }
    next.top = m_rect.bottom;
  }
  ui::Rect edge = m_rect;
  if (m_state & kPressed) dc.DrawEdge(&edge, gdi::BDR_SUNKENOUTER, gdi::BF_RECT);
  else if (m_state & kHot) dc.DrawEdge(&edge, gdi::BDR_RAISEDINNER, gdi::BF_RECT);
  return next;
}

ui::Size CMenuItem::GetSize(gdi::DC& dc, bool vertical) const {
  const ui::Size text = dc.GetTextExtent(WithoutAmpersand(m_text));
  return vertical ? ui::Size{text.cy, text.cx + text.cy} : ui::Size{text.cx + text.cy, text.cy};
}

ui::UINT CFrameControl::SystemCommand() const {
  switch (m_button) {
    case kClose: return ui::SC_CLOSE;
    case kMinimize: return ui::SC_MINIMIZE;
    default: return ui::SC_RESTORE;
  }
}

namespace {

constexpr int kButtonSize = 16;
constexpr int kButtonStep = 18;

void DrawCaptionGlyph(gdi::DC& dc, ui::UINT button, const ui::Rect& r, int shift) {
  const gdi::Pen ink(gdi::PS_SOLID, 1, gdi::GetSysColor(gdi::COLOR_BTNTEXT));
  const gdi::Pen old = dc.SelectObject(ink);
  const int l = r.left + 4 + shift, t = r.top + 4 + shift;
  switch (button) {
    case CFrameControl::kClose:
      for (int k = 0; k < 2; ++k) {
        dc.MoveTo(l + k, t);
        dc.LineTo(l + 8 + k, t + 8);
        dc.MoveTo(l + 7 + k, t);
        dc.LineTo(l - 1 + k, t + 8);
      }
      break;
    case CFrameControl::kMinimize:
      dc.FillSolidRect(ui::Rect(l, t + 6, l + 6, t + 8), gdi::GetSysColor(gdi::COLOR_BTNTEXT));
      break;
    default:  // restore: two windows, one behind the other
      dc.FillSolidRect(ui::Rect(l + 2, t, l + 8, t + 2), gdi::GetSysColor(gdi::COLOR_BTNTEXT));
      dc.FillSolidRect(ui::Rect(l, t + 3, l + 6, t + 5), gdi::GetSysColor(gdi::COLOR_BTNTEXT));
      dc.FrameRect(ui::Rect(l, t + 3, l + 6, t + 9), gdi::Brush(gdi::GetSysColor(gdi::COLOR_BTNTEXT)));
      break;
  }
  dc.SelectObject(old);
}

}  // namespace

ui::Rect CFrameControl::Draw(gdi::DC& dc, const ui::Rect& remaining, bool vertical) {
  ui::Rect next = remaining;
  if (!vertical) {
    const int top = remaining.top + (remaining.Height() - kButtonSize) / 2;
    m_rect = ui::Rect(remaining.right - kButtonSize - 1, top, remaining.right - 1, top + kButtonSize);
    next.right -= kButtonStep;
  } else {
    const int left = remaining.left + (remaining.Width() - kButtonSize) / 2;
    m_rect = ui::Rect(left, remaining.bottom - kButtonSize - 1, left + kButtonSize, remaining.bottom - 1);
    next.bottom -= kButtonStep;
  }
  dc.FillSolidRect(m_rect, gdi::GetSysColor(gdi::COLOR_BTNFACE));
  ui::Rect edge = m_rect;
  if (m_state & kPressed) dc.DrawEdge(&edge, gdi::EDGE_SUNKEN, gdi::BF_RECT);
  else if (m_state & kHot) dc.DrawEdge(&edge, gdi::EDGE_RAISED, gdi::BF_RECT);
  else dc.FrameRect(m_rect, gdi::Brush(gdi::GetSysColor(gdi::COLOR_BTNSHADOW)));
  DrawCaptionGlyph(dc, m_button, m_rect, (m_state & kPressed) ? 1 : 0);
  return next;
}

ui::Size CFrameControl::GetSize(gdi::DC&, bool vertical) const {
  return vertical ? ui::Size{kButtonSize, kButtonStep} : ui::Size{kButtonStep, kButtonSize};
}
