// The explorer-style frame: panes, columns, the listing worker.
#include "foundation/filedlg/explorframe.h"

#include <cstdio>

#include "foundation/profdesc.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/ui/resource.h"
#include "profile/profile.h"

namespace {

constexpr const char16_t* kSplitterValue = u"ExplorFrame\\Splitter";
constexpr const char16_t* kColumnSection = u"ExplorFrame\\FileList";
constexpr int kDefaultFolderPaneHeight = 60;

// "%d-%b-%y" of a file time, in local time and the C locale's month names.
std::string FormatFileDate(std::int64_t seconds) {
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  plat::LocalTime local;
  if (!plat::toLocalTime(seconds, &local) || local.month < 1 || local.month > 12) return {};
  char text[16];
  std::snprintf(text, sizeof text, "%02d-%s-%02d", local.day, kMonths[local.month - 1], local.year % 100);
  return text;
}

class NothingRecognised : public CFileIdentifier {
 public:
  bool IdentifyFile(const std::string&, std::string*, std::string*) override { return false; }
};

}  // namespace

UI_IMPLEMENT_DYNAMIC(CExplorFrame, ui::FrameWnd)

UI_BEGIN_MESSAGE_MAP(CExplorFrame, ui::FrameWnd)
  ui::map::Create(&CExplorFrame::OnCreate),
  ui::map::Destroy(&CExplorFrame::OnDestroy),
  ui::map::Notify(ui::NM_DBLCLK, ui::AFX_IDW_PANE_FIRST, &CExplorFrame::OnFolderDblClk),
  ui::map::Notify(ui::NM_RETURN, ui::AFX_IDW_PANE_FIRST, &CExplorFrame::OnFolderDblClk),
  ui::map::Message(kMsgFileRows, &CExplorFrame::OnFileRows),
UI_END_MESSAGE_MAP()

CExplorFrame::CExplorFrame() {
  // The owner keeps the dialog object; its window comes and goes.
  m_bAutoDelete = false;
  SetCurrentDirectory(plat::homeDirectory());
}

CExplorFrame::~CExplorFrame() {
  if (IsWindow()) DestroyWindow();
  StopListing();
}

void CExplorFrame::SetCurrentDirectory(std::string_view dir) {
  std::string d = plat::toPosixPath(dir);
  while (d.size() > 1 && d.back() == '/') d.pop_back();
  if (d.empty() || d.front() != '/') d.insert(d.begin(), '/');
  m_strCurDir = d;
}

std::unique_ptr<CFileIdentifier> CExplorFrame::CreateIdentifier() { return std::make_unique<NothingRecognised>(); }

ui::COLORREF CExplorFrame::GetFileColor(const std::string&) { return 0; }

// --- Creation ----------------------------------------------------------------------------------------

bool CExplorFrame::OnCreateClient(ui::CREATESTRUCT*, ui::CreateContext*) {
  COrvProfDesc desc;
  int height = kDefaultFolderPaneHeight;
  OrvGetProfInt(kSplitterValue, &height, kDefaultFolderPaneHeight, &desc);
  if (!m_splitter.CreateStatic(this, 2, 1, ui::WS_CHILD | ui::WS_VISIBLE, ui::AFX_IDW_PANE_FIRST)) return false;
  const ui::DWORD pane = ui::WS_CHILD | ui::WS_VISIBLE | ui::WS_BORDER | ui::WS_TABSTOP | ui::LVS_SHOWSELALWAYS | ui::LVS_SORTASCENDING;
  if (!m_folderList.Create(pane | ui::LVS_LIST | ui::LVS_SINGLESEL, ui::Rect(), &m_splitter, m_splitter.IdFromRowCol(0, 0)))
    return false;
  if (!m_fileList.Create(pane | ui::LVS_REPORT | ui::LVS_OWNERDRAWFIXED, ui::Rect(), &m_splitter, m_splitter.IdFromRowCol(1, 0)))
    return false;
  m_splitter.SetRowInfo(0, height, 0);
  m_splitter.RecalcLayout();
  m_folderList.SetFocus();
  return true;
}

int CExplorFrame::OnCreate(ui::CREATESTRUCT* cs) {
  if (FrameWnd::OnCreate(cs) == -1) return -1;
  ModifyStyleEx(ui::WS_EX_CLIENTEDGE, 0, ui::SWP_FRAMECHANGED);
  LoadColumns();
  m_fileList.DeleteAllItems();
  return 0;
}

void CExplorFrame::LoadColumns() {
  COrvProfDesc desc;
  desc.SetSection(kColumnSection);
  desc.Open(PROF_MODE_ALL);
  const std::span<const CFileColumn> columns = GetColumns();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const std::string title = ui::LoadString(columns[i].titleId);
    const int fallback = 2 * m_fileList.GetStringWidth(title);
    int width = fallback;
    OrvGetProfInt(plat::toUtf16(title).c_str(), &width, fallback, &desc);
    const int index = static_cast<int>(i);
    if (index < m_fileList.GetColumnCount()) {
      m_fileList.SetColumnText(index, title);
      m_fileList.SetColumnWidth(index, width);
    } else {
      m_fileList.InsertColumn(index, title, columns[i].format, width);
    }
  }
  desc.Close();
}

void CExplorFrame::SaveLayout() {
  COrvProfDesc desc;
  int height = 0;
  if (m_splitter.GetRowInfo(0, &height, nullptr)) OrvSetProfInt(kSplitterValue, height, &desc);
  COrvProfDesc columns;
  columns.SetSection(kColumnSection);
  for (int i = 0; i < m_fileList.GetColumnCount(); ++i)
    OrvSetProfInt(plat::toUtf16(m_fileList.GetColumnText(i)).c_str(), m_fileList.GetColumnWidth(i), &columns);
}

void CExplorFrame::OnDestroy() {
  StopListing();
  SaveLayout();
  FrameWnd::OnDestroy();
}

// --- Lists ---------------------------------------------------------------------------------------------

void CExplorFrame::FillFolderList() {
  m_folderList.DeleteAllItems();
  for (const plat::DirEntry& e : plat::findFiles(m_strCurDir, "*.*"))
    if (e.isDirectory) m_folderList.InsertItem(m_folderList.GetItemCount(), e.name);
}

void CExplorFrame::Refresh() {
  FillFolderList();
  m_fileList.DeleteAllItems();
  m_paths.clear();
  m_listingComplete = false;
  std::lock_guard lock(m_listMutex);
  ++m_generation;
  m_listDir = m_strCurDir;
  m_restart = true;
  StartIfPending();
}

void CExplorFrame::OnFolderDblClk(ui::NMHDR* hdr, ui::LRESULT*) {
  // A double click opens the folder under the pointer (the list's own hit test), Return the
  // selected one.
  const int row = hdr && hdr->code == ui::NM_DBLCLK ? reinterpret_cast<const ui::NMITEMACTIVATE*>(hdr)->iItem
                                                    : m_folderList.GetNextItem(-1, ui::LVNI_SELECTED);
  if (row < 0) return;
  SetCurrentDirectory(plat::joinPath(m_strCurDir, m_folderList.GetItemText(row, 0)));
  Refresh();
}

bool CExplorFrame::HitTestFileList(ui::Point client, int* row, int* column) {
  const int hit = m_fileList.HitTest(client);
  if (hit < 0) return false;
  if (row) *row = hit;
  if (column) {
    ui::Rect item;
    m_fileList.GetItemRect(hit, &item, ui::LVIR_BOUNDS);
    int right = item.left;
    *column = -1;
    for (int c = 0; c < m_fileList.GetColumnCount() && *column < 0; ++c) {
      right += m_fileList.GetColumnWidth(c);
      if (client.x < right) *column = c;
    }
  }
  return true;
}

void CExplorFrame::AddFileItem(const Row& r) {
  const int row = m_fileList.InsertItem(static_cast<int>(m_paths.size()), r.name);
  if (row < 0) return;
  m_fileList.SetItemText(row, 1, r.type);
  m_fileList.SetItemText(row, 2, r.format);
  const std::string date = FormatFileDate(r.lastWrite);
  const std::string size = r.size ? std::to_string(r.size) : std::string();
  m_fileList.SetItemText(row, 3, date);
  m_fileList.SetItemText(row, 4, size);
  // A date or a size cut at its cell's edges would read as another one.
  m_fileList.FitColumnTo(3, date);
  m_fileList.FitColumnTo(4, size);
  m_fileList.SetItemData(row, GetFileColor(r.path));
  m_paths.push_back(r.path);
}

// --- The worker ----------------------------------------------------------------------------------------

bool CExplorFrame::IsListing() const {
  std::lock_guard lock(m_listMutex);
  return m_running || m_restart;
}

void CExplorFrame::HoldListing(bool hold) {
  std::lock_guard lock(m_listMutex);
  m_hold = hold;
  StartIfPending();
}

void CExplorFrame::StartIfPending() {
  if (m_hold || m_running || !m_restart || !IsWindow()) return;
  // A worker that has finished is still to be joined (it only releases its identifier now).
  if (m_worker.joinable()) m_worker.join();
  ClearQueue();
  m_running = true;
  m_worker = std::thread(&CExplorFrame::ListFiles, this, CreateIdentifier(), m_hWnd);
}

void CExplorFrame::StopListing() {
  {
    std::lock_guard lock(m_listMutex);
    m_stop = true;
  }
  if (m_worker.joinable()) m_worker.join();
  // Rows whose message was dropped with the window would keep the queue from being announced.
  ClearQueue();
  std::lock_guard lock(m_listMutex);
  m_stop = false;
  m_restart = false;
  m_running = false;
}

void CExplorFrame::ListFiles(std::unique_ptr<CFileIdentifier> identifier, ui::HWND target) {
  if (!identifier) identifier = std::make_unique<NothingRecognised>();
  identifier->Begin();
  for (;;) {
    std::string dir;
    unsigned generation = 0;
    {
      std::lock_guard lock(m_listMutex);
      if (m_stop || !m_restart) {
        m_running = false;
        break;
      }
      m_restart = false;
      dir = m_listDir;
      generation = m_generation;
    }
    bool interrupted = false;
    for (const plat::DirEntry& e : plat::findFiles(dir, "*.*")) {
      if (m_restart || m_stop) {
        interrupted = true;
        break;
      }
      Row row;
      row.generation = generation;
      row.path = plat::joinPath(dir, e.name);
      if (!identifier->IdentifyFile(row.path, &row.format, &row.type)) continue;
      row.name = e.name;
      row.size = e.size;
      row.lastWrite = e.lastWrite;
      Push(std::move(row), target);
    }
    if (!interrupted) {
      Row done;
      done.generation = generation;
      done.done = true;
      Push(std::move(done), target);
    }
  }
  identifier->End();
}

void CExplorFrame::ClearQueue() {
  std::lock_guard lock(m_rowsMutex);
  m_rows.clear();
}

void CExplorFrame::Push(Row row, ui::HWND target) {
  bool wasEmpty = false;
  {
    std::lock_guard lock(m_rowsMutex);
    wasEmpty = m_rows.empty();
    m_rows.push_back(std::move(row));
  }
  if (wasEmpty) ui::PostMessage(target, kMsgFileRows);
}

ui::LRESULT CExplorFrame::OnFileRows(ui::WPARAM, ui::LPARAM) {
  std::vector<Row> rows;
  {
    std::lock_guard lock(m_rowsMutex);
    rows.swap(m_rows);
  }
  unsigned current = 0;
  {
    std::lock_guard lock(m_listMutex);
    current = m_generation;
  }
  for (const Row& r : rows) {
    if (r.generation != current) continue;
    if (r.done) m_listingComplete = true;
    else AddFileItem(r);
  }
  return 0;
}
