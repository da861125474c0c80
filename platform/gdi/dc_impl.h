#pragma once
// The state behind a DC, shared by the DC's own code and the metafile player.
// Private to platform/gdi.
#include <optional>
#include <vector>

#include "platform/gdi/internal.h"

namespace gdi {

// The transform a metafile is played through: reference pixels onto the target's pixels.
// Without a picture playing, only the device origin (a whole-pixel shift) applies.
struct OuterTransform {
  bool identity = true;
  int ox = 0, oy = 0;  // device origin, when identity
  double sx = 1, sy = 1, dx = 0, dy = 0;
};

struct DcState {
  Pen pen = StockPen(BLACK_PEN);
  Brush brush = StockBrush(WHITE_BRUSH);
  Font font = StockFont(SYSTEM_FONT);
  Bitmap bitmap;  // memory DCs
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  UINT textAlign = TA_TOP | TA_LEFT | TA_NOUPDATECP;
  int polyFillMode = ALTERNATE;
  int stretchMode = BLACKONWHITE;
  Point brushOrg;
  int mapMode = MM_TEXT;
  Point windowOrg, viewportOrg;
  Size windowExt{1, 1}, viewportExt{1, 1};
  Point position;
  std::optional<QRegion> clip;      // the user's clip region, device pixels
  std::optional<QRegion> metaClip;  // the clip a metafile is played inside
  OuterTransform outer;
};

struct DC::Impl {
  DeviceCaps caps = ScreenCaps();
  bool printing = false;
  bool memory = false;
  std::unique_ptr<detail::Device> device;
  DcState st;
  std::vector<DcState> saved;
  int restoreFloor = 0;  // saved levels a playing metafile may not restore below
  int playing = 0;       // pictures being played onto this DC
  // A Windows-metafile recording keeps logical coordinates and records the mapping calls,
  // except while a picture plays onto it (that picture's mapping is applied).
  bool recordsLogical = false;
  bool Logical() const { return recordsLogical && playing == 0; }
  void RecordMapping();  // the current mapping, as records
  QRegion clipCache;
  bool hasClip = false;

  Impl();
  ~Impl();

  // Logical to device pixels (truncating toward zero) and back.
  Point Dev(Point p) const;
  Point Log(Point p) const;
  Rect DevRect(const Rect& r) const;  // normalized
  int DevLengthX(int v) const;
  int DevLengthY(int v) const;
  int LogLengthX(int v) const;
  int LogLengthY(int v) const;
  double ScaleX() const;  // device pixels per logical unit
  double ScaleY() const;

  detail::DevPen DevicePen() const;
  detail::DevBrush DeviceBrush(const Brush& brush) const;
  detail::DevContext Context() const;
  std::shared_ptr<const detail::RealizedFont> DeviceFont() const;
  int PenWidth() const;  // device pixels

  void UpdateClip();
  Rect DeviceBounds() const;  // what the target covers, device pixels
  void SetClip(std::optional<QRegion> clip);
  void AttachBitmap();        // memory DC: draw into st.bitmap
  void ApplyIsotropic();
};

}  // namespace gdi
