#pragma once
// The insert-object dialog of a container: it offers the classes the registry marks insertable
// (HKEY_CLASSES_ROOT\CLSID\{clsid} with an "Insertable" subkey), each under its user type name
// (the key's default value), sorted by that name without regard to case. OK (or a double click)
// gives the chosen class id; the container makes the object from it (OleClientItem::
// CreateNewItem). It runs modally through the responder, which finds the list as ClassList()
// and the classes behind it as Classes().
#include <vector>

#include "platform/base/types.h"
#include "platform/com/guid.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

namespace plat::ole {

struct InsertableClass {
  Guid clsid{};
  String16 typeName;
};

// The registry's insertable classes in the dialog's order. A class without a type name, or
// whose key is no class id, is left out.
std::vector<InsertableClass> insertableClasses();

class InsertObjectDialog : public ui::Dialog {
  UI_DECLARE_MESSAGE_MAP()

 public:
  static constexpr ui::UINT kClassListId = 2001;

  explicit InsertObjectDialog(ui::Wnd* parent = nullptr);

  // The class chosen with OK (meaningful after DoModal answered IDOK).
  const Guid& GetClassID() const { return chosen_; }
  // The classes offered, in the list's order (read when the dialog opens).
  const std::vector<InsertableClass>& Classes() const { return classes_; }
  // The list of type names; null before the dialog's window exists.
  ui::ListBox* ClassList() const;

  bool OnInitDialog() override;
  // Takes the selected class; with none selected the dialog stays open.
  void OnOK() override;

 private:
  std::vector<InsertableClass> classes_;
  Guid chosen_{};
};

}  // namespace plat::ole
