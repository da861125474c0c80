#pragma once
// Text extents for layout tests: every character is a fixed number of pixels wide, and a text
// is as tall as its font's height (10 pixels for a height of 0 or less).
#include "controls/common/layout.h"

namespace karvel::test {

class FixedMeasure : public TextMeasure {
 public:
  explicit FixedMeasure(std::int32_t charWidth = 5) : charWidth_(charWidth) {}
  Size Extent(std::string_view text, const gdi::LOGFONTA& font) override {
    return {static_cast<std::int32_t>(text.size()) * charWidth_, font.lfHeight > 0 ? font.lfHeight : 10};
  }

 private:
  std::int32_t charWidth_;
};

}  // namespace karvel::test
