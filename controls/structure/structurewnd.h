#pragma once
// CStructure: a child window that holds the structure control, made by its class id as the
// spectrum control holds the knob and the scroll strip, and loads a molfile or SD file into it.
#include <string_view>

#include "controls/host/controlhost.h"

namespace karvel {

class CStructure : public CControlHost {
  UI_DECLARE_DYNCREATE(CStructure)

 public:
  // The structure control in a child window of parent; false, with no window, when the control
  // cannot be made.
  bool Create(std::string_view windowName, ui::DWORD style, const ui::Rect& rect, ui::Wnd* parent, ui::UINT id);
  // The first molecule of the file (and the field values of every record); false when there is
  // no control or the file cannot be read.
  bool LoadFile(std::string_view path);
};

}  // namespace karvel
