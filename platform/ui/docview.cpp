// Documents, views, scroll views and document templates; the application's document commands.
#include "platform/ui/docview.h"

#include <algorithm>

#include "platform/base/numtext.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/ui/app.h"
#include "platform/ui/commdlg.h"
#include "platform/ui/dc.h"
#include "platform/ui/internal/wndaccess.h"
#include "platform/ui/resource.h"

namespace ui {

// --- Document -------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(Document, CmdTarget)

UI_BEGIN_MESSAGE_MAP(Document, CmdTarget)
  map::Command(ID_FILE_SAVE, &Document::OnFileSave),
  map::Command(ID_FILE_SAVE_AS, &Document::OnFileSaveAs),
  map::Command(ID_FILE_CLOSE, &Document::OnFileClose),
UI_END_MESSAGE_MAP()

Document::Document() = default;

Document::~Document() {
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
  for (View* v : m_views) v->m_pDocument = nullptr;
}

void Document::SetTitle(std::string_view title) {
  m_strTitle = std::string(title);
  for (View* v : m_views)
    if (FrameWnd* f = v->GetParentFrame()) f->OnUpdateFrameTitle(true);
}

void Document::SetPathName(std::string_view path, bool) {
  m_strPathName = std::string(path);
  SetTitle(plat::pathFileName(path));
}

void Document::AddView(View* view) {
  if (!view || std::find(m_views.begin(), m_views.end(), view) != m_views.end()) return;
  m_views.push_back(view);
  view->m_pDocument = this;
}

void Document::RemoveView(View* view) {
  m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
  if (view && view->m_pDocument == this) view->m_pDocument = nullptr;
  // The last view gone: the document goes with it.
  if (m_views.empty() && m_bAutoDelete && !m_closing) {
    m_closing = true;
    DeleteContents();
    delete this;
  }
}

void Document::UpdateAllViews(View* sender, LPARAM hint, CmdTarget* hintObject) {
  for (View* v : std::vector<View*>(m_views))
    if (v != sender) v->OnUpdate(sender, hint, hintObject);
}

bool Document::OnNewDocument() {
  DeleteContents();
  m_strPathName.clear();
  SetModifiedFlag(false);
  return true;
}

bool Document::OnOpenDocument(std::string_view path) {
  std::unique_ptr<plat::Archive> archive;
  if (!plat::Archive::loadFile(std::string(path), &archive) || !archive) {
    AppMessageBox("Failed to open document.", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  DeleteContents();
  try {
    Serialize(*archive);
  } catch (const plat::ArchiveError&) {
    DeleteContents();
    AppMessageBox("Unexpected file format.", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  SetModifiedFlag(false);
  return true;
}

bool Document::OnSaveDocument(std::string_view path) {
  plat::Archive archive;
  try {
    Serialize(archive);
  } catch (const plat::ArchiveError&) {
    AppMessageBox("Failed to save document.", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  // The file is replaced only when the whole new one is written.
  if (!archive.saveFile(std::string(path))) {
    AppMessageBox("Failed to save document.", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  SetModifiedFlag(false);
  return true;
}

void Document::Serialize(plat::Archive&) {}

void Document::OnCloseDocument() {
  m_closing = true;
  for (View* v : std::vector<View*>(m_views))
    if (FrameWnd* f = v->GetParentFrame(); f && f->IsWindow()) {
      PreCloseFrame(f);
      f->DestroyWindow();
    }
  DeleteContents();
  m_views.clear();
  if (m_bAutoDelete) delete this;
  else m_closing = false;
}

bool Document::SaveModified() {
  if (!IsModified()) return true;
  const std::string name = m_strTitle.empty() ? std::string("Untitled") : m_strTitle;
  switch (AppMessageBox("Save changes to " + name + "?", MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
      return DoFileSave();
    case IDNO:
      return true;
    default:
      return false;
  }
}

bool Document::CanCloseFrame(FrameWnd* frame) {
  // Other frames of the document stay: no question then.
  for (View* v : m_views)
    if (v->GetParentFrame() != frame) return true;
  return SaveModified();
}

bool Document::DoSave(std::string_view path, bool replace) {
  std::string target(path);
  if (target.empty()) {
    std::string ext;
    std::string filter;
    if (m_pDocTemplate) {
      m_pDocTemplate->GetDocString(ext, DocTemplate::filterExt);
      std::string name;
      m_pDocTemplate->GetDocString(name, DocTemplate::filterName);
      if (!name.empty() && !ext.empty()) filter = name + "|*" + ext + "||";
    }
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    FileDialog dialog(false, ext, m_strPathName.empty() ? m_strTitle : m_strPathName, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter);
    if (dialog.DoModal() != IDOK) return false;
    target = dialog.GetPathName();
  }
  if (!OnSaveDocument(target)) return false;
  if (replace) SetPathName(target);
  return true;
}

bool Document::DoFileSave() { return DoSave(m_strPathName); }

bool Document::OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) {
  if (CmdTarget::OnCmdMsg(id, code, extra, info)) return true;
  return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(id, code, extra, info);
}

void Document::OnFileSave() { DoFileSave(); }
void Document::OnFileSaveAs() { DoSave({}); }
void Document::OnFileClose() {
  if (!SaveModified()) return;
  OnCloseDocument();
}

// --- View -------------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(View, Wnd)

UI_BEGIN_MESSAGE_MAP(View, Wnd)
  map::Create(&View::OnCreate),
  map::Destroy(&View::OnDestroy),
  map::Paint(&View::OnPaint),
  map::Message(WM_INITIALUPDATE, &View::OnInitialUpdateMessage),
  map::Message(WM_MOUSEACTIVATE, &View::OnMouseActivateMessage),
UI_END_MESSAGE_MAP()

View::~View() {
  if (m_pDocument) m_pDocument->RemoveView(this);
}

bool View::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.className.empty() || cs.className == kDefaultWndClass) {
    static const std::string cls = [] {
      const gdi::Brush window(gdi::GetSysColor(gdi::COLOR_WINDOW));
      return RegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr, &window);
    }();
    cs.className = cls;
  }
  return true;
}

int View::OnCreate(CREATESTRUCT* cs) {
  if (Default() == -1) return -1;
  auto* context = reinterpret_cast<CreateContext*>(cs->lpCreateParams);
  if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
  return 0;
}

void View::OnDestroy() {
  if (FrameWnd* f = GetParentFrame(); f && f->GetActiveView() == this) f->SetActiveView(nullptr, false);
  Default();
}

void View::PostNcDestroy() {
  Document* doc = m_pDocument;
  m_pDocument = nullptr;
  if (doc) doc->RemoveView(this);
  if (m_autoDelete) delete this;
}

void View::OnPaint() {
  PaintDC dc(this);
  OnPrepareDC(&dc);
  OnDraw(&dc);
}

void View::OnDraw(gdi::DC*) {}
void View::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
void View::OnUpdate(View*, LPARAM, CmdTarget*) { Invalidate(); }

void View::OnActivateView(bool activate, View* activated, View*) {
  if (activate && activated == this) SetFocus();
}

void View::OnPrepareDC(gdi::DC*, PrintInfo*) {}

bool View::OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) {
  if (Wnd::OnCmdMsg(id, code, extra, info)) return true;
  return m_pDocument && m_pDocument->OnCmdMsg(id, code, extra, info);
}

LRESULT View::OnInitialUpdateMessage(WPARAM, LPARAM) {
  OnInitialUpdate();
  return 0;
}

LRESULT View::OnMouseActivateMessage(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Default();
  // A click in a view makes it the active view of its frame.
  if (FrameWnd* f = GetParentFrame(); f && f->GetActiveView() != this) f->SetActiveView(this);
  (void)wParam;
  (void)lParam;
  return result;
}

// --- ScrollView -------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(ScrollView, View)

UI_BEGIN_MESSAGE_MAP(ScrollView, View)
  map::Size(&ScrollView::OnSize),
  map::HScroll(&ScrollView::OnHScroll),
  map::VScroll(&ScrollView::OnVScroll),
  map::MouseWheel(&ScrollView::OnMouseWheel),
UI_END_MESSAGE_MAP()

Size ScrollView::ToDevice(Size logical) const {
  gdi::RasterSurface scratch(1, 1);
  gdi::DC dc(scratch);
  dc.SetMapMode(m_mapMode);
  dc.LPtoDP(&logical);
  return {std::abs(logical.cx), std::abs(logical.cy)};
}

void ScrollView::SetScrollSizes(int mapMode, Size total, Size page, Size line) {
  m_mapMode = mapMode;
  m_totalLog = {std::max(0, total.cx), std::max(0, total.cy)};
  m_totalDev = ToDevice(m_totalLog);
  m_pageDev = page.cx || page.cy ? ToDevice(page) : Size{m_totalDev.cx / 10, m_totalDev.cy / 10};
  m_lineDev = line.cx || line.cy ? ToDevice(line) : Size{m_pageDev.cx / 10, m_pageDev.cy / 10};
  if (m_pageDev.cx == 0) m_pageDev.cx = 1;
  if (m_pageDev.cy == 0) m_pageDev.cy = 1;
  if (m_lineDev.cx == 0) m_lineDev.cx = 1;
  if (m_lineDev.cy == 0) m_lineDev.cy = 1;
  UpdateBars();
}

void ScrollView::UpdateBars() {
  if (!IsWindow()) return;
  Rect client;
  GetClientRect(&client);
  // A bar shows only when the total does not fit; the position stays inside the range.
  const bool needH = m_totalDev.cx > client.Width() + ((GetStyle() & WS_VSCROLL) ? 16 : 0);
  const bool needV = m_totalDev.cy > client.Height() + ((GetStyle() & WS_HSCROLL) ? 16 : 0);
  const DWORD want = (needH ? WS_HSCROLL : 0) | (needV ? WS_VSCROLL : 0);
  if ((GetStyle() & (WS_HSCROLL | WS_VSCROLL)) != want)
    ModifyStyle(WS_HSCROLL | WS_VSCROLL, want, SWP_FRAMECHANGED);
  GetClientRect(&client);
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = std::max(0, m_totalDev.cx - 1);
  si.nPage = static_cast<UINT>(std::max(0, client.Width()));
  m_scrollDevice.x = std::clamp(m_scrollDevice.x, 0, std::max(0, m_totalDev.cx - client.Width()));
  si.nPos = m_scrollDevice.x;
  SetScrollInfo(SB_HORZ, &si);
  si.nMax = std::max(0, m_totalDev.cy - 1);
  si.nPage = static_cast<UINT>(std::max(0, client.Height()));
  m_scrollDevice.y = std::clamp(m_scrollDevice.y, 0, std::max(0, m_totalDev.cy - client.Height()));
  si.nPos = m_scrollDevice.y;
  SetScrollInfo(SB_VERT, &si);
}

Point ScrollView::GetScrollPosition() const {
  Point p = m_scrollDevice;
  gdi::RasterSurface scratch(1, 1);
  gdi::DC dc(scratch);
  dc.SetMapMode(m_mapMode);
  Size s{p.x, p.y};
  dc.DPtoLP(&s);
  return {std::abs(s.cx), std::abs(s.cy)};
}

void ScrollView::ScrollToPosition(Point position) {
  Size s = ToDevice({position.x, position.y});
  ScrollTo({s.cx, s.cy});
}

void ScrollView::ScrollTo(Point device) {
  Rect client;
  GetClientRect(&client);
  device.x = std::clamp(device.x, 0, std::max(0, m_totalDev.cx - client.Width()));
  device.y = std::clamp(device.y, 0, std::max(0, m_totalDev.cy - client.Height()));
  const int dx = m_scrollDevice.x - device.x;
  const int dy = m_scrollDevice.y - device.y;
  if (!dx && !dy) return;
  m_scrollDevice = device;
  SetScrollPos(SB_HORZ, device.x);
  SetScrollPos(SB_VERT, device.y);
  ScrollWindow(dx, dy);
}

void ScrollView::OnPrepareDC(gdi::DC* dc, PrintInfo* info) {
  if (!dc) return;
  dc->SetMapMode(m_mapMode);
  if (!info) dc->SetViewportOrg(-m_scrollDevice.x, -m_scrollDevice.y);
}

void ScrollView::OnSize(UINT, int, int) { UpdateBars(); }

namespace {
int ScrollTarget(UINT code, UINT pos, int current, int line, int page, int total) {
  switch (code) {
    case SB_LINEUP: return current - line;
    case SB_LINEDOWN: return current + line;
    case SB_PAGEUP: return current - page;
    case SB_PAGEDOWN: return current + page;
    case SB_TOP: return 0;
    case SB_BOTTOM: return total;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return static_cast<int>(pos);
    default: return current;
  }
}
}  // namespace

void ScrollView::OnHScroll(UINT code, UINT pos, Wnd*) {
  ScrollTo({ScrollTarget(code, pos, m_scrollDevice.x, m_lineDev.cx, m_pageDev.cx, m_totalDev.cx), m_scrollDevice.y});
}

void ScrollView::OnVScroll(UINT code, UINT pos, Wnd*) {
  ScrollTo({m_scrollDevice.x, ScrollTarget(code, pos, m_scrollDevice.y, m_lineDev.cy, m_pageDev.cy, m_totalDev.cy)});
}

bool ScrollView::OnMouseWheel(UINT, short delta, Point) {
  const int steps = delta / WHEEL_DELTA;
  if (!steps) return false;
  ScrollTo({m_scrollDevice.x, m_scrollDevice.y - steps * 3 * m_lineDev.cy});
  return true;
}

// --- Templates --------------------------------------------------------------------------------------------

UI_IMPLEMENT_DYNAMIC(DocTemplate, CmdTarget)
UI_IMPLEMENT_DYNAMIC(MultiDocTemplate, DocTemplate)
UI_IMPLEMENT_DYNAMIC(SingleDocTemplate, DocTemplate)

DocTemplate::DocTemplate(UINT resourceId, const RuntimeClass* docClass, const RuntimeClass* frameClass,
                         const RuntimeClass* viewClass)
    : m_nIDResource(resourceId), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass) {}

DocTemplate::~DocTemplate() {
  for (Document* d : std::vector<Document*>(m_docs)) {
    d->m_pDocTemplate = nullptr;
    d->OnCloseDocument();
  }
}

void DocTemplate::SetContainerInfo(UINT resourceId) {
  m_menuInPlace.DestroyMenu();
  m_menuInPlace.LoadMenu(resourceId);
  m_accelInPlace = AccelTable::Load(resourceId);
}

bool DocTemplate::GetDocString(std::string& out, DocStringIndex index) const {
  out = GetSubString(LoadString(m_nIDResource), static_cast<int>(index));
  return !out.empty();
}

DocTemplate::Confidence DocTemplate::MatchDocType(std::string_view path, Document*& match) {
  match = nullptr;
  for (Document* d : m_docs)
    if (!d->GetPathName().empty() && plat::equalsNoCase(d->GetPathName(), path)) {
      match = d;
      return yesAlreadyOpen;
    }
  std::string ext;
  GetDocString(ext, filterExt);
  if (!ext.empty()) {
    const std::string_view name = plat::pathFileName(path);
    if (name.size() >= ext.size() && plat::equalsNoCase(name.substr(name.size() - ext.size()), ext)) return yesAttemptNative;
  }
  return yesAttemptForeign;
}

Document* DocTemplate::CreateNewDocument() {
  CmdTarget* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
  auto* doc = dynamic_cast<Document*>(object);
  if (!doc) {
    delete object;
    return nullptr;
  }
  AddDocument(doc);
  return doc;
}

FrameWnd* DocTemplate::CreateNewFrame(Document* doc, FrameWnd* other) {
  CmdTarget* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
  auto* frame = dynamic_cast<FrameWnd*>(object);
  if (!frame) {
    delete object;
    return nullptr;
  }
  CreateContext context;
  context.m_pCurrentFrame = other;
  context.m_pCurrentDoc = doc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  Wnd* main = App::Get() ? App::Get()->GetMainWnd() : nullptr;
  // Until its window exists the frame is ours to delete; afterwards it deletes itself with it.
  const bool autoDelete = frame->m_bAutoDelete;
  frame->m_bAutoDelete = false;
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, main, &context)) {
    delete frame;
    return nullptr;
  }
  frame->m_bAutoDelete = autoDelete;
  return frame;
}

bool DocTemplate::Fill(Document* doc, std::string_view path) {
  if (path.empty()) {
    SetDefaultTitle(doc);
    return doc->OnNewDocument();
  }
  if (!doc->OnOpenDocument(path)) return false;
  doc->SetPathName(path);
  return true;
}

void DocTemplate::InitialUpdateFrame(FrameWnd* frame, Document* doc, bool makeVisible) {
  if (frame) frame->InitialUpdateFrame(doc, makeVisible);
}

void DocTemplate::AddDocument(Document* doc) {
  if (!doc) return;
  doc->m_pDocTemplate = this;
  if (std::find(m_docs.begin(), m_docs.end(), doc) == m_docs.end()) m_docs.push_back(doc);
}

void DocTemplate::RemoveDocument(Document* doc) {
  m_docs.erase(std::remove(m_docs.begin(), m_docs.end(), doc), m_docs.end());
  if (doc && doc->m_pDocTemplate == this) doc->m_pDocTemplate = nullptr;
}

void DocTemplate::CloseAllDocuments(bool) {
  for (Document* d : std::vector<Document*>(m_docs)) d->OnCloseDocument();
}

bool DocTemplate::SaveAllModified() {
  for (Document* d : std::vector<Document*>(m_docs))
    if (!d->SaveModified()) return false;
  return true;
}

Document* MultiDocTemplate::OpenDocumentFile(std::string_view path, bool makeVisible) {
  Document* doc = CreateNewDocument();
  if (!doc) return nullptr;
  // The frame's views belong to the document: closing the frame on failure closes it too.
  const bool autoDelete = doc->m_bAutoDelete;
  doc->m_bAutoDelete = false;
  FrameWnd* frame = CreateNewFrame(doc, nullptr);
  doc->m_bAutoDelete = autoDelete;
  if (!frame) {
    RemoveDocument(doc);
    delete doc;
    return nullptr;
  }
  if (!Fill(doc, path)) {
    doc->m_bAutoDelete = false;
    frame->DestroyWindow();
    RemoveDocument(doc);
    delete doc;
    return nullptr;
  }
  InitialUpdateFrame(frame, doc, makeVisible);
  return doc;
}

void MultiDocTemplate::SetDefaultTitle(Document* doc) {
  std::string base;
  if (!GetDocString(base, docName)) base = "Untitled";
  doc->SetTitle(base + plat::formatInt(++m_untitled));
}

Document* SingleDocTemplate::OpenDocumentFile(std::string_view path, bool makeVisible) {
  Document* doc = m_docs.empty() ? nullptr : m_docs.front();
  FrameWnd* frame = nullptr;
  if (doc) {
    if (!doc->SaveModified()) return nullptr;
    if (!doc->GetViews().empty()) frame = doc->GetViews().front()->GetParentFrame();
  } else {
    doc = CreateNewDocument();
    if (!doc) return nullptr;
    doc->m_bAutoDelete = false;
    frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = true;
    if (!frame) {
      RemoveDocument(doc);
      delete doc;
      return nullptr;
    }
    if (App* app = App::Get(); app && !app->GetMainWnd()) app->m_pMainWnd = frame;
  }
  if (!Fill(doc, path)) return nullptr;
  if (frame) InitialUpdateFrame(frame, doc, makeVisible);
  return doc;
}

void SingleDocTemplate::SetDefaultTitle(Document* doc) {
  std::string base;
  if (!GetDocString(base, docName)) base = "Untitled";
  doc->SetTitle(base);
}

void DeleteDocTemplate(DocTemplate* docTemplate) { delete docTemplate; }

// --- The application's document commands ---------------------------------------------------------------

void App::AddDocTemplate(DocTemplate* docTemplate) {
  if (docTemplate) m_templates.push_back(docTemplate);
}

Document* App::OpenDocumentFile(std::string_view path) {
  DocTemplate* best = nullptr;
  DocTemplate::Confidence bestMatch = DocTemplate::noAttempt;
  Document* open = nullptr;
  for (DocTemplate* t : m_templates) {
    Document* match = nullptr;
    const DocTemplate::Confidence c = t->MatchDocType(path, match);
    if (c > bestMatch) {
      bestMatch = c;
      best = t;
      open = match;
    }
    if (c == DocTemplate::yesAlreadyOpen) break;
  }
  if (!best) return nullptr;
  if (bestMatch == DocTemplate::yesAlreadyOpen && open) {
    if (!open->GetViews().empty())
      if (FrameWnd* f = open->GetViews().front()->GetParentFrame()) f->ActivateFrame();
    return open;
  }
  return best->OpenDocumentFile(path);
}

void App::CloseAllDocuments(bool endSession) {
  for (DocTemplate* t : m_templates) t->CloseAllDocuments(endSession);
}

bool App::SaveAllModified() {
  for (DocTemplate* t : m_templates)
    if (!t->SaveAllModified()) return false;
  return true;
}

void App::OnFileNew() {
  if (!m_templates.empty()) m_templates.front()->OpenDocumentFile({});
}

void App::OnFileOpen() {
  std::string filter;
  for (DocTemplate* t : m_templates) {
    std::string name, ext;
    t->GetDocString(name, DocTemplate::filterName);
    t->GetDocString(ext, DocTemplate::filterExt);
    if (!name.empty() && !ext.empty()) filter += name + "|*" + ext + "|";
  }
  filter += "All Files (*.*)|*.*||";
  FileDialog dialog(true, {}, {}, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter);
  if (dialog.DoModal() != IDOK) return;
  OpenDocumentFile(dialog.GetPathName());
}

}  // namespace ui
