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
    record.drive = std::string(1, Filenames::kSeparator);  // the root is always mounted
    record.baseName = dialogCancelled ? "" : "movie";
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
  char separator = '.';
  bool dialogCancelled = false;
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
  const char *done = "SetMainStatus Done.", *failedEnd = "SetMainStatus Failed.",
             *retry = "SetStatus Press OK and try again.", *check = "SetStatus Check your parameters.";
  // Status texts and messages in order ("@" stands for the source's path), parts, the host's last step.
  using Row = std::tuple<std::function<void(CommandRig&)>, std::uint64_t, const char*, Texts, std::size_t,
                         const char*>;
  // clang-format off
  const Row rows[] = {
      {[](CommandRig& r) { r.typedName = "/nowhere/movie.avi"; }, 10, "1",
       {kRetry, "Cannot find the file /nowhere/movie.avi.\n\nCheck the filename and try again."}, 0, retry},
      {{}, 327361, "10", {kCheck, kTooMany}, 0, check},
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
      {[](CommandRig& r) { r.dialogCancelled = true; }, 1000, "999", {}, 0, "ShowTargetDialog"},
      {[](CommandRig& r) { r.files.fails["OpenRead " + r.source] = EACCES; }, 1000, "999",
       {"Cannot open the file @.\nSystem text 13.\n\n\nCheck the file and try again."}, 0, "UpdatePartSizeList"},
      {[](CommandRig& r) { r.failAt = "LoadProgress"; }, 1000, "999",
       {kSplit, failed("LoadProgress failed"), "Failed."}, 0, "SetStatus Failed."},
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

// What the main window shows before a split: the source as typed (names taken
// literally, sizes as the system gives them, also beyond 32 bits), whether
// Split is offered, the plan and a click into it, and where Browse starts.
TEST(SplitSetupTest, SourcePlanClicksAndBrowseFolder) {
  test::TempDir dir;
  SplitSetup setup(systemFileInterface(), dir.join("elsewhere"));
  const auto sized = [&](const std::string& name, std::uintmax_t size) {
    std::filesystem::resize_file(test::native(dir.writeFile(name)), size);
    return dir.join(name);
  };
  sized("disk.img", 1474560), sized(".hidden", 3), sized("6g", 6442450945ULL), dir.makeFolder("folder");
#ifndef _WIN32  // no such names on Windows
  sized("a*b?.txt", 5);
  ASSERT_EQ(::mkfifo(dir.join("pipe").c_str(), 0600), 0);
#endif
  // "$/" stands for the test's folder in the typed text and in the source path.
  // clang-format off
  const struct { std::string typed, source; double size; } cases[] = {
      {"  $/disk.img  ", "$/disk.img", 1474560}, {"\t$/disk.img", "", -1},  // only blanks are trimmed
      {"$/.hidden", "$/.hidden", 3}, {"$/folder", "", -1}, {"   ", "", -1}, {"$/6g", "$/6g", 6442450945.0},
      {"$/disk*", "", -1}, {"$/disk.im?", "", -1},
#ifndef _WIN32
      {"$/a*b?.txt", "$/a*b?.txt", 5}, {"$/pipe", "$/pipe", -1},  // never opened
#endif
  };
  // clang-format on
  auto expand = [&](std::string s) {
    for (std::size_t at; (at = s.find("$/")) != std::string::npos;) s.replace(at, 2, dir.join(""));
    return s;
  };
  for (const auto& c : cases) {
    setup.setFileText(expand(c.typed));
    EXPECT_EQ(setup.state().sourcePath, expand(c.source)) << c.typed;
    EXPECT_EQ(setup.state().fileSize, c.size) << c.typed;
  }
  EXPECT_FALSE(setup.sizeForClick(DiagramClick{false, false, 108}, 216));  // no source: a click does nothing
  setup.setFileText(sized("movie.avi", 3000000));
  const std::pair<const char*, bool> splits[] = {
      {"", false}, {"abc", false}, {"3000000", false}, {"2999999", true}};
  for (const auto& [size, split] : splits) {
    setup.setPartSizeText(size, '.');
    EXPECT_EQ(setup.canSplit(), split) << size;
  }
  setup.setPartSizeText("1 MB", '.');
  EXPECT_EQ(setup.sizeForClick(DiagramClick{true, false, 54}, 216), "750000");
  // Browse starts in the typed name's folder, once set kept, then in the one browsed to, where
  // relative names are read.
  EXPECT_EQ(setup.browseFolder(""), "");
  EXPECT_EQ(setup.browseFolder(dir.join("somewhere/else/file.bin")), dir.join("somewhere/else"));
  EXPECT_EQ(setup.browseFolder(dir.join("another/x")), dir.join("somewhere/else"));
  setup.fileChosen(dir.join(".hidden"));
  EXPECT_EQ(setup.browseFolder(dir.join("another/x")), dir.path());
  setup.setFileText("disk.img");
  EXPECT_EQ(setup.state().sourcePath, dir.join("disk.img"));
}

}  // namespace
}  // namespace vornak
