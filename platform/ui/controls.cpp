// Standard controls: the common core, buttons, statics, edits and tool tips.
#include "platform/ui/controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTextBlock>

#include <cstring>

#include "platform/gdi/qt_bridge.h"
#include "platform/ui/internal/controlcore.h"
#include "platform/ui/internal/wndaccess.h"

namespace ui {

std::unique_ptr<Core> MakeListBoxCore(WndImpl* impl);
std::unique_ptr<Core> MakeComboBoxCore(WndImpl* impl);
std::unique_ptr<Core> MakeListViewCore(WndImpl* impl);
std::unique_ptr<Core> MakeTabCore(WndImpl* impl);

// --- The common core --------------------------------------------------------------------------------

bool ToolkitCore::DefProc(UINT message, WPARAM, LPARAM, LRESULT*) {
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
    const int code = FocusCode(message == WM_SETFOCUS);
    if (code != -1) Notify(code);
  }
  return false;
}

void ToolkitCore::Notify(int code) {
  if (quiet) return;
  AppState& st = AppState::Get();
  if (WndImpl* parent = st.Lookup(impl_->parent))
    st.Dispatch(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(impl_->id), static_cast<WORD>(code)),
                HandleToParam(impl_->hwnd));
}

LRESULT ToolkitCore::NotifyParent(NMHDR* hdr, int code) {
  hdr->hwndFrom = impl_->hwnd;
  hdr->idFrom = impl_->id;
  hdr->code = code;
  AppState& st = AppState::Get();
  WndImpl* parent = st.Lookup(impl_->parent);
  return parent ? st.Dispatch(parent, WM_NOTIFY, impl_->id, reinterpret_cast<LPARAM>(hdr)) : 0;
}

void ToolkitCore::SendDrawItem(QPainter& painter, UINT type, int item, UINT action, UINT state, const Rect& rect,
                               UINT_PTR data) {
  AppState& st = AppState::Get();
  WndImpl* parent = st.Lookup(impl_->parent);
  if (!parent) return;
  gdi::DC dc = gdi::qt::MakePainterDC(painter, gdi::ScreenCaps());
  if (!impl_->font.IsNull()) dc.SelectObject(impl_->font);
  else dc.SelectStockObject(gdi::DEFAULT_GUI_FONT);
  DRAWITEMSTRUCT dis;
  dis.CtlType = type;
  dis.CtlID = impl_->id;
  dis.itemID = static_cast<UINT>(item);
  dis.itemAction = action;
  dis.itemState = state;
  dis.hwndItem = impl_->hwnd;
  dis.hDC = &dc;
  dis.rcItem = rect;
  dis.itemData = data;
  st.Dispatch(parent, WM_DRAWITEM, impl_->id, reinterpret_cast<LPARAM>(&dis));
}

UINT ToolkitCore::MeasureItem(UINT type, int item, UINT_PTR data, UINT fallback) {
  AppState& st = AppState::Get();
  MEASUREITEMSTRUCT mis;
  mis.CtlType = type;
  mis.CtlID = impl_->id;
  mis.itemID = static_cast<UINT>(item);
  mis.itemHeight = fallback;
  mis.itemData = data;
  if (WndImpl* parent = st.Lookup(impl_->parent))
    st.Dispatch(parent, WM_MEASUREITEM, impl_->id, reinterpret_cast<LPARAM>(&mis));
  return mis.itemHeight ? mis.itemHeight : fallback;
}

void ToolkitCore::ReplaceWidget(QWidget* w) {
  AppState& st = AppState::Get();
  QWidget* old = impl_->widget.data();
  if (old) {
    w->setGeometry(old->geometry());
    w->setVisible(old->isVisibleTo(old->parentWidget()));
    w->setEnabled(old->isEnabled());
    st.widgetWindows.erase(old);
    QObject::disconnect(old, nullptr, nullptr, nullptr);
    old->hide();
    if (st.InEvent(old)) {
      old->setParent(nullptr);
      old->deleteLater();
    } else {
      delete old;
    }
  }
  impl_->widget = w;
  st.widgetWindows[w] = impl_->hwnd;
  w->setMouseTracking(true);
  if (!impl_->font.IsNull()) w->setFont(gdi::qt::ToQFont(impl_->font));
}

namespace {

QString WithoutPrefix(const std::string& text) {
  QString out;
  const QString in = ToQ(text);
  for (qsizetype i = 0; i < in.size(); ++i) {
    if (in[i] == u'&') {
      if (i + 1 < in.size() && in[i + 1] == u'&') {
        out += u'&';
        ++i;
      }
      continue;
    }
    out += in[i];
  }
  return out;
}

// --- Buttons ----------------------------------------------------------------------------------------------

template <class QtBase>
class ToggleWidget : public Bridged<QtBase> {
 public:
  using Bridged<QtBase>::Bridged;
  bool automatic = true;
  std::function<void(QPainter&)> ownerDraw;

 protected:
  void nextCheckState() override {
    if (automatic) QtBase::nextCheckState();
  }
  void paintEvent(QPaintEvent* e) override {
    if (!ownerDraw) {
      QtBase::paintEvent(e);
      return;
    }
    QPainter p(this);
    ownerDraw(p);
  }
};

constexpr UINT DLGC_RADIOBUTTON = 0x40;

class ButtonCore : public ToolkitCore {
 public:
  using ToolkitCore::ToolkitCore;

  UINT Type() const { return impl_->style & BS_TYPEMASK; }
  bool IsRadio() const { return Type() == BS_RADIOBUTTON || Type() == BS_AUTORADIOBUTTON; }
  bool IsCheck() const {
    const UINT t = Type();
    return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE;
  }
  bool IsAuto() const {
    const UINT t = Type();
    return t == BS_AUTOCHECKBOX || t == BS_AUTO3STATE || t == BS_AUTORADIOBUTTON;
  }

  QWidget* CreateWidget(QWidget* parent, const CREATESTRUCT& cs) override {
    const UINT type = cs.style & BS_TYPEMASK;
    const bool pushLike = cs.style & BS_PUSHLIKE;
    QAbstractButton* b = nullptr;
    if (type == BS_GROUPBOX) {
      auto* g = new Bridged<QGroupBox>(parent);
      g->setTitle(WithoutPrefix(cs.name));
      g->setAttribute(Qt::WA_TransparentForMouseEvents);
      g->setFocusPolicy(Qt::NoFocus);
      return g;
    }
    if ((IsCheckType(type) || IsRadioType(type)) && !pushLike) {
      if (IsRadioType(type)) {
        auto* r = new ToggleWidget<QRadioButton>(parent);
        r->automatic = false;  // the group is ours (WS_GROUP), not the toolkit's
        r->setAutoExclusive(false);
        b = r;
      } else {
        auto* c = new ToggleWidget<QCheckBox>(parent);
        c->automatic = type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE;
        c->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
        b = c;
      }
    } else {
      auto* p = new ToggleWidget<QPushButton>(parent);
      p->setAutoDefault(false);
      p->setDefault(type == BS_DEFPUSHBUTTON);
      if (IsCheckType(type) || IsRadioType(type)) {
        p->setCheckable(true);
        p->automatic = type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE;
      }
      if (type == BS_OWNERDRAW) {
        const HWND h = impl_->hwnd;
        p->ownerDraw = [this, h, p](QPainter& painter) {
          if (!AppState::Get().Lookup(h)) return;
          UINT state = 0;
          if (p->isDown()) state |= ODS_SELECTED;
          if (p->hasFocus()) state |= ODS_FOCUS;
          if (!p->isEnabled()) state |= ODS_DISABLED;
          SendDrawItem(painter, ODT_BUTTON, 0, ODA_DRAWENTIRE, state, Rect(0, 0, p->width(), p->height()), 0);
        };
      }
      b = p;
    }
    b->setText(ToQ(cs.name));
    QObject::connect(b, &QAbstractButton::clicked, b, [this] { Clicked(); });
    return b;
  }

  static bool IsCheckType(UINT t) { return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE; }
  static bool IsRadioType(UINT t) { return t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON; }

  QAbstractButton* Button() const { return qobject_cast<QAbstractButton*>(widget()); }

  void Clicked() {
    if (Type() == BS_AUTORADIOBUTTON) CheckInGroup();
    Notify(BN_CLICKED);
  }

  // An automatic radio button checks itself and clears the others of its group.
  void CheckInGroup() {
    SetCheck(BST_CHECKED);
    Wnd* parent = wnd()->GetParent();
    if (!parent) return;
    const std::vector<Wnd*> items = parent->GetChildren();
    auto it = std::find(items.begin(), items.end(), wnd());
    if (it == items.end()) return;
    std::size_t first = static_cast<std::size_t>(it - items.begin());
    while (first > 0 && !(items[first]->GetStyle() & WS_GROUP)) --first;
    for (std::size_t i = first; i < items.size(); ++i) {
      if (i > first && (items[i]->GetStyle() & WS_GROUP)) break;
      if (items[i] == wnd()) continue;
      if (auto* other = WndAccess::CoreAs<ButtonCore>(items[i]); other && other->IsRadio())
        other->SetCheck(BST_UNCHECKED);
    }
  }

  int GetCheck() const {
    QAbstractButton* b = Button();
    if (!b || !b->isCheckable()) return BST_UNCHECKED;
    if (auto* c = qobject_cast<QCheckBox*>(b)) {
      const Qt::CheckState s = c->checkState();
      return s == Qt::Checked ? BST_CHECKED : s == Qt::PartiallyChecked ? BST_INDETERMINATE : BST_UNCHECKED;
    }
    return b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
  }

  void SetCheck(int check) {
    QAbstractButton* b = Button();
    if (!b || !b->isCheckable()) return;
    Quiet q(this);
    if (auto* c = qobject_cast<QCheckBox*>(b)) {
      c->setCheckState(check == BST_CHECKED ? Qt::Checked
                       : check == BST_INDETERMINATE && c->isTristate() ? Qt::PartiallyChecked
                                                                      : Qt::Unchecked);
    } else {
      b->setChecked(check == BST_CHECKED);
    }
  }

  void Created() override {
    if (QAbstractButton* b = Button(); b && (IsCheck() || IsRadio())) b->setCheckable(true);
  }

  bool DefProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    QAbstractButton* b = Button();
    switch (message) {
      case BM_GETCHECK:
        *result = GetCheck();
        return true;
      case BM_SETCHECK:
        SetCheck(static_cast<int>(wParam));
        return true;
      case BM_GETSTATE:
        *result = GetCheck() | (b && b->isDown() ? BST_PUSHED : 0) | (b && b->hasFocus() ? BST_FOCUS : 0);
        return true;
      case BM_SETSTATE:
        if (b) b->setDown(wParam != 0);
        return true;
      case BM_CLICK:
        if (b && b->isEnabled()) b->click();
        return true;
      case BM_SETSTYLE: {
        const DWORD old = impl_->style;
        impl_->style = (impl_->style & ~0xFFFFu) | (static_cast<DWORD>(wParam) & 0xFFFFu);
        StyleChanged(old);
        if (lParam && b) b->update();
        return true;
      }
      case BM_SETIMAGE: {
        auto* bitmap = reinterpret_cast<const gdi::Bitmap*>(lParam);
        *result = 0;
        image = bitmap ? *bitmap : gdi::Bitmap();
        if (b) {
          if (image.IsNull()) {
            b->setIcon(QIcon());
            b->setText(ToQ(impl_->text));
          } else {
            const QPixmap px = gdi::qt::ToQPixmap(image);
            b->setIcon(QIcon(px));
            b->setIconSize(px.size());
            if (impl_->style & BS_BITMAP) b->setText(QString());
          }
        }
        return true;
      }
      case BM_GETIMAGE:
        *result = image.IsNull() ? 0 : reinterpret_cast<LRESULT>(&image);
        return true;
      default:
        return ToolkitCore::DefProc(message, wParam, lParam, result);
    }
  }

  void StyleChanged(DWORD) override {
    if (auto* p = qobject_cast<QPushButton*>(widget())) p->setDefault(Type() == BS_DEFPUSHBUTTON);
  }

  void SetText(const std::string& text) override {
    if (auto* g = qobject_cast<QGroupBox*>(widget())) g->setTitle(WithoutPrefix(text));
    else if (QAbstractButton* b = Button(); b && !((impl_->style & BS_BITMAP) && !image.IsNull())) b->setText(ToQ(text));
  }

  UINT DlgCode() const override {
    const UINT t = Type();
    if (t == BS_GROUPBOX) return DLGC_STATIC;
    if (IsRadio()) return DLGC_BUTTON | DLGC_RADIOBUTTON;
    if (t == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    if (t == BS_PUSHBUTTON || t == BS_OWNERDRAW) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    return DLGC_BUTTON;
  }

  int FocusCode(bool gained) const override {
    return (impl_->style & BS_NOTIFY) ? (gained ? BN_SETFOCUS : BN_KILLFOCUS) : -1;
  }

  Size PreferredSize() const override {
    const QSize s = widget() ? widget()->sizeHint() : QSize();
    return {s.width(), s.height()};
  }

  gdi::Bitmap image;
};

// --- Statics -------------------------------------------------------------------------------------------

class StaticCore : public ToolkitCore {
 public:
  using ToolkitCore::ToolkitCore;

  QWidget* CreateWidget(QWidget* parent, const CREATESTRUCT& cs) override {
    auto* l = new Bridged<QLabel>(parent);
    label = l;
    Apply(cs.style, cs.name, cs.dwExStyle);
    return l;
  }

  void Apply(DWORD style, const std::string& text, DWORD exStyle) {
    const UINT type = style & SS_TYPEMASK;
    Qt::Alignment align = Qt::AlignTop;
    if (type == SS_CENTER) align |= Qt::AlignHCenter;
    else if (type == SS_RIGHT) align |= Qt::AlignRight;
    else align |= Qt::AlignLeft;
    if (style & SS_CENTERIMAGE) align = (align & ~Qt::AlignTop) | Qt::AlignVCenter;
    label->setAlignment(align);
    label->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
    int frame = QFrame::NoFrame;
    // The sunken client edge is two pixels deep, the static edge and SS_SUNKEN one.
    int depth = 1;
    if (style & SS_SUNKEN || exStyle & WS_EX_STATICEDGE) frame = QFrame::Panel | QFrame::Sunken;
    if (exStyle & WS_EX_CLIENTEDGE) {
      frame = QFrame::Panel | QFrame::Sunken;
      depth = 2;
    }
    if (type == SS_ETCHEDFRAME || type == SS_BLACKFRAME || type == SS_GRAYFRAME || type == SS_WHITEFRAME)
      frame = QFrame::Box | QFrame::Sunken;
    if (type == SS_ETCHEDHORZ) frame = QFrame::HLine | QFrame::Sunken;
    if (type == SS_ETCHEDVERT) frame = QFrame::VLine | QFrame::Sunken;
    label->setFrameStyle(frame);
    label->setLineWidth(depth);
    if (type == SS_BLACKRECT || type == SS_GRAYRECT || type == SS_WHITERECT) {
      const QColor c = type == SS_BLACKRECT ? Qt::black : type == SS_GRAYRECT ? Qt::gray : Qt::white;
      QPalette pal = label->palette();
      pal.setColor(QPalette::Window, c);
      label->setPalette(pal);
      label->setAutoFillBackground(true);
    }
    label->setAttribute(Qt::WA_TransparentForMouseEvents, !(style & SS_NOTIFY));
    label->setFocusPolicy(Qt::NoFocus);
    if (type != SS_BITMAP && type != SS_ICON) label->setText((style & SS_NOPREFIX) ? ToQ(text) : WithoutPrefix(text));
  }

  void SetText(const std::string& text) override {
    const UINT type = impl_->style & SS_TYPEMASK;
    if (type != SS_BITMAP && type != SS_ICON) label->setText((impl_->style & SS_NOPREFIX) ? ToQ(text) : WithoutPrefix(text));
  }

  void StyleChanged(DWORD) override { Apply(impl_->style, impl_->text, impl_->exStyle); }

  bool DefProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    switch (message) {
      case STM_SETIMAGE: {
        auto* bitmap = reinterpret_cast<const gdi::Bitmap*>(lParam);
        image = bitmap ? *bitmap : gdi::Bitmap();
        label->setPixmap(image.IsNull() ? QPixmap() : gdi::qt::ToQPixmap(image));
        *result = 0;
        return true;
      }
      case STM_GETIMAGE:
        *result = image.IsNull() ? 0 : reinterpret_cast<LRESULT>(&image);
        return true;
      case WM_LBUTTONDOWN:
        if (impl_->style & SS_NOTIFY) Notify(STN_CLICKED);
        return false;
      case WM_LBUTTONDBLCLK:
        if (impl_->style & SS_NOTIFY) Notify(STN_DBLCLK);
        return false;
      default:
        return ToolkitCore::DefProc(message, wParam, lParam, result);
    }
  }

  UINT DlgCode() const override { return DLGC_STATIC; }

  QLabel* label = nullptr;
  gdi::Bitmap image;
};

// --- Edits ----------------------------------------------------------------------------------------------

class EditCore : public ToolkitCore {
 public:
  using ToolkitCore::ToolkitCore;

  bool Multi() const { return plain != nullptr; }

  QWidget* CreateWidget(QWidget* parent, const CREATESTRUCT& cs) override {
    const DWORD style = cs.style;
    if (style & ES_MULTILINE) {
      auto* p = new BridgedScroll<QPlainTextEdit>(parent);
      plain = p;
      p->setLineWrapMode((style & (ES_AUTOHSCROLL | WS_HSCROLL)) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
      p->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
      p->setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
      p->setTabChangesFocus(true);
      p->setFrameStyle((style & WS_BORDER) || (cs.dwExStyle & WS_EX_CLIENTEDGE) ? QFrame::StyledPanel : QFrame::NoFrame);
      p->setPlainText(ToQ(cs.name));
      QObject::connect(p, &QPlainTextEdit::textChanged, p, [this] { Changed(); });
    } else {
      auto* l = new Bridged<QLineEdit>(parent);
      line = l;
      l->setFrame((style & WS_BORDER) || (cs.dwExStyle & WS_EX_CLIENTEDGE));
      l->setText(ToQ(cs.name));
      QObject::connect(l, &QLineEdit::textChanged, l, [this] { Changed(); });
    }
    ApplyStyle(style);
    return plain ? static_cast<QWidget*>(plain) : line;
  }

  void ApplyStyle(DWORD style) {
    const bool readOnly = style & ES_READONLY;
    Qt::Alignment align = (style & ES_CENTER) ? Qt::AlignHCenter : (style & ES_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    if (line) {
      line->setReadOnly(readOnly);
      line->setAlignment(align | Qt::AlignVCenter);
      line->setEchoMode((style & ES_PASSWORD) ? QLineEdit::Password : QLineEdit::Normal);
      if (style & ES_NUMBER) {
        if (!line->validator())
          line->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), line));
      } else if (line->validator()) {
        line->setValidator(nullptr);
      }
    } else {
      plain->setReadOnly(readOnly);
    }
  }

  void StyleChanged(DWORD) override { ApplyStyle(impl_->style); }

  QString Text() const { return line ? line->text() : plain->toPlainText(); }

  void Changed() {
    if (limit > 0 && plain && plain->toPlainText().size() > static_cast<qsizetype>(limit)) {
      // A multi-line edit refuses what goes past its limit.
      Quiet q(this);
      QTextCursor c = plain->textCursor();
      const int pos = c.position();
      plain->undo();
      c = plain->textCursor();
      c.setPosition(std::min<int>(pos, static_cast<int>(plain->toPlainText().size())));
      plain->setTextCursor(c);
      Notify(EN_MAXTEXT);
      return;
    }
    Notify(EN_UPDATE);
    Notify(EN_CHANGE);
  }

  void SetText(const std::string& text) override {
    if (line) {
      // A single-line edit reports the change as it would a user's.
      line->setText(ToQ(text));
      line->setModified(false);
    } else {
      Quiet q(this);
      plain->setPlainText(ToQ(text));
      plain->document()->setModified(false);
    }
  }
  std::string GetText() const override { return FromQ(Text()); }

  void GetSel(int* start, int* end) const {
    if (line) {
      if (line->hasSelectedText()) {
        *start = static_cast<int>(line->selectionStart());
        *end = *start + static_cast<int>(line->selectedText().size());
      } else {
        *start = *end = static_cast<int>(line->cursorPosition());
      }
    } else {
      const QTextCursor c = plain->textCursor();
      *start = c.selectionStart();
      *end = c.selectionEnd();
    }
  }

  void SetSel(int start, int end) {
    const int length = static_cast<int>(Text().size());
    if (start < 0) {
      if (line) line->deselect();
      else {
        QTextCursor c = plain->textCursor();
        c.clearSelection();
        plain->setTextCursor(c);
      }
      return;
    }
    if (end < 0 || end > length) end = length;
    start = std::min(start, length);
    if (line) {
      line->setSelection(start, end - start);
    } else {
      QTextCursor c = plain->textCursor();
      c.setPosition(start);
      c.setPosition(end, QTextCursor::KeepAnchor);
      plain->setTextCursor(c);
    }
  }

  void ReplaceSel(const std::string& text) {
    if (line) line->insert(ToQ(text));
    else plain->textCursor().insertText(ToQ(text));
  }

  int LineCount() const { return line ? 1 : plain->document()->blockCount(); }
  int LineFromChar(int index) const {
    if (line) return 0;
    if (index < 0) return plain->textCursor().block().blockNumber();
    return plain->document()->findBlock(index).blockNumber();
  }
  int LineIndex(int lineNo) const {
    if (line) return lineNo <= 0 ? 0 : -1;
    if (lineNo < 0) lineNo = LineFromChar(-1);
    const QTextBlock b = plain->document()->findBlockByNumber(lineNo);
    return b.isValid() ? b.position() : -1;
  }
  std::string Line(int lineNo) const {
    if (line) return lineNo == 0 ? FromQ(line->text()) : std::string();
    const QTextBlock b = plain->document()->findBlockByNumber(lineNo);
    return b.isValid() ? FromQ(b.text()) : std::string();
  }
  int LineLength(int index) const {
    if (line) return static_cast<int>(line->text().size());
    const QTextBlock b = index < 0 ? plain->textCursor().block() : plain->document()->findBlock(index);
    return b.isValid() ? static_cast<int>(b.text().size()) : 0;
  }

  void SetLimit(UINT n) {
    limit = n;
    if (line) line->setMaxLength(n == 0 || n > 0x7FFFFFFE ? 0x7FFFFFFE : static_cast<int>(n));
  }

  bool DefProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    switch (message) {
      case EM_GETSEL: {
        int s = 0, e = 0;
        GetSel(&s, &e);
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(s);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(e);
        *result = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(s), static_cast<WORD>(e)));
        return true;
      }
      case EM_SETSEL:
        SetSel(static_cast<int>(static_cast<std::intptr_t>(wParam)), static_cast<int>(lParam));
        return true;
      case EM_REPLACESEL:
        ReplaceSel(lParam ? reinterpret_cast<const char*>(lParam) : "");
        return true;
      case EM_LIMITTEXT:
        SetLimit(static_cast<UINT>(wParam));
        return true;
      case EM_GETLIMITTEXT:
        *result = limit ? limit : 0x7FFFFFFE;
        return true;
      case EM_SETREADONLY:
        if (wParam) impl_->style |= ES_READONLY;
        else impl_->style &= ~ES_READONLY;
        ApplyStyle(impl_->style);
        *result = 1;
        return true;
      case EM_GETLINECOUNT:
        *result = LineCount();
        return true;
      case EM_LINEFROMCHAR:
        *result = LineFromChar(static_cast<int>(static_cast<std::intptr_t>(wParam)));
        return true;
      case EM_LINEINDEX:
        *result = LineIndex(static_cast<int>(static_cast<std::intptr_t>(wParam)));
        return true;
      case EM_LINELENGTH:
        *result = LineLength(static_cast<int>(static_cast<std::intptr_t>(wParam)));
        return true;
      case EM_GETLINE: {
        // The buffer's first 16-bit word holds its size; the line is not terminated.
        char* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer) return true;
        WORD size;
        std::memcpy(&size, buffer, sizeof size);
        const std::string text = Line(static_cast<int>(wParam));
        const std::size_t n = std::min<std::size_t>(text.size(), size);
        std::memcpy(buffer, text.data(), n);
        *result = static_cast<LRESULT>(n);
        return true;
      }
      case WM_CUT:
        if (line) line->cut();
        else plain->cut();
        return true;
      case WM_COPY:
        if (line) line->copy();
        else plain->copy();
        return true;
      case WM_PASTE:
        if (line) line->paste();
        else plain->paste();
        return true;
      case WM_CLEAR:
        ReplaceSel("");
        return true;
      case WM_UNDO:
        if (line) line->undo();
        else plain->undo();
        *result = 1;
        return true;
      default:
        return ToolkitCore::DefProc(message, wParam, lParam, result);
    }
  }

  int FocusCode(bool gained) const override { return gained ? EN_SETFOCUS : EN_KILLFOCUS; }

  UINT DlgCode() const override {
    UINT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (plain && (impl_->style & ES_WANTRETURN)) code |= DLGC_WANTALLKEYS;
    return code;
  }

  QLineEdit* line = nullptr;
  QPlainTextEdit* plain = nullptr;
  UINT limit = 0;
};

// --- Tool tips -------------------------------------------------------------------------------------------

class ToolTipCore : public ToolkitCore {
 public:
  using ToolkitCore::ToolkitCore;
  QWidget* CreateWidget(QWidget*, const CREATESTRUCT&) override {
    // The tips show through the toolkit's own tool-tip window; this one never shows.
    auto* w = new Bridged<QWidget>(nullptr);
    w->setAttribute(Qt::WA_DontShowOnScreen);
    return w;
  }
  bool DefProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    AppState& st = AppState::Get();
    switch (message) {
      case TTM_ACTIVATE:
        impl_->toolTipActive = wParam != 0;
        return true;
      case TTM_ADDTOOL: {
        auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
        if (!ti) return true;
        AppState::ToolRecord rec;
        rec.control = impl_->hwnd;
        rec.info = *ti;
        st.tools.push_back(rec);
        *result = 1;
        return true;
      }
      case TTM_DELTOOL: {
        auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
        if (!ti) return true;
        std::erase_if(st.tools, [&](const AppState::ToolRecord& r) {
          return r.control == impl_->hwnd && r.info.hwnd == ti->hwnd && r.info.uId == ti->uId;
        });
        return true;
      }
      default:
        return ToolkitCore::DefProc(message, wParam, lParam, result);
    }
  }
  void Destroying() override {
    const HWND self = impl_->hwnd;
    std::erase_if(AppState::Get().tools, [self](const AppState::ToolRecord& r) { return r.control == self; });
  }
};

}  // namespace

void RegisterStandardControlClasses() {
  RegisterCoreFactory("BUTTON", [](WndImpl* i) { return std::make_unique<ButtonCore>(i); });
  RegisterCoreFactory("STATIC", [](WndImpl* i) { return std::make_unique<StaticCore>(i); });
  RegisterCoreFactory("EDIT", [](WndImpl* i) { return std::make_unique<EditCore>(i); });
  RegisterCoreFactory("tooltips_class32", [](WndImpl* i) { return std::make_unique<ToolTipCore>(i); });
  RegisterCoreFactory("LISTBOX", MakeListBoxCore);
  RegisterCoreFactory("COMBOBOX", MakeComboBoxCore);
  RegisterCoreFactory("SysListView32", MakeListViewCore);
  RegisterCoreFactory("SysTabControl32", MakeTabCore);
}

// --- Button ------------------------------------------------------------------------------------------------

bool Button::Create(std::string_view text, DWORD style, const Rect& rect, Wnd* parent, UINT id) {
  return Wnd::Create("BUTTON", text, style, rect, parent, id);
}
int Button::GetCheck() const { return static_cast<int>(const_cast<Button*>(this)->SendMessage(BM_GETCHECK)); }
void Button::SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
UINT Button::GetState() const { return static_cast<UINT>(const_cast<Button*>(this)->SendMessage(BM_GETSTATE)); }
void Button::SetState(bool pushed) { SendMessage(BM_SETSTATE, pushed ? 1 : 0); }
UINT Button::GetButtonStyle() const { return GetStyle() & 0xFFFF; }
void Button::SetButtonStyle(UINT style, bool redraw) { SendMessage(BM_SETSTYLE, style, redraw ? 1 : 0); }
gdi::Bitmap Button::SetBitmap(const gdi::Bitmap& bitmap) {
  gdi::Bitmap old = GetBitmap();
  SendMessage(BM_SETIMAGE, 0, reinterpret_cast<LPARAM>(&bitmap));
  return old;
}
gdi::Bitmap Button::GetBitmap() const {
  const LRESULT r = const_cast<Button*>(this)->SendMessage(BM_GETIMAGE);
  return r ? *reinterpret_cast<const gdi::Bitmap*>(r) : gdi::Bitmap();
}
void Button::Click() { SendMessage(BM_CLICK); }
void Button::DrawItem(DRAWITEMSTRUCT*) {}
bool Button::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return ReflectOwnerDraw(this, message, lParam) || Wnd::OnChildNotify(message, wParam, lParam, result);
}

// --- Static ------------------------------------------------------------------------------------------------

bool Static::Create(std::string_view text, DWORD style, const Rect& rect, Wnd* parent, UINT id) {
  return Wnd::Create("STATIC", text, style, rect, parent, id);
}
gdi::Bitmap Static::SetBitmap(const gdi::Bitmap& bitmap) {
  gdi::Bitmap old = GetBitmap();
  SendMessage(STM_SETIMAGE, 0, reinterpret_cast<LPARAM>(&bitmap));
  return old;
}
gdi::Bitmap Static::GetBitmap() const {
  const LRESULT r = const_cast<Static*>(this)->SendMessage(STM_GETIMAGE);
  return r ? *reinterpret_cast<const gdi::Bitmap*>(r) : gdi::Bitmap();
}

// --- Edit --------------------------------------------------------------------------------------------------

bool Edit::Create(DWORD style, const Rect& rect, Wnd* parent, UINT id) {
  return Wnd::Create("EDIT", "", style, rect, parent, id);
}
void Edit::GetSel(int* start, int* end) const {
  DWORD s = 0, e = 0;
  const_cast<Edit*>(this)->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  if (start) *start = static_cast<int>(s);
  if (end) *end = static_cast<int>(e);
}
DWORD Edit::GetSel() const {
  int s = 0, e = 0;
  GetSel(&s, &e);
  return MAKELONG(static_cast<WORD>(s), static_cast<WORD>(e));
}
void Edit::SetSel(int start, int end, bool) { SendMessage(EM_SETSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(start)), end); }
void Edit::ReplaceSel(std::string_view text, bool canUndo) {
  const std::string copy(text);
  SendMessage(EM_REPLACESEL, canUndo ? 1 : 0, reinterpret_cast<LPARAM>(copy.c_str()));
}
void Edit::Clear() { SendMessage(WM_CLEAR); }
void Edit::SetLimitText(UINT maxChars) { SendMessage(EM_LIMITTEXT, maxChars); }
UINT Edit::GetLimitText() const { return static_cast<UINT>(const_cast<Edit*>(this)->SendMessage(EM_GETLIMITTEXT)); }
bool Edit::SetReadOnly(bool readOnly) { return SendMessage(EM_SETREADONLY, readOnly ? 1 : 0) != 0; }
int Edit::GetLineCount() const { return static_cast<int>(const_cast<Edit*>(this)->SendMessage(EM_GETLINECOUNT)); }
std::string Edit::GetLine(int line) const {
  auto* core = WndAccess::CoreAs<EditCore>(this);
  return core ? core->Line(line) : std::string();
}
int Edit::LineFromChar(int charIndex) const {
  return static_cast<int>(const_cast<Edit*>(this)->SendMessage(EM_LINEFROMCHAR, static_cast<WPARAM>(static_cast<std::intptr_t>(charIndex))));
}
int Edit::LineIndex(int line) const {
  return static_cast<int>(const_cast<Edit*>(this)->SendMessage(EM_LINEINDEX, static_cast<WPARAM>(static_cast<std::intptr_t>(line))));
}
int Edit::LineLength(int charIndex) const {
  return static_cast<int>(const_cast<Edit*>(this)->SendMessage(EM_LINELENGTH, static_cast<WPARAM>(static_cast<std::intptr_t>(charIndex))));
}
bool Edit::GetModify() const {
  auto* core = WndAccess::CoreAs<EditCore>(this);
  if (!core) return false;
  return core->line ? core->line->isModified() : core->plain->document()->isModified();
}
void Edit::SetModify(bool modified) {
  auto* core = WndAccess::CoreAs<EditCore>(this);
  if (!core) return;
  if (core->line) core->line->setModified(modified);
  else core->plain->document()->setModified(modified);
}

// --- Tool tips -------------------------------------------------------------------------------------------

bool ToolTipCtrl::Create(Wnd* parent, DWORD style) {
  return Wnd::CreateEx(WS_EX_TOOLWINDOW, "tooltips_class32", "", WS_POPUP | style, Rect(), parent, 0);
}

namespace {

// A tool for a whole window (no rectangle and no id) or for an area of it.
TOOLINFO MakeTool(Wnd* wnd, const Rect* rect, UINT_PTR id) {
  TOOLINFO ti;
  ti.hwnd = wnd->m_hWnd;
  const bool whole = !rect && !id;
  ti.uId = whole ? static_cast<UINT_PTR>(static_cast<std::uint32_t>(wnd->m_hWnd)) : id;
  ti.uFlags = whole ? TTF_IDISHWND : 0;
  if (rect) ti.rect = *rect;
  return ti;
}

}  // namespace

bool ToolTipCtrl::AddTool(Wnd* wnd, std::string_view text, const Rect* rect, UINT_PTR id) {
  if (!wnd) return false;
  TOOLINFO ti = MakeTool(wnd, rect, id);
  ti.text = std::string(text);
  return SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

bool ToolTipCtrl::AddTool(Wnd* wnd, const char* textOrCallback, const Rect* rect, UINT_PTR id) {
  if (textOrCallback != LPSTR_TEXTCALLBACK) return AddTool(wnd, std::string_view(textOrCallback ? textOrCallback : ""), rect, id);
  if (!wnd) return false;
  TOOLINFO ti = MakeTool(wnd, rect, id);
  ti.callback = true;
  return SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

void ToolTipCtrl::DelTool(Wnd* wnd, UINT_PTR id) {
  if (!wnd) return;
  TOOLINFO ti;
  ti.hwnd = wnd->m_hWnd;
  ti.uId = id ? id : static_cast<UINT_PTR>(static_cast<std::uint32_t>(wnd->m_hWnd));
  SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
}

void ToolTipCtrl::UpdateTipText(std::string_view text, Wnd* wnd, UINT_PTR id) {
  if (!wnd) return;
  const UINT_PTR uid = id ? id : static_cast<UINT_PTR>(static_cast<std::uint32_t>(wnd->m_hWnd));
  for (AppState::ToolRecord& r : AppState::Get().tools)
    if (r.control == m_hWnd && r.info.hwnd == wnd->m_hWnd && r.info.uId == uid) {
      r.info.text = std::string(text);
      r.info.callback = false;
    }
}

void ToolTipCtrl::SetToolRect(Wnd* wnd, UINT_PTR id, const Rect& rect) {
  if (!wnd) return;
  for (AppState::ToolRecord& r : AppState::Get().tools)
    if (r.control == m_hWnd && r.info.hwnd == wnd->m_hWnd && r.info.uId == id) r.info.rect = rect;
}

int ToolTipCtrl::GetToolCount() const {
  int n = 0;
  for (const AppState::ToolRecord& r : AppState::Get().tools)
    if (r.control == m_hWnd) ++n;
  return n;
}

void ToolTipCtrl::Activate(bool activate) { SendMessage(TTM_ACTIVATE, activate ? 1 : 0); }
bool ToolTipCtrl::IsActive() const { return impl() && impl()->toolTipActive; }

}  // namespace ui
