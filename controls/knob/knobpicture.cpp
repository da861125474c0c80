#include "controls/knob/knobpicture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "controls/common/dcdraw.h"

namespace karvel {

namespace {

gdi::COLORREF Highlight() { return gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT); }
gdi::COLORREF Shadow() { return gdi::GetSysColor(gdi::COLOR_BTNSHADOW); }

// The upper-left and lower-right halves of rect's ellipse as chords in highlight and shadow.
void ShadedChords(gdi::DC& dc, const gdi::Rect& r) {
  dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 1, Highlight()));
  dc.Chord(r.left, r.top, r.right, r.bottom, r.right, r.top, r.left, r.bottom);
  dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 1, Shadow()));
  dc.Chord(r.left, r.top, r.right, r.bottom, r.left, r.bottom, r.right, r.top);
}

void Shrink(gdi::Rect* r, int by) { r->DeflateRect(by, by); }

// An arrow button: a triangle pointing left or right, outlined in black, with its two slanted
// inner edges 2 pixels wide in highlight and shadow (swapped while pressed).
void PaintArrow(gdi::DC& dc, const gdi::Rect& r, bool pointsLeft, bool pressed) {
  if (r.IsRectEmpty()) return;
  const int midY = r.top + r.Height() / 2;
  const gdi::Point tip = pointsLeft ? gdi::Point{r.left, midY} : gdi::Point{r.right - 1, midY};
  const int baseX = pointsLeft ? r.right - 1 : r.left;
  const gdi::Point upper{baseX, r.top}, lower{baseX, r.bottom - 1};
  const gdi::Point outline[] = {tip, upper, lower, tip};
  dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 1, 0));
  dc.Polyline(outline, 4);
  const int in = pointsLeft ? 2 : -2;
  const gdi::COLORREF first = pressed ? Shadow() : Highlight(), second = pressed ? Highlight() : Shadow();
  dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 2, first));
  dc.MoveTo(tip.x + in, tip.y);
  dc.LineTo(upper.x - in / 2, upper.y + 2);
  dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 2, second));
  dc.MoveTo(tip.x + in, tip.y);
  dc.LineTo(lower.x - in / 2, lower.y - 2);
}

}  // namespace

KnobPanelLayout LayoutKnobPanel(const gdi::Rect& client) {
  KnobPanelLayout layout;
  const int w = client.Width(), h = client.Height();
  const int side = std::min(w, h);
  gdi::Rect dial(client.left + (w - side) / 2, client.top + (h - side) / 2, 0, 0);
  dial.right = dial.left + side;
  dial.bottom = dial.top + side;
  Shrink(&dial, side / 8);
  layout.dial = dial;
  const int quarter = w / 4;
  layout.leftArrow = gdi::Rect(client.left, client.top, client.left + quarter, client.bottom);
  layout.rightArrow = gdi::Rect(client.right - quarter, client.top, client.right, client.bottom);
  layout.leftArrow.DeflateRect(3, 6);
  layout.rightArrow.DeflateRect(3, 6);
  return layout;
}

gdi::Point DialCentre(const gdi::Rect& client) {
  return {client.left + client.Width() / 2, (client.top + client.bottom - client.Height() / 4) / 2};
}

std::array<RidgeEdge, 4> Ridge(const gdi::Rect& dial, double a) {
  const int w = dial.Width(), h = dial.Height();
  const gdi::Point centre{dial.left + w / 2, dial.top + h / 2};
  const gdi::Point corners[4] = {
      {-w / 20, -h / 10}, {w / 20, -h / 10}, {w / 20, -h / 10 - h / 3}, {-w / 20, -h / 10 - h / 3}};
  const double r = a * std::numbers::pi / 180.0;
  const double c = std::cos(r), s = std::sin(r);
  gdi::Point p[4];
  for (int i = 0; i < 4; ++i)
    p[i] = {centre.x + RoundToPixel(corners[i].x * c - corners[i].y * s),
            centre.y + RoundToPixel(corners[i].x * s + corners[i].y * c)};
  return {RidgeEdge{p[0], p[1], a > 45 && a <= 225}, RidgeEdge{p[1], p[2], a > 135 && a <= 315},
          RidgeEdge{p[2], p[3], !(a >= 45 && a < 225)}, RidgeEdge{p[3], p[0], !(a >= 135 && a < 315)}};
}

void PaintKnobFace(gdi::DC& target, const gdi::Rect& bounds, std::string_view text, const gdi::LOGFONTA& font,
                   bool hot) {
  PaintOffscreen(target, bounds, [&](gdi::DC& dc, const gdi::Rect& r) {
    dc.FillSolidRect(r, gdi::GetSysColor(gdi::COLOR_MENU));
    if (hot) dc.Draw3dRect(r, Highlight(), Shadow());
    else dc.Draw3dRect(r, Shadow(), Highlight());
    dc.SelectObject(gdi::Font(ScaleFont(font, dc.GetDeviceCaps(gdi::LOGPIXELSY), 100)));
    dc.SetBkMode(gdi::TRANSPARENT);
    dc.SetTextColor(gdi::GetSysColor(gdi::COLOR_MENUTEXT));
    gdi::Rect textRect = r;
    dc.DrawText(text, &textRect, gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
  });
}

void PaintKnobPanel(gdi::DC& target, const gdi::Rect& client, double value, bool leftPressed, bool rightPressed) {
  PaintOffscreen(target, client, [&](gdi::DC& dc, const gdi::Rect& r) {
    const gdi::COLORREF menu = gdi::GetSysColor(gdi::COLOR_MENU);
    dc.FillSolidRect(r, menu);
    const KnobPanelLayout layout = LayoutKnobPanel(r);
    gdi::Rect ring = layout.dial;
    dc.SelectObject(gdi::Brush(menu));
    ShadedChords(dc, ring);
    Shrink(&ring, 2);
    dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 2, gdi::GetSysColor(gdi::COLOR_3DLIGHT)));
    dc.Ellipse(ring);
    Shrink(&ring, 1);
    dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 1, 0));
    dc.Ellipse(ring);
    Shrink(&ring, 1);
    ShadedChords(dc, ring);
    Shrink(&ring, 1);
    dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 1, gdi::GetSysColor(gdi::COLOR_3DLIGHT)));
    dc.Ellipse(ring);
    if (std::isfinite(value)) {
      for (int k = 0; k < 4; ++k) {
        double a = std::fmod(value + 90.0 * k, 360.0);
        if (a < 0) a += 360.0;
        for (const RidgeEdge& e : Ridge(layout.dial, a)) {
          dc.SelectObject(gdi::Pen(gdi::PS_SOLID, 1, e.highlight ? Highlight() : Shadow()));
          dc.MoveTo(e.from);
          dc.LineTo(e.to);
        }
      }
    }
    PaintArrow(dc, layout.leftArrow, true, leftPressed);
    PaintArrow(dc, layout.rightArrow, false, rightPressed);
  });
}

}  // namespace karvel
