#pragma once
// CDrawObject: one layer of a spectrum plot (frame, axes, grid, trace, peak labels, integrals,
// baseline, title, free texts). Each object draws into a device context inside the drawing
// rectangle that the list hands to every object in turn, keeps its own appearance (pens in
// hundredths of a millimetre, fonts in points, COLORREF colours) and its archive form, and can
// be hit-tested, dragged and edited with the mouse.
//
// The virtual operations below keep the order in which the plot's classes override them. Every
// class writes its own fields first and the base part (the enabled flag as one 32-bit word) last.
//
// A class is made by its type id through the factory of the draw-object list
// (RegisterDrawObjectClass); its constructor takes (owner list, processing object, instance).
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"

class CSpcProcess;
class CDrawObjectList;

namespace plat {
class Archive;
}

// The type id of a draw object: its class, its place in the list and its number in archives.
enum DrawObjectType : std::int32_t {
  kDrawEnd = 0,  // ends an archived object sequence
  kDrawBorder = 1,
  kDrawCopyright = 2,
  kDrawScaleY1 = 3,
  kDrawGrid = 4,
  kDrawTPeaks = 5,
  kDrawScale = 6,
  kDrawIntegSums = 7,
  kDrawSpectrum = 8,
  kDrawScaleY2 = 9,
  kDrawIntegrals = 10,
  kDrawMPeaks = 11,
  kDrawBaseline = 12,
  kDrawTitle = 13,
  kDrawText = 14,
  kDrawIonCurrent = 15,  // never in a list
};
// The ids a list can hold (and its factory can create).
constexpr std::int32_t kDrawFirstListType = kDrawBorder;
constexpr std::int32_t kDrawLastListType = kDrawText;

// Draw modes: 1 for the screen (objects record their area), 0 for metafiles and printing.
constexpr int kDrawModePrint = 0;
constexpr int kDrawModeScreen = 1;

class CDrawObject {
 public:
  CDrawObject(std::int32_t type, CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance);
  virtual ~CDrawObject();
  CDrawObject(const CDrawObject&) = delete;
  CDrawObject& operator=(const CDrawObject&) = delete;

  // Stores or loads the object (ar.isStoring() decides). Derived classes do their own fields,
  // then call this for the base part. A short archive throws plat::ArchiveError.
  virtual void Serialize(plat::Archive& ar);

  // ---- The virtual operations of every draw object ----
  // Draws into dc inside *area; an object that takes room for itself shrinks *area for the
  // objects drawn after it. In kDrawModeScreen it records its area (m_area).
  virtual void Draw(gdi::DC* dc, gdi::Rect* area, int mode) = 0;
  // The class's default appearance; the base does nothing.
  virtual void SetDefaults();
  // Index of the submenu of context menu 30001 a right click on the object opens; -1: none.
  virtual int GetContextMenu(bool inSelection);
  // Follows the mouse with the list's selection rectangle: its right and bottom become (x, y),
  // it is normalised and clamped into m_area.
  virtual void SetVerticalArea(std::uint32_t flags, int x, int y);
  // A double click at (x, y); true when handled. The base does nothing.
  virtual bool EditAt(std::uint32_t flags, int x, int y);
  // The mouse moved to (x, y) in a drag that began at (x0, y0); true when handled.
  virtual bool Drag(int x, int y, int x0, int y0);
  // Non-zero when (x, y) grabs the object at a button-down; the base answers 0.
  virtual int HitTest(int x, int y);
  // The appearance of a property set; the base reads and writes the full archive (Serialize).
  virtual void LoadProperties(plat::Archive& ar);
  virtual void StoreProperties(plat::Archive& ar);

  std::int32_t GetType() const { return m_nType; }
  std::int32_t GetInstance() const { return m_nInstance; }
  CDrawObjectList* GetOwner() const { return m_pOwner; }
  CSpcProcess* GetProcess() const { return m_pProcess; }

  // ---- Helpers for the classes ----
  // Makes the current pen from a copy of *pen whose width (both members) is scaled to the
  // device, MulDiv(width, zoom x LOGPIXELSX, 254000), and selects it; answers the previous pen.
  gdi::Pen SelectScaledPen(const gdi::LOGPEN* pen, gdi::DC* dc);
  // Makes the current font from a copy of *font whose height is scaled to the device,
  // MulDiv(height, zoom x LOGPIXELSY, 7200), and selects it; answers the previous font.
  gdi::Font SelectScaledFont(const gdi::LOGFONTA* font, gdi::DC* dc);

  // Archive forms of the appearance records: the 16-byte pen, the 60-byte font (its face
  // always terminated on loading) and a 32-bit colour. Each stores or loads by ar's direction.
  static void SerializePen(plat::Archive& ar, gdi::LOGPEN& pen);
  static void SerializeFont(plat::Archive& ar, gdi::LOGFONTA& font);
  static void SerializeColor(plat::Archive& ar, gdi::COLORREF& color);

  // ---- Base state (in the order the plot keeps it) ----
 protected:
  const std::int32_t m_nType;
  CDrawObjectList* m_pOwner;  // not owned

 public:
  // Only enabled objects are drawn (dispatch enable properties and show/hide commands set it).
  bool m_bEnabled = false;
  // Where the object last drew on the screen, device pixels; empty until then.
  gdi::Rect m_area;

 protected:
  CSpcProcess* m_pProcess;  // not owned
  gdi::Pen m_curPen;   // made from the appearance at each drawing
  gdi::Font m_curFont;

 private:
  friend class CDrawObjectList;  // renumbers instances when an object leaves the list
  std::int32_t m_nInstance;
};

// The part of a free text (type 14) that the "analysis" file keeps: the label and its anchor.
// The text class derives from CDrawObject and from this.
class CAnchoredText {
 public:
  std::string m_strText;
  std::int32_t m_nX = 0;  // point index
  float m_fY = 0.0f;      // data value

 protected:
  CAnchoredText() = default;
  ~CAnchoredText() = default;
};
