#pragma once
// CSaDoc: the document of the program, a page of embedded items (CSaItem) in page units (0.25 mm,
// x to the right, y down from the page's top-left corner). Items are kept in the order they were
// added: the order of drawing, of hit testing (the last hit wins), of saving and of the controls'
// item walk.
//
// Opening a path list ("+"-joined files) gives each file a band of the page and one spectrum item
// per spectrum the file holds, in strips by spectrum kind; a table and a structure item follow
// when the settings and the structure database ask for them.
//
// The document reaches its views through ISaPageView, which CSaView implements.
#include <optional>
#include <vector>

#include "platform/ole/container.h"
#include "rodizora/doc/pagelayout.h"
#include "rodizora/doc/saitem.h"
#include "rodizora/doc/spectrumcontrol.h"
#include "rodizora/doc/undolist.h"

class ISaPageView {
 public:
  virtual ~ISaPageView() = default;
  virtual bool IsPageLayout() const = 0;
  virtual bool IsPrinting() const = 0;
  // Between page units and the view's client pixels; false when the view maps nothing.
  virtual bool PageToClient(gdi::Rect* rect) const = 0;
  virtual bool ClientToPage(gdi::Rect* rect) const = 0;
  virtual bool ClientToPage(gdi::Point* point) const = 0;
  // Selects an item (null: none), running its primary verb when activate is set.
  virtual void SelectItem(CSaItem* item, bool activate) = 0;
  virtual CSaItem* SelectedItem() const = 0;
  // An item is about to be deleted: the view lets go of it.
  virtual void OnItemGone(CSaItem* item) = 0;
};

class CSaDoc : public plat::ole::OleDocument {
  UI_DECLARE_DYNCREATE(CSaDoc)
  UI_DECLARE_MESSAGE_MAP()

 public:
  CSaDoc();
  ~CSaDoc() override;

  // The printable page: the application's printer's (landscape A4 until the page set-up
  // chooses another), else landscape A4.
  void ComputePageSize();
  int PageWidth() const { return m_page.width; }
  int PageHeight() const { return m_page.height; }

  // The zoom while the first view shows the page layout (or there is no view); else -1.
  int GetZoom() const;
  int GetDocumentZoom() const { return m_zoom; }
  void SetDocumentZoom(int zoom) { m_zoom = zoom; }
  ISaPageView* FirstPageView() const;
  std::vector<CSaItem*> Items() const;
  bool IsWorkspace() const { return m_workspace; }
  void SetWorkspace(bool workspace) { m_workspace = workspace; }
  // What a spectrum document is saved as: the spectrum control's format and save option.
  void SetSaveFormat(int format, int option) {
    m_saveFormat = format;
    m_saveOption = option;
  }

  // --- Items -----------------------------------------------------------------------------------
  // How many spectra a file holds (a spectrum control asked); 0 when none can be created.
  static int GetSpectraCountInFile(const plat::String16& path);
  // A spectrum item of the index-th spectrum of a file, on the whole page (null, nothing left
  // behind, when the control cannot be made or load it, or the item cannot be made from it).
  // The command line's "-PROCESS" commands run on the spectrum first.
  CSaItem* CreateSpectrumItem(const plat::String16& path, int index);
  // The parameters table of a spectrum item's kind, at the bottom of the page (null when the
  // kind asks for none or it cannot be made). `always` makes it whatever the kind's "Table"
  // setting says, also without a spectrum to attach (a workspace's table record).
  CSaItem* AddTableItem(CSaItem* spectrum, bool always = false);
  // An item of a new object of a class (the insert-object command's), its picture brought up to
  // date and its size from its cached extent; null, nothing left behind, when it cannot be made.
  CSaItem* AddObjectItem(const plat::ole::Guid& clsid);
  // The structure of the SD database's record that matches the spectrum's file name.
  void AddStructureItem(CSaItem* spectrum);
  // What a control's IOrvClientSite::CreateItem makes: an item from a data source (one whose
  // object is a spectrum control), on the whole page; null when it cannot be made.
  CSaItem* CreateItemFromSource(plat::ole::IUnknown* source);
  // Takes the item out of every view, then deletes it.
  void DeleteItem(CSaItem* item);
  // --- Undo -------------------------------------------------------------------------------------
  // A snapshot of the document as it is now (after an open, a move by dragging, a data change):
  // it becomes the current one, later ones are dropped, at most "UndoBufferSize" earlier ones
  // are kept.
  void SaveUndoCheckpoint();
  // The document as the snapshot before (after) the current one holds it. A snapshot that
  // cannot be loaded brings the current one back and answers false.
  bool Undo();
  bool Redo();
  const CSaUndoList& UndoList() const { return m_undo; }
  void OnEditUndo() { Undo(); }
  void OnEditRedo() { Redo(); }
  void OnUpdateEditUndo(ui::CmdUI* cmdUI) { cmdUI->Enable(m_undo.CanUndo()); }
  void OnUpdateEditRedo(ui::CmdUI* cmdUI) { cmdUI->Enable(m_undo.CanRedo()); }

  // --- Document ----------------------------------------------------------------------------------
  // The document archive: the items (each with its record), the zoom, the position of the
  // first view's selected item and, when it is active in place, that position again (-1: none).
  void Serialize(plat::Archive& ar) override;
  bool OnOpenDocument(std::string_view path) override;
  // A workspace is saved as the directory path (swapped in whole); a spectrum document as the
  // spectrum file of its first item from a file, in the chosen format (written beside and
  // renamed over the old file). A failure is reported and leaves the old data as it was.
  bool OnSaveDocument(std::string_view path) override;
  void OnCloseDocument() override;
  // Every item deactivated, taken out of the views and deleted; the document is modified.
  void DeleteContents() override;
  // Closing a document's window never asks to save.
  bool CanCloseFrame(ui::FrameWnd* frame) override;

  // Save As: the explorer-style save dialog with the first spectrum's writable formats; the
  // document becomes a workspace exactly when the control's own format (0) is chosen. A path
  // that exists is replaced only when the user agrees (and only once the new data is whole).
  void OnFileSaveAs();
  // A spectrum document runs Save As; a workspace is saved over its own directory (asking
  // first when it was opened without some of its items). The exit's "Save changes?" runs the
  // same, so a spectrum file is never written over in a format it was not chosen for.
  void OnFileSave();
  bool DoFileSave() override;
  // Whether a save to path may go ahead: nothing there, or (asking, string 3110) the user agrees.
  static bool MayReplace(const std::string& path, bool ask);

  void OnEditClearAll();
  void OnUpdateEditClearAll(ui::CmdUI* cmdUI);

 protected:
  sapage::PageSize m_page;
  int m_zoom;
  bool m_workspace = false;
  int m_saveFormat = 0;
  int m_saveOption = 0;
  // A workspace opened without some of its items (their controls could not load them): File
  // Save over it asks first.
  std::string m_notReadWhole;
  CSaUndoList m_undo;

 private:
  // Save As's run; whether it saved.
  bool SaveAs();
  // A spectrum item made from the source's data object, on the whole page; null (nothing left
  // behind) when it cannot be made.
  // A spectrum item made from a control's "Embed Source" data (none: no item).
  static std::optional<std::vector<std::uint8_t>> EmbeddingOf(plat::ole::IUnknown* source);
  CSaItem* SpectrumItemFromEmbedding(std::optional<std::vector<std::uint8_t>> embedding, std::int32_t subtype,
                                     std::int32_t fromFile);
  // Clears the document and loads a snapshot; false (the document left empty) when it fails.
  bool LoadSnapshot(int index);
  bool StepTo(int index);
  bool SaveSpectrumFile(const std::string& path);
  // The spectrum control of the first item opened from a file (empty when there is none).
  CSpcControlRef FirstFileSpectrum() const;
};
