#pragma once
// The standard font interfaces: IFont, through which controls and their pages read and write a
// font's attributes, and IFontDisp, its dispatch form (what a font property of a dispatch
// interface carries). The font object itself belongs to the OLE layer; this is the contract.
//
// Handles of the drawing layer cross IFont as opaque pointer-sized values, so this layer does
// not depend on it: FontHandle is the drawing layer's font handle, DeviceContextHandle its
// device-context handle, each converted there.
#include "platform/com/dispatch.h"

namespace plat::ole {

inline constexpr Guid IID_IFont = guid("{BEF6E002-A874-101A-8BBA-00AA00300CAB}");
inline constexpr Guid IID_IFontDisp = guid("{BEF6E003-A874-101A-8BBA-00AA00300CAB}");
// The standard colour type: an OLE_COLOR is a COLORREF (0x00BBGGRR) in 32 bits.
inline constexpr Guid GUID_OLE_COLOR = guid("{66504301-BE0F-101A-8BBB-00AA00300CAB}");

using OleColor = std::uint32_t;
using FontHandle = std::uintptr_t;
using DeviceContextHandle = std::uintptr_t;
using Currency = std::int64_t;  // value * 10000
using Bool32 = std::int32_t;    // the platform's BOOL: nonzero is true

// Slots 3-26 in the published order.
class IFont : public IUnknown {
 public:
  virtual HResult get_Name(Bstr* name) = 0;
  virtual HResult put_Name(const char16_t* name) = 0;
  virtual HResult get_Size(Currency* size) = 0;  // points * 10000
  virtual HResult put_Size(Currency size) = 0;
  virtual HResult get_Bold(Bool32* bold) = 0;
  virtual HResult put_Bold(Bool32 bold) = 0;
  virtual HResult get_Italic(Bool32* italic) = 0;
  virtual HResult put_Italic(Bool32 italic) = 0;
  virtual HResult get_Underline(Bool32* underline) = 0;
  virtual HResult put_Underline(Bool32 underline) = 0;
  virtual HResult get_Strikethrough(Bool32* strikethrough) = 0;
  virtual HResult put_Strikethrough(Bool32 strikethrough) = 0;
  virtual HResult get_Weight(std::int16_t* weight) = 0;
  virtual HResult put_Weight(std::int16_t weight) = 0;
  virtual HResult get_Charset(std::int16_t* charset) = 0;
  virtual HResult put_Charset(std::int16_t charset) = 0;
  virtual HResult get_hFont(FontHandle* font) = 0;
  virtual HResult Clone(IFont** copy) = 0;
  virtual HResult IsEqual(IFont* other) = 0;  // S_OK or S_FALSE
  virtual HResult SetRatio(std::int32_t cyLogical, std::int32_t cyHimetric) = 0;
  // metrics receives the drawing layer's 16-bit text-metric record.
  virtual HResult QueryTextMetrics(void* metrics) = 0;
  virtual HResult AddRefHfont(FontHandle font) = 0;
  virtual HResult ReleaseHfont(FontHandle font) = 0;
  virtual HResult SetHdc(DeviceContextHandle dc) = 0;

 protected:
  ~IFont() = default;
};

// The font's dispatch interface: IDispatch with the members below and no slots of its own.
class IFontDisp : public IDispatch {
 protected:
  ~IFontDisp() = default;
};

// Dispatch ids of IFontDisp's members.
constexpr DispId DISPID_FONT_NAME = 0;
constexpr DispId DISPID_FONT_SIZE = 2;
constexpr DispId DISPID_FONT_BOLD = 3;
constexpr DispId DISPID_FONT_ITALIC = 4;
constexpr DispId DISPID_FONT_UNDER = 5;
constexpr DispId DISPID_FONT_STRIKE = 6;
constexpr DispId DISPID_FONT_WEIGHT = 7;
constexpr DispId DISPID_FONT_CHARSET = 8;

// IFontDisp as the standard type library describes it.
const DispInterfaceDesc& fontDispInterface();

}  // namespace plat::ole
