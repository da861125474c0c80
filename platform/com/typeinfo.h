#pragma once
// Type information: ITypeInfo and ITypeLib with the published slot order, member layouts and
// flag values. Our type libraries are generated from the dispatch tables (typelib.h); these
// declarations are what clients read them through.
//
// Descriptions handed out by GetTypeAttr, GetFuncDesc, GetVarDesc and GetLibAttr are copies the
// caller owns and gives back with the matching Release method.
#include "platform/com/object.h"

namespace plat::ole {

inline constexpr Guid IID_ITypeInfo{0x00020401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr Guid IID_ITypeLib{0x00020402, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

using MemberId = DispId;
using HRefType = DWord;
constexpr MemberId MEMBERID_NIL = -1;

enum TypeKind : std::int32_t {
  TKIND_ENUM = 0, TKIND_RECORD = 1, TKIND_MODULE = 2, TKIND_INTERFACE = 3,
  TKIND_DISPATCH = 4, TKIND_COCLASS = 5, TKIND_ALIAS = 6, TKIND_UNION = 7,
};

// Type flags (TYPEATTR::wTypeFlags).
constexpr Word TYPEFLAG_FAPPOBJECT = 0x1;
constexpr Word TYPEFLAG_FCANCREATE = 0x2;
constexpr Word TYPEFLAG_FLICENSED = 0x4;
constexpr Word TYPEFLAG_FHIDDEN = 0x10;
constexpr Word TYPEFLAG_FCONTROL = 0x20;
constexpr Word TYPEFLAG_FDUAL = 0x40;
constexpr Word TYPEFLAG_FNONEXTENSIBLE = 0x80;
constexpr Word TYPEFLAG_FOLEAUTOMATION = 0x100;
constexpr Word TYPEFLAG_FDISPATCHABLE = 0x1000;

// Variable and function flags.
constexpr Word VARFLAG_FREADONLY = 0x1;
constexpr Word VARFLAG_FSOURCE = 0x2;
constexpr Word VARFLAG_FBINDABLE = 0x4;
constexpr Word VARFLAG_FHIDDEN = 0x40;
constexpr Word FUNCFLAG_FRESTRICTED = 0x1;
constexpr Word FUNCFLAG_FSOURCE = 0x2;
constexpr Word FUNCFLAG_FBINDABLE = 0x4;
constexpr Word FUNCFLAG_FHIDDEN = 0x40;

// Implemented-interface flags of a coclass.
constexpr std::int32_t IMPLTYPEFLAG_FDEFAULT = 0x1;
constexpr std::int32_t IMPLTYPEFLAG_FSOURCE = 0x2;
constexpr std::int32_t IMPLTYPEFLAG_FRESTRICTED = 0x4;

enum InvokeKind : std::int32_t { INVOKE_FUNC = 1, INVOKE_PROPERTYGET = 2, INVOKE_PROPERTYPUT = 4, INVOKE_PROPERTYPUTREF = 8 };
enum FuncKind : std::int32_t { FUNC_VIRTUAL = 0, FUNC_PUREVIRTUAL = 1, FUNC_NONVIRTUAL = 2, FUNC_STATIC = 3, FUNC_DISPATCH = 4 };
enum VarKind : std::int32_t { VAR_PERINSTANCE = 0, VAR_STATIC = 1, VAR_CONST = 2, VAR_DISPATCH = 3 };
enum CallConv : std::int32_t { CC_CDECL = 1, CC_STDCALL = 4 };
enum SysKind : std::int32_t { SYS_WIN16 = 0, SYS_WIN32 = 1, SYS_MAC = 2, SYS_WIN64 = 3 };

// A type: a VARIANT type code, VT_PTR to another type, or VT_USERDEFINED naming a type through
// an HRefType that GetRefTypeInfo resolves.
struct TypeDesc {
  union {
    const TypeDesc* lptdesc;  // VT_PTR
    HRefType hreftype;        // VT_USERDEFINED
  };
  VarType vt = VT_EMPTY;
  TypeDesc() : lptdesc(nullptr) {}
};

constexpr Word PARAMFLAG_NONE = 0;
constexpr Word PARAMFLAG_FIN = 0x1;
constexpr Word PARAMFLAG_FOUT = 0x2;
constexpr Word PARAMFLAG_FRETVAL = 0x8;

struct ParamDesc {
  void* pparamdescex = nullptr;
  Word wParamFlags = PARAMFLAG_NONE;
};

struct ElemDesc {
  TypeDesc tdesc;
  ParamDesc paramdesc;
};

struct TypeAttr {
  Guid guid;
  Lcid lcid = 0;
  DWord dwReserved = 0;
  MemberId memidConstructor = MEMBERID_NIL;
  MemberId memidDestructor = MEMBERID_NIL;
  char16_t* lpstrSchema = nullptr;
  DWord cbSizeInstance = 0;
  TypeKind typekind = TKIND_DISPATCH;
  Word cFuncs = 0;
  Word cVars = 0;
  Word cImplTypes = 0;
  Word cbSizeVft = 0;
  Word cbAlignment = 0;
  Word wTypeFlags = 0;
  Word wMajorVerNum = 0;
  Word wMinorVerNum = 0;
  TypeDesc tdescAlias;  // TKIND_ALIAS: the aliased type
};

struct FuncDesc {
  MemberId memid = MEMBERID_NIL;
  HResult* lprgscode = nullptr;
  ElemDesc* lprgelemdescParam = nullptr;
  FuncKind funckind = FUNC_DISPATCH;
  InvokeKind invkind = INVOKE_FUNC;
  CallConv callconv = CC_STDCALL;
  std::int16_t cParams = 0;
  std::int16_t cParamsOpt = 0;
  std::int16_t oVft = 0;
  std::int16_t cScodes = 0;
  ElemDesc elemdescFunc;  // the result
  Word wFuncFlags = 0;
};

struct VarDesc {
  MemberId memid = MEMBERID_NIL;
  char16_t* lpstrSchema = nullptr;
  union {
    DWord oInst;
    Variant* lpvarValue;
  };
  ElemDesc elemdescVar;
  Word wVarFlags = 0;
  VarKind varkind = VAR_DISPATCH;
  VarDesc() : oInst(0) {}
};

struct LibAttr {
  Guid guid;
  Lcid lcid = 0;
  SysKind syskind = SYS_WIN64;
  Word wMajorVerNum = 0;
  Word wMinorVerNum = 0;
  Word wLibFlags = 0;
};

class ITypeComp;
class ITypeLib;

class ITypeInfo : public IUnknown {
 public:
  virtual HResult GetTypeAttr(TypeAttr** attr) = 0;
  virtual HResult GetTypeComp(ITypeComp** comp) = 0;
  virtual HResult GetFuncDesc(std::uint32_t index, FuncDesc** desc) = 0;
  virtual HResult GetVarDesc(std::uint32_t index, VarDesc** desc) = 0;
  // names[0] is the member's name, then its parameters' names.
  virtual HResult GetNames(MemberId id, Bstr* names, std::uint32_t maxNames, std::uint32_t* count) = 0;
  virtual HResult GetRefTypeOfImplType(std::uint32_t index, HRefType* ref) = 0;
  virtual HResult GetImplTypeFlags(std::uint32_t index, std::int32_t* flags) = 0;
  virtual HResult GetIDsOfNames(const char16_t* const* names, std::uint32_t count, MemberId* ids) = 0;
  virtual HResult Invoke(void* instance, MemberId id, Word flags, DispParams* params, Variant* result,
                         ExcepInfo* excepInfo, std::uint32_t* argErr) = 0;
  // MEMBERID_NIL describes the type itself. Every out pointer may be null.
  virtual HResult GetDocumentation(MemberId id, Bstr* name, Bstr* docString, DWord* helpContext, Bstr* helpFile) = 0;
  virtual HResult GetDllEntry(MemberId id, InvokeKind kind, Bstr* dllName, Bstr* name, Word* ordinal) = 0;
  virtual HResult GetRefTypeInfo(HRefType ref, ITypeInfo** info) = 0;
  virtual HResult AddressOfMember(MemberId id, InvokeKind kind, void** address) = 0;
  virtual HResult CreateInstance(IUnknown* outer, const Guid& iid, void** object) = 0;
  virtual HResult GetMops(MemberId id, Bstr* mops) = 0;
  virtual HResult GetContainingTypeLib(ITypeLib** lib, std::uint32_t* index) = 0;
  virtual void ReleaseTypeAttr(TypeAttr* attr) = 0;
  virtual void ReleaseFuncDesc(FuncDesc* desc) = 0;
  virtual void ReleaseVarDesc(VarDesc* desc) = 0;

 protected:
  ~ITypeInfo() = default;
};

class ITypeLib : public IUnknown {
 public:
  virtual std::uint32_t GetTypeInfoCount() = 0;
  virtual HResult GetTypeInfo(std::uint32_t index, ITypeInfo** info) = 0;
  virtual HResult GetTypeInfoType(std::uint32_t index, TypeKind* kind) = 0;
  virtual HResult GetTypeInfoOfGuid(const Guid& guid, ITypeInfo** info) = 0;
  virtual HResult GetLibAttr(LibAttr** attr) = 0;
  virtual HResult GetTypeComp(ITypeComp** comp) = 0;
  // Index -1 describes the library itself.
  virtual HResult GetDocumentation(std::int32_t index, Bstr* name, Bstr* docString, DWord* helpContext,
                                   Bstr* helpFile) = 0;
  virtual HResult IsName(char16_t* name, DWord hash, std::int32_t* found) = 0;
  virtual HResult FindName(char16_t* name, DWord hash, ITypeInfo** infos, MemberId* ids, Word* found) = 0;
  virtual void ReleaseTLibAttr(LibAttr* attr) = 0;

 protected:
  ~ITypeLib() = default;
};

}  // namespace plat::ole
