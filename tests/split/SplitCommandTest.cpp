// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window shows before a split (the source as typed, its size,
// the plan for a part size, clicks into the diagram, where Browse starts), and
// the split command through a host without windows.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <regex>
#include <stdexcept>
#include <tuple>

#include "Version.h"
#include "fileservices/Filenames.h"
#include "fileservices/SystemFileInterface.h"
#include "split/HeadlessFrontEnd.h"
#include "split/SplitCommand.h"
#include "split/SplitMessages.h"
#include "split/SplitSetup.h"
#include "support/FakeFileInterface.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"

namespace vornak {
namespace {

using Texts = std::vector<std::string>;

// The main window's fields as values, a Save dialog keeping the proposed folder, one journal of the steps;
// the source is a real sparse file for the size query, mirrored in the fake, which serves the copy.
struct CommandRig : SplitCommandHost {
  std::string filenameText() override { return typedName; }
  std::string currentFolder() override { return typedFolder; }
  std::string partSizeText() override { return typedSize; }
  char decimalSeparator() override { return separator; }
  void setStatus(const std::string& text) override { step("SetStatus " + text), shown.push_back(text); }
  Asker& questions() override { return asker; }
  void showTargetDialog(TargetRecord& record) override {
    step("ShowTargetDialog");
    if (onDialog) return onDialog(record);
    record.drive = std::string(1, Filenames::kSeparator),
    record.baseName = "movie";  // the root is always mounted
  }
  void updatePartSizeList() override { step("UpdatePartSizeList"); }
  SplitFrontEnd& loadProgress() override { return step("LoadProgress"), frontEnd; }
  void disableMain() override { step("DisableMain"); }
  void showProgress() override { step("ShowProgress"); }
  void yield() override { step("HostYield"); }
  void step(const std::string& step) {  // failAt throws, as a window that cannot be made
    journal.push_back(step);
    if (step == failAt) throw std::runtime_error(step + " failed");
  }

  CommandRig(std::uint64_t size, const std::string& partText) : typedSize(partText) {
    typedName = source = dir.writeFile("movie.avi");
    std::filesystem::resize_file(source, size);
    files.addFile(source, size);
    asker.onAsk = [this](const Message& m) { shown.push_back(m.text); };
    frontEnd.onAsk = [this](const Message& m) { return shown.push_back(m.text), Answer::Ok; };
  }

  test::TempDir dir;
  test::FakeFileInterface files;
  SplitState state;
  std::string source, typedName, typedSize, failAt, typedFolder = "/elsewhere";
  std::function<void(TargetRecord&)> onDialog;
  char separator = '.';
  Texts journal, shown;  // shown: status texts and messages (also the progress window's) in order
  ScriptedAsker asker;
  HeadlessFrontEnd frontEnd{&journal};
};

const std::string kRetry = "Press OK and try again.", kCheck = "Check your parameters.",
                  kSplit = "Splitting...", kTooMany = "Vornak cannot create more than 32736 files.",
                  kMany = "You will create more than 100 files.\nDo you want to continue?";
std::string sizeMessage(char s) {  // the examples are written with the decimal separator in use
  return "The value in 'Size of split files' is not correct.\n\nValid input are the digits 0-9 followed by "
         "KB or MB if required.\ne.g. 12345, 12 KB, 12" +
         std::string(1, s) + "34 KB, 1 MB, 1" + s + "234 MB";
}

TEST(SplitCommandTest, ChecksPlanSplitAndFailuresWithTheirTexts) {
  auto failed = [](const std::string& what) {
    return "The following error occured while initializing the split process:\n" + what +
           "\n\nContact the technical support at " + std::string(kWebAddress) + " to get help.";
  };
  auto failAt = [](const char* step) { return [step](CommandRig& r) { r.failAt = step; }; };
  const char *done = "SetMainStatus Done.", *failedEnd = "SetMainStatus Failed.",
             *retry = "SetStatus Press OK and try again.", *check = "SetStatus Check your parameters.";
  // Status texts and messages in order ("@" stands for the source's path), parts, the host's last step.
  using Row = std::tuple<std::function<void(CommandRig&)>, std::uint64_t, const char*, Texts, std::size_t,
                         const char*>;
  // clang-format off
  const Row rows[] = {
      {[](CommandRig& r) { r.typedName = "/nowhere/movie.avi"; }, 10, "1",
       {kRetry, "Cannot find the file /nowhere/movie.avi.\n\nCheck the filename and try again."}, 0, retry},
      {{}, 1000, "abc", {kRetry, sizeMessage('.')}, 0, retry}, {{}, 327361, "10", {kCheck, kTooMany}, 0, check},
      {[](CommandRig& r) { r.separator = ','; }, 1000, "abc", {kRetry, sizeMessage(',')}, 0, retry},
      {{}, 1000, "1000", {kRetry, "The length of your file is not greater than \nthe value in "
                                  "'Size of split files'."}, 0, retry},
      {{}, 1000, "999", {kSplit}, 2, done}, {{}, 1000, "10", {kSplit}, 100, done},
      // A relative name is read against the program's folder.
      {[](CommandRig& r) { r.typedName = " movie.avi", r.typedFolder = r.dir.path() + Filenames::kSeparator; },
       1000, "999", {kSplit}, 2, done},
      {{}, 1001, "10", {kCheck, kMany, kSplit}, 101, done},  // Yes is the default answer
      {{}, 327360, "10", {kCheck, kMany, kSplit}, 32736, done},
      {[](CommandRig& r) { r.asker.push(Answer::No); }, 1001, "10", {kCheck, kMany}, 0, check},
      {[](CommandRig& r) { r.onDialog = [](TargetRecord& t) { t.baseName.clear(); }; }, 1000, "999", {}, 0,
       "ShowTargetDialog"},  // the dialog is cancelled
      {[](CommandRig& r) { r.files.fails["OpenRead " + r.source] = EACCES; }, 1000, "999",
       {"Cannot open the file @.\nSystem text 13.\n\n\nCheck the file and try again."}, 0,
       "UpdatePartSizeList"},
      {failAt("ShowProgress"), 1000, "999", {kSplit, failed("ShowProgress failed")}, 0, failedEnd},
      {failAt("LoadProgress"), 1000, "999", {kSplit, failed("LoadProgress failed"), "Failed."}, 0,
       "SetStatus Failed."},
      {[](CommandRig& r) { r.state.bufferSize = 0; }, 1000, "999",
       {kSplit, failed("The copy buffer size 0 is not valid.")}, 0, failedEnd},
  };
  // clang-format on
  for (const auto& [arrange, size, partText, texts, parts, last] : rows) {
    SCOPED_TRACE(testing::Message() << size << " / " << partText << " / " << last);
    CommandRig rig(size, partText);
    if (arrange) arrange(rig);
    runSplitCommand(rig, rig.files, rig.state);
    Texts shown = texts;
    for (auto& text : shown) text = std::regex_replace(text, std::regex("@"), rig.source);
    EXPECT_EQ(rig.shown, shown);
    for (const Message& m : rig.asker.messages)  // the many-parts question has Yes first, the rest are errors
      EXPECT_EQ(m, (Message{m.text, m.text == kMany ? Icon::Question : Icon::Exclamation,
                            m.text == kMany ? Buttons::YesNo : Buttons::Ok, 0}));
    EXPECT_EQ(rig.journal.back(), last);
    EXPECT_EQ(rig.frontEnd.mainEnabled, std::ranges::count(rig.journal, "DisableMain") == 1);
    ASSERT_EQ(rig.files.created.size(), parts);
    EXPECT_EQ(rig.files.openHandles(), 0);
    if (parts == 2) {  // the progress window is prepared in order; one yield per block
      EXPECT_EQ(rig.journal,
                (Texts{"ShowTargetDialog", "HostYield", "UpdatePartSizeList", "SetStatus Splitting...",
                       "LoadProgress", "DisableMain", "ShowProgress", "HostYield", "Yield", "Yield",
                       "UnloadProgress", "Yield", "EnableMain", "SetMainStatus Done."}));
      EXPECT_EQ(rig.frontEnd.titles, Texts{"Splitting..."});
      EXPECT_EQ(rig.frontEnd.status1, Texts{rig.source});
    }
    if (parts > 0) {
      EXPECT_EQ(rig.files.created.back(), partPath(rig.state.target, std::int32_t(parts)));
      EXPECT_EQ(rig.state.target.folder, rig.dir.path());
    }
  }
}

TEST(SplitCommandTest, FirstSplitProposesTheSourceFolderLaterOnesTheChosenOne) {
  CommandRig rig(1000, "999");
  Texts seen;  // the folder and name the dialog proposed
  const std::string separator(1, Filenames::kSeparator);
  rig.onDialog = [&](TargetRecord& t) {
    seen.push_back(t.folder + separator + t.baseName), t.folder = "/chosen", t.baseName = "backup";
  };
  runSplitCommand(rig, rig.files, rig.state);
  rig.files.addFile(rig.typedName = rig.dir.writeFile("clip.mp4", std::string(5000, 'x')), 5000);
  runSplitCommand(rig, rig.files, rig.state);
  EXPECT_EQ(seen, (Texts{rig.source, "/chosen" + separator + "clip.mp4"}));
  EXPECT_EQ(rig.files.created[1], "/chosen" + separator + "backup2.");
}

struct SplitSetupTest : ::testing::Test {
  test::TempDir dir;
  SplitSetup setup{systemFileInterface(), dir.join("elsewhere")};
  std::string sized(const std::string& name, std::uintmax_t size) {
    const std::string path = dir.writeFile(name);
    std::filesystem::resize_file(test::native(path), size);
    return path;
  }
};

// Sizes as the system gives them, also beyond 32 bits: a low half with its
// top bit set, a high half of 1 with a low half of 0, both halves in use.
TEST_F(SplitSetupTest, SourceNamesAreTakenLiterallyWithTheirSizes) {
  sized("disk.img", 1474560), sized(".hidden", 3), sized("\xC3\x84pfel \xE2\x82\xAC.bin", 0);
  sized("3e9", 3000000000ULL), sized("2^32", 4294967296ULL), sized("6g", 6442450945ULL),
      dir.makeFolder("folder");
#ifndef _WIN32  // no such names on Windows
  sized("a*b?.txt", 5);
  ASSERT_EQ(::mkfifo(dir.join("pipe").c_str(), 0600), 0);
#endif
  // "$/" stands for the test's folder in the typed text and in the source path.
  // clang-format off
  const struct { std::string typed, source; double size; } cases[] = {
      {"  $/disk.img  ", "$/disk.img", 1474560}, {"\t$/disk.img", "", -1},  // only blanks are trimmed
      {"$/.hidden", "$/.hidden", 3}, {"$/folder", "", -1}, {"$/missing", "", -1}, {"   ", "", -1},
      {"$/\xC3\x84pfel \xE2\x82\xAC.bin", "$/\xC3\x84pfel \xE2\x82\xAC.bin", 0}, {"$/3e9", "$/3e9", 3e9},
      {"$/2^32", "$/2^32", 4294967296.0}, {"$/6g", "$/6g", 6442450945.0}, {"$/disk*", "", -1}, {"$/disk.im?", "", -1},
#ifndef _WIN32
      {"$/a*b?.txt", "$/a*b?.txt", 5}, {"$/a*", "", -1}, {"$/pipe", "$/pipe", -1},  // never opened
#endif
  };
  // clang-format on
  auto expand = [this](std::string s) {
    for (std::size_t at; (at = s.find("$/")) != std::string::npos;) s.replace(at, 2, dir.join(""));
    return s;
  };
  for (const auto& c : cases) {
    setup.setFileText(expand(c.typed));
    EXPECT_EQ(setup.state().sourcePath, expand(c.source)) << c.typed;
    EXPECT_EQ(setup.state().fileSize, c.size) << c.typed;
  }
}

// The plan's pictures and texts are the diagram's own; here: what the window gets.
TEST_F(SplitSetupTest, SplitIsOfferedForMoreThanOnePartAndClicksSetSizes) {
  EXPECT_FALSE(setup.sizeForClick(DiagramClick{false, false, 108}, 216));  // no source: a click does nothing
  setup.setFileText(sized("movie.avi", 3000000));
  const std::pair<const char*, bool> cases[] = {{"", false},        {"1 MB", true},    {"abc", false},
                                                {"3000000", false}, {"2999999", true}, {"0", false}};
  for (const auto& [size, split] : cases) {
    setup.setPartSizeText(size, '.');
    EXPECT_EQ(setup.canSplit(), split) << size;
  }
  setup.setPartSizeText("1 MB", '.');
  EXPECT_EQ(setup.diagram(216, 10).partsText, "3 split files");
  EXPECT_EQ(setup.sizeForClick(DiagramClick{true, false, 54}, 216), "750000");
  setup.setFileText("");  // no source: nothing to plan
  EXPECT_EQ(setup.diagram(216, 10).state, DiagramState::Blank);
  EXPECT_FALSE(setup.canSplit());
}

TEST_F(SplitSetupTest, BrowseStartsInTheTypedFolderThenInTheChosenOne) {
  const std::string typed = dir.join("somewhere/else/file.bin");
  EXPECT_EQ(setup.browseFolder(""), "");
  EXPECT_EQ(setup.browseFolder(typed), dir.join("somewhere/else"));
  EXPECT_EQ(setup.browseFolder(dir.join("another/x")), dir.join("somewhere/else"));  // kept once set
  const std::string picked = sized("picked.bin", 10);
  setup.fileChosen(picked);
  EXPECT_EQ(setup.browseFolder(typed), dir.path());
  setup.setFileText("picked.bin");  // a relative name is read in the folder browsed to
  EXPECT_EQ(setup.state().sourcePath, picked);
}

}  // namespace
}  // namespace vornak
