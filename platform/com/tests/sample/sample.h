#pragma once
// The sample in-process server the component tests load: its identifiers and custom
// interface, shared by the module and the tests.
#include "platform/com/guid.h"

namespace sample {

using plat::ole::Guid;
using plat::ole::HResult;

inline constexpr Guid CLSID_Sample = plat::ole::guid("{A078706A-E009-42D9-B543-DB6CAEC29681}");
inline constexpr Guid CLSID_SamplePage = plat::ole::guid("{ECAE84FA-5374-474D-83EF-32313009440A}");
inline constexpr Guid IID_ISample = plat::ole::guid("{044281A3-C357-4FA0-8AB6-B2BD990DE069}");
inline constexpr Guid DIID__DSample = plat::ole::guid("{C533336A-8605-44CF-AD8A-7EE0CC52C1DE}");
inline constexpr Guid DIID__DSampleEvents = plat::ole::guid("{78C500DC-46F7-4EFA-9CE9-6D15BF003ED7}");
inline constexpr Guid LIBID_SampleLib = plat::ole::guid("{AFAD2EE8-3C4F-4D21-AE7C-3EAF319DB71C}");

inline constexpr char kSampleProgId[] = "KedrusSample.Object.1";
inline constexpr char kSamplePageProgId[] = "KedrusSample.Page.1";
inline constexpr plat::DWord kSampleMiscStatus = 0x20191;

// A custom interface in the way the product's are declared: IUnknown, then its own slots.
class ISample : public plat::ole::IUnknown {
 public:
  virtual HResult GetNumber(std::int32_t* number) = 0;
  virtual HResult SetNumber(std::int32_t number) = 0;
  // How often the module's start-up ran in this process.
  virtual HResult GetModuleStarts(std::int32_t* starts) = 0;

 protected:
  ~ISample() = default;
};

// Dispatch ids of _DSample.
enum SampleDispId : plat::ole::DispId {
  kNumber = 1, kEnabled = 2, kRatio = 3, kLineColor = 4, kTextFont = 5, kTitle = 6, kSecret = 7,
  kCount = 8, kBackColor = 9, kDescribe = 100, kFailMethod = 101, kFireChanged = 102,
};
// Events of _DSampleEvents.
enum SampleEventId : plat::ole::DispId { kChanged = 1, kReset = 2 };
// The exception Fail raises.
inline constexpr HResult kSampleFailure = static_cast<HResult>(0x80040321u);

}  // namespace sample
