// DrawText: lines, word breaks, alignment, mnemonic underlines and end ellipses, drawn through
// the DC's own text calls (so a recording keeps them as text records).
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/internal.h"

namespace gdi {

namespace {

struct Line {
  std::u16string text;
  int mnemonic = -1;  // index of the underlined character
};

// Removes "&" prefixes ("&&" is one "&"); remembers the first mnemonic.
Line stripPrefix(std::u16string_view text, bool prefixes) {
  Line line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (prefixes && text[i] == u'&') {
      if (i + 1 < text.size() && text[i + 1] == u'&') {
        line.text.push_back(u'&');
        ++i;
      } else if (i + 1 < text.size() && line.mnemonic < 0) {
        line.mnemonic = static_cast<int>(line.text.size());
      }
      continue;
    }
    line.text.push_back(text[i]);
  }
  return line;
}

}  // namespace

int DC::DrawText(std::string_view text, Rect* rect, UINT format) {
  return DrawText(std::u16string_view(detail::Widen(text)), rect, format);
}

int DC::DrawText(std::u16string_view text, Rect* rect, UINT format) {
  if (!IsValid() || !rect) return 0;
  std::u16string source(text);
  if (format & DT_EXPANDTABS) {
    std::u16string expanded;
    for (char16_t c : source) {
      if (c == u'\t') expanded.append(8, u' ');
      else expanded.push_back(c);
    }
    source = std::move(expanded);
  }
  TEXTMETRIC tm;
  GetTextMetrics(&tm);
  const int lineHeight = std::max(1, tm.tmHeight);
  const int width = rect->Width();
  const bool prefixes = !(format & DT_NOPREFIX);
  auto measure = [&](std::u16string_view s) { return GetTextExtent(s).cx; };

  // Split into lines, then break lines at blanks to the rectangle's width.
  std::vector<std::u16string> paragraphs;
  if (format & DT_SINGLELINE) {
    std::u16string one;
    for (char16_t c : source)
      if (c != u'\r' && c != u'\n') one.push_back(c);
    paragraphs.push_back(one);
  } else {
    std::u16string cur;
    for (std::size_t i = 0; i < source.size(); ++i) {
      if (source[i] == u'\r' || source[i] == u'\n') {
        paragraphs.push_back(cur);
        cur.clear();
        if (source[i] == u'\r' && i + 1 < source.size() && source[i + 1] == u'\n') ++i;
      } else {
        cur.push_back(source[i]);
      }
    }
    paragraphs.push_back(cur);
  }
  std::vector<Line> lines;
  for (const std::u16string& p : paragraphs) {
    Line whole = stripPrefix(p, prefixes);
    if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE) || measure(whole.text) <= width) {
      lines.push_back(whole);
      continue;
    }
    std::size_t start = 0;
    while (start < whole.text.size()) {
      std::size_t end = start, lastFit = std::u16string::npos;
      while (end < whole.text.size()) {
        std::size_t next = whole.text.find(u' ', end);
        if (next == std::u16string::npos) next = whole.text.size();
        if (measure(std::u16string_view(whole.text).substr(start, next - start)) > width && lastFit != std::u16string::npos) break;
        lastFit = next;
        end = next + 1;
        if (next == whole.text.size()) break;
      }
      const std::size_t stop = lastFit == std::u16string::npos ? whole.text.size() : lastFit;
      Line piece;
      piece.text = whole.text.substr(start, stop - start);
      if (whole.mnemonic >= static_cast<int>(start) && whole.mnemonic < static_cast<int>(stop))
        piece.mnemonic = whole.mnemonic - static_cast<int>(start);
      lines.push_back(piece);
      start = stop + 1;
    }
  }
  if ((format & DT_END_ELLIPSIS) && (format & DT_SINGLELINE) && !lines.empty() && measure(lines[0].text) > width) {
    std::u16string& s = lines[0].text;
    while (!s.empty() && measure(s + u"...") > width) s.pop_back();
    s += u"...";
    if (lines[0].mnemonic >= static_cast<int>(s.size()) - 3) lines[0].mnemonic = -1;
  }

  int maxWidth = 0;
  for (const Line& l : lines) maxWidth = std::max(maxWidth, measure(l.text));
  const int total = lineHeight * static_cast<int>(lines.size());
  if (format & DT_CALCRECT) {
    rect->right = rect->left + maxWidth;
    rect->bottom = rect->top + total;
    return total;
  }

  int y = rect->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) y = rect->top + (rect->Height() - lineHeight) / 2;
    else if (format & DT_BOTTOM) y = rect->bottom - lineHeight;
  }
  const UINT oldAlign = SetTextAlign(TA_TOP | TA_LEFT);
  const UINT options = (format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
  for (const Line& l : lines) {
    const int w = measure(l.text);
    int x = rect->left;
    if (format & DT_CENTER) x = rect->left + (width - w) / 2;
    else if (format & DT_RIGHT) x = rect->right - w;
    ExtTextOut(x, y, options, rect, std::u16string_view(l.text), nullptr);
    if (l.mnemonic >= 0 && l.mnemonic < static_cast<int>(l.text.size())) {
      const int before = measure(std::u16string_view(l.text).substr(0, static_cast<std::size_t>(l.mnemonic)));
      const int cw = measure(std::u16string_view(l.text).substr(static_cast<std::size_t>(l.mnemonic), 1));
      FillSolidRect(Rect(x + before, y + tm.tmAscent + 1, x + before + cw, y + tm.tmAscent + 2), GetTextColor());
    }
    y += lineHeight;
  }
  SetTextAlign(oldAlign);
  return total;
}

}  // namespace gdi
