// Type libraries and type information built from the dispatch tables.
#include "platform/com/typelib.h"

#include <memory>
#include <new>
#include <vector>

#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/com/font.h"

namespace plat::ole {

// ---- The standard OLE type library ------------------------------------------------------------

const DispInterfaceDesc& fontDispInterface() {
  static constexpr DispEntry kMembers[] = {
      dispPropertyDesc("Name", DISPID_FONT_NAME, DispType::Bstr),
      dispPropertyDesc("Size", DISPID_FONT_SIZE, DispType::Cy),
      dispPropertyDesc("Bold", DISPID_FONT_BOLD, DispType::Bool),
      dispPropertyDesc("Italic", DISPID_FONT_ITALIC, DispType::Bool),
      dispPropertyDesc("Underline", DISPID_FONT_UNDER, DispType::Bool),
      dispPropertyDesc("Strikethrough", DISPID_FONT_STRIKE, DispType::Bool),
      dispPropertyDesc("Weight", DISPID_FONT_WEIGHT, DispType::I2),
      dispPropertyDesc("Charset", DISPID_FONT_CHARSET, DispType::I2),
  };
  static constexpr DispInterfaceDesc kDesc{"IFontDisp", &IID_IFontDisp, "Font Object", kMembers};
  return kDesc;
}

const TypeLibDesc& standardTypeLibDesc() {
  static constexpr AliasDesc kOleColor{"OLE_COLOR", &GUID_OLE_COLOR, nullptr, VT_UI4};
  static constexpr const AliasDesc* kAliases[] = {&kOleColor};
  static const DispInterfaceDesc* const kInterfaces[] = {&fontDispInterface()};
  static const TypeLibDesc kDesc{"stdole", &LIBID_StdOle, "OLE Automation", 2, 0, 0, kAliases, kInterfaces, {}};
  return kDesc;
}

namespace {

Bstr newBstr(const char* text) { return text ? allocString(toUtf16(text)) : nullptr; }

void setOut(Bstr* out, const char* text) {
  if (out) *out = newBstr(text);
}

class TypeLibrary;

// One type of a library. Its reference count is the library's: a type information keeps its
// library, and so every other type of it, alive.
class TypeInfoImpl final : public ITypeInfo {
 public:
  enum class Kind { Alias, Dispatch, CoClass };

  TypeInfoImpl(TypeLibrary& lib, std::uint32_t index, const AliasDesc& alias)
      : lib_(lib), index_(index), kind_(Kind::Alias), alias_(&alias) {}
  TypeInfoImpl(TypeLibrary& lib, std::uint32_t index, const DispInterfaceDesc& dispatch)
      : lib_(lib), index_(index), kind_(Kind::Dispatch), dispatch_(&dispatch) {
    for (const DispEntry& e : dispatch.members) (e.isProperty() ? vars_ : funcs_).push_back(&e);
  }
  TypeInfoImpl(TypeLibrary& lib, std::uint32_t index, const CoClassDesc& coclass)
      : lib_(lib), index_(index), kind_(Kind::CoClass), coclass_(&coclass) {}

  // An interface or alias described without an id (a dispatch table of no library) has IID_NULL.
  const Guid& guid() const {
    const Guid* g = nullptr;
    switch (kind_) {
      case Kind::Alias: g = alias_->guid; break;
      case Kind::Dispatch: g = dispatch_->iid; break;
      default: g = coclass_->clsid; break;
    }
    return g ? *g : IID_NULL;
  }
  const char* name() const {
    switch (kind_) {
      case Kind::Alias: return alias_->name;
      case Kind::Dispatch: return dispatch_->name;
      default: return coclass_->name;
    }
  }
  const char* helpString() const {
    switch (kind_) {
      case Kind::Alias: return alias_->helpString;
      case Kind::Dispatch: return dispatch_->helpString;
      default: return coclass_->helpString;
    }
  }
  TypeKind typeKind() const {
    switch (kind_) {
      case Kind::Alias: return TKIND_ALIAS;
      case Kind::Dispatch: return TKIND_DISPATCH;
      default: return TKIND_COCLASS;
    }
  }
  const DispInterfaceDesc* dispatch() const { return dispatch_; }

  // Second step of building: the types this one refers to (HRefType n is refs_[n - 1]).
  void resolveReferences(TypeInfoImpl* (*find)(TypeLibrary&, const Guid&));

  // IUnknown
  HResult QueryInterface(const Guid& iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_ITypeInfo) {
      *object = static_cast<ITypeInfo*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  std::uint32_t AddRef() override;
  std::uint32_t Release() override;

  // ITypeInfo
  HResult GetTypeAttr(TypeAttr** attr) override;
  HResult GetTypeComp(ITypeComp** comp) override {
    if (comp) *comp = nullptr;
    return E_NOTIMPL;
  }
  HResult GetFuncDesc(std::uint32_t index, FuncDesc** desc) override;
  HResult GetVarDesc(std::uint32_t index, VarDesc** desc) override;
  HResult GetNames(MemberId id, Bstr* names, std::uint32_t maxNames, std::uint32_t* count) override;
  HResult GetRefTypeOfImplType(std::uint32_t index, HRefType* ref) override;
  HResult GetImplTypeFlags(std::uint32_t index, std::int32_t* flags) override;
  HResult GetIDsOfNames(const char16_t* const* names, std::uint32_t count, MemberId* ids) override {
    if (!dispatch_) return DISP_E_UNKNOWNNAME;
    return dispatchGetIDsOfNames(*dispatch_, IID_NULL, names, count, ids);
  }
  HResult Invoke(void* instance, MemberId id, Word flags, DispParams* params, Variant* result, ExcepInfo* excepInfo,
                 std::uint32_t* argErr) override {
    // The instance of a dispatch interface is its IDispatch.
    if (!dispatch_ || !instance) return E_INVALIDARG;
    return static_cast<IDispatch*>(instance)->Invoke(id, IID_NULL, 0, flags, params, result, excepInfo, argErr);
  }
  HResult GetDocumentation(MemberId id, Bstr* name, Bstr* docString, DWord* helpContext, Bstr* helpFile) override;
  HResult GetDllEntry(MemberId, InvokeKind, Bstr*, Bstr*, Word*) override { return E_NOTIMPL; }
  HResult GetRefTypeInfo(HRefType ref, ITypeInfo** info) override;
  HResult AddressOfMember(MemberId, InvokeKind, void** address) override {
    if (address) *address = nullptr;
    return E_NOTIMPL;
  }
  HResult CreateInstance(IUnknown* outer, const Guid& iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!coclass_) return E_NOTIMPL;
    return createInstance(*coclass_->clsid, outer, CLSCTX_INPROC_SERVER, iid, object);
  }
  HResult GetMops(MemberId, Bstr* mops) override {
    if (mops) *mops = nullptr;
    return E_NOTIMPL;
  }
  HResult GetContainingTypeLib(ITypeLib** lib, std::uint32_t* index) override;
  void ReleaseTypeAttr(TypeAttr* attr) override { delete attr; }
  void ReleaseFuncDesc(FuncDesc* desc) override { delete reinterpret_cast<FuncBlock*>(desc); }
  void ReleaseVarDesc(VarDesc* desc) override { delete reinterpret_cast<VarBlock*>(desc); }

 private:
  // A description and the types it points to, in one block (the description first, so the
  // pointer handed out is the block's).
  struct VarBlock {
    VarDesc desc;
    TypeDesc inner;
  };
  struct FuncBlock {
    FuncDesc desc;
    ElemDesc params[kMaxDispParams];
    TypeDesc inner[kMaxDispParams + 1];
  };

  HRefType refOf(const Guid& guid) const {
    for (std::size_t i = 0; i < refs_.size(); ++i)
      if (refs_[i]->guid() == guid) return HRefType(i + 1);
    return 0;
  }
  void describe(DispType type, TypeDesc* out, TypeDesc* inner) const;
  const DispEntry* member(MemberId id) const {
    if (dispatch_)
      for (const DispEntry& e : dispatch_->members)
        if (e.id == id) return &e;
    return nullptr;
  }
  // The coclass's interfaces in order: the default dispatch interface, then the events.
  std::vector<const DispInterfaceDesc*> implemented() const {
    std::vector<const DispInterfaceDesc*> list;
    if (coclass_ && coclass_->dispatch) list.push_back(coclass_->dispatch);
    if (coclass_ && coclass_->events) list.push_back(coclass_->events);
    return list;
  }

  TypeLibrary& lib_;
  std::uint32_t index_;
  Kind kind_;
  const AliasDesc* alias_ = nullptr;
  const DispInterfaceDesc* dispatch_ = nullptr;
  const CoClassDesc* coclass_ = nullptr;
  std::vector<const DispEntry*> vars_, funcs_;
  std::vector<TypeInfoImpl*> refs_;
};

class TypeLibrary final : public ComObject {
 public:
  TypeLibrary(const TypeLibDesc& desc, std::vector<const DispInterfaceDesc*> interfaces, TypeLibrary* standard)
      : xTypeLib_(*this), desc_(desc), standard_(standard) {
    std::uint32_t index = 0;
    for (const AliasDesc* a : desc.aliases) infos_.push_back(std::make_unique<TypeInfoImpl>(*this, index++, *a));
    for (const DispInterfaceDesc* d : interfaces) infos_.push_back(std::make_unique<TypeInfoImpl>(*this, index++, *d));
    for (const CoClassDesc* c : desc.coclasses) infos_.push_back(std::make_unique<TypeInfoImpl>(*this, index++, *c));
    for (auto& info : infos_) info->resolveReferences(&TypeLibrary::findType);
  }
  ~TypeLibrary() override {
    if (standard_) standard_->Release();
  }

  static HResult build(const TypeLibDesc& desc, std::vector<const DispInterfaceDesc*> interfaces, TypeLibrary** out) {
    *out = nullptr;
    // Every other library refers to the standard one for OLE_COLOR and IFontDisp.
    TypeLibrary* standard = nullptr;
    try {
      if (!(*desc.libid == LIBID_StdOle)) {
        const TypeLibDesc& standardDesc = standardTypeLibDesc();
        standard = new TypeLibrary(standardDesc, {standardDesc.interfaces.begin(), standardDesc.interfaces.end()}, nullptr);
      }
      *out = new TypeLibrary(desc, std::move(interfaces), standard);
      return S_OK;
    } catch (const std::bad_alloc&) {
      if (standard) standard->Release();
      return E_OUTOFMEMORY;
    }
  }

  ITypeLib* typeLib() { return &xTypeLib_; }
  const TypeLibDesc& desc() const { return desc_; }
  TypeInfoImpl* info(std::uint32_t i) { return i < infos_.size() ? infos_[i].get() : nullptr; }
  std::uint32_t count() const { return std::uint32_t(infos_.size()); }
  TypeInfoImpl* infoOfGuid(const Guid& guid) {
    for (auto& info : infos_)
      if (info->guid() == guid) return info.get();
    return nullptr;
  }

 protected:
  const InterfaceMap& GetInterfaceMap() const override { return kMap; }

 private:
  static TypeInfoImpl* findType(TypeLibrary& lib, const Guid& guid) {
    if (TypeInfoImpl* own = lib.infoOfGuid(guid)) return own;
    return lib.standard_ ? lib.standard_->infoOfGuid(guid) : nullptr;
  }

  struct XTypeLib : Nested<ITypeLib> {
    using Nested::Nested;
    TypeLibrary& lib() const { return outer<TypeLibrary>(); }
    std::uint32_t GetTypeInfoCount() override { return lib().count(); }
    HResult GetTypeInfo(std::uint32_t index, ITypeInfo** info) override {
      if (!info) return E_INVALIDARG;
      *info = lib().info(index);
      if (!*info) return TYPE_E_ELEMENTNOTFOUND;
      (*info)->AddRef();
      return S_OK;
    }
    HResult GetTypeInfoType(std::uint32_t index, TypeKind* kind) override {
      if (!kind) return E_INVALIDARG;
      TypeInfoImpl* info = lib().info(index);
      if (!info) return TYPE_E_ELEMENTNOTFOUND;
      *kind = info->typeKind();
      return S_OK;
    }
    HResult GetTypeInfoOfGuid(const Guid& guid, ITypeInfo** info) override {
      if (!info) return E_INVALIDARG;
      *info = lib().infoOfGuid(guid);
      if (!*info) return TYPE_E_ELEMENTNOTFOUND;
      (*info)->AddRef();
      return S_OK;
    }
    HResult GetLibAttr(LibAttr** attr) override {
      if (!attr) return E_INVALIDARG;
      const TypeLibDesc& d = lib().desc();
      *attr = new (std::nothrow) LibAttr{*d.libid, d.lcid, SYS_WIN64, d.major, d.minor, 0};
      return *attr ? S_OK : E_OUTOFMEMORY;
    }
    HResult GetTypeComp(ITypeComp** comp) override {
      if (comp) *comp = nullptr;
      return E_NOTIMPL;
    }
    HResult GetDocumentation(std::int32_t index, Bstr* name, Bstr* docString, DWord* helpContext,
                             Bstr* helpFile) override {
      if (helpContext) *helpContext = 0;
      if (helpFile) *helpFile = nullptr;
      if (index == -1) {
        setOut(name, lib().desc().name);
        setOut(docString, lib().desc().helpString);
        return S_OK;
      }
      TypeInfoImpl* info = index >= 0 ? lib().info(std::uint32_t(index)) : nullptr;
      if (!info) return TYPE_E_ELEMENTNOTFOUND;
      return info->GetDocumentation(MEMBERID_NIL, name, docString, helpContext, helpFile);
    }
    HResult IsName(char16_t* name, DWord, std::int32_t* found) override {
      if (!name || !found) return E_INVALIDARG;
      *found = 0;
      forEachName(name, [&](TypeInfoImpl*, MemberId) { *found = 1; return false; });
      return S_OK;
    }
    HResult FindName(char16_t* name, DWord, ITypeInfo** infos, MemberId* ids, Word* found) override {
      if (!name || !infos || !ids || !found) return E_INVALIDARG;
      const Word room = *found;
      *found = 0;
      forEachName(name, [&](TypeInfoImpl* info, MemberId id) {
        if (*found >= room) return false;
        info->AddRef();
        infos[*found] = info;
        ids[*found] = id;
        ++*found;
        return true;
      });
      return S_OK;
    }
    void ReleaseTLibAttr(LibAttr* attr) override { delete attr; }

    // Calls f(type, member id) for each type (MEMBERID_NIL) and member so named; f returns
    // whether to go on.
    template <class F>
    void forEachName(const char16_t* name, F f) {
      const std::u16string_view wanted(name);
      for (std::uint32_t i = 0; i < lib().count(); ++i) {
        TypeInfoImpl* info = lib().info(i);
        if (equalsNoCase(toUtf16(info->name()), wanted) && !f(info, MEMBERID_NIL)) return;
        if (const DispInterfaceDesc* d = info->dispatch())
          for (const DispEntry& e : d->members)
            if (equalsNoCase(toUtf16(e.name), wanted) && !f(info, e.id)) return;
      }
    }
  } xTypeLib_;

  static const InterfaceEntry kEntries[];
  static const InterfaceMap kMap;

  const TypeLibDesc& desc_;
  TypeLibrary* standard_;
  std::vector<std::unique_ptr<TypeInfoImpl>> infos_;
};

const ComObject::InterfaceEntry TypeLibrary::kEntries[] = {
    interfaceEntry<ITypeLib, &TypeLibrary::xTypeLib_>(IID_ITypeLib)};
const ComObject::InterfaceMap TypeLibrary::kMap{&ComObject::kInterfaceMap, kEntries};

// ---- TypeInfoImpl ---------------------------------------------------------------------------------

std::uint32_t TypeInfoImpl::AddRef() { return lib_.AddRef(); }
std::uint32_t TypeInfoImpl::Release() { return lib_.Release(); }

void TypeInfoImpl::resolveReferences(TypeInfoImpl* (*find)(TypeLibrary&, const Guid&)) {
  auto add = [&](const Guid& guid) {
    if (refOf(guid)) return;
    if (TypeInfoImpl* target = find(lib_, guid)) refs_.push_back(target);
  };
  if (dispatch_) {
    for (const DispEntry& e : dispatch_->members) {
      for (std::uint8_t p = 0; p <= e.paramCount; ++p) {
        const DispType t = p == 0 ? e.type : e.params[p - 1].type;
        if (t == DispType::Color) add(GUID_OLE_COLOR);
        if (t == DispType::Font) add(IID_IFontDisp);
      }
    }
  }
  for (const DispInterfaceDesc* d : implemented())
    if (d->iid) add(*d->iid);
}

void TypeInfoImpl::describe(DispType type, TypeDesc* out, TypeDesc* inner) const {
  switch (type) {
    case DispType::Void: out->vt = VT_VOID; return;
    case DispType::Color:
      out->vt = VT_USERDEFINED;
      out->hreftype = refOf(GUID_OLE_COLOR);
      return;
    case DispType::Font:
      inner->vt = VT_USERDEFINED;
      inner->hreftype = refOf(IID_IFontDisp);
      out->vt = VT_PTR;
      out->lptdesc = inner;
      return;
    default: out->vt = wireType(type); return;
  }
}

HResult TypeInfoImpl::GetTypeAttr(TypeAttr** attr) {
  if (!attr) return E_INVALIDARG;
  auto* a = new (std::nothrow) TypeAttr;
  *attr = a;
  if (!a) return E_OUTOFMEMORY;
  const TypeLibDesc& lib = lib_.desc();
  a->guid = guid();
  a->lcid = lib.lcid;
  a->typekind = typeKind();
  a->wMajorVerNum = lib.major;
  a->wMinorVerNum = lib.minor;
  switch (kind_) {
    case Kind::Alias:
      a->tdescAlias.vt = alias_->aliased;
      a->cbSizeInstance = elementSizeOf(alias_->aliased);
      a->cbAlignment = Word(a->cbSizeInstance);
      break;
    case Kind::Dispatch:
      a->cFuncs = Word(funcs_.size());
      a->cVars = Word(vars_.size());
      a->cbSizeVft = Word(7 * sizeof(void*));  // IDispatch's slots
      a->cbSizeInstance = sizeof(void*);
      a->cbAlignment = alignof(void*);
      a->wTypeFlags = TYPEFLAG_FDISPATCHABLE;
      break;
    case Kind::CoClass:
      a->cImplTypes = Word(implemented().size());
      a->cbSizeInstance = sizeof(void*);
      a->cbAlignment = alignof(void*);
      a->wTypeFlags = coclass_->typeFlags;
      break;
  }
  return S_OK;
}

HResult TypeInfoImpl::GetVarDesc(std::uint32_t index, VarDesc** desc) {
  if (!desc) return E_INVALIDARG;
  *desc = nullptr;
  if (index >= vars_.size()) return TYPE_E_ELEMENTNOTFOUND;
  const DispEntry& e = *vars_[index];
  auto* block = new (std::nothrow) VarBlock;
  if (!block) return E_OUTOFMEMORY;
  block->desc.memid = e.id;
  block->desc.varkind = VAR_DISPATCH;
  describe(e.type, &block->desc.elemdescVar.tdesc, &block->inner);
  if (e.flags & kDispHidden) block->desc.wVarFlags |= VARFLAG_FHIDDEN;
  if (e.flags & kDispReadOnly) block->desc.wVarFlags |= VARFLAG_FREADONLY;
  *desc = &block->desc;
  return S_OK;
}

HResult TypeInfoImpl::GetFuncDesc(std::uint32_t index, FuncDesc** desc) {
  if (!desc) return E_INVALIDARG;
  *desc = nullptr;
  if (index >= funcs_.size()) return TYPE_E_ELEMENTNOTFOUND;
  const DispEntry& e = *funcs_[index];
  auto* block = new (std::nothrow) FuncBlock;
  if (!block) return E_OUTOFMEMORY;
  FuncDesc& f = block->desc;
  f.memid = e.id;
  f.funckind = FUNC_DISPATCH;
  f.invkind = INVOKE_FUNC;
  f.callconv = CC_STDCALL;
  f.cParams = e.paramCount;
  f.lprgelemdescParam = e.paramCount ? block->params : nullptr;
  for (std::uint8_t p = 0; p < e.paramCount; ++p) describe(e.params[p].type, &block->params[p].tdesc, &block->inner[p]);
  describe(e.type, &f.elemdescFunc.tdesc, &block->inner[kMaxDispParams]);
  if (e.flags & kDispHidden) f.wFuncFlags |= FUNCFLAG_FHIDDEN;
  *desc = &f;
  return S_OK;
}

HResult TypeInfoImpl::GetNames(MemberId id, Bstr* names, std::uint32_t maxNames, std::uint32_t* count) {
  if (!names || !count) return E_INVALIDARG;
  *count = 0;
  const DispEntry* e = member(id);
  if (!e) return TYPE_E_ELEMENTNOTFOUND;
  for (std::uint32_t i = 0; i < maxNames && i <= e->paramCount; ++i)
    names[(*count)++] = newBstr(i == 0 ? e->name : e->params[i - 1].name);
  return S_OK;
}

HResult TypeInfoImpl::GetRefTypeOfImplType(std::uint32_t index, HRefType* ref) {
  if (!ref) return E_INVALIDARG;
  const auto list = implemented();
  if (index >= list.size() || !list[index]->iid) return TYPE_E_ELEMENTNOTFOUND;
  *ref = refOf(*list[index]->iid);
  return *ref ? S_OK : TYPE_E_ELEMENTNOTFOUND;
}

HResult TypeInfoImpl::GetImplTypeFlags(std::uint32_t index, std::int32_t* flags) {
  if (!flags) return E_INVALIDARG;
  const auto list = implemented();
  if (index >= list.size()) return TYPE_E_ELEMENTNOTFOUND;
  *flags = IMPLTYPEFLAG_FDEFAULT | (list[index] == coclass_->events ? IMPLTYPEFLAG_FSOURCE : 0);
  return S_OK;
}

HResult TypeInfoImpl::GetDocumentation(MemberId id, Bstr* name, Bstr* docString, DWord* helpContext, Bstr* helpFile) {
  if (helpContext) *helpContext = 0;
  if (helpFile) *helpFile = nullptr;
  if (id == MEMBERID_NIL) {
    setOut(name, this->name());
    setOut(docString, helpString());
    return S_OK;
  }
  const DispEntry* e = member(id);
  if (!e) return TYPE_E_ELEMENTNOTFOUND;
  setOut(name, e->name);
  if (docString) *docString = nullptr;
  return S_OK;
}

HResult TypeInfoImpl::GetRefTypeInfo(HRefType ref, ITypeInfo** info) {
  if (!info) return E_INVALIDARG;
  *info = nullptr;
  if (ref == 0 || ref > refs_.size()) return TYPE_E_ELEMENTNOTFOUND;
  *info = refs_[ref - 1];
  (*info)->AddRef();
  return S_OK;
}

HResult TypeInfoImpl::GetContainingTypeLib(ITypeLib** lib, std::uint32_t* index) {
  if (lib) {
    *lib = lib_.typeLib();
    (*lib)->AddRef();
  }
  if (index) *index = index_;
  return S_OK;
}

}  // namespace

HResult createTypeLib(const TypeLibDesc& desc, ITypeLib** lib) {
  if (!lib) return E_POINTER;
  *lib = nullptr;
  if (!desc.libid) return E_INVALIDARG;
  TypeLibrary* built = nullptr;
  const HResult hr = TypeLibrary::build(desc, {desc.interfaces.begin(), desc.interfaces.end()}, &built);
  if (failed(hr)) return hr;
  *lib = built->typeLib();  // the creation reference becomes the caller's
  return S_OK;
}

HResult createTypeInfo(const DispInterfaceDesc& desc, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  static const TypeLibDesc kNoLibrary{"", &IID_NULL, nullptr, 0, 0, 0, {}, {}, {}};
  TypeLibrary* built = nullptr;
  const HResult hr = TypeLibrary::build(kNoLibrary, {&desc}, &built);
  if (failed(hr)) return hr;
  built->typeLib()->GetTypeInfo(0, info);
  built->Release();
  return S_OK;
}

}  // namespace plat::ole
