// The format tables: every kind's formats in index order, and the container format that numbers
// its spectra across kinds. Adding a format is one row here and one leaf of its own.
#include "spectrum/convert/acd.h"
#include "spectrum/convert/asciiexport.h"
#include "spectrum/convert/chemstation.h"
#include "spectrum/convert/galactic.h"
#include "spectrum/convert/jdxconvert.h"
#include "spectrum/convert/masslynx.h"
#include "spectrum/convert/nmr/bruker.h"
#include "spectrum/convert/nmr/cdff.h"
#include "spectrum/convert/nmr/delta.h"
#include "spectrum/convert/nmr/felix.h"
#include "spectrum/convert/nmr/gsx.h"
#include "spectrum/convert/nmr/mestrec.h"
#include "spectrum/convert/nmr/vnmr.h"
#include "spectrum/convert/nmr/vxr.h"
#include "spectrum/convert/nmr/winnmr.h"
#include "spectrum/convert/saturn.h"
#include "spectrum/convert/singleformats.h"
#include "spectrum/convert/spcconvert.h"
#include "spectrum/convert/spcfolder.h"

const std::vector<SpcFormatInfo>& CNmrConvert::Formats() {
  static const std::vector<SpcFormatInfo> formats = {
      {"KEDRUS", kSpcCapReadWrite, "", "", CreateNmrConvertBase},
      {"CDFF", kSpcCapReadWrite, ".nmr", "", CreateNmrConvertCDFF},
      {"DisNMR", kSpcCapRead, ".001", "", CreateNmrConvertAspect},
      {"JCAMP-DX", kSpcCapReadWrite, ".dx", kJcampSaveOptions, CreateNmrConvertJcampDx},
      {"UXNMR", kSpcCapRead, "", "", CreateNmrConvertUxNmr},
      {"VXR", kSpcCapRead, "", "", CreateNmrConvertVarian},
      {"XWIN-NMR", kSpcCapRead, "", "", CreateNmrConvertXWinNmr},
      {"WIN-NMR", kSpcCapReadWrite, "", "", CreateNmrConvertWinNmr},
      {"VNMR", kSpcCapRead, "", "", CreateNmrConvertVNMR},
      {"Felix", kSpcCapRead, ".001", "", CreateNmrConvertFelixW},
      {"Delta", kSpcCapRead, ".hdr", "", CreateNmrConvertDelta},
      {"GSX", kSpcCapRead, ".gxp", "", CreateNmrConvertGSX},
      {"Galactic", kSpcCapReadWrite, ".spc", "", CreateNmrConvertGalactic},
      {"ACD", kSpcCapRead, ".esp", "", CreateNmrConvertACD},
      {"MestRe-C", kSpcCapReadWrite, ".mrc", "", CreateNmrConvertMestReC},
      {"ASCII", kSpcCapWrite, ".txt", "X-POINTS;X-PPM;X-HERTZ", CreateNmrConvertAscii},
  };
  return formats;
}

const std::vector<SpcFormatInfo>& CMassConvert::Formats() {
  static const std::vector<SpcFormatInfo> formats = {
      {"KEDRUS", kSpcCapReadWrite, "", "", CreateMassConvertBase},
      {"JCAMP-DX", kSpcCapReadWrite, ".dx", "", CreateMassConvertJcampDx},
      {"Saturn", kSpcCapRead, ".ms", "", CreateMassConvertSaturn},
      {"Galactic", kSpcCapRead, ".spc", "", CreateMassConvertGalactic},
      {"NIC", kSpcCapRead, "", "", CreateMassConvertNic},
      {"ChemStation", kSpcCapRead, ".d", "", CreateMassConvertChemStation},
      {"MassLynx", kSpcCapRead, ".", "", CreateMassConvertMassLynx},
      {"ACD", kSpcCapRead, ".esp", "", CreateMassConvertACD},
      {"ASCII", kSpcCapWrite, ".txt", "", CreateMassConvertAscii},
  };
  return formats;
}

const std::vector<SpcFormatInfo>& CIrConvert::Formats() {
  static const std::vector<SpcFormatInfo> formats = {
      {"KEDRUS", kSpcCapReadWrite, "", "", CreateIrConvertBase},
      {"Prism", kSpcCapRead, ".dat", "", CreateIrConvertPrism},
      {"JCAMP-DX", kSpcCapReadWrite, ".dx", kJcampSaveOptions, CreateIrConvertJcampDx},
      {"OMNIC", kSpcCapRead, ".spa", "", CreateIrConvertOmnic},
      {"SpectraMax", kSpcCapRead, ".spa", "", CreateIrConvertSpectramax},
      {"Galactic", kSpcCapReadWrite, ".spc", "FLOAT;INTEGER", CreateIrConvertGalactic},
      {"Opus", kSpcCapRead, ".0", "", CreateIrConvertOpus},
      {"ASCII", kSpcCapWrite, ".txt", "X-POINTS;X-CM", CreateIrConvertAscii},
  };
  return formats;
}

const std::vector<SpcFormatInfo>& CUvConvert::Formats() {
  static const std::vector<SpcFormatInfo> formats = {
      {"KEDRUS", kSpcCapReadWrite, "", "", CreateUvConvertBase},
      {"JCAMP-DX", kSpcCapReadWrite, ".dx", kJcampSaveOptions, CreateUvConvertJcampDx},
      {"ChemStation", kSpcCapRead, ".d", "", CreateUvConvertChemStation},
      {"ASCII", kSpcCapWrite, ".txt", "X-POINTS;X-NM", CreateUvConvertAscii},
  };
  return formats;
}

const std::vector<SpcFormatInfo>& CChConvert::Formats() {
  static const std::vector<SpcFormatInfo> formats = {
      {"KEDRUS", kSpcCapReadWrite, "", "", CreateChConvertBase},
      {"JCAMP-DX", kSpcCapReadWrite, ".dx", kJcampSaveOptions, CreateChConvertJcampDx},
      {"ChemStation", kSpcCapRead, ".d", "", CreateChConvertChemStation},
  };
  return formats;
}

const std::vector<SpcFormatInfo>& CTicConvert::Formats() {
  static const std::vector<SpcFormatInfo> formats = {
      {"KEDRUS", kSpcCapReadWrite, "", "", CreateTicConvertBase},
      {"JCAMP-DX", kSpcCapReadWrite, ".dx", kJcampSaveOptions, CreateTicConvertJcampDx},
      {"ChemStation", kSpcCapRead, ".d", "", CreateTicConvertChemStation},
      {"Saturn", kSpcCapRead, ".ms", "", CreateTicConvertSaturn},
      {"MassLynx", kSpcCapRead, "", "", CreateTicConvertMassLynx},
      {"ASCII", kSpcCapWrite, ".txt", "X-POINTS;X-SEC", CreateTicConvertAscii},
  };
  return formats;
}

const std::vector<SpcFormatInfo>& CNmr2dConvert::Formats() {
  static const std::vector<SpcFormatInfo> formats = {
      {"KEDRUS", kSpcCapReadWrite, "", "", CreateNmr2dConvertBase},
      {"UXNMR", kSpcCapRead, "", "", CreateNmr2dConvertUxNmr},
      {"XWIN-NMR", kSpcCapRead, "", "", CreateNmr2dConvertXWinNmr},
  };
  return formats;
}

// The spectrum folder: its spectra are numbered by their sections, whatever their kinds.
const SpcContainerFormat& SpcContainer() {
  static constexpr SpcContainerFormat folder{"KEDRUS", SpcFolderSpectrumCount, SpcFolderReadSpectrum};
  return folder;
}
