// profcli: reads and writes profile values and sections through the profile store's exports.
//
//   profcli [--ini FILE | --root ROOT] [--section SECTION] [--type-control] COMMAND [ARGS]
//
// Prints one line "rc=<code>" followed by " value=..." when a read succeeds (enumerations print
// one line per item first). The exit status is 0 when the code is 0, else 1.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/profdesc.h"
#include "platform/base/numtext.h"
#include "platform/base/text.h"
#include "profile/profile.h"

namespace {

const char kUsage[] =
    "usage: profcli [--ini FILE | --root ROOT] [--section SECTION] [--type-control] COMMAND [ARGS]\n"
    "commands:\n"
    "  get-string NAME | get-int NAME | get-dword NAME | get-binary NAME | get-value NAME\n"
    "  set-string NAME TEXT | set-int NAME N | set-dword NAME N | set-binary NAME HEX\n"
    "  set-value NAME TYPE HEX\n"
    "  delete-value NAME | delete-section | create-section\n"
    "  count-values | count-sections | enum-values | enum-sections\n"
    "NAME may hold a relative section path (a\\b\\Count); HEX is pairs of hex digits.\n";

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

std::string hexOf(const std::vector<std::uint8_t>& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
  }
  return text;
}

bool parseHex(std::string_view text, std::vector<std::uint8_t>* bytes) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string compact;
  for (char c : text) {
    if (c != ' ') compact += c;
  }
  if (compact.size() % 2) return false;
  bytes->clear();
  for (std::size_t i = 0; i < compact.size(); i += 2) {
    const int hi = digit(compact[i]);
    const int lo = digit(compact[i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes->push_back(static_cast<std::uint8_t>(hi << 4 | lo));
  }
  return true;
}

// Decimal, or hexadecimal after "0x".
bool parseDWord(std::string_view text, std::uint32_t* value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::vector<std::uint8_t> bytes;
    std::string digits(text.substr(2));
    if (digits.size() > 8) return false;
    if (digits.size() % 2) digits.insert(digits.begin(), '0');
    if (!parseHex(digits, &bytes)) return false;
    std::uint32_t v = 0;
    for (std::uint8_t b : bytes) v = v << 8 | b;
    *value = v;
    return true;
  }
  return plat::parseUInt32(text, value);
}

int report(int rc, const std::string& value = {}) {
  if (rc == PROF_OK && !value.empty()) {
    std::printf("rc=%d value=%s\n", rc, value.c_str());
  } else {
    std::printf("rc=%d\n", rc);
  }
  return rc == PROF_OK ? 0 : 1;
}

struct Command {
  std::string name;
  std::vector<std::string> args;
};

int run(COrvProfDesc& desc, const Command& cmd) {
  const auto& a = cmd.args;
  auto need = [&](std::size_t n) { return a.size() == n; };
  const plat::String16 name = a.empty() ? plat::String16() : plat::toUtf16(a[0]);

  if (cmd.name == "get-string" && need(1)) {
    plat::String16 text;
    const int rc = OrvGetProfCString(name.c_str(), &text, nullptr, &desc);
    return rc == PROF_OK ? (std::printf("rc=0 value=%s\n", plat::toUtf8(text).c_str()), 0) : report(rc);
  }
  if (cmd.name == "get-int" && need(1)) {
    int value = 0;
    const int rc = OrvGetProfInt(name.c_str(), &value, 0, &desc);
    return report(rc, plat::formatInt(value));
  }
  if (cmd.name == "get-dword" && need(1)) {
    std::uint32_t value = 0;
    const int rc = OrvGetProfDWord(name.c_str(), &value, 0, &desc);
    return report(rc, plat::formatUInt(value));
  }
  if ((cmd.name == "get-binary" || cmd.name == "get-value") && need(1)) {
    const bool any = cmd.name == "get-value";
    unsigned length = 0;
    int type = 0;
    int rc = any ? OrvGetProfValue(name.c_str(), nullptr, &length, &type, &desc)
                 : OrvGetProfBinary(name.c_str(), nullptr, &length, &desc);
    if (rc != PROF_OK && rc != PROF_MORE_DATA) return report(rc);
    std::vector<std::uint8_t> bytes(length);
    rc = any ? OrvGetProfValue(name.c_str(), bytes.data(), &length, &type, &desc)
             : OrvGetProfBinary(name.c_str(), bytes.data(), &length, &desc);
    if (rc != PROF_OK) return report(rc);
    bytes.resize(length);
    if (any) {
      std::printf("rc=0 type=%d value=%s\n", type, hexOf(bytes).c_str());
      return 0;
    }
    return rc == PROF_OK ? (std::printf("rc=0 value=%s\n", hexOf(bytes).c_str()), 0) : report(rc);
  }
  if (cmd.name == "set-string" && need(2)) {
    return report(OrvSetProfString(name.c_str(), plat::toUtf16(a[1]).c_str(), &desc));
  }
  if (cmd.name == "set-int" && need(2)) {
    std::int32_t value = 0;
    if (!plat::parseInt32(a[1], &value)) return usage();
    return report(OrvSetProfInt(name.c_str(), value, &desc));
  }
  if (cmd.name == "set-dword" && need(2)) {
    std::uint32_t value = 0;
    if (!parseDWord(a[1], &value)) return usage();
    return report(OrvSetProfDWord(name.c_str(), value, &desc));
  }
  if (cmd.name == "set-binary" && need(2)) {
    std::vector<std::uint8_t> bytes;
    if (!parseHex(a[1], &bytes)) return usage();
    return report(OrvSetProfBinary(name.c_str(), bytes.data(), unsigned(bytes.size()), &desc));
  }
  if (cmd.name == "set-value" && need(3)) {
    std::int32_t type = 0;
    std::vector<std::uint8_t> bytes;
    if (!plat::parseInt32(a[1], &type) || !parseHex(a[2], &bytes)) return usage();
    return report(OrvSetProfValue(name.c_str(), bytes.data(), unsigned(bytes.size()), type, &desc));
  }
  if (cmd.name == "delete-value" && need(1)) return report(OrvDeleteProfValue(name.c_str(), &desc));
  if (cmd.name == "delete-section" && need(0)) return report(OrvDeleteProfSection(&desc));
  if (cmd.name == "create-section" && need(0)) {
    const int rc = desc.Create(PROF_MODE_ALL, 0);
    if (rc == PROF_OK) desc.Close();
    return report(rc);
  }
  if ((cmd.name == "count-values" || cmd.name == "count-sections") && need(0)) {
    int count = 0;
    const int rc = cmd.name == "count-values" ? OrvGetProfValues(&count, &desc) : OrvGetProfSections(&count, &desc);
    return report(rc, plat::formatInt(count));
  }
  if ((cmd.name == "enum-values" || cmd.name == "enum-sections") && need(0)) {
    const bool values = cmd.name == "enum-values";
    // Open once, so the enumeration sees one state of the section.
    int rc = desc.Open(values ? PROF_ACCESS_READ : PROF_ACCESS_ENUM);
    if (rc != PROF_OK) return report(rc);
    int count = 0;
    for (;; ++count) {
      std::vector<char16_t> buffer(256);
      int type = 0;
      for (;;) {
        rc = values ? OrvEnumProfValue(count, buffer.data(), unsigned(buffer.size()), &type, &desc)
                    : OrvEnumProfSection(count, buffer.data(), unsigned(buffer.size()), &desc);
        if (rc != PROF_MORE_DATA || buffer.size() >= (1u << 20)) break;
        buffer.resize(buffer.size() * 2);
      }
      if (rc != PROF_OK) break;
      const std::string itemName = plat::toUtf8(buffer.data());
      if (values) {
        std::printf("%d: %s type=%d\n", count, itemName.c_str(), type);
      } else {
        std::printf("%d: %s\n", count, itemName.c_str());
      }
    }
    desc.Close();
    if (rc == PROF_NO_MORE_ITEMS) rc = PROF_OK;
    return report(rc, plat::formatInt(count));
  }
  return usage();
}

}  // namespace

int main(int argc, char** argv) {
  std::string iniFile, root, section;
  bool ini = false, typeControl = false;
  Command cmd;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if ((arg == "--ini" || arg == "--root" || arg == "--section") && i + 1 < argc) {
      const std::string value = argv[++i];
      if (arg == "--ini") {
        iniFile = value;
        ini = true;
      } else if (arg == "--root") {
        root = value;
      } else {
        section = value;
      }
    } else if (arg == "--type-control") {
      typeControl = true;
    } else if (arg.starts_with("--")) {
      return usage();
    } else {
      break;
    }
  }
  if (i >= argc || (ini && !root.empty())) return usage();
  cmd.name = argv[i++];
  for (; i < argc; ++i) cmd.args.emplace_back(argv[i]);

  if (typeControl) OrvSetIniTypeControl(1);
  COrvProfDesc desc(plat::toUtf16(ini ? iniFile : root).c_str(), plat::toUtf16(section).c_str());
  if (ini) desc.SetIni(true);
  const int status = run(desc, cmd);
  desc.Close();
  // Write back every INI file still cached.
  OrvSetIniCacheMode(0);
  return status;
}
