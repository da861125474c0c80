#pragma once
// The resources of the frames, bars and rulers: the standard toolbar's buttons and picture and the
// zoom entries. The program's resource set takes them in (its own tables hold the rest).
#include <span>

#include "platform/ui/resource.h"

namespace rodizora_frame {

// The zoom entries: string resources from this id upward, until one is missing.
constexpr ui::UINT kZoomStringFirst = 4000;

std::span<const ui::StringResource> FrameStrings();
std::span<const ui::ToolbarResource> FrameToolbars();
std::span<const ui::BitmapResource> FrameBitmaps();

}  // namespace rodizora_frame
