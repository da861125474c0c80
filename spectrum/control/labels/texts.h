#pragma once
// The text objects of a plot.
//
// CTitle (type 13) draws one line at a fixed offset (0.01 mm) from the top left of the drawing
// area; its template's fields "$NAME$" are replaced by the control's parameters ("$$" is one
// "$"; a name without a closing "$" runs to the end). CCopyright (type 2) draws the notice line
// in black at the top right and moves the drawing area's top below it; the profile value
// "Copyright" (default 1) enables it in every new or reset plot. CText (type 14) is a free label
// anchored to a point index and a data value, in the list's text font and colour: centred on the
// anchor when horizontal, rising from it when vertical (any escapement but 0). Labels are hit,
// dragged (the anchor follows the mouse) and edited; a property set carries none.
#include <cstdint>
#include <string>
#include <string_view>

#include "controls/font/olefont.h"
#include "spectrum/control/plot/drawobject.h"

class CTitle : public CDrawObject {
 public:
  CTitle(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);

  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  void SetDefaults() override;

  // The template with its fields replaced through the list's host (no host: fields empty).
  std::string ExpandedText() const;

  std::string m_strText;         // "TitleText"
  gdi::COLORREF m_color = 0;     // "TitleColor"
  gdi::LOGFONTA m_logFont;       // "TitleFont"
  COleFont m_fontObject{&m_logFont};
  std::int32_t m_nPosX = 1000;   // "TitlePosX", 0.01 mm from the area's left
  std::int32_t m_nPosY = 1000;   // "TitlePosY", 0.01 mm from the area's top
};

class CCopyright : public CDrawObject {
 public:
  // The notice line.
  static constexpr std::string_view kNotice = "KEDRUS Lite 2.0 - Orvane";

  CCopyright(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);

  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  // The font and colour, and enabled from the profile value "Copyright" of the module's default
  // section (default 1).
  void SetDefaults() override;

  gdi::LOGFONTA m_logFont;
  gdi::COLORREF m_color = 0;  // stored and loaded; the notice is always black
};

class CText : public CDrawObject, public CAnchoredText {
 public:
  CText(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);

  // A new label in the list at the pixel (x, y) of the plot: the point index under x and the
  // data value at row y (the text mode's press, once the text was typed).
  static CText* Create(CDrawObjectList& list, std::string_view text, int x, int y);
  // The first enabled label whose area holds (x, y), or null (Edit Text and Delete Text take
  // the label under the right-click point).
  static CText* FindAt(const CDrawObjectList& list, int x, int y);

  void Serialize(plat::Archive& ar) override;
  void Draw(gdi::DC* dc, gdi::Rect* area, int mode) override;
  int GetContextMenu(bool inSelection) override;
  // The anchor moves to the point and value under (x, y); refused (false) off the data.
  bool Drag(int x, int y, int x0, int y0) override;
  int HitTest(int x, int y) override;
  // A property set carries no labels: only the enabled flag.
  void LoadProperties(plat::Archive& ar) override;
  void StoreProperties(plat::Archive& ar) override;
};
