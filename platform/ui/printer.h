#pragma once
// The system's printers (the print service, CUPS on Linux) as device contexts: a PrinterDC
// owns one printer and the DC that draws on it. Until BeginJob it only answers the printer's
// capabilities (a reference for metafiles); after it, StartDoc, StartPage, EndPage and EndDoc
// run the job as on any printing DC. The DC's units are the printer's device pixels.
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/dc.h"

namespace ui {

// Paper-size codes of a device mode.
constexpr int DMPAPER_LETTER = 1, DMPAPER_LEGAL = 5, DMPAPER_A3 = 8, DMPAPER_A4 = 9, DMPAPER_A4SMALL = 10,
              DMPAPER_A5 = 11, DMPAPER_B4 = 12, DMPAPER_B5 = 13;
constexpr int DMORIENT_PORTRAIT = 1, DMORIENT_LANDSCAPE = 2;

struct PrinterSetup {
  std::string printerName;  // empty: the system's default printer
  std::string outputFile;   // set: the job goes to this file instead of the printer
  int orientation = 0;      // DMORIENT_ (0: the printer's own)
  int paperSize = 0;        // DMPAPER_ (0: the printer's own)
  int copies = 1;
};

// The installed printers' names, and the default one (empty when none is installed).
std::vector<std::string> PrinterNames();
std::string DefaultPrinterName();

class PrinterDC {
 public:
  // Null when the printer is not installed.
  static std::unique_ptr<PrinterDC> Create(const PrinterSetup& setup);
  ~PrinterDC();
  PrinterDC(const PrinterDC&) = delete;
  PrinterDC& operator=(const PrinterDC&) = delete;

  gdi::DC& DC();
  // Opens the job on the printer; false when it cannot be opened.
  bool BeginJob();

 private:
  struct Impl;
  explicit PrinterDC(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace ui
