#pragma once
// CExplorFrame: the frame of the explorer-style file dialogs, a popup with a folder list above a
// file list in a static splitter. The file list shows only the files that the frame's file
// identifier recognises, with the type and format it names, and is filled by a worker thread.
//
// The listing: Refresh clears the file list, starts a new listing generation and asks for a
// listing; a worker starts when none runs, else the running one starts over. The worker
// identifies the entries of the current folder one by one and hands each recognised one to the
// user-interface thread through a queue and a posted message; rows of an older generation are
// dropped there. The worker makes its own identifier (and with it the spectrum controls it
// asks) and releases it before it ends. StopListing stops and joins it; the frame does so
// before it writes settings or lets anything go, so the worker never overlaps the
// user-interface thread's use of the converters and the profile store.
//
// Settings (the module's default descriptor): "ExplorFrame\Splitter", the folder pane's height
// (60); the width of each column in the section "ExplorFrame\FileList", named by its title
// (twice the title's width); both written when the window is destroyed.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "foundation/filedlg/listviewex.h"
#include "platform/ui/frame.h"
#include "platform/ui/splitter.h"

// What the worker asks about each entry: made on the user-interface thread, then used and
// destroyed on the worker's own.
class CFileIdentifier {
 public:
  virtual ~CFileIdentifier() = default;
  // Before the first entry and after the last (the worker's thread).
  virtual void Begin() {}
  virtual void End() {}
  // True when the entry at path is recognised, with its format and type names.
  virtual bool IdentifyFile(const std::string& path, std::string* formatName, std::string* typeName) = 0;
};

// One column of the file list: the title's string id and its alignment.
struct CFileColumn {
  ui::UINT titleId;
  int format;
};

class CExplorFrame : public ui::FrameWnd {
  UI_DECLARE_DYNAMIC(CExplorFrame)
  UI_DECLARE_MESSAGE_MAP()

 public:
  // The message that tells the frame rows are waiting in the worker's queue.
  static constexpr ui::UINT kMsgFileRows = ui::WM_APP + 0x2D0;

  CExplorFrame();
  ~CExplorFrame() override;

  // --- What derived frames supply ------------------------------------------------------------
  virtual std::span<const CFileColumn> GetColumns() const = 0;
  // The worker's identifier; the base one recognises nothing.
  virtual std::unique_ptr<CFileIdentifier> CreateIdentifier();
  // The colour of a listed file's row (0, black, here).
  virtual ui::COLORREF GetFileColor(const std::string& path);
  // Reloads both lists for the current folder.
  virtual void Refresh();
  virtual std::string GetTitle() const = 0;
  // Run each time the dialog is shown.
  virtual void InitControls() {}

  // --- State -------------------------------------------------------------------------------------
  // The current folder: an absolute path without a trailing separator ("/" for the root).
  const std::string& GetCurrentDirectory() const { return m_strCurDir; }
  void SetCurrentDirectory(std::string_view dir);
  ui::ListCtrl& FolderList() { return m_folderList; }
  CListViewEx& FileList() { return m_fileList; }
  ui::SplitterWnd& Splitter() { return m_splitter; }
  // Full paths of the listed files, in the order they were added.
  const std::vector<std::string>& ListedPaths() const { return m_paths; }
  // A worker is listing (or a listing waits to start).
  bool IsListing() const;
  // The last listing ran to its end and all its rows are in the file list.
  bool IsListingComplete() const { return m_listingComplete; }
  // Stops the worker and waits for it; the listing stays unfinished.
  void StopListing();
  // While held, a listing asked for waits; releasing starts it.
  void HoldListing(bool hold);
  // The row and column of the file list at a point of its client area; false outside the rows.
  bool HitTestFileList(ui::Point client, int* row, int* column);

  int OnCreate(ui::CREATESTRUCT* cs);
  void OnDestroy();
  void OnFolderDblClk(ui::NMHDR* hdr, ui::LRESULT* result);
  ui::LRESULT OnFileRows(ui::WPARAM wParam, ui::LPARAM lParam);

 protected:
  bool OnCreateClient(ui::CREATESTRUCT* cs, ui::CreateContext* context) override;
  void FillFolderList();
  void LoadColumns();
  void SaveLayout();

 private:
  struct Row {
    unsigned generation = 0;
    bool done = false;  // the end of a listing
    std::string name, path, format, type;
    std::uint64_t size = 0;
    std::int64_t lastWrite = 0;
  };
  void AddFileItem(const Row& row);
  // Starts a worker when a listing is asked for and none runs (m_listMutex held).
  void StartIfPending();
  void ListFiles(std::unique_ptr<CFileIdentifier> identifier, ui::HWND target);
  void Push(Row row, ui::HWND target);
  // Empties the queue of rows (no worker runs).
  void ClearQueue();

  ui::SplitterWnd m_splitter;
  ui::ListCtrl m_folderList;
  CListViewEx m_fileList;
  std::vector<std::string> m_paths;
  std::string m_strCurDir;
  bool m_listingComplete = false;

  // Shared with the worker.
  mutable std::mutex m_listMutex;
  std::string m_listDir;       // the folder a listing starts on
  unsigned m_generation = 0;   // of the listing asked for last
  bool m_running = false;      // a worker runs
  bool m_hold = false;
  std::atomic<bool> m_restart{false};  // a listing is asked for: start (over)
  std::atomic<bool> m_stop{false};
  std::thread m_worker;
  std::mutex m_rowsMutex;
  std::vector<Row> m_rows;
};
