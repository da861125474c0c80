#pragma once
// What printing needs beside the view: the application's printer, the device a job draws on
// (a printer of the print service, or the PDF printer that writes a file and is there when no
// printer is installed), and the direct printers of "rodizora.ini".
#include <memory>
#include <string>

#include "platform/base/types.h"
#include "platform/gdi/dc.h"
#include "platform/ui/printer.h"
#include "platform/ui/wnd.h"

namespace saprint {

// The printer that writes PDF files; always there.
inline constexpr char kPdfPrinter[] = "PDF";

// The application's printer (the page set-up's choice): the system's default printer, or the
// PDF printer when none is installed; landscape A4 from the start.
struct PrinterChoice {
  std::string name;
  int orientation = ui::DMORIENT_LANDSCAPE;
  int paperSize = ui::DMPAPER_A4;
};
PrinterChoice& AppPrinter();
// The print dialog (or the print set-up dialog) over a printer choice; on OK the choice takes the
// printer and the orientation chosen, and outputFile (when given) the file a job goes to. True
// when it was confirmed.
bool RunPrintDialog(bool setupOnly, PrinterChoice* printer, std::string* outputFile, ui::Wnd* owner);
bool RunPrintSetup(PrinterChoice* printer, ui::Wnd* owner = nullptr);

// The paper-size code of a paper name (any case); 0 for a name not in the table.
int PaperSizeCode(std::u16string_view name);
// A paper's size in millimetres, turned for the orientation (A4 for unknown codes).
void PaperMillimetres(int paperSize, int orientation, double* width, double* height);

// One device a print job or a metafile's reference draws on.
class PrintDevice {
 public:
  // The printer named (the PDF printer, or one of the print service's), its output going to
  // outputFile when one is given. Null when there is no such printer.
  static std::unique_ptr<PrintDevice> Open(const PrinterChoice& printer, const std::string& outputFile);
  gdi::DC& DC() { return m_printer ? m_printer->DC() : m_pdf; }
  // Opens the job; false when it cannot start (the PDF printer has no file to write).
  bool BeginJob();

 private:
  PrintDevice() = default;
  std::unique_ptr<ui::PrinterDC> m_printer;
  gdi::DC m_pdf;
  bool m_hasFile = false;
};

// A section "\DirectPrinter<n>" of "rodizora.ini" (every value empty when the section is
// missing; each key's default when only the key is).
struct DirectPrinter {
  plat::String16 driver, printer, extension, printPath, port, orientation, paperSize;
  bool orientationRead = false;  // the key was read without error
  bool paperSizeRead = false;
  // The device mode's fields from the names (0: not set).
  int OrientationCode() const;
  int PaperCode() const;
};
DirectPrinter ReadDirectPrinter(const plat::String16& iniFile, unsigned number);

// The output file of a direct print: folder (the document's own when empty) "/" title "." ext.
std::string OutputFileName(const std::string& printPath, const std::string& documentFolder, const std::string& title,
                           const std::string& extension);
// A document's path with its extension (from the last "." after the first character of its
// name) replaced; a document that was never saved is named by its title in saveFolder.
std::string ExportFileName(const std::string& documentPath, const std::string& title, const std::string& saveFolder,
                           const std::string& extension);

}  // namespace saprint
