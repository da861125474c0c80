#pragma once
// CDrawObjectList: the plot of a spectrum control. It owns its draw objects and keeps them in
// ascending order of type id (objects of one type in the order of their creation, instance
// numbers counting from 0), creates them by type id, draws them in that order into one shared
// rectangle, converts between data values and pixels for all of them, and carries the view
// state they share: visible x range, vertical scale, zoom regions, container zoom, margins and
// the appearance of new free texts.
//
// Classes are made through a factory table by type id. The trace, axes, frame and grid (types
// 1, 3, 4, 6, 8, 9) are built in; the other classes of types 1-14 are plugged in with
// RegisterDrawObjectClass before the first list is filled (the control's module start does it).
// A type with no class is skipped: CreateDrawObject answers null for it.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/font/olefont.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "spectrum/control/plot/drawobject.h"

class CSpcProcess;

namespace plat {
class Archive;
}

// An x range drawn magnified by factor (point indexes, or masses for kind MASS).
struct CZoomRegion {
  float from = 0.0f;
  float to = 0.0f;
  float factor = 1.0f;
  friend bool operator==(const CZoomRegion&, const CZoomRegion&) = default;
};

// What the plot asks of the control that holds it.
class CPlotHost {
 public:
  // The text of a parameter as the control's GetParam gives it; false when it has none.
  virtual bool GetParam(std::string_view name, std::string* value) = 0;

 protected:
  ~CPlotHost() = default;
};

// Makes a new object of one class: (owner list, processing object, instance number).
using DrawObjectFactory = std::unique_ptr<CDrawObject> (*)(CDrawObjectList* owner, CSpcProcess* process,
                                                            std::int32_t instance);
template <class T>
std::unique_ptr<CDrawObject> MakeDrawObject(CDrawObjectList* owner, CSpcProcess* process, std::int32_t instance) {
  return std::make_unique<T>(owner, process, instance);
}
// Sets (or replaces) the class of a type id 1-14 for every list of the module; false for any
// other id. Called on the user-interface thread before lists are filled.
bool RegisterDrawObjectClass(std::int32_t type, DrawObjectFactory factory);

class CDrawObjectList {
 public:
  // Fields at their initial values; no objects. host may be null (no parameters for titles).
  CDrawObjectList(CPlotHost* host, CSpcProcess* process);
  ~CDrawObjectList();
  CDrawObjectList(const CDrawObjectList&) = delete;
  CDrawObjectList& operator=(const CDrawObjectList&) = delete;

  // ---- Objects ----
  // A new object of the type's class with owner = this list, not inserted; null for an id
  // outside 1-14 or a type without a registered class.
  std::unique_ptr<CDrawObject> CreateDrawObject(std::int32_t type, CSpcProcess* process, std::int32_t instance);
  // A new object of that type inserted in type order (instance = the number of that type
  // already held), after its SetDefaults; never an existing one. Null when the type has no class.
  CDrawObject* GetDrawObject(std::int32_t type);
  // The first object of that type whose instance matches (any instance for -1), or null.
  CDrawObject* FindDrawObject(std::int32_t type, std::int32_t instance = -1) const;
  // Deletes one object (a free text leaving the plot); the later objects of its type are
  // renumbered so instances keep counting from 0. False when the list does not hold it.
  bool RemoveObject(CDrawObject* object);
  // Deletes every object.
  void RemoveAll();
  // Sets the processing object, creates the default set (types 1-13) and applies SetListDefaults.
  bool CreateDefaultObjects(CSpcProcess* process);
  // The list's appearance defaults, then SetDefaults of every object in list order.
  void SetListDefaults();

  std::size_t GetSize() const { return m_objects.size(); }
  CDrawObject* GetAt(std::size_t index) const { return m_objects[index].get(); }
  // The list index of an object, or -1.
  int IndexOf(const CDrawObject* object) const;

  // ---- Drawing ----
  // Takes the margins off a copy of *client, draws every enabled object in list order into it,
  // then clears the hold flag.
  void DrawAll(gdi::DC* dc, const gdi::Rect* client, int mode);

  // ---- Archives ----
  // The whole plot with the view state (the control's own archive). A non-null process
  // replaces the list's in both directions. Loading reads into the objects the list holds.
  void SerializeObjects(plat::Archive& ar, CSpcProcess* process);
  // The object sequence with the list's appearance; full = false is a property-set snapshot.
  // Loading throws plat::ArchiveError (format error) on a type id outside 1-14.
  void StoreObjects(plat::Archive& ar, bool full);
  void LoadObjects(plat::Archive& ar, bool full);

  // ---- The "analysis" file of a spectrum folder ----
  // Section "\CONTROL_NMR_<n>" of the INI file <folder>/analysis: integrals, peaks, integral
  // sum, amplitude, free texts, bounds, Base and margins. False when the section does not open
  // or a value fails (what was done stays).
  bool SaveAnalysis(const std::string& folder, std::uint32_t controlNumber);
  bool LoadAnalysis(const std::string& folder, std::uint32_t controlNumber);

  // ---- Transforms (on the plot rectangle; every conversion to an integer truncates) ----
  // The row of value 0; held across one drawing while the hold flag is set.
  int GetZeroY(const gdi::Rect* plot);
  int ValueToY(float value);
  int PointToX(int point);
  int PosToX(float x);
  double YToValue(int row);
  double XToPos(int column);
  int XToPoint(int column);
  // The lowest X unit whose bit is set in the processing object's units mask, or 7 (points).
  std::int32_t GetDefaultUnit() const;
  // unit when its bit is set in the processing object's units mask, else GetDefaultUnit().
  std::int32_t UsableUnit(std::int32_t unit) const;

  CPlotHost* GetHost() const { return m_pHost; }

  // ---- View state (in the order the plot keeps it) ----
  float m_fLeftBound = 0.0f;   // first visible x: point index, or mass for MASS ("LeftBound")
  float m_fRightBound = 0.0f;  // last visible x ("RightBound")
  std::vector<CZoomRegion> m_zoomRegions;  // sorted by from
  CSpcProcess* m_pProcess;                  // not owned
  gdi::Rect m_selection;                    // rubber band of the mouse, device pixels
  float m_fValuePerPixel = 0.0f;            // data value per pixel row of the last trace
  float m_fPointsPerPixel = 0.0f;           // x units per pixel column of the last trace
  float m_fYMin = 0.0f;                     // smallest displayed value of the last trace
  float m_fYMax = 0.0f;                     // largest
  float m_fIntegralScale = 1.0f;            // divisor of the total integral in the curves' height
  float m_fAmplitude = 1.0f;                // vertical magnification ("Amplitude")
  std::int32_t m_nBase = 1;                 // 0: the frame draws nothing ("Base")
  std::int32_t m_nZoom = 100;               // container zoom percent, set before every drawing
  bool m_bDots = false;                     // the trace as dots instead of a line
  std::int32_t m_nPickCursor1 = -1;         // point indexes of the pick cursors, -1 unset
  std::int32_t m_nPickCursor2 = -1;
  float m_fIntegSum = 100.0f;               // what the sum of all integrals shows as ("IntegSum")
  gdi::LOGBRUSH m_bkBrush{gdi::BS_HOLLOW, 0xFFFFFF, 0};  // plot background
  gdi::COLORREF m_CursorColor = 0;
  std::int32_t m_CursorType = 1;
  float m_fVerticalOffset = 0.0f;           // fraction of the plot height the zero row is raised
  bool m_bHold = false;                     // keep zero row and scale for one drawing
  std::int32_t m_nHeldZeroY = 0;
  gdi::COLORREF m_TextColor = 0;            // free texts
  gdi::LOGFONTA m_TextFont;                 // free texts; lfEscapement is TextEscape
  COleFont m_textFontObject{&m_TextFont};   // dispatch access to m_TextFont
  gdi::Rect m_plotRect;                     // where the trace last drew; base of the transforms
  std::int32_t m_nGrabbed = -1;             // index of the object grabbed at the last button-down
  bool m_bIntegralCorrection = false;       // integral curves show their correction handles
  float m_fTopMargin = 0.0f;                // fraction of the height left free at the top
  float m_fBottomMargin = 0.0f;             // at the bottom
  float m_fMassThreshold = 0.0f;            // MASS: peaks not above threshold x max are not drawn

 private:
  bool IsMass() const;

  std::vector<std::unique_ptr<CDrawObject>> m_objects;
  CPlotHost* m_pHost;  // not owned
};
