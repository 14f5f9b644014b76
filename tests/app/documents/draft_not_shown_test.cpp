// A draft that no program can show (xdg-open finds none) is still written,
// and the user is told so, in Italian, with where it is.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/documents/crea_file.h"
#include "app/documents/frame.h"
#include "app/shell/store.h"
#include "platform/forms/forms.h"
#include "platform/system/system.h"

namespace {

namespace fs = std::filesystem;

class Boxes : public forms::MessageBoxes {
 public:
  forms::MsgResult show(const forms::MessageBoxRequest& r) override {
    texts.push_back(r.text);
    return r.default_button;
  }
  std::vector<std::string> texts;
};

TEST(DraftNotShown, TheUserIsToldWhereItWasWritten) {
  std::string model = (fs::temp_directory_path() / "sevrina-bozza-XXXXXX").string();
  ASSERT_NE(::mkdtemp(model.data()), nullptr);
  const fs::path root = model;
  fs::create_directories(root / "bin");
  std::ofstream(root / "bin/xdg-open") << "#!/bin/sh\nexit 3\n";  // no program for PDF files
  fs::permissions(root / "bin/xdg-open", fs::perms::owner_all);
  const std::string old_path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (root / "bin").c_str(), 1);
  sys::set_program_folder(root);
  sevrina::scrivi_dato("DATA_ATTO_NOTORIO", "20080130");
  forms::Runtime rt;
  Boxes boxes;
  rt.SetMessageBoxes(&boxes);
  sevrina::documenti::imposta_runtime(&rt);
  const fs::path bozza = root / "bozza.pdf";
  sevrina::crea_atto_notorio(bozza.string(), true);
  sevrina::documenti::imposta_runtime(nullptr);
  ::setenv("PATH", old_path.c_str(), 1);
  EXPECT_GT(fs::file_size(bozza), 1000u);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0], sevrina::documenti::messaggio_non_mostrato(sys::path_to_text(bozza)));
  EXPECT_NE(boxes.texts[0].find(bozza.string()), std::string::npos) << boxes.texts[0];
  fs::remove_all(root);
}

}  // namespace
