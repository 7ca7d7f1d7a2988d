// SPDX-License-Identifier: GPL-3.0-or-later
// The split command through a host without windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <regex>
#include <stdexcept>
#include <tuple>

#include "Version.h"
#include "fileservices/Filenames.h"
#include "split/HeadlessFrontEnd.h"
#include "split/SplitCommand.h"
#include "split/SplitMessages.h"
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
  const char *done = "SetMainStatus Done.", *retry = "SetStatus Press OK and try again.",
             *check = "SetStatus Check your parameters.";
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
      {[](CommandRig& r) { r.files.openReadErrors[r.source] = EACCES; }, 1000, "999",
       {"Cannot open the file @.\nSystem text 13.\n\n\nCheck the file and try again."}, 0,
       "UpdatePartSizeList"},
      {failAt("ShowProgress"), 1000, "999", {kSplit, failed("ShowProgress failed")}, 0, done},
      {failAt("LoadProgress"), 1000, "999", {kSplit, failed("LoadProgress failed"), "Done."}, 0,
       "SetStatus Done."},
      {[](CommandRig& r) { r.state.bufferSize = 0; }, 1000, "999",
       {kSplit, failed("The copy buffer size 0 is not valid.")}, 0, done},
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

}  // namespace
}  // namespace vornak
