// Loading the structure database through the open-file dialog, answered by the responder.
#include "rodizora/dialogs/loaddatabase.h"

#include <stdlib.h>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/ui/responder.h"
#include "rodizora/dialogs/tests/dialogs_fixture.h"
#include "rodizora/sdf/tests/sdrecord.h"

namespace {

using ui::ModalKind;
using ui::ModalQuestion;

class LoadDatabaseCommand : public DialogTest {
 protected:
  // Answers the open-file dialog with path, or cancels it (empty path).
  void ChooseFile(ui::ScriptedResponder& script, const std::string& path) {
    script.Then(ModalKind::FileDialog, [this, path](ModalQuestion& q) {
      EXPECT_TRUE(q.file->open);
      EXPECT_EQ(q.file->filter, "SDF Files (*.sdf)|*.sdf|All Files (*.*)|*.*||");
      EXPECT_EQ(q.file->initialDir, plat::toPosixPath(plat::toUtf8(m_base)));
      if (path.empty()) return ui::IDCANCEL;
      q.file->paths = {path};
      return ui::IDOK;
    });
  }
  void ExpectMessage(ui::ScriptedResponder& script, const std::string& text) {
    script.Then(ModalKind::MessageBox, [text](ModalQuestion& q) {
      EXPECT_EQ(q.text, text);
      return ui::IDOK;
    });
  }

  CSdfDatabase m_database;
  plat::String16 m_base = u"C:\\";
};

TEST_F(LoadDatabaseCommand, TellsHowManyMoleculesCameAndMovesTheBaseDirectory) {
  ::setenv("TMPDIR", Scratch().c_str(), 1);  // extracted records stay in the sandbox
  const std::string folder = plat::joinPath(Scratch(), "structures");
  ASSERT_TRUE(plat::makeDirectories(folder));
  const std::string sdf = plat::joinPath(folder, "set.sdf");
  ASSERT_TRUE(plat::writeFileAtomic(sdf, sdtest::WithId("X123").Text() + sdtest::WithId("Y7").Text()));

  ui::ScriptedResponder script(true);
  ChooseFile(script, "");  // cancelled: nothing happens
  OnLoadDatabase(m_database, &m_base);
  EXPECT_EQ(m_base, u"C:\\");

  ChooseFile(script, sdf);
  ExpectMessage(script, "The 2 molecules from data base\n have been successfully loaded.");
  OnLoadDatabase(m_database, &m_base);
  EXPECT_EQ(plat::toUtf8(m_base), folder + "/");
  const plat::String16 copy = m_database.ExtractRecord(u"/data/Y7.fid", true);
  EXPECT_FALSE(copy.empty());
  plat::removeFile(plat::toUtf8(copy));

  // A file that cannot be opened: told so, the database closed, the base directory kept.
  ChooseFile(script, plat::joinPath(folder, "gone.sdf"));
  ExpectMessage(script, "The error has appeared during data base loading.");
  OnLoadDatabase(m_database, &m_base);
  EXPECT_EQ(plat::toUtf8(m_base), folder + "/");
  EXPECT_EQ(m_database.IdentifierCount(), 0u);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(script.Unexpected(), 0);
  ::unsetenv("TMPDIR");
}

}  // namespace
