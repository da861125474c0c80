// Message boxes and the common dialogs.
#include "platform/ui/commdlg.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include <cstring>

#include "platform/base/path.h"
#include "platform/gdi/qt_bridge.h"
#include "platform/ui/app.h"
#include "platform/ui/internal/modal.h"
#include "platform/ui/internal/state.h"
#include "platform/ui/resource.h"

namespace ui {

namespace {

// A font height's magnitude; a stored INT_MIN has none in an int and counts as INT_MAX.
int HeightMagnitude(std::int32_t height) {
  return static_cast<int>(std::min<std::int64_t>(std::abs(static_cast<std::int64_t>(height)), INT32_MAX));
}

QWidget* WidgetOf(Wnd* w) {
  if (!w) return nullptr;
  Wnd* top = w->GetTopLevelParent();
  WndImpl* impl = top ? top->impl() : nullptr;
  return impl ? impl->widget.data() : nullptr;
}

// Runs a toolkit dialog as a window of its own over the owner: transient for it, modal for it
// and centred on it (never its toolkit child, which the disabled owner would disable too).
int ExecOwned(QDialog& dialog, Wnd* owner) {
  QWidget* over = WidgetOf(owner);
  if (over) {
    SetTransientOwner(&dialog, over);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.adjustSize();
    const QRect o = over->window()->frameGeometry();
    dialog.move(o.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
  } else {
    dialog.setWindowModality(Qt::ApplicationModal);
  }
  return dialog.exec();
}

// Asks with the owner disabled for the question's length; logs the answer.
int RunModal(ModalQuestion& q, const ModalOwner& owner, const std::function<int(Wnd*)>& real) {
  bool byResponder = false;
  const int answer = AskModal(q, [&] { return real(owner.get()); }, &byResponder);
  LogModal(q, answer, byResponder);
  return answer;
}

int RealMessageBox(Wnd* owner, std::string_view text, std::string_view caption, UINT type) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (type & MB_ICONMASK) {
    case MB_ICONERROR: icon = QMessageBox::Critical; break;
    case MB_ICONQUESTION: icon = QMessageBox::Question; break;
    case MB_ICONWARNING: icon = QMessageBox::Warning; break;
    case MB_ICONINFORMATION: icon = QMessageBox::Information; break;
    default: break;
  }
  struct Choice {
    QMessageBox::StandardButton button;
    int id;
  };
  std::vector<Choice> choices;
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MB_ABORTRETRYIGNORE:
      choices = {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
      break;
    case MB_YESNOCANCEL: choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MB_YESNO: choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
    case MB_RETRYCANCEL: choices = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}; break;
    default: choices = {{QMessageBox::Ok, IDOK}}; break;
  }
  QMessageBox box(icon, ToQ(caption), ToQ(text), QMessageBox::NoButton);
  for (const Choice& c : choices) box.addButton(c.button);
  const std::size_t def = (type & MB_DEFMASK) == MB_DEFBUTTON2 ? 1 : (type & MB_DEFMASK) == MB_DEFBUTTON3 ? 2 : 0;
  if (def < choices.size()) box.setDefaultButton(choices[def].button);
  const int pressed = ExecOwned(box, owner);
  for (const Choice& c : choices)
    if (pressed == c.button) return c.id;
  return choices.size() == 1 ? choices[0].id : IDCANCEL;
}

}  // namespace

int MessageBox(Wnd* parent, std::string_view text, std::string_view caption, UINT type) {
  ModalOwner owner(parent);
  ModalQuestion q;
  q.kind = ModalKind::MessageBox;
  q.title = std::string(caption);
  q.text = std::string(text);
  q.style = type;
  return RunModal(q, owner, [&](Wnd* o) { return RealMessageBox(o, text, caption, type); });
}

int AppMessageBox(std::string_view text, UINT type) {
  App* app = App::Get();
  return MessageBox(nullptr, text, app ? app->m_appName : std::string(), type);
}

int AppMessageBox(UINT stringId, UINT type) { return AppMessageBox(LoadString(stringId), type); }

// --- Colour ---------------------------------------------------------------------------------------------

ColorDialog::ColorDialog(COLORREF initial, DWORD flags, Wnd* parent) : m_flags(flags), m_color(initial), m_parent(parent) {}

int ColorDialog::DoModal() {
  ModalOwner owner(m_parent);
  COLORREF color = m_color;
  ModalQuestion q;
  q.kind = ModalKind::ColorDialog;
  q.title = "Color";
  q.color = &color;
  const int answer = RunModal(q, owner, [&](Wnd* o) {
    QColorDialog dialog(gdi::qt::ToQColor(color));
    if (ExecOwned(dialog, o) != QDialog::Accepted) return static_cast<int>(IDCANCEL);
    const QColor c = dialog.selectedColor();
    if (!c.isValid()) return static_cast<int>(IDCANCEL);
    color = gdi::qt::FromQColor(c);
    return static_cast<int>(IDOK);
  });
  if (answer == IDOK) m_color = color & 0x00FFFFFFu;
  return answer == IDOK ? IDOK : IDCANCEL;
}

// --- Font ---------------------------------------------------------------------------------------------

FontDialog::FontDialog(const gdi::LOGFONTA* initial, DWORD flags, Wnd* parent) : m_flags(flags), m_parent(parent) {
  if (initial) m_lf = *initial;
  else {
    m_lf.lfHeight = -gdi::MulDiv(10, 96, 72);
    m_lf.lfWeight = gdi::FW_NORMAL;
    gdi::SetFaceName(m_lf, "Arial");
  }
}

int FontDialog::DoModal() {
  ModalOwner owner(m_parent);
  gdi::LOGFONTA lf = m_lf;
  COLORREF color = m_color;
  ModalQuestion q;
  q.kind = ModalKind::FontDialog;
  q.title = "Font";
  q.font = &lf;
  q.fontColor = &color;
  const int answer = RunModal(q, owner, [&](Wnd* o) {
    QFont initial(ToQ(gdi::FaceNameOf(lf)));
    const int height = HeightMagnitude(lf.lfHeight);
    if (height > 0) initial.setPointSize(std::max(1, gdi::MulDiv(height, 72, 96)));
    initial.setBold(lf.lfWeight >= gdi::FW_BOLD);
    initial.setItalic(lf.lfItalic);
    initial.setUnderline(lf.lfUnderline);
    initial.setStrikeOut(lf.lfStrikeOut);
    QFontDialog dialog(initial);
    if (ExecOwned(dialog, o) != QDialog::Accepted) return static_cast<int>(IDCANCEL);
    const QFont f = dialog.selectedFont();
    gdi::SetFaceName(lf, FromQ(f.family()));
    lf.lfHeight = -gdi::MulDiv(std::max(1, f.pointSize()), 96, 72);
    lf.lfWeight = f.bold() ? gdi::FW_BOLD : gdi::FW_NORMAL;
    lf.lfItalic = f.italic();
    lf.lfUnderline = f.underline();
    lf.lfStrikeOut = f.strikeOut();
    return static_cast<int>(IDOK);
  });
  if (answer == IDOK) {
    m_lf = lf;
    lf.lfFaceName[gdi::LF_FACESIZE - 1] = 0;
    m_color = color & 0x00FFFFFFu;
  }
  return answer == IDOK ? IDOK : IDCANCEL;
}

void FontDialog::GetCurrentFont(gdi::LOGFONTA* font) const {
  if (font) *font = m_lf;
}

int FontDialog::GetSize() const {
  return gdi::MulDiv(HeightMagnitude(m_lf.lfHeight), 720, 96);
}

std::string FontDialog::GetFaceName() const { return gdi::FaceNameOf(m_lf); }

// --- Files ------------------------------------------------------------------------------------------------

FileDialog::FileDialog(bool open, std::string_view defaultExt, std::string_view fileName, DWORD flags,
                       std::string_view filter, Wnd* parent)
    : m_flags(flags), m_parent(parent) {
  m_question.open = open;
  m_question.multiple = (flags & OFN_ALLOWMULTISELECT) != 0;
  m_question.defaultExt = std::string(defaultExt);
  m_question.filter = std::string(filter);
  if (!fileName.empty()) m_question.paths.push_back(std::string(fileName));
}

namespace {

// "Name (*.a)|*.a|Other|*.b||" as the toolkit's "Name (*.a);;Other (*.b)".
QString QtFilter(const std::string& filter) {
  QStringList parts = ToQ(filter).split(u'|');
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    const QString patterns = parts[i + 1].replace(u';', u' ');
    out << (parts[i].endsWith(u')') ? parts[i] : parts[i] + QStringLiteral(" (") + patterns + u')');
  }
  return out.join(QStringLiteral(";;"));
}

}  // namespace

int FileDialog::DoModal() {
  ModalOwner owner(m_parent);
  m_question.initialDir = m_initialDir;
  FileQuestion question = m_question;
  ModalQuestion q;
  q.kind = ModalKind::FileDialog;
  q.title = question.open ? "Open" : "Save As";
  q.file = &question;
  const int answer = RunModal(q, owner, [&](Wnd* o) {
    const QString start = ToQ(question.paths.empty() ? question.initialDir : question.paths.front());
    QFileDialog dialog(nullptr, ToQ(q.title), start, QtFilter(question.filter));
    dialog.setAcceptMode(question.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(!question.open ? QFileDialog::AnyFile
                       : question.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (ExecOwned(dialog, o) != QDialog::Accepted) return static_cast<int>(IDCANCEL);
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return static_cast<int>(IDCANCEL);
    question.paths.clear();
    for (const QString& p : chosen) question.paths.push_back(FromQ(p));
    return static_cast<int>(IDOK);
  });
  if (answer != IDOK) return IDCANCEL;
  // A save without an extension gets the default one.
  if (!question.open && !question.defaultExt.empty())
    for (std::string& p : question.paths) {
      const std::string name = std::string(plat::pathFileName(p));
      if (name.find('.') == std::string::npos) p += "." + question.defaultExt;
    }
  m_question.paths = question.paths;
  return IDOK;
}

std::string FileDialog::GetPathName() const { return m_question.paths.empty() ? std::string() : m_question.paths.front(); }
std::string FileDialog::GetFileName() const { return std::string(plat::pathFileName(GetPathName())); }
std::string FileDialog::GetFileExt() const {
  const std::string name = GetFileName();
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}
std::string FileDialog::GetFileTitle() const {
  const std::string name = GetFileName();
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}
std::string FileDialog::GetFolderPath() const { return std::string(plat::pathDirectory(GetPathName())); }

// --- Printing -------------------------------------------------------------------------------------------

PrintDialog::PrintDialog(bool setupOnly, DWORD flags, Wnd* parent) : m_flags(flags), m_parent(parent) {
  m_settings.setupOnly = setupOnly;
  const QPrinterInfo def = QPrinterInfo::defaultPrinter();
  m_settings.printerName = FromQ(def.printerName());
}

int PrintDialog::DoModal() {
  ModalOwner owner(m_parent);
  PrintQuestion settings = m_settings;
  ModalQuestion q;
  q.kind = ModalKind::PrintDialog;
  q.title = settings.setupOnly ? "Print Setup" : "Print";
  q.print = &settings;
  const int answer = RunModal(q, owner, [&](Wnd* o) {
    QPrinter printer;
    if (!settings.printerName.empty()) printer.setPrinterName(ToQ(settings.printerName));
    if (!settings.outputFile.empty()) printer.setOutputFileName(ToQ(settings.outputFile));
    printer.setPageOrientation(settings.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setCopyCount(std::max(1, settings.copies));
    QPrintDialog dialog(&printer);
    dialog.setMinMax(settings.minPage, std::max(settings.minPage, settings.maxPage));
    if (settings.setupOnly) {
      // Setting up prints nothing: the question says so, with OK where the toolkit's says Print.
      dialog.setWindowTitle(ToQ(q.title));
      if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
    }
    if (ExecOwned(dialog, o) != QDialog::Accepted) return static_cast<int>(IDCANCEL);
    settings.printerName = FromQ(printer.printerName());
    settings.outputFile = FromQ(printer.outputFileName());
    settings.copies = printer.copyCount();
    settings.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    settings.allPages = printer.printRange() == QPrinter::AllPages;
    settings.fromPage = printer.fromPage();
    settings.toPage = printer.toPage();
    return static_cast<int>(IDOK);
  });
  if (answer != IDOK) return IDCANCEL;
  if (settings.copies < 1) settings.copies = 1;
  if (settings.fromPage > settings.toPage) std::swap(settings.fromPage, settings.toPage);
  m_settings = settings;
  return IDOK;
}

}  // namespace ui
