// Standard controls with items: list boxes, combo boxes, list views and tab controls.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <cstring>

#include "platform/base/text.h"
#include "platform/gdi/qt_bridge.h"
#include "platform/ui/controls.h"
#include "platform/ui/internal/controlcore.h"
#include "platform/ui/internal/wndaccess.h"

namespace ui {

namespace {

constexpr int kDataRole = Qt::UserRole + 1;

int CompareText(const std::string& a, const std::string& b) { return plat::compareNoCase(a, b); }

// The items of a list box or a combo box, as their cores see them.
template <class TextAt>
int FindItem(int count, const TextAt& textAt, int after, const std::string& text, bool exact) {
  for (int k = 1; k <= count; ++k) {
    const int i = (after + k + count) % count;
    const std::string item = textAt(i);
    if (exact ? plat::equalsNoCase(item, text) : plat::startsWithNoCase(item, text)) return i;
  }
  return -1;
}

// Where a sorted list takes a new text: before the first item that sorts after it.
template <class TextAt>
int SortedIndex(int count, const TextAt& textAt, const std::string& text) {
  for (int i = 0; i < count; ++i)
    if (CompareText(text, textAt(i)) < 0) return i;
  return count;
}

// Offset of a scroll area's viewport inside the control (client coordinates of the control).
QPoint ViewportOffset(QAbstractScrollArea* area) { return area->viewport()->mapTo(area, QPoint(0, 0)); }

Rect FromViewport(QAbstractScrollArea* area, const QRect& r) {
  const QPoint o = ViewportOffset(area);
  return Rect(r.left() + o.x(), r.top() + o.y(), r.left() + o.x() + r.width(), r.top() + o.y() + r.height());
}

// Owner-drawn items: the delegate hands painting to the control's parent (WM_DRAWITEM).
class OwnerDrawDelegate : public QStyledItemDelegate {
 public:
  OwnerDrawDelegate(ToolkitCore* core, UINT type, QObject* parent)
      : QStyledItemDelegate(parent), core_(core), type_(type) {}
  int height = 16;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    UINT state = 0;
    if (option.state & QStyle::State_Selected) state |= ODS_SELECTED;
    if (option.state & QStyle::State_HasFocus) state |= ODS_FOCUS;
    if (!(option.state & QStyle::State_Enabled)) state |= ODS_DISABLED;
    const QRect r = option.rect;
    painter->save();
    core_->SendDrawItem(*painter, type_, index.row(), ODA_DRAWENTIRE, state,
                        Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()),
                        static_cast<UINT_PTR>(index.data(kDataRole).toULongLong()));
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return QSize(option.rect.width(), height);
  }

 private:
  ToolkitCore* core_;
  UINT type_;
};

// --- List boxes ----------------------------------------------------------------------------------------

class ListBoxCore : public ToolkitCore {
 public:
  using ToolkitCore::ToolkitCore;

  bool Notifies() const { return impl_->style & LBS_NOTIFY; }
  bool OwnerDraw() const { return impl_->style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE); }

  QWidget* CreateWidget(QWidget* parent, const CREATESTRUCT& cs) override {
    auto* l = new BridgedScroll<QListWidget>(parent);
    list = l;
    if (cs.style & LBS_NOSEL) l->setSelectionMode(QAbstractItemView::NoSelection);
    else if (cs.style & LBS_EXTENDEDSEL) l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    else if (cs.style & LBS_MULTIPLESEL) l->setSelectionMode(QAbstractItemView::MultiSelection);
    else l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setVerticalScrollBarPolicy((cs.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    l->setHorizontalScrollBarPolicy((cs.style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    l->setFrameStyle((cs.style & WS_BORDER) || (cs.dwExStyle & WS_EX_CLIENTEDGE) ? QFrame::StyledPanel : QFrame::NoFrame);
    QObject::connect(l, &QListWidget::itemSelectionChanged, l, [this] {
      if (Notifies()) Notify(LBN_SELCHANGE);
    });
    QObject::connect(l, &QListWidget::itemDoubleClicked, l, [this] {
      if (Notifies()) Notify(LBN_DBLCLK);
    });
    return l;
  }

  void Created() override {
    if (OwnerDraw()) {
      delegate = new OwnerDrawDelegate(this, ODT_LISTBOX, list);
      delegate->height = static_cast<int>(MeasureItem(ODT_LISTBOX, 0, 0, static_cast<UINT>(list->fontMetrics().height())));
      list->setItemDelegate(delegate);
    }
  }

  int Count() const { return list->count(); }
  bool Valid(int i) const { return i >= 0 && i < Count(); }

  int Insert(int index, const std::string& text) {
    Quiet q(this);
    if (index < 0 || index > Count()) index = Count();
    list->insertItem(index, ToQ(text));
    return index;
  }

  std::string TextAt(int i) const { return FromQ(list->item(i)->text()); }

  int Add(const std::string& text) {
    const auto textAt = [this](int i) { return TextAt(i); };
    return Insert((impl_->style & LBS_SORT) ? SortedIndex(Count(), textAt, text) : Count(), text);
  }

  int CurSel() const {
    if (list->selectionMode() == QAbstractItemView::SingleSelection) {
      const QList<QListWidgetItem*> sel = list->selectedItems();
      return sel.isEmpty() ? LB_ERR : list->row(sel.front());
    }
    return list->currentRow();
  }

  int SetCurSel(int index) {
    Quiet q(this);
    if (!Valid(index)) {
      list->clearSelection();
      return index == -1 ? LB_ERR : LB_ERR;
    }
    if (list->selectionMode() == QAbstractItemView::SingleSelection) list->clearSelection();
    list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    return index;
  }

  int Find(int after, const std::string& text, bool exact) const {
    return FindItem(Count(), [this](int i) { return TextAt(i); }, after, text, exact);
  }

  bool DefProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    switch (message) {
      case LB_ADDSTRING:
        *result = Add(lParam ? reinterpret_cast<const char*>(lParam) : "");
        return true;
      case LB_INSERTSTRING:
        *result = Insert(index, lParam ? reinterpret_cast<const char*>(lParam) : "");
        return true;
      case LB_DELETESTRING:
        if (!Valid(index)) {
          *result = LB_ERR;
        } else {
          Quiet q(this);
          delete list->takeItem(index);
          *result = Count();
        }
        return true;
      case LB_RESETCONTENT: {
        Quiet q(this);
        list->clear();
        return true;
      }
      case LB_GETCOUNT:
        *result = Count();
        return true;
      case LB_GETCURSEL:
        *result = CurSel();
        return true;
      case LB_SETCURSEL:
        *result = SetCurSel(index);
        return true;
      case LB_GETTEXTLEN:
        *result = Valid(index) ? static_cast<LRESULT>(FromQ(list->item(index)->text()).size()) : LB_ERR;
        return true;
      case LB_GETTEXT:
        if (!Valid(index) || !lParam) {
          *result = LB_ERR;
        } else {
          const std::string t = FromQ(list->item(index)->text());
          std::memcpy(reinterpret_cast<char*>(lParam), t.c_str(), t.size() + 1);
          *result = static_cast<LRESULT>(t.size());
        }
        return true;
      case LB_GETITEMDATA:
        *result = Valid(index) ? static_cast<LRESULT>(list->item(index)->data(kDataRole).toULongLong()) : LB_ERR;
        return true;
      case LB_SETITEMDATA:
        if (Valid(index)) list->item(index)->setData(kDataRole, static_cast<qulonglong>(lParam));
        *result = Valid(index) ? 0 : LB_ERR;
        return true;
      default:
        return ToolkitCore::DefProc(message, wParam, lParam, result);
    }
  }

  int FocusCode(bool gained) const override { return gained ? LBN_SETFOCUS : LBN_KILLFOCUS; }
  UINT DlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

  QListWidget* list = nullptr;
  OwnerDrawDelegate* delegate = nullptr;
};

// --- Combo boxes -------------------------------------------------------------------------------------------

class ComboBoxCore;

class ComboWidget : public Bridged<QComboBox> {
 public:
  using Bridged<QComboBox>::Bridged;
  ComboBoxCore* core = nullptr;
  bool ownerDraw = false;

  void showPopup() override;
  void hidePopup() override;

 protected:
  void paintEvent(QPaintEvent* e) override;
};

// The edit field of a drop-down combo box. Leaving it chooses nothing: the toolkit makes the entry
// its text names the current one then, and that is no choice of the user's (a bar's zoom combo,
// left as the focus moves on, would set its zoom again).
class ComboField : public QLineEdit {
 public:
  explicit ComboField(ToolkitCore* core) : core_(core) {}

 protected:
  void focusOutEvent(QFocusEvent* e) override {
    ToolkitCore::Quiet q(core_);
    QLineEdit::focusOutEvent(e);
  }

 private:
  ToolkitCore* core_;
};

class ComboBoxCore : public ToolkitCore {
 public:
  using ToolkitCore::ToolkitCore;

  UINT Kind() const { return impl_->style & 0x3; }
  bool Editable() const { return Kind() == CBS_DROPDOWN || Kind() == CBS_SIMPLE; }
  bool OwnerDraw() const { return impl_->style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE); }

  QWidget* CreateWidget(QWidget* parent, const CREATESTRUCT& cs) override {
    auto* c = new ComboWidget(parent);
    combo = c;
    c->core = this;
    c->ownerDraw = OwnerDraw();
    c->setEditable(Editable());
    if (Editable()) c->setLineEdit(new ComboField(this));
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMaxVisibleItems(std::max(1, droppedHeight / std::max(1, c->fontMetrics().height() + 2)));
    if (QLineEdit* e = c->lineEdit()) {
      c->setCompleter(nullptr);
      e->setText(ToQ(cs.name));
      QObject::connect(e, &QLineEdit::textEdited, e, [this] {
        Notify(CBN_EDITUPDATE);
        Notify(CBN_EDITCHANGE);
      });
    }
    QObject::connect(c, &QComboBox::currentIndexChanged, c, [this] { Notify(CBN_SELCHANGE); });
    return c;
  }

  void Created() override {
    if (OwnerDraw()) {
      delegate = new OwnerDrawDelegate(this, ODT_COMBOBOX, combo);
      itemHeight = static_cast<int>(MeasureItem(ODT_COMBOBOX, 0, 0, static_cast<UINT>(combo->fontMetrics().height())));
      delegate->height = itemHeight;
      combo->setItemDelegate(delegate);
      fieldHeight = itemHeight + 6;
      const Rect r = impl_->rect;
      wnd()->SetWindowPos(nullptr, 0, 0, r.Width(), fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }

  void AdjustSize(int*, int* cy) override {
    if (fieldHeight == 0) {
      droppedHeight = std::max(0, *cy);
      // The selection field's height follows the font; the rest of the requested height is the list's.
      fieldHeight = combo ? combo->sizeHint().height() : 22;
      if (fieldHeight <= 0) fieldHeight = 22;
      *cy = fieldHeight;
      return;
    }
    if (*cy != fieldHeight) droppedHeight = std::max(0, *cy);
    *cy = fieldHeight;
  }

  int Count() const { return combo->count(); }
  bool Valid(int i) const { return i >= 0 && i < Count(); }

  int Insert(int index, const std::string& text) {
    Quiet q(this);
    if (index < 0 || index > Count()) index = Count();
    const QString keep = Editable() ? combo->currentText() : QString();
    combo->insertItem(index, ToQ(text));
    if (Editable()) combo->setEditText(keep);
    // A new list starts without a selection.
    if (Count() == 1 && !Editable()) combo->setCurrentIndex(-1);
    return index;
  }

  std::string TextAt(int i) const { return FromQ(combo->itemText(i)); }

  int Add(const std::string& text) {
    const auto textAt = [this](int i) { return TextAt(i); };
    return Insert((impl_->style & CBS_SORT) ? SortedIndex(Count(), textAt, text) : Count(), text);
  }

  int SetCurSel(int index) {
    Quiet q(this);
    if (!Valid(index)) {
      combo->setCurrentIndex(-1);
      return CB_ERR;
    }
    combo->setCurrentIndex(index);
    return index;
  }

  int Find(int after, const std::string& text, bool exact) const {
    return FindItem(Count(), [this](int i) { return TextAt(i); }, after, text, exact);
  }

  std::string GetText() const override { return FromQ(combo->currentText()); }
  void SetText(const std::string& text) override {
    if (Editable()) {
      Quiet q(this);
      combo->setEditText(ToQ(text));
    }
  }

  bool DefProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    switch (message) {
      case CB_ADDSTRING:
        *result = Add(lParam ? reinterpret_cast<const char*>(lParam) : "");
        return true;
      case CB_INSERTSTRING:
        *result = Insert(index, lParam ? reinterpret_cast<const char*>(lParam) : "");
        return true;
      case CB_DELETESTRING:
        if (!Valid(index)) {
          *result = CB_ERR;
        } else {
          Quiet q(this);
          combo->removeItem(index);
          *result = Count();
        }
        return true;
      case CB_RESETCONTENT: {
        Quiet q(this);
        combo->clear();
        return true;
      }
      case CB_GETCOUNT:
        *result = Count();
        return true;
      case CB_GETCURSEL:
        *result = combo->currentIndex();
        return true;
      case CB_SETCURSEL:
        *result = SetCurSel(index);
        return true;
      case CB_GETLBTEXTLEN:
        *result = Valid(index) ? static_cast<LRESULT>(FromQ(combo->itemText(index)).size()) : CB_ERR;
        return true;
      case CB_GETLBTEXT:
        if (!Valid(index) || !lParam) {
          *result = CB_ERR;
        } else {
          const std::string t = FromQ(combo->itemText(index));
          std::memcpy(reinterpret_cast<char*>(lParam), t.c_str(), t.size() + 1);
          *result = static_cast<LRESULT>(t.size());
        }
        return true;
      case CB_GETITEMDATA:
        *result = Valid(index) ? static_cast<LRESULT>(combo->itemData(index, kDataRole).toULongLong()) : CB_ERR;
        return true;
      case CB_SETITEMDATA:
        if (Valid(index)) combo->setItemData(index, static_cast<qulonglong>(lParam), kDataRole);
        *result = Valid(index) ? 0 : CB_ERR;
        return true;
      case CB_SETITEMHEIGHT:
        if (index == -1) {
          fieldHeight = std::max(1, static_cast<int>(lParam) + 6);
          const Rect r = impl_->rect;
          wnd()->SetWindowPos(nullptr, 0, 0, r.Width(), fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
          itemHeight = std::max(1, static_cast<int>(lParam));
          if (delegate) delegate->height = itemHeight;
        }
        return true;
      case CB_GETITEMHEIGHT:
        *result = index == -1 ? fieldHeight - 6 : (itemHeight ? itemHeight : combo->fontMetrics().height() + 2);
        return true;
      case CB_SETDROPPEDWIDTH:
        droppedWidth = static_cast<int>(wParam);
        combo->view()->setMinimumWidth(droppedWidth);
        *result = droppedWidth;
        return true;
      case CB_GETDROPPEDWIDTH:
        *result = std::max(droppedWidth, impl_->rect.Width());
        return true;
      case CB_LIMITTEXT:
        if (QLineEdit* e = combo->lineEdit()) e->setMaxLength(wParam ? static_cast<int>(wParam) : 32767);
        *result = 1;
        return true;
      case CB_GETEDITSEL: {
        int s = 0, e = 0;
        if (QLineEdit* ed = combo->lineEdit()) {
          s = ed->hasSelectedText() ? static_cast<int>(ed->selectionStart()) : static_cast<int>(ed->cursorPosition());
          e = s + static_cast<int>(ed->selectedText().size());
        }
        *result = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(s), static_cast<WORD>(e)));
        return true;
      }
      case CB_SETEDITSEL:
        if (QLineEdit* ed = combo->lineEdit()) {
          const int s = static_cast<short>(LOWORD(lParam));
          int e = static_cast<short>(HIWORD(lParam));
          if (s < 0) ed->deselect();
          else {
            if (e < 0) e = static_cast<int>(ed->text().size());
            ed->setSelection(s, e - s);
          }
          *result = 1;
        } else {
          *result = CB_ERR;
        }
        return true;
      case CB_SHOWDROPDOWN:
        if (wParam) combo->showPopup();
        else combo->hidePopup();
        *result = 1;
        return true;
      case CB_GETDROPPEDSTATE:
        *result = dropped ? 1 : 0;
        return true;
      default:
        return ToolkitCore::DefProc(message, wParam, lParam, result);
    }
  }

  int FocusCode(bool gained) const override { return gained ? CBN_SETFOCUS : CBN_KILLFOCUS; }
  UINT DlgCode() const override { return DLGC_WANTARROWS | (Editable() ? DLGC_WANTCHARS | DLGC_HASSETSEL : 0); }

  ComboWidget* combo = nullptr;
  OwnerDrawDelegate* delegate = nullptr;
  int droppedHeight = 0;
  int droppedWidth = 0;
  int fieldHeight = 0;
  int itemHeight = 0;
  bool dropped = false;
};

void ComboWidget::showPopup() {
  if (core) {
    core->Notify(CBN_DROPDOWN);
    core->dropped = true;
  }
  // No popup window on a system without a display: the state is all a caller sees.
  if (!AppState::Get().headless) QComboBox::showPopup();
}

void ComboWidget::hidePopup() {
  if (!AppState::Get().headless) QComboBox::hidePopup();
  if (core && core->dropped) {
    core->dropped = false;
    core->Notify(CBN_CLOSEUP);
  }
}

void ComboWidget::paintEvent(QPaintEvent* e) {
  if (!ownerDraw || !core) {
    QComboBox::paintEvent(e);
    return;
  }
  QPainter p(this);
  QStyleOptionComboBox opt;
  initStyleOption(&opt);
  opt.currentText.clear();
  style()->drawComplexControl(QStyle::CC_ComboBox, &opt, &p, this);
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
  const int row = currentIndex();
  UINT state = ODS_COMBOBOXEDIT;
  if (hasFocus()) state |= ODS_SELECTED | ODS_FOCUS;
  if (!isEnabled()) state |= ODS_DISABLED;
  p.save();
  core->SendDrawItem(p, ODT_COMBOBOX, row, ODA_DRAWENTIRE, state,
                     Rect(field.left(), field.top(), field.left() + field.width(), field.top() + field.height()),
                     row >= 0 ? static_cast<UINT_PTR>(itemData(row, kDataRole).toULongLong()) : 0);
  p.restore();
}

// --- List views ------------------------------------------------------------------------------------------

class ListViewCore;

class ReportView : public BridgedScroll<QTreeWidget> {
 public:
  using BridgedScroll<QTreeWidget>::BridgedScroll;
  ListViewCore* core = nullptr;

 protected:
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class ListViewCore : public ToolkitCore {
 public:
  using ToolkitCore::ToolkitCore;

  struct Item {
    std::vector<std::string> texts;
    int image = -1;
    UINT state = 0;
    UINT_PTR data = 0;
  };
  struct Column {
    std::string text;
    int format = LVCFMT_LEFT;
    int width = 100;
  };

  bool Report() const { return (impl_->style & LVS_TYPEMASK) == LVS_REPORT; }
  bool OwnerDraw() const { return Report() && (impl_->style & LVS_OWNERDRAWFIXED); }

  QWidget* CreateWidget(QWidget* parent, const CREATESTRUCT& cs) override { return MakeView(parent, cs.style); }

  QWidget* MakeView(QWidget* parent, DWORD style) {
    report = nullptr;
    icons = nullptr;
    QAbstractItemView* view;
    if ((style & LVS_TYPEMASK) == LVS_REPORT) {
      auto* r = new ReportView(parent);
      r->core = this;
      report = r;
      r->setRootIsDecorated(false);
      r->setUniformRowHeights(true);
      r->setItemsExpandable(false);
      r->setHeaderHidden(style & LVS_NOCOLUMNHEADER);
      r->header()->setSectionsClickable(!(style & LVS_NOSORTHEADER));
      r->header()->setStretchLastSection(false);
      QObject::connect(r->header(), &QHeaderView::sectionClicked, r, [this](int section) {
        NMLISTVIEW nm;
        nm.iSubItem = section;
        NotifyParent(&nm.hdr, LVN_COLUMNCLICK);
      });
      QObject::connect(r->header(), &QHeaderView::sectionResized, r, [this](int section, int, int size) {
        if (section >= 0 && section < static_cast<int>(columns.size())) columns[static_cast<std::size_t>(section)].width = size;
      });
      view = r;
    } else {
      auto* l = new BridgedScroll<QListWidget>(parent);
      icons = l;
      const DWORD kind = style & LVS_TYPEMASK;
      l->setViewMode(kind == LVS_ICON ? QListView::IconMode : QListView::ListMode);
      if (kind == LVS_LIST) {
        l->setFlow(QListView::TopToBottom);
        l->setWrapping(true);
      }
      l->setResizeMode(QListView::Adjust);
      l->setMovement(QListView::Static);
      view = l;
    }
    view->setSelectionMode((style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
    view->setFrameStyle(QFrame::StyledPanel);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, view, [this] { ViewSelectionChanged(); });
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, view, [this] { ViewSelectionChanged(); });
    if (OwnerDrawStyle(style)) {
      delegate = new OwnerDrawDelegate(this, ODT_LISTVIEW, view);
      delegate->height = view->fontMetrics().height() + 4;
      view->setItemDelegate(delegate);
    }
    Fill();
    return view;
  }
  static bool OwnerDrawStyle(DWORD style) { return (style & LVS_TYPEMASK) == LVS_REPORT && (style & LVS_OWNERDRAWFIXED); }

  QAbstractItemView* View() const {
    return report ? static_cast<QAbstractItemView*>(report) : static_cast<QAbstractItemView*>(icons);
  }

  void Created() override {
    if (delegate) delegate->height = static_cast<int>(MeasureItem(ODT_LISTVIEW, 0, 0, static_cast<UINT>(delegate->height)));
  }

  void StyleChanged(DWORD oldStyle) override {
    const DWORD now = impl_->style;
    if (((oldStyle ^ now) & (LVS_TYPEMASK | LVS_OWNERDRAWFIXED | LVS_SINGLESEL | LVS_NOCOLUMNHEADER)) == 0) return;
    QWidget* parent = widget() ? widget()->parentWidget() : nullptr;
    delegate = nullptr;
    QWidget* w = MakeView(parent, now);
    ReplaceWidget(w);
    if (delegate) delegate->height = static_cast<int>(MeasureItem(ODT_LISTVIEW, 0, 0, static_cast<UINT>(delegate->height)));
  }

  // The whole model into the view.
  void Fill() {
    Quiet q(this);
    if (report) {
      report->clear();
      report->setColumnCount(std::max<int>(1, static_cast<int>(columns.size())));
      QStringList labels;
      for (const Column& c : columns) labels << ToQ(c.text);
      report->setHeaderLabels(labels);
      for (std::size_t i = 0; i < columns.size(); ++i) {
        report->header()->resizeSection(static_cast<int>(i), columns[i].width);
        report->headerItem()->setTextAlignment(static_cast<int>(i), Alignment(columns[i].format));
      }
      for (std::size_t i = 0; i < items.size(); ++i) report->addTopLevelItem(MakeRow(items[i]));
    } else if (icons) {
      icons->clear();
      for (const Item& it : items) icons->addItem(MakeIcon(it));
    }
    ApplyStates();
  }

  static Qt::Alignment Alignment(int format) {
    return (format & 3) == LVCFMT_CENTER ? Qt::AlignHCenter | Qt::AlignVCenter
           : (format & 3) == LVCFMT_RIGHT ? Qt::AlignRight | Qt::AlignVCenter
                                          : Qt::AlignLeft | Qt::AlignVCenter;
  }

  QIcon IconOf(int image) const {
    const ImageList* list = Report() ? small : normal;
    if (!list) list = small ? small : normal;
    if (!list || image < 0 || image >= list->GetImageCount()) return QIcon();
    return QIcon(gdi::qt::ToQPixmap(list->Image(image)));
  }

  QTreeWidgetItem* MakeRow(const Item& it) const {
    auto* row = new QTreeWidgetItem();
    for (std::size_t c = 0; c < std::max<std::size_t>(1, columns.size()); ++c) {
      row->setText(static_cast<int>(c), c < it.texts.size() ? ToQ(it.texts[c]) : QString());
      if (c < columns.size()) row->setTextAlignment(static_cast<int>(c), Alignment(columns[c].format));
    }
    row->setIcon(0, IconOf(it.image));
    row->setData(0, kDataRole, static_cast<qulonglong>(it.data));
    return row;
  }

  QListWidgetItem* MakeIcon(const Item& it) const {
    auto* item = new QListWidgetItem(it.texts.empty() ? QString() : ToQ(it.texts[0]));
    item->setIcon(IconOf(it.image));
    item->setData(kDataRole, static_cast<qulonglong>(it.data));
    return item;
  }

  void UpdateRow(int i) {
    Quiet q(this);
    const Item& it = items[static_cast<std::size_t>(i)];
    if (report) {
      if (QTreeWidgetItem* row = report->topLevelItem(i)) {
        for (std::size_t c = 0; c < std::max<std::size_t>(1, columns.size()); ++c)
          row->setText(static_cast<int>(c), c < it.texts.size() ? ToQ(it.texts[c]) : QString());
        row->setIcon(0, IconOf(it.image));
        row->setData(0, kDataRole, static_cast<qulonglong>(it.data));
      }
    } else if (icons) {
      if (QListWidgetItem* item = icons->item(i)) {
        item->setText(it.texts.empty() ? QString() : ToQ(it.texts[0]));
        item->setData(kDataRole, static_cast<qulonglong>(it.data));
      }
    }
  }

  QModelIndex IndexOf(int i) const {
    if (report) return report->model()->index(i, 0);
    return icons->model()->index(i, 0);
  }

  // Our states into the view's selection.
  void ApplyStates() {
    Quiet q(this);
    QAbstractItemView* v = View();
    if (!v) return;
    QItemSelection sel;
    int current = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const QModelIndex idx = IndexOf(static_cast<int>(i));
      if (items[i].state & LVIS_SELECTED) sel.select(idx, idx);
      if (items[i].state & LVIS_FOCUSED) current = static_cast<int>(i);
    }
    QItemSelectionModel* m = v->selectionModel();
    m->select(sel, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (current >= 0) m->setCurrentIndex(IndexOf(current), QItemSelectionModel::NoUpdate);
  }

  void StateChanged(int i, UINT oldState, UINT newState) {
    if (oldState == newState) return;
    NMLISTVIEW nm;
    nm.iItem = i;
    nm.uOldState = oldState;
    nm.uNewState = newState;
    nm.uChanged = LVIF_STATE;
    nm.lParam = static_cast<LPARAM>(items[static_cast<std::size_t>(i)].data);
    const HWND h = impl_->hwnd;
    NotifyParent(&nm.hdr, LVN_ITEMCHANGED);
    (void)h;
  }

  // The user changed the selection in the view: our states follow, one notification per item.
  void ViewSelectionChanged() {
    if (quiet) return;
    QAbstractItemView* v = View();
    const HWND h = impl_->hwnd;
    const QModelIndex cur = v->selectionModel()->currentIndex();
    for (std::size_t i = 0; i < items.size(); ++i) {
      const QModelIndex idx = IndexOf(static_cast<int>(i));
      UINT state = items[i].state & ~(LVIS_SELECTED | LVIS_FOCUSED);
      if (v->selectionModel()->isSelected(idx)) state |= LVIS_SELECTED;
      if (cur.isValid() && cur.row() == static_cast<int>(i)) state |= LVIS_FOCUSED;
      const UINT old = items[i].state;
      items[i].state = state;
      StateChanged(static_cast<int>(i), old, state);
      if (!AppState::Get().Lookup(h)) return;
    }
  }

  int SortedPosition(const std::string& text) const {
    const bool asc = impl_->style & LVS_SORTASCENDING;
    const bool desc = impl_->style & LVS_SORTDESCENDING;
    if (!asc && !desc) return -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const int c = CompareText(text, items[i].texts.empty() ? std::string() : items[i].texts[0]);
      if (asc ? c < 0 : c > 0) return static_cast<int>(i);
    }
    return static_cast<int>(items.size());
  }

  int InsertItem(int index, const std::string& text, int image) {
    const int sorted = SortedPosition(text);
    if (sorted >= 0) index = sorted;
    if (index < 0 || index > static_cast<int>(items.size())) index = static_cast<int>(items.size());
    Item it;
    it.texts.push_back(text);
    it.image = image;
    items.insert(items.begin() + index, it);
    {
      Quiet q(this);
      if (report) report->insertTopLevelItem(index, MakeRow(items[static_cast<std::size_t>(index)]));
      else if (icons) icons->insertItem(index, MakeIcon(items[static_cast<std::size_t>(index)]));
    }
    NMLISTVIEW nm;
    nm.iItem = index;
    NotifyParent(&nm.hdr, LVN_INSERTITEM);
    return index;
  }

  bool DeleteItem(int index) {
    if (index < 0 || index >= static_cast<int>(items.size())) return false;
    NMLISTVIEW nm;
    nm.iItem = index;
    nm.lParam = static_cast<LPARAM>(items[static_cast<std::size_t>(index)].data);
    NotifyParent(&nm.hdr, LVN_DELETEITEM);
    items.erase(items.begin() + index);
    Quiet q(this);
    if (report) delete report->takeTopLevelItem(index);
    else if (icons) delete icons->takeItem(index);
    return true;
  }

  bool DeleteAll() {
    NMLISTVIEW nm;
    NotifyParent(&nm.hdr, LVN_DELETEALLITEMS);
    items.clear();
    Quiet q(this);
    if (report) report->clear();
    else if (icons) icons->clear();
    return true;
  }

  bool DefProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    const HWND h = impl_->hwnd;
    switch (message) {
      case WM_LBUTTONUP:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONUP: {
        NMITEMACTIVATE nm;
        nm.ptAction = ParamToPoint(lParam);
        nm.iItem = HitTest(nm.ptAction);
        NotifyParent(&nm.hdr, message == WM_LBUTTONUP ? NM_CLICK : message == WM_LBUTTONDBLCLK ? NM_DBLCLK : NM_RCLICK);
        return !AppState::Get().Lookup(h);
      }
      case WM_KEYDOWN: {
        NMLVKEYDOWN nm;
        nm.wVKey = static_cast<WORD>(wParam);
        NotifyParent(&nm.hdr, LVN_KEYDOWN);
        if (!AppState::Get().Lookup(h)) return true;
        if (wParam == VK_RETURN) {
          NMHDR ret;
          NotifyParent(&ret, NM_RETURN);
          return true;
        }
        return false;
      }
      default:
        return ToolkitCore::DefProc(message, wParam, lParam, result);
    }
  }

  UINT DlgCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  int FocusCode(bool) const override { return -1; }

  int HitTest(Point client) const {
    QAbstractItemView* v = View();
    if (!v) return -1;
    const QPoint o = ViewportOffset(v);
    const QModelIndex idx = v->indexAt(QPoint(client.x - o.x(), client.y - o.y()));
    return idx.isValid() ? idx.row() : -1;
  }

  Rect ItemRect(int i) const {
    QAbstractItemView* v = View();
    if (!v || i < 0 || i >= static_cast<int>(items.size())) return Rect();
    QRect r = v->visualRect(IndexOf(i));
    if (report) r.setRight(report->viewport()->width() > 0 ? std::max(r.right(), report->header()->length() - 1) : r.right());
    return FromViewport(v, r);
  }

  ReportView* report = nullptr;
  QListWidget* icons = nullptr;
  OwnerDrawDelegate* delegate = nullptr;
  std::vector<Item> items;
  std::vector<Column> columns;
  const ImageList* normal = nullptr;
  const ImageList* small = nullptr;
};

void ReportView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (!core || !core->OwnerDraw()) {
    QTreeWidget::drawRow(painter, option, index);
    return;
  }
  const int row = index.row();
  UINT state = 0;
  if (selectionModel()->isSelected(index)) state |= ODS_SELECTED;
  if (currentIndex().row() == row) state |= ODS_FOCUS;
  QRect r = option.rect;
  r.setLeft(0);
  r.setWidth(std::max(r.width(), header()->length()));
  painter->save();
  const UINT_PTR data = row >= 0 && row < static_cast<int>(core->items.size()) ? core->items[static_cast<std::size_t>(row)].data : 0;
  core->SendDrawItem(*painter, ODT_LISTVIEW, row, ODA_DRAWENTIRE, state,
                     Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()), data);
  painter->restore();
}

// --- Tab controls ---------------------------------------------------------------------------------------

// The tab control's window spans its pages too, so the toolkit would give the scroll buttons
// (of tabs that do not fit) the window's whole height: their arrows sat in the middle, under the
// page, and the buttons showed blank. They are kept to the row of the tabs.
class TabBar : public QTabBar {
 public:
  using QTabBar::QTabBar;

 protected:
  void tabLayoutChange() override {
    QTabBar::tabLayoutChange();
    if (count() == 0) return;
    const QRect row = tabRect(0);
    for (QToolButton* button : findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
      if (button->height() > row.height()) button->setGeometry(button->x(), row.top(), button->width(), row.height());
  }
};

class TabCore : public ToolkitCore {
 public:
  using ToolkitCore::ToolkitCore;

  QWidget* CreateWidget(QWidget* parent, const CREATESTRUCT&) override {
    auto* t = new Bridged<TabBar>(parent);
    tabs = t;
    t->setExpanding(false);
    t->setDrawBase(true);
    return t;
  }

  // The user asks for another tab: TCN_SELCHANGING may refuse it, TCN_SELCHANGE follows.
  void UserSelect(int index) {
    if (index < 0 || index >= tabs->count() || index == tabs->currentIndex()) return;
    const HWND h = impl_->hwnd;
    NMHDR changing;
    if (NotifyParent(&changing, TCN_SELCHANGING) != 0 || !AppState::Get().Lookup(h)) return;
    {
      Quiet q(this);
      tabs->setCurrentIndex(index);
    }
    NMHDR change;
    NotifyParent(&change, TCN_SELCHANGE);
  }

  bool DefProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    switch (message) {
      case WM_LBUTTONDOWN: {
        const Point p = ParamToPoint(lParam);
        UserSelect(tabs->tabAt(QPoint(p.x, p.y)));
        return true;
      }
      case WM_KEYDOWN:
        if (wParam == VK_LEFT || wParam == VK_RIGHT) {
          UserSelect(tabs->currentIndex() + (wParam == VK_LEFT ? -1 : 1));
          return true;
        }
        return false;
      default:
        return ToolkitCore::DefProc(message, wParam, lParam, result);
    }
  }

  UINT DlgCode() const override { return DLGC_WANTARROWS; }

  QTabBar* tabs = nullptr;
};

}  // namespace

std::unique_ptr<Core> MakeListBoxCore(WndImpl* impl) { return std::make_unique<ListBoxCore>(impl); }
std::unique_ptr<Core> MakeComboBoxCore(WndImpl* impl) { return std::make_unique<ComboBoxCore>(impl); }
std::unique_ptr<Core> MakeListViewCore(WndImpl* impl) { return std::make_unique<ListViewCore>(impl); }
std::unique_ptr<Core> MakeTabCore(WndImpl* impl) { return std::make_unique<TabCore>(impl); }

// --- ListBox and ComboBox --------------------------------------------------------------------------------

namespace {
LRESULT Msg(const Wnd* w, UINT m, WPARAM wp = 0, LPARAM lp = 0) { return const_cast<Wnd*>(w)->SendMessage(m, wp, lp); }
WPARAM Idx(int i) { return static_cast<WPARAM>(static_cast<std::intptr_t>(i)); }

// The messages of a list of texts: a list box's or a combo box's.
struct ItemMessages {
  UINT add, insert, remove, reset, count, getSel, setSel, textLength, text, getData, setData;
};
constexpr ItemMessages kListBoxItems{LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,
                                     LB_GETCURSEL, LB_SETCURSEL, LB_GETTEXTLEN, LB_GETTEXT, LB_GETITEMDATA, LB_SETITEMDATA};
constexpr ItemMessages kComboItems{CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,
                                   CB_GETCURSEL, CB_SETCURSEL, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETITEMDATA, CB_SETITEMDATA};

int AddText(const Wnd* w, const ItemMessages& m, std::string_view text) {
  const std::string s(text);
  return static_cast<int>(Msg(w, m.add, 0, reinterpret_cast<LPARAM>(s.c_str())));
}
int InsertText(const Wnd* w, const ItemMessages& m, int index, std::string_view text) {
  const std::string s(text);
  return static_cast<int>(Msg(w, m.insert, Idx(index), reinterpret_cast<LPARAM>(s.c_str())));
}
std::string TextOf(const Wnd* w, const ItemMessages& m, int index) {
  const int n = static_cast<int>(Msg(w, m.textLength, Idx(index)));
  if (n < 0) return {};
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  Msg(w, m.text, Idx(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<std::size_t>(n));
  return s;
}
template <class CoreT>
int FindText(const Wnd* w, int startAfter, std::string_view text, bool exact) {
  auto* core = WndAccess::CoreAs<CoreT>(w);
  return core ? core->Find(startAfter, std::string(text), exact) : -1;
}
}  // namespace

bool ListBox::Create(DWORD style, const Rect& rect, Wnd* parent, UINT id) { return Wnd::Create("LISTBOX", "", style, rect, parent, id); }
int ListBox::AddString(std::string_view text) { return AddText(this, kListBoxItems, text); }
int ListBox::InsertString(int index, std::string_view text) { return InsertText(this, kListBoxItems, index, text); }
int ListBox::DeleteString(int index) { return static_cast<int>(Msg(this, LB_DELETESTRING, Idx(index))); }
void ListBox::ResetContent() { Msg(this, LB_RESETCONTENT); }
int ListBox::GetCount() const { return static_cast<int>(Msg(this, LB_GETCOUNT)); }
int ListBox::GetCurSel() const { return static_cast<int>(Msg(this, LB_GETCURSEL)); }
int ListBox::SetCurSel(int index) { return static_cast<int>(Msg(this, LB_SETCURSEL, Idx(index))); }
int ListBox::GetTextLen(int index) const { return static_cast<int>(Msg(this, LB_GETTEXTLEN, Idx(index))); }
std::string ListBox::GetText(int index) const { return TextOf(this, kListBoxItems, index); }
int ListBox::FindString(int startAfter, std::string_view prefix) const { return FindText<ListBoxCore>(this, startAfter, prefix, false); }
int ListBox::FindStringExact(int startAfter, std::string_view text) const { return FindText<ListBoxCore>(this, startAfter, text, true); }
int ListBox::SelectString(int startAfter, std::string_view prefix) {
  const int i = FindString(startAfter, prefix);
  if (i != LB_ERR) SetCurSel(i);
  return i;
}
UINT_PTR ListBox::GetItemData(int index) const { return static_cast<UINT_PTR>(Msg(this, LB_GETITEMDATA, Idx(index))); }
int ListBox::SetItemData(int index, UINT_PTR data) {
  return static_cast<int>(Msg(this, LB_SETITEMDATA, Idx(index), static_cast<LPARAM>(data)));
}
int ListBox::GetSel(int index) const {
  auto* core = WndAccess::CoreAs<ListBoxCore>(this);
  return core && core->Valid(index) ? (core->list->item(index)->isSelected() ? 1 : 0) : LB_ERR;
}
int ListBox::SetSel(int index, bool select) {
  auto* core = WndAccess::CoreAs<ListBoxCore>(this);
  if (!core) return LB_ERR;
  ToolkitCore::Quiet q(core);
  if (index == -1) {
    for (int i = 0; i < core->Count(); ++i) core->list->item(i)->setSelected(select);
    return 0;
  }
  if (!core->Valid(index)) return LB_ERR;
  core->list->item(index)->setSelected(select);
  return 0;
}
int ListBox::GetSelCount() const { return static_cast<int>(GetSelItems().size()); }
std::vector<int> ListBox::GetSelItems() const {
  std::vector<int> out;
  auto* core = WndAccess::CoreAs<ListBoxCore>(this);
  if (!core) return out;
  for (int i = 0; i < core->Count(); ++i)
    if (core->list->item(i)->isSelected()) out.push_back(i);
  return out;
}
int ListBox::GetTopIndex() const {
  auto* core = WndAccess::CoreAs<ListBoxCore>(this);
  if (!core || core->Count() == 0) return 0;
  const QModelIndex idx = core->list->indexAt(QPoint(1, 1));
  return idx.isValid() ? idx.row() : 0;
}
int ListBox::SetTopIndex(int index) {
  auto* core = WndAccess::CoreAs<ListBoxCore>(this);
  if (!core || !core->Valid(index)) return LB_ERR;
  core->list->scrollToItem(core->list->item(index), QAbstractItemView::PositionAtTop);
  return 0;
}
int ListBox::GetItemRect(int index, Rect* rect) const {
  auto* core = WndAccess::CoreAs<ListBoxCore>(this);
  if (!core || !core->Valid(index) || !rect) return LB_ERR;
  *rect = FromViewport(core->list, core->list->visualItemRect(core->list->item(index)));
  return 0;
}
int ListBox::GetItemHeight(int) const {
  auto* core = WndAccess::CoreAs<ListBoxCore>(this);
  if (!core) return LB_ERR;
  if (core->delegate) return core->delegate->height;
  return core->Count() ? core->list->visualItemRect(core->list->item(0)).height() : core->list->fontMetrics().height() + 2;
}
int ListBox::SetItemHeight(int, UINT height) {
  auto* core = WndAccess::CoreAs<ListBoxCore>(this);
  if (!core || !core->delegate) return LB_ERR;
  core->delegate->height = static_cast<int>(height);
  core->list->doItemsLayout();
  return 0;
}
UINT ListBox::ItemFromPoint(Point point, bool* outside) const {
  auto* core = WndAccess::CoreAs<ListBoxCore>(this);
  if (outside) *outside = true;
  if (!core) return 0;
  const QPoint o = ViewportOffset(core->list);
  const QModelIndex idx = core->list->indexAt(QPoint(point.x - o.x(), point.y - o.y()));
  if (idx.isValid()) {
    if (outside) *outside = false;
    return static_cast<UINT>(idx.row());
  }
  return static_cast<UINT>(std::max(0, core->Count() - 1));
}
void ListBox::DrawItem(DRAWITEMSTRUCT*) {}
void ListBox::MeasureItem(MEASUREITEMSTRUCT*) {}
bool ListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return ReflectOwnerDraw(this, message, lParam) || Wnd::OnChildNotify(message, wParam, lParam, result);
}

// --- ComboBox ----------------------------------------------------------------------------------------------

bool ComboBox::Create(DWORD style, const Rect& rect, Wnd* parent, UINT id) { return Wnd::Create("COMBOBOX", "", style, rect, parent, id); }
int ComboBox::AddString(std::string_view text) { return AddText(this, kComboItems, text); }
int ComboBox::InsertString(int index, std::string_view text) { return InsertText(this, kComboItems, index, text); }
int ComboBox::DeleteString(int index) { return static_cast<int>(Msg(this, CB_DELETESTRING, Idx(index))); }
void ComboBox::ResetContent() { Msg(this, CB_RESETCONTENT); }
int ComboBox::GetCount() const { return static_cast<int>(Msg(this, CB_GETCOUNT)); }
int ComboBox::GetCurSel() const { return static_cast<int>(Msg(this, CB_GETCURSEL)); }
int ComboBox::SetCurSel(int index) { return static_cast<int>(Msg(this, CB_SETCURSEL, Idx(index))); }
int ComboBox::GetLBTextLen(int index) const { return static_cast<int>(Msg(this, CB_GETLBTEXTLEN, Idx(index))); }
std::string ComboBox::GetLBText(int index) const { return TextOf(this, kComboItems, index); }
int ComboBox::FindString(int startAfter, std::string_view prefix) const { return FindText<ComboBoxCore>(this, startAfter, prefix, false); }
int ComboBox::FindStringExact(int startAfter, std::string_view text) const { return FindText<ComboBoxCore>(this, startAfter, text, true); }
int ComboBox::SelectString(int startAfter, std::string_view prefix) {
  const int i = FindString(startAfter, prefix);
  if (i != CB_ERR) SetCurSel(i);
  return i;
}
UINT_PTR ComboBox::GetItemData(int index) const { return static_cast<UINT_PTR>(Msg(this, CB_GETITEMDATA, Idx(index))); }
int ComboBox::SetItemData(int index, UINT_PTR data) {
  return static_cast<int>(Msg(this, CB_SETITEMDATA, Idx(index), static_cast<LPARAM>(data)));
}
int ComboBox::SetItemHeight(int index, UINT height) { return static_cast<int>(Msg(this, CB_SETITEMHEIGHT, Idx(index), height)); }
int ComboBox::GetItemHeight(int index) const { return static_cast<int>(Msg(this, CB_GETITEMHEIGHT, Idx(index))); }
int ComboBox::SetDroppedWidth(UINT width) { return static_cast<int>(Msg(this, CB_SETDROPPEDWIDTH, width)); }
int ComboBox::GetDroppedWidth() const { return static_cast<int>(Msg(this, CB_GETDROPPEDWIDTH)); }
bool ComboBox::LimitText(int maxChars) { return Msg(this, CB_LIMITTEXT, static_cast<WPARAM>(std::max(0, maxChars))) != 0; }
DWORD ComboBox::GetEditSel() const { return static_cast<DWORD>(Msg(this, CB_GETEDITSEL)); }
bool ComboBox::SetEditSel(int start, int end) {
  return Msg(this, CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(start), static_cast<WORD>(end))) != CB_ERR;
}
void ComboBox::ShowDropDown(bool show) { Msg(this, CB_SHOWDROPDOWN, show ? 1 : 0); }
bool ComboBox::GetDroppedState() const { return Msg(this, CB_GETDROPPEDSTATE) != 0; }
void ComboBox::DrawItem(DRAWITEMSTRUCT*) {}
void ComboBox::MeasureItem(MEASUREITEMSTRUCT*) {}
bool ComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return ReflectOwnerDraw(this, message, lParam) || Wnd::OnChildNotify(message, wParam, lParam, result);
}

// --- ImageList ------------------------------------------------------------------------------------------

bool ImageList::Create(int cx, int cy) {
  size_ = {cx, cy};
  images_.clear();
  return cx > 0 && cy > 0;
}

bool ImageList::Create(const gdi::Bitmap& strip, int cx, COLORREF mask) {
  images_.clear();
  mask_ = mask;
  const Size s = strip.GetSize();
  if (strip.IsNull() || cx <= 0 || s.cy <= 0) return false;
  size_ = {cx, s.cy};
  const QImage all = gdi::qt::ToQImage(strip);
  for (int x = 0; x + cx <= s.cx; x += cx) images_.push_back(gdi::qt::BitmapFromImage(all.copy(x, 0, cx, s.cy)));
  return true;
}

int ImageList::Add(const gdi::Bitmap& bitmap) {
  if (bitmap.IsNull()) return -1;
  images_.push_back(bitmap);
  return static_cast<int>(images_.size()) - 1;
}

const gdi::Bitmap& ImageList::Image(int index) const {
  static const gdi::Bitmap none;
  return index >= 0 && index < static_cast<int>(images_.size()) ? images_[static_cast<std::size_t>(index)] : none;
}

// --- ListCtrl ------------------------------------------------------------------------------------------

bool ListCtrl::Create(DWORD style, const Rect& rect, Wnd* parent, UINT id) {
  return Wnd::Create("SysListView32", "", style, rect, parent, id);
}

int ListCtrl::InsertColumn(int index, std::string_view heading, int format, int width, int) {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core) return -1;
  if (index < 0 || index > static_cast<int>(core->columns.size())) index = static_cast<int>(core->columns.size());
  ListViewCore::Column c;
  c.text = std::string(heading);
  c.format = format;
  c.width = width >= 0 ? width : std::max(50, GetStringWidth(heading) + 12);
  core->columns.insert(core->columns.begin() + index, c);
  for (auto& it : core->items)
    if (static_cast<int>(it.texts.size()) > index && index > 0) it.texts.insert(it.texts.begin() + index, std::string());
  core->Fill();
  return index;
}

bool ListCtrl::DeleteColumn(int index) {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || index < 0 || index >= static_cast<int>(core->columns.size())) return false;
  core->columns.erase(core->columns.begin() + index);
  for (auto& it : core->items)
    if (index < static_cast<int>(it.texts.size())) it.texts.erase(it.texts.begin() + index);
  core->Fill();
  return true;
}

int ListCtrl::GetColumnCount() const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  return core ? static_cast<int>(core->columns.size()) : 0;
}

bool ListCtrl::SetColumnWidth(int index, int width) {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || index < 0 || index >= static_cast<int>(core->columns.size())) return false;
  core->columns[static_cast<std::size_t>(index)].width = std::max(0, width);
  if (core->report) core->report->header()->resizeSection(index, std::max(0, width));
  return true;
}

int ListCtrl::GetColumnWidth(int index) const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || index < 0 || index >= static_cast<int>(core->columns.size())) return 0;
  return core->columns[static_cast<std::size_t>(index)].width;
}

std::string ListCtrl::GetColumnText(int index) const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || index < 0 || index >= static_cast<int>(core->columns.size())) return {};
  return core->columns[static_cast<std::size_t>(index)].text;
}

bool ListCtrl::SetColumnText(int index, std::string_view heading) {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || index < 0 || index >= static_cast<int>(core->columns.size())) return false;
  core->columns[static_cast<std::size_t>(index)].text = std::string(heading);
  if (core->report) core->report->headerItem()->setText(index, ToQ(heading));
  return true;
}

int ListCtrl::InsertItem(int index, std::string_view text, int image) {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  return core ? core->InsertItem(index, std::string(text), image) : -1;
}

bool ListCtrl::DeleteItem(int index) {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  return core && core->DeleteItem(index);
}

bool ListCtrl::DeleteAllItems() {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  return core && core->DeleteAll();
}

int ListCtrl::GetItemCount() const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  return core ? static_cast<int>(core->items.size()) : 0;
}

bool ListCtrl::SetItemText(int index, int subItem, std::string_view text) {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || index < 0 || index >= GetItemCount() || subItem < 0 || subItem > 255) return false;
  auto& texts = core->items[static_cast<std::size_t>(index)].texts;
  if (static_cast<int>(texts.size()) <= subItem) texts.resize(static_cast<std::size_t>(subItem) + 1);
  texts[static_cast<std::size_t>(subItem)] = std::string(text);
  core->UpdateRow(index);
  return true;
}

std::string ListCtrl::GetItemText(int index, int subItem) const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || index < 0 || index >= GetItemCount() || subItem < 0) return {};
  const auto& texts = core->items[static_cast<std::size_t>(index)].texts;
  return subItem < static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(subItem)] : std::string();
}

bool ListCtrl::SetItemData(int index, UINT_PTR data) {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || index < 0 || index >= GetItemCount()) return false;
  core->items[static_cast<std::size_t>(index)].data = data;
  core->UpdateRow(index);
  return true;
}

UINT_PTR ListCtrl::GetItemData(int index) const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  return core && index >= 0 && index < GetItemCount() ? core->items[static_cast<std::size_t>(index)].data : 0;
}

bool ListCtrl::SetItemState(int index, UINT state, UINT mask) {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core) return false;
  const HWND h = m_hWnd;
  const int first = index < 0 ? 0 : index;
  const int last = index < 0 ? GetItemCount() - 1 : index;
  if (index >= GetItemCount()) return false;
  for (int i = first; i <= last; ++i) {
    auto& it = core->items[static_cast<std::size_t>(i)];
    const UINT old = it.state;
    it.state = (old & ~mask) | (state & mask);
    // One focused item at most.
    if ((it.state & LVIS_FOCUSED) && !(old & LVIS_FOCUSED))
      for (std::size_t k = 0; k < core->items.size(); ++k)
        if (static_cast<int>(k) != i) core->items[k].state &= ~LVIS_FOCUSED;
    core->ApplyStates();
    core->StateChanged(i, old, it.state);
    if (!ui::IsWindow(h)) return true;
  }
  return true;
}

UINT ListCtrl::GetItemState(int index, UINT mask) const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  return core && index >= 0 && index < GetItemCount() ? core->items[static_cast<std::size_t>(index)].state & mask : 0;
}

int ListCtrl::GetNextItem(int start, int flags) const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core) return -1;
  for (int i = start + 1; i < GetItemCount(); ++i) {
    const UINT s = core->items[static_cast<std::size_t>(i)].state;
    if (flags == LVNI_ALL) return i;
    if ((flags & LVNI_SELECTED) && !(s & LVIS_SELECTED)) continue;
    if ((flags & LVNI_FOCUSED) && !(s & LVIS_FOCUSED)) continue;
    return i;
  }
  return -1;
}

int ListCtrl::GetSelectedCount() const {
  int n = 0;
  for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) ++n;
  return n;
}

bool ListCtrl::EnsureVisible(int index, bool) {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || index < 0 || index >= GetItemCount()) return false;
  core->View()->scrollTo(core->IndexOf(index));
  return true;
}

bool ListCtrl::GetItemRect(int index, Rect* rect, int) const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || !rect || index < 0 || index >= GetItemCount()) return false;
  *rect = core->ItemRect(index);
  return true;
}

int ListCtrl::HitTest(Point point, UINT* flags) const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  const int i = core ? core->HitTest(point) : -1;
  if (flags) *flags = i >= 0 ? LVHT_ONITEM : LVHT_NOWHERE;
  return i;
}

int ListCtrl::FindItem(std::string_view text, int start) const {
  for (int i = start + 1; i < GetItemCount(); ++i)
    if (plat::equalsNoCase(GetItemText(i, 0), text)) return i;
  return -1;
}

bool ListCtrl::SortItems(CompareFunc compare, LPARAM data) {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || !compare) return false;
  std::stable_sort(core->items.begin(), core->items.end(), [&](const ListViewCore::Item& a, const ListViewCore::Item& b) {
    return compare(static_cast<LPARAM>(a.data), static_cast<LPARAM>(b.data), data) < 0;
  });
  core->Fill();
  return true;
}

int ListCtrl::GetStringWidth(std::string_view text) const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || !core->widget()) return 0;
  return core->widget()->fontMetrics().horizontalAdvance(ToQ(text));
}

int ListCtrl::GetTopIndex() const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core || core->items.empty()) return 0;
  const QModelIndex idx = core->View()->indexAt(QPoint(1, 1));
  return idx.isValid() ? idx.row() : 0;
}

int ListCtrl::GetCountPerPage() const {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core) return 0;
  const int rowHeight = core->items.empty() ? core->widget()->fontMetrics().height() + 4 : std::max(1, core->ItemRect(0).Height());
  return std::max(1, core->View()->viewport()->height() / std::max(1, rowHeight));
}

void ListCtrl::SetImageList(const ImageList* images, int kind) {
  auto* core = WndAccess::CoreAs<ListViewCore>(this);
  if (!core) return;
  if (kind == LVSIL_SMALL) core->small = images;
  else core->normal = images;
  core->Fill();
}

void ListCtrl::DrawItem(DRAWITEMSTRUCT*) {}

bool ListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return ReflectOwnerDraw(this, message, lParam) || Wnd::OnChildNotify(message, wParam, lParam, result);
}

// --- TabCtrl ------------------------------------------------------------------------------------------

bool TabCtrl::Create(DWORD style, const Rect& rect, Wnd* parent, UINT id) {
  return Wnd::Create("SysTabControl32", "", style, rect, parent, id);
}

int TabCtrl::InsertItem(int index, std::string_view text) {
  auto* core = WndAccess::CoreAs<TabCore>(this);
  if (!core) return -1;
  ToolkitCore::Quiet q(core);
  const int at = core->tabs->insertTab(index, ToQ(text));
  return at;
}

bool TabCtrl::DeleteItem(int index) {
  auto* core = WndAccess::CoreAs<TabCore>(this);
  if (!core || index < 0 || index >= core->tabs->count()) return false;
  ToolkitCore::Quiet q(core);
  core->tabs->removeTab(index);
  return true;
}

bool TabCtrl::DeleteAllItems() {
  auto* core = WndAccess::CoreAs<TabCore>(this);
  if (!core) return false;
  ToolkitCore::Quiet q(core);
  while (core->tabs->count()) core->tabs->removeTab(0);
  return true;
}

int TabCtrl::GetItemCount() const {
  auto* core = WndAccess::CoreAs<TabCore>(this);
  return core ? core->tabs->count() : 0;
}

int TabCtrl::GetCurSel() const {
  auto* core = WndAccess::CoreAs<TabCore>(this);
  return core ? core->tabs->currentIndex() : -1;
}

int TabCtrl::SetCurSel(int index) {
  auto* core = WndAccess::CoreAs<TabCore>(this);
  if (!core || index < 0 || index >= core->tabs->count()) return -1;
  const int old = core->tabs->currentIndex();
  ToolkitCore::Quiet q(core);
  core->tabs->setCurrentIndex(index);
  return old;
}

bool TabCtrl::GetItemRect(int index, Rect* rect) const {
  auto* core = WndAccess::CoreAs<TabCore>(this);
  if (!core || !rect || index < 0 || index >= core->tabs->count()) return false;
  *rect = gdi::qt::FromQRect(core->tabs->tabRect(index));
  return true;
}

std::string TabCtrl::GetItemText(int index) const {
  auto* core = WndAccess::CoreAs<TabCore>(this);
  return core && index >= 0 && index < core->tabs->count() ? FromQ(core->tabs->tabText(index)) : std::string();
}

bool TabCtrl::SetItemText(int index, std::string_view text) {
  auto* core = WndAccess::CoreAs<TabCore>(this);
  if (!core || index < 0 || index >= core->tabs->count()) return false;
  core->tabs->setTabText(index, ToQ(text));
  return true;
}

void TabCtrl::AdjustRect(bool larger, Rect* rect) const {
  auto* core = WndAccess::CoreAs<TabCore>(this);
  if (!core || !rect) return;
  const int tabHeight = core->tabs->count() ? core->tabs->tabRect(0).height() : core->tabs->sizeHint().height();
  if (larger) {
    rect->left -= 2;
    rect->right += 2;
    rect->bottom += 2;
    rect->top -= tabHeight + 2;
  } else {
    rect->left += 2;
    rect->right -= 2;
    rect->bottom -= 2;
    rect->top += tabHeight + 2;
  }
}

}  // namespace ui
