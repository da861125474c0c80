// End to end with the real controls (libnelvar.so and libkarvel.so): a data server on the
// loopback address pushes spectrum files; command 40115 opens each one as a page, and the SD
// database's structure appears beside the spectrum whose file name its identifier matches.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <fstream>
#include <sstream>

#include "common/guids.h"
#include "foundation/profdesc.h"
#include "platform/base/directory.h"
#include "platform/base/file.h"
#include "platform/base/text.h"
#include "platform/net/loopback.h"
#include "platform/ui/app.h"
#include "platform/ui/dialog.h"
#include "platform/ui/responder.h"
#include "profile/profile.h"
#include "rodizora/app/tests/app_fixture.h"
#include "rodizora/dialogs/dialogids.h"
#include "rodizora/doc/sadoc.h"
#include "rodizora/doc/spectrumcontrol.h"
#include "rodizora/doc/tests/fakecontrols.h"
#include "rodizora/server/serverlog.h"
#include "rodizora/server/tests/servermessage.h"

namespace apptest {
namespace {

using namespace std::chrono_literals;
using plat::net::NetResult;

// Ethyl acetate: six heavy atoms and five bonds, one of them double.
constexpr char kEthylAcetate[] =
    "ethyl acetate\n  KEDRUS\n\n  6  5  0  0  0  0  0  0  0  0999 V2000\n"
    "    0.0000    0.0000    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
    "    1.2990    0.7500    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
    "    1.2990    2.2500    0.0000 O   0  0  0  0  0  0  0  0  0  0  0  0\n"
    "    2.5981    0.0000    0.0000 O   0  0  0  0  0  0  0  0  0  0  0  0\n"
    "    3.8971    0.7500    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
    "    5.1962    0.0000    0.0000 C   0  0  0  0  0  0  0  0  0  0  0  0\n"
    "  1  2  1  0\n  2  3  2  0\n  2  4  1  0\n  4  5  1  0\n  5  6  1  0\nM  END\n";

class ReceivedFileTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    folder = ScratchDir("received");
    ui::SetResponder(&script);
    COrvProfDesc desc;
    OrvSetProfInt(u"NMR\\Table", 0, &desc);
    OrvSetProfInt(u"ShowID", 0, &desc);
    const std::string sdf =
        WriteFile(folder, "db.sdf",
                  std::string("other\n  KEDRUS\n\n  0  0  0  0  0  0  0  0  0  0999 V2000\nM  END\n> <IDNUMBER>\nZZ9\n\n$$$$\n") +
                      kEthylAcetate + "> <IDNUMBER>\nETHYL1\n\n$$$$\n");
    ASSERT_TRUE(app->LoadDatabase(plat::toUtf16(sdf)));
  }
  void TearDown() override {
    if (app) app->ServerLink().Connection().Disconnect();
    ui::SetResponder(nullptr);
    AppTest::TearDown();
  }

  // Command 40114 with the connect dialog answered: the test server, the folder.
  void Connect() {
    script.Then(ui::ModalKind::Dialog, [&](ui::ModalQuestion& q) {
      q.dialog->SetDlgItemText(IDC_ADDRESS, "127.0.0.1");
      q.dialog->SetDlgItemText(IDC_PORT, std::to_string(server.port()));
      q.dialog->SetDlgItemText(IDC_TARGET_DIRECTORY, folder);
      return ui::IDOK;
    });
    ASSERT_TRUE(app->OnCmdMsg(ID_SERVER_CONNECT, ui::CN_COMMAND, nullptr, nullptr));
    ASSERT_EQ(server.accept(&peer, plat::net::Wait{{}, 2000ms}), NetResult::Ok);
    ASSERT_TRUE(ui::App::PumpUntil([&] { return app->ServerLink().Connection().IsConnected(); }, 2000));
  }
  // The server pushes a spectrum file under a name; answers the page that opened for it (the
  // first of that path for which `ready` holds).
  CSaDoc* Push(const std::string& name, const std::string& spectrum,
               const std::function<bool(CSaDoc*)>& ready = [](CSaDoc*) { return true; }) {
    const std::string file = servertest::ServerFile(name, "DX") + spectrum;
    const std::string message = servertest::Message(file);
    EXPECT_EQ(peer.sendAll(message.data(), message.size(), plat::net::Wait{{}, 2000ms}), NetResult::Ok);
    const std::string path = folder + "/" + name + ".DX";
    CSaDoc* opened = nullptr;
    ui::App::PumpUntil(
        [&] {
          for (ui::Document* d : Documents())
            if (auto* page = dynamic_cast<CSaDoc*>(d); page && d->GetPathName() == path && ready(page)) opened = page;
          return opened != nullptr;
        },
        10000);
    return opened;
  }

  std::string folder;
  ui::ScriptedResponder script;
  plat::net::LoopbackServer server;
  plat::net::TcpSocket peer;
};

// With the stand-in controls: the page, its structure item and the molfile the structure got.
TEST_F(ReceivedFileTest, AReceivedFileOpensWithTheStructureOfTheRecordItsNameMatches) {
  fakes::FakeControls controls;
  Connect();
  CSaDoc* doc = Push("ETHYL1", "FAKESPC\nNMR\n");
  ASSERT_NE(doc, nullptr);
  ASSERT_EQ(doc->Items().size(), 2u);
  EXPECT_EQ(doc->Items()[0]->Record().type, ItemTypeSpectrum);
  EXPECT_EQ(doc->Items()[1]->Record().type, 0);
  ASSERT_EQ(fakes::FakeStructure::Live().size(), 1u);
  const std::string molfile = fakes::FakeStructure::Live()[0]->molfile;
  EXPECT_EQ(molfile.rfind("ethyl acetate\n", 0), 0u);
  EXPECT_EQ(molfile.find("IDNUMBER"), std::string::npos);  // "ShowID" 0
  // The same name again: the old page is closed and the file opened anew.
  CSaDoc* again = Push("ETHYL1", "FAKESPC\nMASS\n", [](CSaDoc* page) {
    return !page->Items().empty() && page->Items()[0]->GetMethodName() == u"MASS";
  });
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(Documents().size(), 1u);
  EXPECT_EQ(again->Items()[0]->GetMethodName(), u"MASS");
  // No identifier matches: no structure.
  CSaDoc* plain = Push("NOMATCH", "FAKESPC\nNMR\n");
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->Items().size(), 1u);
  EXPECT_EQ(script.Unexpected(), 0);
  app->CloseAllDocuments(false);
  app->ServerLink().Connection().Disconnect();
}

// A peer that sends far more files than the program keeps open: the first ones open, the rest
// stay in the server directory unopened, the user is told once and the log names each one.
TEST_F(ReceivedFileTest, APeerCannotMakeTheProgramHoldMoreDocumentsThanTheBound) {
  fakes::FakeControls controls;
  ServerConnectionLimits limits = app->ServerLink().Connection().Limits();
  limits.maxOpenDocuments = 4;
  app->ServerLink().Connection().SetLimits(limits);
  Connect();
  script.Then(ui::ModalKind::MessageBox, [](ui::ModalQuestion& q) {
    EXPECT_NE(q.text.find("stored in the server directory but not opened: 4 documents"), std::string::npos) << q.text;
    return ui::IDOK;
  });
  constexpr int kFiles = 40;
  std::string burst;
  for (int i = 0; i < kFiles; ++i) {
    const std::string name = "F" + std::string(1, static_cast<char>('A' + i / 26)) + std::string(1, static_cast<char>('A' + i % 26));
    burst += servertest::Message(servertest::ServerFile(name, "DX") + "FAKESPC\nNMR\n");
  }
  ASSERT_EQ(peer.sendAll(burst.data(), burst.size(), plat::net::Wait{{}, 5000ms}), NetResult::Ok);
  const std::string logPath = folder + "/" + CServerLog::kFileName;
  const auto refused = [&] {
    std::string log;
    plat::readFile(logPath, &log);
    std::size_t n = 0;
    for (std::size_t at = log.find("not opened: "); at != std::string::npos; at = log.find("not opened: ", at + 1)) ++n;
    return n;
  };
  ASSERT_TRUE(ui::App::PumpUntil([&] { return refused() == kFiles - 4u; }, 30000)) << refused();
  ui::App::PumpPending();
  EXPECT_EQ(Documents().size(), 4u);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(script.Unexpected(), 0);
  std::size_t stored = 0;
  for (const plat::DirEntry& e : plat::findFiles(folder, "F*.DX")) stored += e.size > 0;
  EXPECT_EQ(stored, static_cast<std::size_t>(kFiles));
  // Closing documents makes room again.
  app->CloseAllDocuments(false);
  CSaDoc* doc = Push("NEXT", "FAKESPC\nNMR\n");
  EXPECT_NE(doc, nullptr);
  app->ServerLink().Connection().Disconnect();
}

// With the real spectrum and structure controls and the shipped sample.
TEST_F(ReceivedFileTest, TheReceivedSampleOpensWithItsStructureInTheRealControls) {
  ASSERT_TRUE(RegisterNelvar()) << "libnelvar.so serves no spectrum control";
  RegisterKarvel();
  std::ifstream in(SAMPLE_FID, std::ios::binary);
  std::ostringstream sample;
  sample << in.rdbuf();
  Connect();
  CSaDoc* doc = Push("ETHYL1", sample.str());
  ASSERT_NE(doc, nullptr);
  const std::vector<CSaItem*> items = doc->Items();
  ASSERT_GE(items.size(), 1u);
  EXPECT_EQ(items[0]->GetMethodName(), u"NMR");
  auto* page = dynamic_cast<CSaView*>(doc->GetViews().front());
  ASSERT_NE(page, nullptr);
  EXPECT_GT(DrawnPixels(page, items[0]), 500);
  ASSERT_TRUE(CSpcControlRef::Query(items[0]->GetOleObject()).Param(u"FILENAME"));
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0]->Record().type, ItemTypeSpectrum);
  EXPECT_EQ(items[0]->GetMethodName(), u"NMR");
  CSaItem* structure = items[1];
  EXPECT_EQ(structure->Record().type, 0);
  auto* object = static_cast<plat::ole::IUnknown*>(structure->QueryObject(DIID__DStructureControl));
  EXPECT_NE(object, nullptr) << "not a structure control";
  if (object) object->Release();
  // Beside the spectrum's corner: "ObjectLeft", "ObjectTop" 10 mm in, 30 mm square.
  const gdi::Rect spectrum = items[0]->GetRect();
  EXPECT_EQ(structure->GetRect(), gdi::Rect(spectrum.left + 40, spectrum.top + 40, spectrum.left + 160, spectrum.top + 160));
  MainFrame()->Render()->SavePng(ScratchDir("received_page") + "/page.png");
}

}  // namespace
}  // namespace apptest
