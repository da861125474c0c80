// Undo and redo through the document's snapshots: opens, moves and processing steps come back
// in order; the ring keeps "UndoBufferSize" earlier states; a snapshot that cannot be loaded
// leaves the document as it was; snapshots share the megabytes that stay the same.
#include <gtest/gtest.h>

#include "platform/ui/responder.h"
#include "rodizora/doc/tests/doc_fixture.h"

namespace {

using fakes::WriteSpectrumFile;
using sadoctest::Dir;

// A document whose snapshots a test may damage.
class UndoDoc : public CSaDoc {
 public:
  CSaUndoList& List() { return m_undo; }
};

// What undo must restore: every item's rectangle and its control's processing.
struct PageState {
  std::vector<gdi::Rect> rects;
  std::vector<std::string> commands;
  bool operator==(const PageState&) const = default;
};

class UndoTest : public sadoctest::DocTest {
 protected:
  void SetUp() override {
    DocTest::SetUp();
    auto d = std::make_unique<UndoDoc>();
    d->m_bAutoDelete = false;
    undoDoc = d.get();
    doc = std::move(d);
  }
  PageState State() const {
    PageState s;
    for (CSaItem* item : doc->Items()) {
      s.rects.push_back(item->GetRect());
      fakes::FakeSpectrum* control = ControlOf(item);
      s.commands.push_back(control ? control->commands : "");
    }
    return s;
  }
  // A processing step: the control changes its data and tells its item.
  void Process(int index, const std::string& command) {
    CSaItem* item = doc->Items()[index];
    ControlOf(item)->commands += command;
    item->OnDataChange(nullptr, nullptr);
  }
  // A move by dragging, as the view ends it.
  void Drag(int index, int x, int y) {
    doc->Items()[index]->MoveTo(x, y);
    doc->SaveUndoCheckpoint();
  }
  bool CanUndo() { return ui::QueryCommandState(doc.get(), ui::ID_EDIT_UNDO).enabled; }
  bool CanRedo() { return ui::QueryCommandState(doc.get(), ui::ID_EDIT_REDO).enabled; }

  UndoDoc* undoDoc = nullptr;
};

TEST_F(UndoTest, UndoAndRedoWalkBackAndForthOverOpensDragsAndProcessing) {
  SaSettings().app.undoBufferSize = 10;
  ASSERT_TRUE(doc->OnOpenDocument(WriteSpectrumFile(Dir(), "undo.dx", {"NMR", "MASS"})));
  std::vector<PageState> states{State()};
  EXPECT_FALSE(CanUndo());
  Drag(0, 100, 50);
  states.push_back(State());
  Process(1, "EM");
  states.push_back(State());
  Drag(1, 7, 9);
  states.push_back(State());
  Process(0, "FT");
  states.push_back(State());
  EXPECT_EQ(doc->UndoList().Size(), 5);

  for (int i = 3; i >= 0; --i) {
    ASSERT_TRUE(CanUndo());
    EXPECT_TRUE(doc->Undo());
    EXPECT_EQ(State(), states[i]) << i;
  }
  EXPECT_FALSE(CanUndo());
  EXPECT_FALSE(doc->Undo());
  for (int i = 1; i <= 4; ++i) {
    ASSERT_TRUE(CanRedo());
    EXPECT_TRUE(doc->Redo());
    EXPECT_EQ(State(), states[i]) << i;
  }
  EXPECT_FALSE(CanRedo());
  // The tracker's moves take no snapshot: undo goes back to the last processing step's page.
  doc->Items()[0]->MoveTo(1, 1);
  EXPECT_TRUE(doc->Undo());
  EXPECT_EQ(State(), states[3]);
  EXPECT_TRUE(ui::ModalLog().empty());
}

// A step taken at one zoom and undone at another keeps the zoom shown: the zoom is no change of
// the page (the snapshot's zoom drew the items at another scale than the page around them).
TEST_F(UndoTest, UndoAndRedoKeepTheZoomThePageIsShownAt) {
  ASSERT_TRUE(doc->OnOpenDocument(WriteSpectrumFile(Dir(), "zoom.dx", {"NMR"})));
  const int opened = doc->GetDocumentZoom();
  doc->SetDocumentZoom(opened == 50 ? 75 : 50);
  const int zoomed = doc->GetDocumentZoom();
  Process(0, "EM");
  const PageState processed = State();
  doc->SetDocumentZoom(150);
  EXPECT_TRUE(doc->Undo());
  EXPECT_EQ(doc->GetDocumentZoom(), 150);
  EXPECT_NE(State(), processed);
  EXPECT_TRUE(doc->Redo());
  EXPECT_EQ(doc->GetDocumentZoom(), 150);
  EXPECT_EQ(State(), processed);
  doc->SetDocumentZoom(zoomed);
  EXPECT_TRUE(doc->Undo());
  EXPECT_EQ(doc->GetDocumentZoom(), zoomed);
}

TEST_F(UndoTest, TheRingKeepsTheBufferSizeOfEarlierStatesAndANewChangeDropsTheLaterOnes) {
  SaSettings().app.undoBufferSize = 5;
  ASSERT_TRUE(doc->OnOpenDocument(WriteSpectrumFile(Dir(), "ring.dx", {"NMR"})));
  // A single snapshot: nothing to undo.
  EXPECT_FALSE(doc->Undo());
  EXPECT_EQ(doc->UndoList().Current(), 0);
  for (int k = 1; k <= 10; ++k) Drag(0, 10 * k, 0);
  EXPECT_EQ(doc->UndoList().Size(), 6);
  for (int k = 0; k < 5; ++k) EXPECT_TRUE(doc->Undo()) << k;
  EXPECT_FALSE(CanUndo());
  EXPECT_EQ(doc->Items()[0]->GetRect().left, 50);  // the oldest state kept: the fifth move

  EXPECT_TRUE(doc->Redo());
  EXPECT_TRUE(doc->Redo());
  Drag(0, 500, 0);  // after undoing three of the five, a change drops the three later states
  EXPECT_FALSE(CanRedo());
  EXPECT_EQ(doc->UndoList().Size(), 4);
  EXPECT_TRUE(doc->Undo());
  EXPECT_EQ(doc->Items()[0]->GetRect().left, 70);

  // A size below 0 counts as 0: the current state alone.
  SaSettings().app.undoBufferSize = -3;
  Drag(0, 1, 0);
  EXPECT_EQ(doc->UndoList().Size(), 1);
  EXPECT_FALSE(CanUndo());
}

TEST_F(UndoTest, ASnapshotThatCannotBeLoadedLeavesTheCurrentDocument) {
  SaSettings().app.undoBufferSize = 5;
  ASSERT_TRUE(doc->OnOpenDocument(WriteSpectrumFile(Dir(), "broken.dx", {"NMR", "MASS"})));
  Drag(1, 30, 40);
  Process(0, "EM");
  const PageState now = State();
  // The snapshot before the current one is cut short.
  CSaUndoList::Snapshot& earlier = undoDoc->List().At(1);
  earlier.Truncate(earlier.Size() / 2);
  EXPECT_FALSE(doc->Undo());
  EXPECT_EQ(State(), now);
  EXPECT_EQ(doc->UndoList().Current(), 2);
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].kind, ui::ModalKind::MessageBox);
  EXPECT_EQ(fakes::FakeSpectrum::Live().size(), 2u);
}

TEST(UndoSnapshots, AFollowingSnapshotSharesTheMegabytesThatStayedTheSame) {
  // Six megabytes, as a page with a large spectrum: a drag changes a few bytes of the item
  // record (here in the fourth megabyte), the rest stays where it was.
  std::vector<std::uint8_t> first(6u << 20);
  for (std::size_t i = 0; i < first.size(); ++i) first[i] = static_cast<std::uint8_t>(i * 31 + (i >> 20));
  CSaUndoList list;
  list.Push(first, 5);
  std::vector<std::uint8_t> moved = first;
  moved[(3u << 20) + 17] ^= 0xFF;
  moved.insert(moved.end(), {1, 2, 3});  // and a longer tail
  list.Push(moved, 5);
  ASSERT_EQ(list.Size(), 2);
  EXPECT_EQ(list.At(1).Bytes(), moved);
  EXPECT_EQ(list.At(0).Bytes(), first);
  EXPECT_EQ(list.At(1).BytesSharedWith(list.At(0)), 5u << 20);
  // Undone to the first and changed otherwise: the new one follows the first.
  list.SetCurrent(0);
  std::vector<std::uint8_t> shorter(first.begin(), first.begin() + (2u << 20) + 5);
  list.Push(shorter, 5);
  ASSERT_EQ(list.Size(), 2);
  EXPECT_EQ(list.At(1).Bytes(), shorter);
  EXPECT_EQ(list.At(1).BytesSharedWith(list.At(0)), shorter.size());  // all of it
  list.At(1).Truncate(100);
  EXPECT_EQ(list.At(1).Bytes(), std::vector<std::uint8_t>(first.begin(), first.begin() + 100));
}

}  // namespace
