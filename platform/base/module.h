#pragma once
// Modules: the file a piece of code was loaded from, and the version record that every module
// carries as data compiled into it.
//
// A module is the executable or one of the suite's shared libraries. Code that is linked into
// several modules finds "its own" module by an address inside it, so each module answers for
// itself (its install directory, its version).
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/base/types.h"

namespace plat {

// Absolute path of the module that holds address (a function or object of that module). For the
// executable it is the file /proc/self/exe names. Empty when the address belongs to no module.
String8 moduleFileName(const void* address);
// The directory of that file, without a trailing "/"; empty when the module is unknown.
String8 moduleDirectory(const void* address);

// The fixed part of a file's version information, in its published 52-byte layout (thirteen
// 32-bit words, little-endian in files).
struct FixedFileInfo {
  DWord signature = 0;          // kVersionSignature
  DWord strucVersion = 0;       // kVersionStrucVersion
  DWord fileVersionMS = 0;      // major << 16 | minor
  DWord fileVersionLS = 0;      // build << 16 | revision
  DWord productVersionMS = 0;
  DWord productVersionLS = 0;
  DWord fileFlagsMask = 0;
  DWord fileFlags = 0;
  DWord fileOS = 0;
  DWord fileType = 0;
  DWord fileSubtype = 0;
  DWord fileDateMS = 0;
  DWord fileDateLS = 0;
};
static_assert(sizeof(FixedFileInfo) == 52);

constexpr DWord kVersionSignature = 0xFEEF04BDu;
constexpr DWord kVersionStrucVersion = 0x00010000u;
constexpr DWord kVersionFileOS = 0x00040004u;   // the 32-bit desktop platform the files describe
constexpr DWord kVersionTypeApp = 1;
constexpr DWord kVersionTypeDll = 2;

// The record as it lies in a module's file: a 16-byte marker, then the fixed information.
constexpr std::size_t kVersionMarkerSize = 16;
constexpr char kVersionMarker[kVersionMarkerSize + 1] = "KedrusVersionRec";
struct VersionRecord {
  char marker[kVersionMarkerSize];
  FixedFileInfo info;
};
static_assert(sizeof(VersionRecord) == 68);

constexpr VersionRecord makeVersionRecord(Word major, Word minor, Word build, Word revision, DWord fileType) {
  VersionRecord r{};
  for (std::size_t i = 0; i < kVersionMarkerSize; ++i) r.marker[i] = kVersionMarker[i];
  r.info.signature = kVersionSignature;
  r.info.strucVersion = kVersionStrucVersion;
  r.info.fileVersionMS = DWord(major) << 16 | minor;
  r.info.fileVersionLS = DWord(build) << 16 | revision;
  r.info.productVersionMS = r.info.fileVersionMS;
  r.info.productVersionLS = r.info.fileVersionLS;
  r.info.fileFlagsMask = 0x3F;
  r.info.fileOS = kVersionFileOS;
  r.info.fileType = fileType;
  return r;
}

// Reads the version record of a module's file. False when the file cannot be read or holds no
// valid record (a marker followed by the signature and structure version above).
bool readFileVersion(const String8& fileName, FixedFileInfo* info);

}  // namespace plat

// Compiles a module's version record into it; put it once in one source file of the module.
// The record stays in the file even though no code refers to it.
#define KEDRUS_MODULE_VERSION(major, minor, build, revision, fileType)                       \
  extern "C" __attribute__((used, visibility("hidden"))) const ::plat::VersionRecord         \
      kedrusModuleVersionRecord = ::plat::makeVersionRecord(major, minor, build, revision, fileType)
