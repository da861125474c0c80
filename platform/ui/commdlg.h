#pragma once
// Message boxes and the common dialogs: colour, font, file and print. Each is a modal run that
// asks the modal responder first (responder.h); headless without one, the answer is Cancel (or a
// message box's default button when it has no Cancel) and nothing changes.
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/ui/responder.h"
#include "platform/ui/wnd.h"

namespace ui {

// Answers IDOK, IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY or IDIGNORE.
int MessageBox(Wnd* owner, std::string_view text, std::string_view caption, UINT type = MB_OK);
// With the application's name as caption and its main window as owner.
int AppMessageBox(std::string_view text, UINT type = MB_OK);
int AppMessageBox(UINT stringId, UINT type = MB_OK);

// --- Colour ---------------------------------------------------------------------------------------
constexpr DWORD CC_RGBINIT = 0x1, CC_FULLOPEN = 0x2, CC_PREVENTFULLOPEN = 0x4, CC_SOLIDCOLOR = 0x80,
                CC_ANYCOLOR = 0x100;
class ColorDialog {
 public:
  explicit ColorDialog(COLORREF initial = 0, DWORD flags = 0, Wnd* parent = nullptr);
  int DoModal();
  COLORREF GetColor() const { return m_color; }
  void SetCurrentColor(COLORREF color) { m_color = color; }
  DWORD m_flags;

 private:
  COLORREF m_color;
  Wnd* m_parent;
};

// --- Font -----------------------------------------------------------------------------------------
constexpr DWORD CF_SCREENFONTS = 0x1, CF_PRINTERFONTS = 0x2, CF_EFFECTS = 0x100, CF_INITTOLOGFONTSTRUCT = 0x40,
                CF_NOSCRIPTSEL = 0x800000;
class FontDialog {
 public:
  explicit FontDialog(const gdi::LOGFONTA* initial = nullptr, DWORD flags = CF_EFFECTS | CF_SCREENFONTS,
                      Wnd* parent = nullptr);
  int DoModal();
  void GetCurrentFont(gdi::LOGFONTA* font) const;
  COLORREF GetColor() const { return m_color; }
  // The point size in tenths of a point (from the height at 96 pixels per inch).
  int GetSize() const;
  std::string GetFaceName() const;
  gdi::LOGFONTA m_lf;
  COLORREF m_color = 0;
  DWORD m_flags;

 private:
  Wnd* m_parent;
};

// --- Files ------------------------------------------------------------------------------------------
constexpr DWORD OFN_READONLY = 0x1, OFN_OVERWRITEPROMPT = 0x2, OFN_HIDEREADONLY = 0x4, OFN_NOCHANGEDIR = 0x8,
                OFN_ALLOWMULTISELECT = 0x200, OFN_PATHMUSTEXIST = 0x800, OFN_FILEMUSTEXIST = 0x1000,
                OFN_EXPLORER = 0x80000;
class FileDialog {
 public:
  // filter: "Name (*.ext)|*.ext|...||", as the product writes it.
  FileDialog(bool open, std::string_view defaultExt = {}, std::string_view fileName = {},
             DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, std::string_view filter = {}, Wnd* parent = nullptr);
  int DoModal();
  std::string GetPathName() const;
  std::string GetFileName() const;
  std::string GetFileExt() const;
  std::string GetFileTitle() const;
  std::string GetFolderPath() const;
  const std::vector<std::string>& GetPathNames() const { return m_question.paths; }
  std::string m_initialDir;
  DWORD m_flags;

 private:
  FileQuestion m_question;
  Wnd* m_parent;
};

// --- Printing ---------------------------------------------------------------------------------------
constexpr DWORD PD_ALLPAGES = 0x0, PD_SELECTION = 0x1, PD_PAGENUMS = 0x2, PD_NOSELECTION = 0x4,
                PD_NOPAGENUMS = 0x8, PD_PRINTSETUP = 0x40, PD_RETURNDC = 0x100;
class PrintDialog {
 public:
  explicit PrintDialog(bool setupOnly, DWORD flags = PD_ALLPAGES | PD_NOPAGENUMS | PD_NOSELECTION, Wnd* parent = nullptr);
  int DoModal();
  std::string GetDeviceName() const { return m_settings.printerName; }
  // Set when the job is to go to a file.
  std::string GetOutputFile() const { return m_settings.outputFile; }
  int GetCopies() const { return m_settings.copies; }
  bool PrintAll() const { return m_settings.allPages; }
  bool PrintRange() const { return !m_settings.allPages; }
  int GetFromPage() const { return m_settings.fromPage; }
  int GetToPage() const { return m_settings.toPage; }
  bool IsLandscape() const { return m_settings.landscape; }
  PrintQuestion m_settings;
  DWORD m_flags;

 private:
  Wnd* m_parent;
};

}  // namespace ui
