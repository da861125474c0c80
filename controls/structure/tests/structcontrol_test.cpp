// The structure control through its dispatch interface: LoadFile of an SD file, the formula and
// weight fields with their messages, the archive form through the control's state, and the
// drawing of bonds, labels and fields in their colours.
#include <cstdlib>

#include "common/guids.h"
#include "common/shared_ids.h"
#include "controls/base/tests/control_fixture.h"
#include "controls/structure/structcontrol.h"
#include "controls/structure/molreader.h"
#include "controls/structure/structurewnd.h"
#include "controls/structure/tests/molbuilder.h"
#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/com/creation.h"
#include "platform/com/driver.h"
#include "platform/gdi/surface.h"
#include "platform/ui/responder.h"

namespace karvel::test {
namespace {

std::string Scratch(const std::string& name) {
  const char* scratch = std::getenv("KEDRUS_TEST_SCRATCH");
  const std::string dir = scratch && *scratch ? scratch : "/tmp";
  plat::makeDirectories(dir);
  return plat::joinPath(dir, name);
}

class StructureControlTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_EQ(createInstance(CLSID_StructureControl, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                             reinterpret_cast<void**>(&dispatch_)),
              S_OK);
    control_ = LastMade<CStructureControl>();
    driver_.attach(dispatch_);
  }
  void TearDown() override {
    driver_.detach();
    releaseInterface(dispatch_);
    ControlTest::TearDown();
  }
  HResult Load(const std::string& path) {
    Variant arg, result;
    variantInit(&arg);
    variantInit(&result);
    arg.vt = VT_BSTR;
    arg.bstr = allocString(plat::toUtf16(path));
    const HResult call = driver_.invoke(kedrus_dispid::kStructureLoadFile, DISPATCH_METHOD, std::span(&arg, 1), &result);
    variantClear(&arg);
    EXPECT_EQ(call, S_OK);
    EXPECT_EQ(result.vt, VT_ERROR);
    return result.i32;
  }
  void Put(DispId id, VarType type, std::int32_t value) {
    Variant v;
    variantInit(&v);
    v.vt = type;
    if (type == VT_BOOL) v.boolean = value ? kVariantTrue : kVariantFalse;
    else v.i32 = value;
    ASSERT_EQ(driver_.setProperty(id, v), S_OK);
  }

  IDispatch* dispatch_ = nullptr;
  CStructureControl* control_ = nullptr;
  DispatchDriver driver_;
};

TEST_F(StructureControlTest, LoadFileReadsAnSdFileAndTheSwitchesAddFormulaAndWeight) {
  MolBuilder benzene, water;
  benzene.Ring(6, true);
  benzene.Field("NAME", "benzene");
  water.Bond(water.Atom("O"), water.Atom("Xx"), 1);
  water.Field("NAME", "odd");
  const std::string path = Scratch("two.sdf");
  ASSERT_TRUE(plat::writeFileAtomic(path, benzene.SdRecord() + water.SdRecord()));

  EXPECT_EQ(Load(path), S_OK);
  EXPECT_TRUE(control_->IsModified());
  EXPECT_EQ(control_->Model().molecule().atoms.size(), 6u);
  EXPECT_EQ(control_->Model().fields(), (std::vector<std::string>{"benzene", "odd"}));
  ui::ClearModalLog();
  Put(2, VT_BOOL, 1);
  Put(1, VT_BOOL, 1);
  EXPECT_EQ(control_->Model().fields(), (std::vector<std::string>{"benzene", "odd", "C6H6", "78.11"}));
  EXPECT_TRUE(ui::ModalLog().empty());

  // An unknown symbol of the first molecule: one message each time the texts are computed.
  const std::string odd = Scratch("odd.mol");
  ASSERT_TRUE(plat::writeFileAtomic(odd, water.Molfile()));
  EXPECT_EQ(Load(odd), S_OK);
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_EQ(ui::ModalLog()[0].kind, ui::ModalKind::MessageBox);
  EXPECT_EQ(ui::ModalLog()[0].text, "Atom is not found!");
  EXPECT_EQ(control_->Model().fields(), (std::vector<std::string>{"HO", "17.01"}));

  // A file that cannot be opened empties the control and fails.
  EXPECT_EQ(Load(Scratch("missing.mol")), E_FAIL);
  EXPECT_TRUE(control_->Model().fields().empty());

  // A field longer than a structure file's line may be: refused whole, and the user told.
  MolBuilder huge;
  huge.Ring(6, true);
  huge.Field("NOTES", std::string(kMaxMolfileLineBytes + 1, 'x'));
  const std::string hugePath = Scratch("huge.sdf");
  ASSERT_TRUE(plat::writeFileAtomic(hugePath, huge.SdRecord()));
  ASSERT_EQ(Load(path), S_OK);
  ui::ClearModalLog();
  EXPECT_EQ(Load(hugePath), E_FAIL);
  ASSERT_EQ(ui::ModalLog().size(), 1u);
  EXPECT_NE(ui::ModalLog()[0].text.find("was not loaded: its line"), std::string::npos) << ui::ModalLog()[0].text;
  EXPECT_NE(ui::ModalLog()[0].text.find("longer than 1 MB"), std::string::npos);
  EXPECT_TRUE(control_->Model().molecule().atoms.empty());
  EXPECT_TRUE(control_->Model().fields().empty());
}

TEST_F(StructureControlTest, AppearancePutsRedrawWithoutMarkingAndTheStateRoundTrips) {
  MolBuilder mol;
  mol.Ring(6, false);
  mol.Bond(1, mol.Atom("N", 3, 3), 3);
  const std::string path = Scratch("ring.mol");
  ASSERT_TRUE(plat::writeFileAtomic(path, mol.Molfile()));
  ASSERT_EQ(Load(path), S_OK);
  ASSERT_TRUE(control_->LoadState([&] {
    std::vector<std::uint8_t> s;
    control_->SaveState(&s);
    return s;
  }()));  // clears the modified flag
  Put(12, VT_I4, 0x0000FF);
  Put(8, VT_I4, 0xFF0000);
  Put(4, VT_I4, 0);
  Put(3, VT_BOOL, 0);
  EXPECT_FALSE(control_->IsModified());
  EXPECT_EQ(control_->Model().FieldsCols(), 1);
  EXPECT_FALSE(control_->Model().Hollow());

  std::vector<std::uint8_t> state;
  ASSERT_TRUE(control_->SaveState(&state));
  IDispatch* other = nullptr;
  ASSERT_EQ(createInstance(CLSID_StructureControl, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                           reinterpret_cast<void**>(&other)),
            S_OK);
  CStructureControl* copy = LastMade<CStructureControl>();
  ASSERT_TRUE(copy->LoadState(state));
  EXPECT_EQ(copy->Model().molecule(), control_->Model().molecule());
  EXPECT_EQ(copy->Model().StructLineColor(), 0x0000FFu);
  EXPECT_FALSE(copy->Model().Hollow());
  EXPECT_FALSE(copy->LoadState(std::span(state.data(), state.size() - 3)));
  EXPECT_EQ(copy->Model().molecule(), control_->Model().molecule());
  other->Release();
}

TEST_F(StructureControlTest, DrawsBondsLabelsAndFieldsInTheirColours) {
  MolBuilder mol;
  const int c = mol.Atom("C", 0, 0), o = mol.Atom("O", 2, 1);
  mol.Bond(c, mol.Atom("C", 1, 2), 2);
  mol.Bond(c, o, 1);
  mol.Field("NAME", "sample");
  const std::string path = Scratch("draw.sdf");
  ASSERT_TRUE(plat::writeFileAtomic(path, mol.SdRecord()));
  ASSERT_EQ(Load(path), S_OK);
  Put(12, VT_I4, 0x0000FF);  // bonds red
  Put(8, VT_I4, 0xFF0000);   // frame and field grid blue
  Put(10, VT_I4, 0x00C000);  // labels green
  Put(6, VT_I4, 0x00FFFF);   // field texts yellow

  FakeSite site;
  SetSite(*control_, site.GetUnknown());
  auto draw = [&](std::int32_t zoom) {
    site.zoom = zoom;
    auto surface = std::make_unique<gdi::RasterSurface>(300, 300, gdi::COLORREF(0xFFFFFF));
    gdi::DC dc(*surface);
    const gdi::Rect bounds(0, 0, 300, 300);
    control_->OnDraw(&dc, bounds, bounds);
    return surface;
  };
  auto picture = draw(100);
  KeepPng(*picture, "structure.png");
  EXPECT_GT(picture->CountPixels(0x0000FF), 100);
  EXPECT_GT(CountInk(*picture, 0x00C000, 0xFFFFFF), 10);
  EXPECT_GT(CountInk(*picture, 0x00FFFF, 0xFFFFFF), 10);
  // The frame runs along the bounds.
  const gdi::Rect topRow(0, 0, 300, 1);
  EXPECT_EQ(picture->CountPixels(0xFF0000, &topRow), 300);
  // At twice the zoom the pens are two pixels wide and the labels twice as tall.
  auto zoomed = draw(200);
  EXPECT_GT(zoomed->CountPixels(0xFF0000), picture->CountPixels(0xFF0000) * 13 / 10);
  EXPECT_GT(CountInk(*zoomed, 0x00C000, 0xFFFFFF), 2 * CountInk(*picture, 0x00C000, 0xFFFFFF));
  SetSite(*control_, nullptr);
}

TEST_F(StructureControlTest, TheWindowWrapperMakesTheControlByClassIdAndLoadsAFile) {
  ui::Wnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "structure", ui::WS_OVERLAPPEDWINDOW | ui::WS_VISIBLE, {0, 0, 400, 300},
                              nullptr, 0));
  MolBuilder benzene;
  benzene.Ring(6, true);
  const std::string path = Scratch("wrapped.mol");
  ASSERT_TRUE(plat::writeFileAtomic(path, benzene.Molfile()));
  CStructure wrapper;
  ASSERT_TRUE(wrapper.Create("", ui::WS_CHILD | ui::WS_VISIBLE, {10, 10, 210, 160}, &parent, 12));
  EXPECT_TRUE(wrapper.HasControl());
  ASSERT_NE(wrapper.ControlWindow(), nullptr);
  EXPECT_TRUE(wrapper.ControlWindow()->IsWindowVisible());
  auto* made = LastMade<CStructureControl>();
  ASSERT_NE(made, control_);
  EXPECT_TRUE(wrapper.LoadFile(path));
  EXPECT_EQ(made->Model().molecule().atoms.size(), 6u);
  EXPECT_FALSE(wrapper.LoadFile(Scratch("missing.mol")));
  wrapper.DestroyWindow();
  EXPECT_FALSE(wrapper.HasControl());
  EXPECT_FALSE(wrapper.LoadFile(path));  // no control: nothing to load into
  parent.DestroyWindow();
}

}  // namespace
}  // namespace karvel::test
