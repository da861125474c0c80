// The pages' templates: every item lies inside its page, and no two items other than group
// boxes cover each other (combo boxes count with their closed height).
#include <gtest/gtest.h>

#include "platform/ui/resource.h"
#include "platform/ui/styles.h"
#include "spectrum/control/module/resources.h"
#include "spectrum/control/pages/pageids.h"
#include "spectrum/control/pages/schemedialog.h"

namespace {

struct Box {
  int left, top, right, bottom;
};

Box BoxOf(const ui::DialogItemResource& item) {
  const bool combo = std::string_view(item.className) == "COMBOBOX";
  return {item.x, item.y, item.x + item.cx, item.y + (combo ? 12 : item.cy)};
}

bool IsGroup(const ui::DialogItemResource& item) {
  return std::string_view(item.className) == "BUTTON" && (item.style & ui::BS_TYPEMASK) == ui::BS_GROUPBOX;
}

TEST(PageLayout, ItemsStayInsideTheirPageAndDoNotCoverEachOther) {
  const ui::UINT pages[] = {nelvar::IDD_PAGE_GENERAL,  nelvar::IDD_PAGE_SPECTRUM,  nelvar::IDD_PAGE_SCALE,
                            nelvar::IDD_PAGE_SCALEY,   nelvar::IDD_PAGE_INTEGRAL,  nelvar::IDD_PAGE_INTEGSUMS,
                            nelvar::IDD_PAGE_TPEAKS,   nelvar::IDD_PAGE_MPEAKS,    nelvar::IDD_PAGE_BASELINE,
                            nelvar::IDD_PAGE_BORDER,   nelvar::IDD_PAGE_TEXT,      nelvar::IDD_PAGE_TITLE,
                            nelvar::IDD_PAGE_MISC,     nelvar::IDD_SAVE_SCHEME};
  for (ui::UINT id : pages) {
    const ui::DialogResource* page = nullptr;
    for (const ui::DialogResource& d : nelvar::PageResources().dialogs)
      if (d.id == id) page = &d;
    ASSERT_NE(page, nullptr) << id;
    for (std::size_t i = 0; i < page->items.size(); ++i) {
      const Box a = BoxOf(page->items[i]);
      EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= page->cx && a.bottom <= page->cy) << id << " item " << i;
      if (IsGroup(page->items[i])) continue;
      for (std::size_t j = i + 1; j < page->items.size(); ++j) {
        if (IsGroup(page->items[j])) continue;
        const Box b = BoxOf(page->items[j]);
        const bool apart = a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
        EXPECT_TRUE(apart) << id << ": items " << i << " and " << j;
      }
    }
  }
}

}  // namespace
