// CSaView's printing: the print and page set-up commands, direct printing through the sections
// of "rodizora.ini", and the page exported as a Windows or enhanced metafile. Every path draws
// through OnPrint, with the page stretched over the device's printable area and no scroll
// position, so that a printout never depends on how the view is scrolled.
#include <cstdlib>

#include "platform/base/text.h"
#include "platform/gdi/metafile.h"
#include "platform/ui/app.h"
#include "platform/ui/commdlg.h"
#include "rodizora/doc/saprint.h"
#include "rodizora/doc/sasettings.h"
#include "rodizora/res/saids.h"
#include "rodizora/view/saview.h"

namespace {

// The folder of a document's file; a document never saved prints to the save directory (the
// home folder when there is none), never to the filesystem's root.
std::string DocumentFolder(const CSaDoc& doc) {
  const std::string& path = doc.GetPathName();
  const std::size_t slash = path.find_last_of('/');
  if (!path.empty() && slash != std::string::npos && slash > 0) return path.substr(0, slash);
  std::string folder = plat::toUtf8(SaSettings().saveDirectory);
  if (folder.empty()) {
    const char* home = std::getenv("HOME");
    folder = home && *home ? home : ".";
  }
  return folder;
}

void FailedToStart() { ui::AppMessageBox(saids::IDS_PRINT_JOB_FAILED, ui::MB_OK | ui::MB_ICONEXCLAMATION); }

}  // namespace

void CSaView::OnPrint(gdi::DC* dc, ui::PrintInfo*) {
  m_bPrinting = true;
  m_printSize = {dc->GetDeviceCaps(gdi::HORZRES), dc->GetDeviceCaps(gdi::VERTRES)};
  const bool fullView = !m_bPageLayout;
  if (fullView) SelectPropertySets(static_cast<std::uint32_t>(SaSettings().app.viewProperties), false);
  OnDraw(dc);
  if (fullView) SelectPropertySets(0, true);
  m_bPrinting = false;
}

bool CSaView::RunPrintJob(gdi::DC& dc, saprint::PrintDevice* job, std::u16string_view docName, bool metafile) {
  ui::App* app = ui::App::Get();
  ui::Wnd* main = app ? app->GetMainWnd() : nullptr;
  if (main) main->EnableWindow(false);
  const auto enableMain = [main] {
    if (main) main->EnableWindow(true);
  };
  if (!metafile && (!job || !job->BeginJob() || dc.StartDoc(docName) <= 0)) {
    enableMain();
    FailedToStart();
    return false;
  }
  ui::PrintInfo info;
  info.currentPage = 1;
  gdi::Rect area(0, 0, dc.GetDeviceCaps(gdi::HORZRES), dc.GetDeviceCaps(gdi::VERTRES));
  dc.DPtoLP(&area);
  info.drawRect = area;
  bool printed = true;
  if (metafile) {
    OnPrint(&dc, &info);
  } else if (dc.StartPage() <= 0) {
    dc.AbortDoc();
    printed = false;
  } else {
    OnPrepareDC(&dc, &info);
    OnPrint(&dc, &info);
    printed = dc.EndPage() > 0;
    printed = dc.EndDoc() > 0 && printed;
  }
  enableMain();
  if (!printed) ui::AppMessageBox("The printout could not be written.", ui::MB_OK | ui::MB_ICONEXCLAMATION);
  return printed;
}

bool CSaView::PreparePrinting(saprint::PrinterChoice* printer, std::string* outputFile) {
  return saprint::RunPrintDialog(false, printer, outputFile, this);
}

void CSaView::OnFilePrint() {
  CSaDoc* doc = GetDocument();
  if (!doc) return;
  saprint::PrinterChoice printer = saprint::AppPrinter();
  std::string outputFile;
  if (!PreparePrinting(&printer, &outputFile)) return;
  const auto device = saprint::PrintDevice::Open(printer, outputFile);
  if (!device) {
    FailedToStart();
    return;
  }
  RunPrintJob(device->DC(), device.get(), plat::toUtf16(doc->GetTitle()), false);
}

void CSaView::OnFilePageSetup() {
  saprint::PrinterChoice& printer = saprint::AppPrinter();
  if (!saprint::PrintDevice::Open(printer, {})) {
    ui::AppMessageBox(saids::IDS_NO_PRINTER, ui::MB_OK | ui::MB_ICONSTOP);
    return;
  }
  if (saprint::RunPrintSetup(&printer, this)) PrinterChanged();
}

void CSaView::PrinterChanged() {
  CSaDoc* doc = GetDocument();
  if (doc && m_bPageLayout) {
    doc->ComputePageSize();
    SetPageLayoutExtent();
    Invalidate();
  }
}

bool CSaView::WriteMetafile(gdi::DC& reference, const std::string& path, bool enhanced) {
  const CSaDoc* doc = GetDocument();
  const std::u16string title = doc ? plat::toUtf16(doc->GetTitle()) : std::u16string();
  bool written = false;
  if (enhanced) {
    const gdi::Rect frame(0, 0, reference.GetDeviceCaps(gdi::HORZSIZE) * 100, reference.GetDeviceCaps(gdi::VERTSIZE) * 100);
    gdi::DC dc = gdi::DC::CreateEnhMetaFile(&reference, &frame, u"KEDRUS");
    dc.SetPrinting(true);
    RunPrintJob(dc, nullptr, title, true);
    written = dc.CloseEnhMetaFile().WriteFile(path);
  } else {
    const int width = reference.GetDeviceCaps(gdi::HORZRES), height = reference.GetDeviceCaps(gdi::VERTRES);
    gdi::DC dc = gdi::DC::CreateMetaFile(&reference);
    dc.SetMapMode(gdi::MM_ANISOTROPIC);
    dc.SetWindowOrg(0, 0);
    dc.SetWindowExt(width, height);
    dc.SetViewportExt(width, height);
    dc.SetPrinting(true);
    RunPrintJob(dc, nullptr, title, true);
    written = dc.CloseMetaFile().WriteFile(path);
  }
  if (!written) ui::AppMessageBox("The metafile could not be written.", ui::MB_OK | ui::MB_ICONEXCLAMATION);
  return written;
}

void CSaView::ExportMetafile(bool enhanced) {
  CSaDoc* doc = GetDocument();
  const auto reference = saprint::PrintDevice::Open(saprint::AppPrinter(), {});
  if (!doc || !reference) return;
  const std::string proposed = saprint::ExportFileName(doc->GetPathName(), doc->GetTitle(),
                                                       plat::toUtf8(SaSettings().saveDirectory), enhanced ? ".emf" : ".wmf");
  ui::FileDialog dialog(false, enhanced ? "emf" : "wmf", proposed, ui::OFN_OVERWRITEPROMPT | ui::OFN_HIDEREADONLY,
                        enhanced ? "Enhanced Metafile (*.emf)|*.emf||" : "Windows Metafile (*.wmf)|*.wmf||");
  // The metafile's name is all there is to ask: the picture is drawn for the application's
  // printer, with no print job and so no print dialog.
  if (dialog.DoModal() != ui::IDOK) return;
  WriteMetafile(reference->DC(), dialog.GetPathName(), enhanced);
}

void CSaView::OnExportWmf() { ExportMetafile(false); }
void CSaView::OnExportEmf() { ExportMetafile(true); }

void CSaView::OnDirectPrint(ui::UINT id) {
  CSaDoc* doc = GetDocument();
  if (!doc) return;
  const unsigned number = id - (saids::ID_DIRECT_PRINT_1 - 1);
  const saprint::DirectPrinter direct =
      saprint::ReadDirectPrinter(SaSettings().installPath + u"/rodizora.ini", number);
  const std::string output = saprint::OutputFileName(plat::toUtf8(direct.printPath), DocumentFolder(*doc), doc->GetTitle(),
                                                     plat::toUtf8(direct.extension));
  saprint::PrinterChoice printer;
  printer.name = plat::toUtf8(direct.printer);
  printer.orientation = direct.OrientationCode();
  printer.paperSize = direct.PaperCode();
  // Only "FILE" exactly sends the job to the file; the driver's name is any case.
  const bool spool = plat::equalsNoCase(direct.driver, u"WINSPOOL");
  const auto device = saprint::PrintDevice::Open(printer, spool && direct.port == u"FILE" ? output : std::string());
  if (!device) {
    FailedToStart();
    return;
  }
  if (spool) RunPrintJob(device->DC(), device.get(), plat::toUtf16(doc->GetTitle()), false);
  else if (plat::equalsNoCase(direct.driver, u"METAFILE")) WriteMetafile(device->DC(), output, false);
  else if (plat::equalsNoCase(direct.driver, u"ENHMETAFILE")) WriteMetafile(device->DC(), output, true);
}
