#pragma once
// Identifiers one deliverable uses of another: the kinds in the main program's item record,
// which the controls read through IOrvClientSite, and the dispatch ids by which the spectrum
// control and the main program reach the auxiliary controls and hear their events.
#include <cstdint>

#include "platform/com/dispatch.h"

// Item record (SaItemRecord) field 0, the item's type; any other value is another OLE object.
constexpr std::int32_t ItemTypeSpectrum = 1;  // holds a spectrum control
constexpr std::int32_t ItemTypeTable = 2;     // holds a table control
// Field 1, the subtype; the i-th spectrum of an Insert Spectrum(s) command is ItemFromControl + i.
constexpr std::int32_t ItemFromFile = 1;     // a spectrum item made when a file was opened
constexpr std::int32_t ItemFromControl = 5;  // the value every new item starts with

// The largest input file the spectrum converters read: 1 GB, the bytes of the most points a
// record holds (2^27 complex float32 points). A larger one is no spectrum file of any format,
// and the main program says so.
constexpr std::uint64_t kMaxSpectrumFileBytes = std::uint64_t(1) << 30;

namespace kedrus_dispid {

using plat::ole::DispId;

// The spectrum control's event (_DSpcEvents).
constexpr DispId kOnSpectrumLoad = 1;

// The knob control (_DKnobControl, _DKnobEvents); Value is also the default (DISPID_VALUE).
constexpr DispId kKnobIncMode = 1;
constexpr DispId kKnobIncrement = 2;
constexpr DispId kKnobInitValue = 3;
constexpr DispId kKnobMinValue = 4;
constexpr DispId kKnobMaxValue = 5;
constexpr DispId kKnobValue = 6;
constexpr DispId kKnobNewValueSet = 1;

// The scroll control (_DScrollControl, _DScrollEvents); Image is also the default.
constexpr DispId kScrollRightBound = 1;
constexpr DispId kScrollLeftBound = 2;
constexpr DispId kScrollPoints = 3;
constexpr DispId kScrollImage = 4;
constexpr DispId kScrollNewBoundsSet = 1;

// The soft button's event (_DSoftButtonEvents).
constexpr DispId kSoftButtonPressed = 1;

// The structure control's method LoadFile(BSTR pszFileName).
constexpr DispId kStructureLoadFile = 100;

}  // namespace kedrus_dispid
