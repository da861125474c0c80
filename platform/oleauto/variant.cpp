// BSTR allocation, VARIANT lifetime and one-dimensional SAFEARRAYs.
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "platform/oleauto/oleauto.h"

namespace plat::ole {

// ---- BSTR ------------------------------------------------------------------------------------

namespace {

// Largest byte length a BSTR may have: the prefix is 32 bits, and we keep room for the prefix
// and the terminator in a size that cannot overflow.
constexpr std::uint32_t kMaxBstrBytes = 0x7FFFFFF0u;

std::uint32_t* prefixOf(const char16_t* text) {
  return reinterpret_cast<std::uint32_t*>(
      reinterpret_cast<std::uint8_t*>(const_cast<char16_t*>(text)) - sizeof(std::uint32_t));
}

}  // namespace

Bstr allocStringByteLen(const void* bytes, std::uint32_t byteCount) {
  if (byteCount > kMaxBstrBytes) return nullptr;
  // Prefix, text, and a 16-bit terminator after any odd byte count.
  const std::size_t total = sizeof(std::uint32_t) + byteCount + 2 + (byteCount & 1u);
  auto* block = static_cast<std::uint8_t*>(std::malloc(total));
  if (!block) return nullptr;
  std::memcpy(block, &byteCount, sizeof byteCount);
  std::uint8_t* text = block + sizeof(std::uint32_t);
  if (bytes)
    std::memcpy(text, bytes, byteCount);
  else
    std::memset(text, 0, byteCount);
  std::memset(text + byteCount, 0, total - sizeof(std::uint32_t) - byteCount);
  return reinterpret_cast<Bstr>(text);
}

Bstr allocStringLen(const char16_t* text, std::uint32_t chars) {
  if (chars > kMaxBstrBytes / 2) return nullptr;
  return allocStringByteLen(text, chars * 2);
}

Bstr allocString(const char16_t* text) {
  if (!text) return nullptr;
  std::size_t n = 0;
  while (text[n]) ++n;
  if (n > kMaxBstrBytes / 2) return nullptr;
  return allocStringLen(text, static_cast<std::uint32_t>(n));
}

Bstr allocString(std::u16string_view text) {
  if (text.size() > kMaxBstrBytes / 2) return nullptr;
  return allocStringByteLen(text.data(), static_cast<std::uint32_t>(text.size() * 2));
}

void freeString(Bstr text) {
  if (text) std::free(prefixOf(text));
}

std::uint32_t stringByteLen(const char16_t* text) { return text ? *prefixOf(text) : 0; }
std::uint32_t stringLen(const char16_t* text) { return stringByteLen(text) / 2; }

std::u16string_view stringView(const char16_t* text) {
  return text ? std::u16string_view(text, stringLen(text)) : std::u16string_view();
}

// ---- SAFEARRAY -------------------------------------------------------------------------------

std::uint32_t elementSizeOf(VarType vt) {
  switch (vt) {
    case VT_I1: case VT_UI1: return 1;
    case VT_I2: case VT_UI2: case VT_BOOL: return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR: return 4;
    case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: return 8;
    case VT_BSTR: return sizeof(Bstr);
    case VT_UNKNOWN: case VT_DISPATCH: return sizeof(IUnknown*);
    case VT_VARIANT: return sizeof(Variant);
    default: return 0;
  }
}

namespace {

// Frees what one element owns and zeroes it.
void clearElement(VarType vt, void* element) {
  switch (vt) {
    case VT_VARIANT: variantClear(static_cast<Variant*>(element)); break;
    case VT_BSTR: {
      auto* s = static_cast<Bstr*>(element);
      freeString(*s);
      *s = nullptr;
      break;
    }
    case VT_UNKNOWN: case VT_DISPATCH: {
      auto* p = static_cast<IUnknown**>(element);
      if (*p) (*p)->Release();
      *p = nullptr;
      break;
    }
    default: std::memset(element, 0, elementSizeOf(vt)); break;
  }
}

// Copies one element into zeroed storage.
HResult copyElement(VarType vt, void* dest, const void* source) {
  switch (vt) {
    case VT_VARIANT: return variantCopy(static_cast<Variant*>(dest), *static_cast<const Variant*>(source));
    case VT_BSTR: {
      const Bstr s = *static_cast<const Bstr*>(source);
      Bstr copy = nullptr;
      if (s) {
        copy = allocStringByteLen(s, stringByteLen(s));
        if (!copy) return kOutOfMemory;
      }
      *static_cast<Bstr*>(dest) = copy;
      return kOk;
    }
    case VT_UNKNOWN: case VT_DISPATCH: {
      IUnknown* p = *static_cast<IUnknown* const*>(source);
      if (p) p->AddRef();
      *static_cast<IUnknown**>(dest) = p;
      return kOk;
    }
    default: std::memcpy(dest, source, elementSizeOf(vt)); return kOk;
  }
}

bool indexInRange(const SafeArray* array, std::int32_t index, std::size_t* offset) {
  const std::int64_t rel = static_cast<std::int64_t>(index) - array->lowerBound;
  if (rel < 0 || rel >= static_cast<std::int64_t>(array->count)) return false;
  *offset = static_cast<std::size_t>(rel) * array->elementSize;
  return true;
}

// The byte offset of the element at one index per dimension; dimension 1 varies fastest.
bool indicesInRange(const SafeArray* array, const std::int32_t* indices, std::size_t* offset) {
  if (!indices) return false;
  std::uint64_t flat = 0, stride = 1;
  for (std::uint16_t d = 0; d < array->dims; ++d) {
    const SafeArrayBound& b = array->bounds[d];
    const std::int64_t rel = static_cast<std::int64_t>(indices[d]) - b.lowerBound;
    if (rel < 0 || rel >= static_cast<std::int64_t>(b.count)) return false;
    flat += static_cast<std::uint64_t>(rel) * stride;
    stride *= b.count;
  }
  *offset = static_cast<std::size_t>(flat) * array->elementSize;
  return true;
}

}  // namespace

SafeArray* safeArrayCreate(VarType vt, std::uint16_t dims, const SafeArrayBound* bounds) {
  const std::uint32_t size = elementSizeOf(vt);
  if (size == 0 || dims == 0 || dims > kSafeArrayMaxDims || !bounds) return nullptr;
  std::uint64_t total = 1;
  for (std::uint16_t d = 0; d < dims; ++d) {
    const SafeArrayBound& b = bounds[d];
    // Each upper bound must stay a 32-bit signed index, and so must the element count.
    if (b.count > 0 && static_cast<std::int64_t>(b.lowerBound) + b.count - 1 > std::numeric_limits<std::int32_t>::max())
      return nullptr;
    total *= b.count;
    if (total > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) return nullptr;
  }
  auto* array = new (std::nothrow) SafeArray;
  if (!array) return nullptr;
  array->dims = dims;
  array->vt = vt;
  array->elementSize = size;
  array->count = static_cast<std::uint32_t>(total);
  array->lowerBound = bounds[0].lowerBound;
  for (std::uint16_t d = 0; d < dims; ++d) array->bounds[d] = bounds[d];
  if (total > 0) {
    array->data = std::calloc(static_cast<std::size_t>(total), size);
    if (!array->data) {
      delete array;
      return nullptr;
    }
  }
  return array;
}

SafeArray* safeArrayCreateVector(VarType vt, std::int32_t lowerBound, std::uint32_t count) {
  // The upper bound must stay a 32-bit signed index.
  if (count > 0 && static_cast<std::int64_t>(lowerBound) + count - 1 > std::numeric_limits<std::int32_t>::max())
    return nullptr;
  const SafeArrayBound bound{count, lowerBound};
  return safeArrayCreate(vt, 1, &bound);
}

HResult safeArrayDestroy(SafeArray* array) {
  if (!array) return kOk;
  if (array->locks > 0) return kDispArrayIsLocked;
  auto* bytes = static_cast<std::uint8_t*>(array->data);
  for (std::uint32_t i = 0; i < array->count; ++i) clearElement(array->vt, bytes + std::size_t(i) * array->elementSize);
  std::free(array->data);
  delete array;
  return kOk;
}

HResult safeArrayLock(SafeArray* array) {
  if (!array) return kInvalidArg;
  ++array->locks;
  return kOk;
}

HResult safeArrayUnlock(SafeArray* array) {
  if (!array) return kInvalidArg;
  if (array->locks == 0) return kFail;
  --array->locks;
  return kOk;
}

HResult safeArrayGetLBound(const SafeArray* array, std::uint32_t dim, std::int32_t* bound) {
  if (!array || !bound) return kInvalidArg;
  if (dim < 1 || dim > array->dims) return kDispBadIndex;
  *bound = array->bounds[dim - 1].lowerBound;
  return kOk;
}

HResult safeArrayGetUBound(const SafeArray* array, std::uint32_t dim, std::int32_t* bound) {
  if (!array || !bound) return kInvalidArg;
  if (dim < 1 || dim > array->dims) return kDispBadIndex;
  const SafeArrayBound& b = array->bounds[dim - 1];
  *bound = static_cast<std::int32_t>(static_cast<std::int64_t>(b.lowerBound) + b.count - 1);
  return kOk;
}

HResult safeArrayPtrOfIndex(SafeArray* array, std::int32_t index, void** element) {
  if (!array || !element) return kInvalidArg;
  std::size_t offset = 0;
  if (!indexInRange(array, index, &offset)) return kDispBadIndex;
  *element = static_cast<std::uint8_t*>(array->data) + offset;
  return kOk;
}

HResult safeArrayGetElement(const SafeArray* array, std::int32_t index, void* out) {
  if (!array || !out) return kInvalidArg;
  std::size_t offset = 0;
  if (!indexInRange(array, index, &offset)) return kDispBadIndex;
  std::memset(out, 0, array->elementSize);
  return copyElement(array->vt, out, static_cast<const std::uint8_t*>(array->data) + offset);
}

namespace {

HResult putElementAt(SafeArray* array, std::size_t offset, const void* in) {
  void* element = static_cast<std::uint8_t*>(array->data) + offset;
  if (element == in) return kOk;
  // Copy first, so a failed copy leaves the old element in place.
  alignas(Variant) std::uint8_t scratch[sizeof(Variant)] = {};
  const HResult hr = copyElement(array->vt, scratch, in);
  if (failed(hr)) return hr;
  clearElement(array->vt, element);
  std::memcpy(element, scratch, array->elementSize);
  return kOk;
}

}  // namespace

HResult safeArrayPutElement(SafeArray* array, std::int32_t index, const void* in) {
  if (!array || !in) return kInvalidArg;
  std::size_t offset = 0;
  if (!indexInRange(array, index, &offset)) return kDispBadIndex;
  return putElementAt(array, offset, in);
}

HResult safeArrayGetElementAt(const SafeArray* array, const std::int32_t* indices, void* out) {
  if (!array || !out) return kInvalidArg;
  std::size_t offset = 0;
  if (!indicesInRange(array, indices, &offset)) return kDispBadIndex;
  std::memset(out, 0, array->elementSize);
  return copyElement(array->vt, out, static_cast<const std::uint8_t*>(array->data) + offset);
}

HResult safeArrayPutElementAt(SafeArray* array, const std::int32_t* indices, const void* in) {
  if (!array || !in) return kInvalidArg;
  std::size_t offset = 0;
  if (!indicesInRange(array, indices, &offset)) return kDispBadIndex;
  return putElementAt(array, offset, in);
}

SafeArray* safeArrayCopy(const SafeArray* array) {
  if (!array) return nullptr;
  SafeArray* copy = safeArrayCreate(array->vt, array->dims, array->bounds);
  if (!copy) return nullptr;
  const auto* from = static_cast<const std::uint8_t*>(array->data);
  auto* to = static_cast<std::uint8_t*>(copy->data);
  for (std::uint32_t i = 0; i < array->count; ++i) {
    const std::size_t offset = std::size_t(i) * array->elementSize;
    if (failed(copyElement(array->vt, to + offset, from + offset))) {
      safeArrayDestroy(copy);
      return nullptr;
    }
  }
  return copy;
}

// ---- VARIANT ---------------------------------------------------------------------------------

void variantInit(Variant* v) { std::memset(v, 0, sizeof *v); }

HResult variantClear(Variant* v) {
  if (!v) return kInvalidArg;
  if (!(v->vt & VT_BYREF)) {
    if (v->vt & VT_ARRAY) {
      if (v->array) {
        // A locked array still belongs to someone who reads it; refuse rather than free it.
        const HResult hr = safeArrayDestroy(v->array);
        if (failed(hr)) return hr;
      }
    } else {
      switch (v->vt) {
        case VT_BSTR: freeString(v->bstr); break;
        case VT_UNKNOWN: case VT_DISPATCH:
          if (v->unknown) v->unknown->Release();
          break;
        default: break;
      }
    }
  }
  variantInit(v);
  return kOk;
}

HResult variantCopy(Variant* dest, const Variant& source) {
  if (!dest) return kInvalidArg;
  if (dest == &source) return kOk;
  Variant copy = source;  // the 16 bytes, reserved words included
  if (!(source.vt & VT_BYREF)) {
    if (source.vt & VT_ARRAY) {
      if (source.array) {
        copy.array = safeArrayCopy(source.array);
        if (!copy.array) return kOutOfMemory;
      }
    } else if (source.vt == VT_BSTR) {
      if (source.bstr) {
        copy.bstr = allocStringByteLen(source.bstr, stringByteLen(source.bstr));
        if (!copy.bstr) return kOutOfMemory;
      }
    } else if (source.vt == VT_UNKNOWN || source.vt == VT_DISPATCH) {
      if (source.unknown) source.unknown->AddRef();
    }
  }
  const HResult hr = variantClear(dest);
  if (failed(hr)) {
    variantClear(&copy);
    return hr;
  }
  *dest = copy;
  return kOk;
}

}  // namespace plat::ole
