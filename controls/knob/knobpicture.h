#pragma once
// What the knob draws: its face (the number on a menu-coloured field in a one-pixel 3D frame)
// and its dial panel (a shaded dial with four ridge marks at the value's angle, between a left
// and a right arrow button), and where the panel's parts lie.
#include <array>
#include <string_view>

#include "platform/gdi/dc.h"

namespace karvel {

struct KnobPanelLayout {
  // The client rectangle made square about its centre, shrunk by an eighth of its width.
  gdi::Rect dial;
  // The left and right quarters of the client rectangle, shrunk by 3 pixels horizontally and 6
  // vertically.
  gdi::Rect leftArrow;
  gdi::Rect rightArrow;
};
KnobPanelLayout LayoutKnobPanel(const gdi::Rect& client);

// The centre a drag turns the dial about: the horizontal middle of the client rectangle and the
// vertical middle of its upper three quarters.
gdi::Point DialCentre(const gdi::Rect& client);

// One edge of a ridge mark and whether it is drawn in the highlight (else the shadow) colour.
struct RidgeEdge {
  gdi::Point from;
  gdi::Point to;
  bool highlight = false;
};
// The four edges of the ridge at degrees (0 to 360) on the dial.
std::array<RidgeEdge, 4> Ridge(const gdi::Rect& dial, double degrees);

// Into target at bounds, through an off-screen bitmap. font: the face font, height in points.
void PaintKnobFace(gdi::DC& target, const gdi::Rect& bounds, std::string_view text, const gdi::LOGFONTA& font,
                   bool hot);
// The panel over its whole client rectangle, through an off-screen bitmap.
void PaintKnobPanel(gdi::DC& target, const gdi::Rect& client, double value, bool leftPressed, bool rightPressed);

}  // namespace karvel
