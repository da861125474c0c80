#pragma once
// COleFont: the automation font object through which a control exposes a font property. It
// owns no font: it is a view on a caller's 8-bit logical font record (gdi::LOGFONTA), whose
// fields it reads and writes through IFont, and whose dispatch form (IFontDisp) is what a
// control's font property hands out and what property pages hand back.
//
// The size travels as currency: height x 10000 (signed 64-bit) and back by / 10000, so the
// "size" IFont reports is the record's height read as points. Face names are cut at 31 bytes on
// a UTF-8 character boundary. Every method that touches the record answers E_FAIL, changing
// nothing, while the object has no record.
//
// Lifetime: a COleFont is a member or a local of its owner and is destroyed by it; external
// references (IFont, IFontDisp) never delete it. The record must outlive it.
#include <cstdint>
#include <string>

#include "platform/com/automation.h"
#include "platform/com/font.h"
#include "platform/gdi/objects.h"

class COrvProfDesc;

class COleFont : public plat::ole::AutomationObject {
 public:
  explicit COleFont(gdi::LOGFONTA* font);
  ~COleFont() override;

  gdi::LOGFONTA* GetLogFont() const { return m_pFont; }
  // Binds the object to another record, or (null) to none: an owner whose records go away
  // while others may still hold the object detaches it first.
  void SetLogFont(gdi::LOGFONTA* font) { m_pFont = font; }

  // The object's IFont (a reference added when asked).
  plat::ole::IFont* GetIFont(bool addRef);

  // Reads name, size, bold, italic, underline, strike-through, weight and charset from the
  // object's IFont and puts them into this font, in that order. False when this font has no
  // record, the object is null or has no IFont.
  bool CopyFrom(plat::ole::IUnknown* object);
  // The same from this font into the object's IFont. False when this font has no record, the
  // object is null or has no IFont.
  bool CopyTo(plat::ole::IUnknown* object);

  // ---- IFontDisp properties (also the dispatch table's handlers) ----
  plat::ole::Bstr GetName();
  void SetName(const char16_t* name);
  std::int64_t GetSize();
  void SetSize(std::int64_t size);
  bool GetBold();
  void SetBold(bool bold);
  bool GetItalic();
  void SetItalic(bool italic);
  bool GetUnderline();
  void SetUnderline(bool underline);
  bool GetStrikethrough();
  void SetStrikethrough(bool strikethrough);
  std::int16_t GetWeight();
  void SetWeight(std::int16_t weight);
  std::int16_t GetCharset();
  void SetCharset(std::int16_t charset);

  static const plat::ole::DispInterfaceDesc& Dispatch();

 protected:
  void* GetInterface(const plat::ole::Guid& iid) override;

 private:
  struct XFont : plat::ole::Nested<plat::ole::IFont> {
    using Nested::Nested;
    plat::ole::HResult get_Name(plat::ole::Bstr* name) override;
    plat::ole::HResult put_Name(const char16_t* name) override;
    plat::ole::HResult get_Size(plat::ole::Currency* size) override;
    plat::ole::HResult put_Size(plat::ole::Currency size) override;
    plat::ole::HResult get_Bold(plat::ole::Bool32* bold) override;
    plat::ole::HResult put_Bold(plat::ole::Bool32 bold) override;
    plat::ole::HResult get_Italic(plat::ole::Bool32* italic) override;
    plat::ole::HResult put_Italic(plat::ole::Bool32 italic) override;
    plat::ole::HResult get_Underline(plat::ole::Bool32* underline) override;
    plat::ole::HResult put_Underline(plat::ole::Bool32 underline) override;
    plat::ole::HResult get_Strikethrough(plat::ole::Bool32* strikethrough) override;
    plat::ole::HResult put_Strikethrough(plat::ole::Bool32 strikethrough) override;
    plat::ole::HResult get_Weight(std::int16_t* weight) override;
    plat::ole::HResult put_Weight(std::int16_t weight) override;
    plat::ole::HResult get_Charset(std::int16_t* charset) override;
    plat::ole::HResult put_Charset(std::int16_t charset) override;
    plat::ole::HResult get_hFont(plat::ole::FontHandle* font) override;
    plat::ole::HResult Clone(plat::ole::IFont** copy) override;
    plat::ole::HResult IsEqual(plat::ole::IFont* other) override;
    plat::ole::HResult SetRatio(std::int32_t cyLogical, std::int32_t cyHimetric) override;
    plat::ole::HResult QueryTextMetrics(void* metrics) override;
    plat::ole::HResult AddRefHfont(plat::ole::FontHandle font) override;
    plat::ole::HResult ReleaseHfont(plat::ole::FontHandle font) override;
    plat::ole::HResult SetHdc(plat::ole::DeviceContextHandle dc) override;
  } m_xFont{*this};

  gdi::LOGFONTA* m_pFont;  // not owned; may be null
};

// The record as fourteen values of the descriptor's section ("Height" ... "Name"). Save opens
// with mode 63 and closes; false when the font has no record or the open fails. Load zeroes the
// record, opens with mode 13 (false when that fails) and reads every value with default 0 (the
// name empty); the section stays open until the descriptor closes it.
bool SaveFontToProfile(COleFont* font, COrvProfDesc* desc);
bool LoadFontFromProfile(COleFont* font, COrvProfDesc* desc);
