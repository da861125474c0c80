#pragma once
// Builds Bruker data set folders for the tests: parameter files in the shapes real instruments
// write, and data files in either byte order and either sample type, encoded here byte by byte
// so the reader is checked against an encoding of its own.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "../../tests/test_files.h"

namespace bruker_test {

enum class Type { Int32, Float64 };

// The bytes of the values in the given type and byte order.
inline std::string Encode(const std::vector<double>& values, Type type, bool bigEndian) {
  std::string out;
  for (double v : values) {
    std::uint64_t bits = 0;
    std::size_t size = 4;
    if (type == Type::Int32) {
      bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(v));
    } else {
      std::memcpy(&bits, &v, 8);
      size = 8;
    }
    for (std::size_t i = 0; i < size; ++i) {
      const std::size_t shift = 8 * (bigEndian ? size - 1 - i : i);
      out.push_back(static_cast<char>((bits >> shift) & 0xFF));
    }
  }
  return out;
}

// A parameter file as the instrument software writes it: title, version and data type, a
// comment line, the labels, an array of numbers, an array of bracketed strings, and "##END="
// without a final line end.
inline std::string ParamFile(const std::string& dataType, const std::vector<std::pair<std::string, std::string>>& labels,
                             const std::string& kind = "acqus") {
  std::string s = "##TITLE= Parameter file, test writer\t\tVersion 2.6\n";
  s += "##JCAMPDX= 5.0\n";
  s += "##DATATYPE= " + dataType + "\n";
  s += "##ORIGIN= Test instruments\n";
  s += "##OWNER= tester\n";
  s += "$$ Mon Jan 10 10:00:00 2000 UTC tester@host\n";
  s += "$$ /data/tester/nmr/sample/1/" + kind + "\n";
  s += "##$AMP= (0..7)\n100 100 100 100 100 100 100 100\n";
  for (const auto& [name, value] : labels) s += "##$" + name + "= " + value + "\n";
  s += "##$CPDPRG= (0..3)\n<> <mlev> <> <waltz16>\n";
  s += "##$D= (0..3)\n3e-06 1.5 0.0345\n0.002\n";
  s += "##$NUC1= <1H>\n";
  s += "##END=";
  return s;
}

inline void Write(const std::string& path, const std::string& bytes) {
  plat::makeDirectories(std::string(plat::pathDirectory(path)));
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// One experiment with its processing folders.
struct Experiment {
  std::string name = "1";
  std::vector<std::pair<std::string, std::string>> acqus;
  std::string fid;        // written unless writeFid is false
  std::string ser;        // written for 2D experiments unless writeSer is false
  bool twoD = false;      // writes acqu2 (and acqu2s)
  bool writeFid = true;
  bool writeSer = true;
  struct Processing {
    std::string name = "1";
    std::vector<std::pair<std::string, std::string>> procs;
    std::string r1, i1;   // 1r and 1i (not written when empty)
    std::string intrng;   // not written when empty
    std::string title;    // not written when empty
  };
  std::vector<Processing> processings;
};

// Writes a data set folder below the test scratch folder (or below parent) and returns its path.
inline std::string WriteDataSet(const std::string& name, const std::vector<Experiment>& experiments,
                                const std::string& dataType = "Parameter Values", const std::string& parent = "") {
  const std::string root = plat::joinPath(parent.empty() ? convert_test::ScratchDir("bruker") : parent, name);
  plat::removeTree(root);
  // Files and folders beside the experiments that are no experiments, before and after them
  // in name order: a folder with an extension, the folder of AppleDouble files an archive made
  // on a Mac unpacks beside the experiments (whose "._acqus" is no parameter file), a folder
  // of the user's.
  Write(plat::joinPath(root, "README"), "not an experiment\n");
  plat::makeDirectories(plat::joinPath(root, "scratch.old"));
  for (const Experiment& e : experiments)
    Write(plat::joinPath(root, "__MACOSX/" + e.name + "/._acqus"), std::string("\0\5\26\7\0\2\0\0Mac OS X", 16));
  plat::makeDirectories(plat::joinPath(root, "0notes"));
  plat::makeDirectories(plat::joinPath(root, "zz_backup/pdata/1"));
  for (const Experiment& e : experiments) {
    const std::string dir = plat::joinPath(root, e.name);
    const std::string acqus = ParamFile(dataType, e.acqus);
    Write(plat::joinPath(dir, "acqus"), acqus);
    Write(plat::joinPath(dir, "acqu"), acqus);
    if (e.twoD) {
      const std::string acqu2 = ParamFile(dataType, {{"TD", "64"}, {"SW_h", "2000"}}, "acqu2s");
      Write(plat::joinPath(dir, "acqu2"), acqu2);
      Write(plat::joinPath(dir, "acqu2s"), acqu2);
    }
    if (e.writeFid && !e.twoD) Write(plat::joinPath(dir, "fid"), e.fid);
    if (e.writeSer && e.twoD) Write(plat::joinPath(dir, "ser"), e.ser);
    // Files and folders the reader must pass over.
    Write(plat::joinPath(dir, "pulseprogram"), "# test pulse program\nzg\n");
    Write(plat::joinPath(dir, "audita.txt"), "audit trail\n");
    for (const Experiment::Processing& p : e.processings) {
      const std::string pdir = plat::joinPath(plat::joinPath(dir, "pdata"), p.name);
      Write(plat::joinPath(pdir, "procs"), ParamFile(dataType, p.procs, "procs"));
      Write(plat::joinPath(pdir, "proc"), ParamFile(dataType, p.procs, "proc"));
      if (!p.r1.empty()) Write(plat::joinPath(pdir, "1r"), p.r1);
      if (!p.i1.empty()) Write(plat::joinPath(pdir, "1i"), p.i1);
      if (!p.intrng.empty()) Write(plat::joinPath(pdir, "intrng"), p.intrng);
      if (!p.title.empty()) Write(plat::joinPath(pdir, "title"), p.title);
      Write(plat::joinPath(pdir, "outd"), "output device\n");
    }
  }
  return root;
}

}  // namespace bruker_test
