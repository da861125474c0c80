#include "platform/ui/printer.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/gdi/qt_bridge.h"

namespace ui {

namespace {

QPageSize::PageSizeId PageOf(int paperSize) {
  switch (paperSize) {
    case DMPAPER_LETTER: return QPageSize::Letter;
    case DMPAPER_LEGAL: return QPageSize::Legal;
    case DMPAPER_A3: return QPageSize::A3;
    case DMPAPER_A4:
    case DMPAPER_A4SMALL: return QPageSize::A4;
    case DMPAPER_A5: return QPageSize::A5;
    case DMPAPER_B4: return QPageSize::B4;
    case DMPAPER_B5: return QPageSize::B5;
    default: return QPageSize::A4;
  }
}

}  // namespace

std::vector<std::string> PrinterNames() {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
  return names;
}

std::string DefaultPrinterName() { return QPrinterInfo::defaultPrinterName().toStdString(); }

struct PrinterDC::Impl {
  QPrinter printer{QPrinter::HighResolution};
  QPainter painter;
  gdi::DC dc;
  ~Impl() {
    // The DC's device ends the painter on EndDoc; a job left open is ended here, before the printer goes.
    dc = gdi::DC();
    if (painter.isActive()) painter.end();
  }
};

std::unique_ptr<PrinterDC> PrinterDC::Create(const PrinterSetup& setup) {
  const std::string name = setup.printerName.empty() ? DefaultPrinterName() : setup.printerName;
  if (name.empty() || QPrinterInfo::printerInfo(QString::fromStdString(name)).isNull()) return nullptr;
  auto impl = std::make_unique<Impl>();
  QPrinter& printer = impl->printer;
  printer.setPrinterName(QString::fromStdString(name));
  if (!setup.outputFile.empty()) printer.setOutputFileName(QString::fromStdString(setup.outputFile));
  if (setup.orientation)
    printer.setPageOrientation(setup.orientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape : QPageLayout::Portrait);
  if (setup.paperSize) printer.setPageSize(QPageSize(PageOf(setup.paperSize)));
  printer.setCopyCount(std::max(1, setup.copies));
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  gdi::DeviceCaps caps;
  caps.technology = gdi::DT_RASPRINTER;
  caps.logPixelsX = caps.logPixelsY = printer.resolution();
  caps.horzRes = page.width();
  caps.vertRes = page.height();
  caps.physicalWidth = caps.horzRes;
  caps.physicalHeight = caps.vertRes;
  caps.bitsPixel = 24;
  Impl* raw = impl.get();
  raw->dc = gdi::qt::MakePainterDC(raw->painter, caps, [raw] { return raw->printer.newPage(); });
  return std::unique_ptr<PrinterDC>(new PrinterDC(std::move(impl)));
}

PrinterDC::PrinterDC(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
PrinterDC::~PrinterDC() = default;

gdi::DC& PrinterDC::DC() { return impl_->dc; }

bool PrinterDC::BeginJob() { return impl_->painter.isActive() || impl_->painter.begin(&impl_->printer); }

}  // namespace ui
