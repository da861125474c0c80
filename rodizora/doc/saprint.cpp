#include "rodizora/doc/saprint.h"

#include <utility>

#include "foundation/profdesc.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/ui/commdlg.h"
#include "profile/profile.h"

namespace saprint {

namespace {

// The PDF printer's resolution: fine enough for print, small enough for a page in memory.
constexpr int kPdfDpi = 300;
// Its unprintable edge, as a printer has one: the page's items keep clear of the paper's edge.
constexpr double kPdfMarginMm = 5.0;

struct Paper {
  const char16_t* name;
  int code;
  double widthMm, heightMm;  // portrait
};
constexpr Paper kPapers[] = {
    {u"A3", ui::DMPAPER_A3, 297, 420},         {u"A4", ui::DMPAPER_A4, 210, 297},
    {u"A5", ui::DMPAPER_A5, 148, 210},         {u"B4", ui::DMPAPER_B4, 250, 353},
    {u"B5", ui::DMPAPER_B5, 176, 250},         {u"A4SMALL", ui::DMPAPER_A4SMALL, 210, 297},
    {u"LETTER", ui::DMPAPER_LETTER, 215.9, 279.4}, {u"LEGAL", ui::DMPAPER_LEGAL, 215.9, 355.6},
};

std::string Folder(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

PrinterChoice& AppPrinter() {
  static PrinterChoice printer = [] {
    PrinterChoice p;
    p.name = ui::DefaultPrinterName();
    if (p.name.empty()) p.name = kPdfPrinter;
    return p;
  }();
  return printer;
}

bool RunPrintDialog(bool setupOnly, PrinterChoice* printer, std::string* outputFile, ui::Wnd* owner) {
  ui::PrintDialog dialog(setupOnly, ui::PD_ALLPAGES | ui::PD_NOPAGENUMS | ui::PD_NOSELECTION, owner);
  dialog.m_settings.printerName = printer->name;
  dialog.m_settings.landscape = printer->orientation != ui::DMORIENT_PORTRAIT;
  if (dialog.DoModal() != ui::IDOK) return false;
  if (!dialog.GetDeviceName().empty()) printer->name = dialog.GetDeviceName();
  printer->orientation = dialog.IsLandscape() ? ui::DMORIENT_LANDSCAPE : ui::DMORIENT_PORTRAIT;
  if (outputFile) *outputFile = dialog.GetOutputFile();
  return true;
}

bool RunPrintSetup(PrinterChoice* printer, ui::Wnd* owner) { return RunPrintDialog(true, printer, nullptr, owner); }

int PaperSizeCode(std::u16string_view name) {
  for (const Paper& paper : kPapers)
    if (plat::equalsNoCase(name, paper.name)) return paper.code;
  return 0;
}

void PaperMillimetres(int paperSize, int orientation, double* width, double* height) {
  *width = 210;
  *height = 297;
  for (const Paper& paper : kPapers)
    if (paper.code == paperSize) {
      *width = paper.widthMm;
      *height = paper.heightMm;
      break;
    }
  if (orientation == ui::DMORIENT_LANDSCAPE) std::swap(*width, *height);
}

std::unique_ptr<PrintDevice> PrintDevice::Open(const PrinterChoice& printer, const std::string& outputFile) {
  std::unique_ptr<PrintDevice> device(new PrintDevice);
  if (printer.name == kPdfPrinter) {
    gdi::PdfPageSetup page;
    PaperMillimetres(printer.paperSize, printer.orientation ? printer.orientation : ui::DMORIENT_LANDSCAPE,
                     &page.widthMm, &page.heightMm);
    page.dpi = kPdfDpi;
    page.marginMm = kPdfMarginMm;
    // Nothing is written until a job starts; a device without a file only answers its sizes.
    device->m_hasFile = !outputFile.empty();
    device->m_pdf = gdi::DC::CreatePdfDC(device->m_hasFile ? outputFile : std::string(), page);
    if (!device->m_pdf.IsValid()) return nullptr;
    return device;
  }
  ui::PrinterSetup setup;
  setup.printerName = printer.name;
  setup.outputFile = outputFile;
  setup.orientation = printer.orientation;
  setup.paperSize = printer.paperSize;
  device->m_printer = ui::PrinterDC::Create(setup);
  if (!device->m_printer) return nullptr;
  return device;
}

bool PrintDevice::BeginJob() { return m_printer ? m_printer->BeginJob() : m_hasFile; }

int DirectPrinter::OrientationCode() const {
  if (!orientationRead) return 0;
  if (orientation == u"PORTRAIT") return ui::DMORIENT_PORTRAIT;
  if (orientation == u"LANDSCAPE") return ui::DMORIENT_LANDSCAPE;
  return 0;
}

int DirectPrinter::PaperCode() const { return paperSizeRead ? PaperSizeCode(paperSize) : 0; }

DirectPrinter ReadDirectPrinter(const plat::String16& iniFile, unsigned number) {
  DirectPrinter p;
  COrvProfDesc desc(iniFile.c_str(), (u"\\DirectPrinter" + plat::toUtf16(std::to_string(number))).c_str());
  desc.SetIni(true);
  desc.SetAutoCreate(false);
  if (desc.Open(PROF_MODE_OPEN) != PROF_OK) return p;
  const auto read = [&desc](const char16_t* name, plat::String16* out, const char16_t* defaultText) {
    return OrvGetProfCString(name, out, defaultText, &desc) == PROF_OK;
  };
  read(u"Driver", &p.driver, u"WINSPOOL");
  read(u"Printer", &p.printer, u"");
  read(u"Extention", &p.extension, u"");
  read(u"PrintPath", &p.printPath, u"");
  read(u"Port", &p.port, u"LPT1");
  p.orientationRead = read(u"Orientation", &p.orientation, u"");
  p.paperSizeRead = read(u"PaperSize", &p.paperSize, u"");
  return p;
}

std::string OutputFileName(const std::string& printPath, const std::string& documentFolder, const std::string& title,
                           const std::string& extension) {
  const std::string folder = printPath.empty() ? documentFolder : printPath;
  return folder + "/" + title + "." + extension;
}

std::string ExportFileName(const std::string& documentPath, const std::string& title, const std::string& saveFolder,
                           const std::string& extension) {
  std::string path = documentPath.empty() ? plat::joinPath(saveFolder, title) : documentPath;
  const std::size_t nameStart = Folder(path).size() + (path.find('/') == std::string::npos ? 0 : 1);
  const std::size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && dot > nameStart) path.erase(dot);
  return path + extension;
}

}  // namespace saprint
