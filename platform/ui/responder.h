#pragma once
// The modal responder: every modal run (dialogs, property sheets, message boxes, popup menus,
// the colour, font, file and print dialogs) asks the process-wide responder first, after the
// run has released the mouse capture and (for dialogs) after the dialog's initialisation.
//
// A test installs a responder that sees the question (and the live dialog or menu), may set
// item texts, press buttons or choose a menu id, and gives the end code. Every question and
// its final answer are logged. With no responder on a system without a display (the offscreen
// platform of the tests), the answer is Cancel, no choice, or the default button of a message
// box that has no Cancel; nothing ever waits. With a display and no responder, the run shows
// for real.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi/objects.h"
#include "platform/ui/types.h"

namespace ui {

class Dialog;
class Menu;
class PropertySheet;
class Wnd;

// Window: a window of the product's own run modally as it is (modalloop.h).
enum class ModalKind { Dialog, PropertySheet, MessageBox, PopupMenu, ColorDialog, FontDialog, FileDialog, PrintDialog, Window };
const char* ModalKindName(ModalKind kind);

// What a file dialog asks and gives back.
struct FileQuestion {
  bool open = true;
  bool multiple = false;
  std::string defaultExt;
  std::string filter;  // "Text files (*.txt)|*.txt|All files (*.*)|*.*||"
  std::string initialDir;
  std::vector<std::string> paths;  // in: the initial file name; out: the chosen paths
};

// What a print dialog asks and gives back.
struct PrintQuestion {
  std::string printerName;
  std::string outputFile;  // printing to a file: its path
  int copies = 1;
  int fromPage = 1;
  int toPage = 1;
  int minPage = 1;
  int maxPage = 1;
  bool allPages = true;
  bool landscape = false;
  bool setupOnly = false;
};

struct ModalQuestion {
  ModalKind kind = ModalKind::Dialog;
  std::string title;  // caption
  std::string text;   // a message box's text
  UINT templateId = 0;
  UINT style = 0;     // a message box's type, a popup's TPM_ flags
  Dialog* dialog = nullptr;        // live, after WM_INITDIALOG (dialogs and each property page)
  PropertySheet* sheet = nullptr;  // live, its first page shown
  Wnd* window = nullptr;           // live and shown (ModalKind::Window)
  Menu* menu = nullptr;            // a popup's items with their updated state
  Point point;                     // where a popup opens (screen)
  COLORREF* color = nullptr;       // colour dialog: in and out
  gdi::LOGFONTA* font = nullptr;   // font dialog: in and out
  COLORREF* fontColor = nullptr;
  FileQuestion* file = nullptr;
  PrintQuestion* print = nullptr;
};

struct ModalLogEntry {
  ModalKind kind = ModalKind::Dialog;
  std::string title;
  std::string text;
  UINT templateId = 0;
  int answer = 0;
  bool byResponder = false;
};

class Responder {
 public:
  virtual ~Responder() = default;
  // The end code: IDOK, IDCANCEL, IDYES ... for dialogs and message boxes, the chosen command id
  // (0: none) for popups, IDOK or IDCANCEL for the common dialogs (having set the answer in the
  // question's colour, font, file or print fields).
  virtual int Answer(ModalQuestion& question) = 0;
};

void SetResponder(Responder* responder);
Responder* GetResponder();
const std::vector<ModalLogEntry>& ModalLog();
void ClearModalLog();

// Cancel, no choice, or a message box's default button when it has no Cancel.
int DefaultModalAnswer(const ModalQuestion& question);

// A responder that plays a script of answers in order (a test's).
class ScriptedResponder : public Responder {
 public:
  using Step = std::function<int(ModalQuestion&)>;
  ScriptedResponder() = default;
  ~ScriptedResponder() override;
  // Installs itself for its lifetime when install is set.
  explicit ScriptedResponder(bool install);

  // The next question must be of this kind; the step answers it.
  ScriptedResponder& Then(ModalKind kind, Step step);
  ScriptedResponder& ThenAnswer(ModalKind kind, int answer);
  int Answer(ModalQuestion& question) override;
  // Questions that came with no step left, or of another kind than the step expected (each
  // was answered with the default answer).
  int Unexpected() const { return unexpected_; }
  bool Done() const { return steps_.empty(); }

 private:
  struct Scripted {
    ModalKind kind;
    Step step;
  };
  std::deque<Scripted> steps_;
  int unexpected_ = 0;
  bool installed_ = false;
};

// The layer's own entry point for a modal run: releases the capture, asks the responder (or,
// headless, the default answer, or on a display runs `real`), and answers. The caller logs
// the final answer with LogModal.
int AskModal(ModalQuestion& question, const std::function<int()>& real, bool* byResponder = nullptr);
void LogModal(const ModalQuestion& question, int answer, bool byResponder);

}  // namespace ui
