#pragma once
// Where the control's dispatch properties live. The properties keep no storage of their own:
// each is a view on a field of the first draw object of one type, or of the draw-object list,
// so they follow whatever changes the plot (property sets, schemes, the control's archive).
//
// A view reads a field as the property's C++ type and writes it back: numbers by conversion, a
// font through the object's automation font (COleFont: handed out with a reference added, or
// taking the attributes of the given font), a text as a new string. A property whose object is
// missing reads -1 (colour, BOOL, I4) or null (font, text), and its put does nothing. Puts
// refresh the plot; the cursor properties rebuild the plot cursors instead.
#include <cstdint>
#include <string>
#include <type_traits>

#include "controls/font/olefont.h"
#include "platform/base/text.h"
#include "platform/gdi/objects.h"
#include "platform/oleauto/oleauto.h"
#include "spectrum/control/plot/drawobjectlist.h"

namespace spc_dispatch {

// The field a chain of member pointers leads to from an object.
template <auto First, auto... Rest, class Object>
auto& Follow(Object& object) {
  if constexpr (sizeof...(Rest) == 0) return object.*First;
  else return Follow<Rest...>(object.*First);
}

template <class Value>
Value Missing() {
  if constexpr (std::is_pointer_v<Value>) return nullptr;
  else return static_cast<Value>(-1);
}

template <class Value, class Field>
Value Read(Field& field) {
  if constexpr (std::is_same_v<Field, COleFont>) return field.GetIDispatch(true);
  else if constexpr (std::is_same_v<Field, std::string>) return plat::ole::allocString(plat::toUtf16(field));
  else return static_cast<Value>(field);
}

template <class Field, class Value>
void Write(Field& field, Value value) {
  if constexpr (std::is_same_v<Field, COleFont>) field.CopyFrom(value);
  else if constexpr (std::is_same_v<Field, std::string>) field = value ? plat::toUtf8(std::u16string_view(value)) : "";
  else if constexpr (std::is_same_v<Field, bool>) field = value != 0;
  else field = static_cast<Field>(value);
}

// A field of the first draw object of type Type (class Object).
template <class Object, std::int32_t Type, auto... Members>
struct OnObject {
  static Object* Find(const CDrawObjectList& list) { return dynamic_cast<Object*>(list.FindDrawObject(Type)); }

  template <class Value, class Control>
  static Value Get(Control& control) {
    Object* object = Find(control.m_drawList);
    return object ? Read<Value>(Follow<Members...>(*object)) : Missing<Value>();
  }
  template <class Value, class Control>
  static void Set(Control& control, Value value) {
    Object* object = Find(control.m_drawList);
    if (!object) return;
    Write(Follow<Members...>(*object), value);
    control.Refresh();
  }
};

// An X unit of a draw object, read as the unit the plot draws it in: the stored unit while the
// record offers it, else the list's default (an FID's "sec" after FT is drawn, and so read, as
// PPM), so that the pages and menus show what is on screen. A put stores the unit.
template <class Object, std::int32_t Type, auto Member>
struct DrawnUnit {
  template <class Value, class Control>
  static Value Get(Control& control) {
    const Object* object = OnObject<Object, Type, Member>::Find(control.m_drawList);
    return object ? static_cast<Value>(control.m_drawList.UsableUnit(object->*Member)) : Missing<Value>();
  }
  template <class Value, class Control>
  static void Set(Control& control, Value value) {
    OnObject<Object, Type, Member>::template Set<Value>(control, value);
  }
};

// A pen's colour and width (only the pen's x width counts).
template <class Object, std::int32_t Type, auto Pen>
using PenColor = OnObject<Object, Type, Pen, &gdi::LOGPEN::lopnColor>;
template <class Object, std::int32_t Type, auto Pen>
using PenWidth = OnObject<Object, Type, Pen, &gdi::LOGPEN::lopnWidth, &gdi::Point::x>;

// A field of the draw-object list.
template <auto... Members>
struct OnList {
  template <class Value, class Control>
  static Value Get(Control& control) {
    return Read<Value>(Follow<Members...>(control.m_drawList));
  }
  template <class Value, class Control>
  static void Set(Control& control, Value value) {
    Write(Follow<Members...>(control.m_drawList), value);
    control.Refresh();
  }
};

// A list field the plot cursors are made from: a put makes them again and leaves the plot as
// it is.
template <auto Member>
struct OnCursor {
  template <class Value, class Control>
  static Value Get(Control& control) {
    return OnList<Member>::template Get<Value>(control);
  }
  template <class Value, class Control>
  static void Set(Control& control, Value value) {
    Write(control.m_drawList.*Member, value);
    control.CreatePlotCursors();
  }
};

}  // namespace spc_dispatch
