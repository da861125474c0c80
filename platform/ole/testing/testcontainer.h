#pragma once
// A container for tests and tools (plat_ole_testing): a top-level frame with a status bar and one
// view, a document of items, and a log of what the embedded objects asked of their sites and
// frames. Headless: nothing waits for a user.
//
//   TestContainer box;
//   TestItem* item = box.AddItem(CLSID_Something, {10, 10, 210, 110});
//   box.Activate(item);                        // in place, with the UI
//   box.Frame().GetBorderSpace();              // what the object took for its tool bars
//   box.Deactivate(item);
//   auto picture = box.RenderItem(*item);      // its presentation picture, drawn
//
// Log lines (TestContainer::Log), in the order they happened:
//   "CanInPlaceActivate", "OnInPlaceActivate", "OnUIActivate", "OnUIDeactivate",
//   "OnInPlaceDeactivate", "GetBorder", "RequestBorderSpace l,t,r,b", "SetBorderSpace l,t,r,b"
//   (or "SetBorderSpace null"), "SetActiveObject" / "SetActiveObject null", "SetStatusText <text>",
//   "SetMenu" / "SetMenu null", "OnDataChange", "OnViewChange", "OnPosRectChange l,t,r,b".
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/surface.h"
#include "platform/ole/container.h"
#include "platform/ui/bars.h"
#include "platform/ui/docview.h"
#include "platform/ui/frame.h"

namespace plat::ole::testing {

class TestContainer;

class TestItem : public OleClientItem {
 public:
  TestItem(OleDocument* document, TestContainer* container);

  int DataChanges() const { return dataChanges_; }
  int ViewChanges() const { return viewChanges_; }

  void OnChange(OleNotification notification, DWord param) override;
  void OnDataChange(const FormatEtc* format, StgMedium* medium) override;
  void OnActivate() override;
  void OnActivateUI() override;
  void OnDeactivateUI(bool undoable) override;
  void OnDeactivate() override;
  bool OnChangeItemPosition(const gdi::Rect& position) override;

 private:
  TestContainer* container_;
  int dataChanges_ = 0;
  int viewChanges_ = 0;
};

// The frame's in-place hook, logging; it can refuse tool space.
class TestFrameHook : public OleFrameHook {
 public:
  TestFrameHook(ui::FrameWnd* frame, TestContainer* container);
  bool refuseToolSpace = false;

  HResult GetBorder(gdi::Rect* border) override;
  HResult RequestBorderSpace(const BorderWidths* widths) override;
  HResult SetBorderSpace(const BorderWidths* widths) override;
  HResult SetActiveObject(IOleInPlaceActiveObject* object, const char16_t* name) override;
  HResult SetStatusText(const char16_t* text) override;
  HResult SetMenu(ui::Menu* shared, void* descriptor, HWND activeObject) override;

 private:
  TestContainer* container_;
};

class TestContainer {
 public:
  explicit TestContainer(int width = 640, int height = 480);
  ~TestContainer();
  TestContainer(const TestContainer&) = delete;
  TestContainer& operator=(const TestContainer&) = delete;

  ui::FrameWnd& FrameWindow() const { return *frame_; }
  TestFrameHook& Frame() const { return *hook_; }
  ui::View& View() const { return *view_; }
  OleDocument& Document() const { return *document_; }
  ui::StatusBar& StatusBar() const { return *status_; }

  // A new item by class id (null, logged, when the object cannot be made), placed at position
  // (view client coordinates).
  TestItem* AddItem(const Guid& clsid, const gdi::Rect& position);
  // A new item from a data object (another item's or control's clipboard data).
  TestItem* AddItemFromData(IDataObject* data, const gdi::Rect& position);
  bool Activate(TestItem* item, std::int32_t verb = OLEIVERB_UIACTIVATE);
  void Deactivate(TestItem* item);
  void Remove(TestItem* item);

  // The view as it shows (active items in their windows, the others drawn from their pictures).
  std::unique_ptr<gdi::RasterSurface> RenderView();
  // An item's presentation picture drawn on white into a bitmap of size.
  std::unique_ptr<gdi::RasterSurface> RenderItem(const TestItem& item, gdi::Size size);

  const std::vector<std::string>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }
  void AddLog(std::string line) { log_.push_back(std::move(line)); }
  // Whether a line equal to text was logged.
  bool Logged(std::string_view text) const;

 private:
  std::vector<std::string> log_;
  ui::FrameWnd* frame_ = nullptr;  // deletes itself with its window
  TestFrameHook* hook_ = nullptr;
  ui::View* view_ = nullptr;
  std::unique_ptr<ui::StatusBar> status_;
  std::unique_ptr<OleDocument> document_;
};

std::string formatWidths(const BorderWidths& widths);

}  // namespace plat::ole::testing
