// The split command through a host without windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "Version.h"
#include "split/HeadlessFrontEnd.h"
#include "split/SplitCommand.h"
#include "split/SplitMessages.h"
#include "support/FakeFileInterface.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"

namespace vornak {
namespace {

using Texts = std::vector<std::string>;

// The main window's fields as values, a scripted Save dialog (without onDialog
// the proposed folder is kept), a headless progress window and one journal of
// the steps. The source is a real (sparse) file for the size query, mirrored in
// the fake file interface, which serves the copy.
struct CommandRig : SplitCommandHost {
  std::string FilenameText() override { return filenameText; }
  std::string PartSizeText() override { return partSizeText; }
  char DecimalSeparator() override { return '.'; }
  void SetStatus(const std::string& text) override { Step("SetStatus " + text), statuses.push_back(text); }
  Asker& Questions() override { return asker; }
  void ShowTargetDialog(TargetRecord& record) override {
    Step("ShowTargetDialog");
    if (onDialog) return onDialog(record);
    record.savedrive = record.savepath;
    record.saveftitle = "movie";
  }
  void UpdatePartSizeList() override { Step("UpdatePartSizeList"); }
  SplitFrontEnd& LoadProgress() override { return Step("LoadProgress"), frontEnd; }
  void DisableMain() override { Step("DisableMain"); }
  void ShowProgress() override { Step("ShowProgress"); }
  void Yield() override { Step("HostYield"); }
  // The step named failAt throws, as a window that cannot be made.
  void Step(const std::string& step) {
    journal.push_back(step);
    if (step == failAt) throw std::runtime_error(step + " failed");
  }

  CommandRig(std::uint64_t size, const std::string& partText) : partSizeText(partText) {
    filenameText = source = dir.WriteFile("movie.avi");
    std::filesystem::resize_file(source, size);
    files.AddFile(source, size);
    frontEnd.recordAll = false;
  }
  void Run() { RunSplitCommand(*this, files, state); }
  bool Did(const std::string& step) const { return std::count(journal.begin(), journal.end(), step) != 0; }
  Texts Said() const {  // by the command and by the progress window
    Texts texts;
    for (const Message& m : asker.messages) texts.push_back(m.text);
    for (const Message& m : frontEnd.questions) texts.push_back(m.text);
    return texts;
  }

  test::TempDir dir;
  test::FakeFileInterface files;
  SplitState state;
  std::string source, filenameText, partSizeText, failAt;
  std::function<void(TargetRecord&)> onDialog;
  Texts journal, statuses;  // statuses: the command's own status texts
  ScriptedAsker asker;
  HeadlessFrontEnd frontEnd{&journal};
};

const std::string kRetry = "Press OK and try again.", kCheck = "Check your parameters.";
const std::string kSplitting = "Splitting...";
const std::string kSizeMessage =
    "The value in 'Size of split files' is not correct.\n\nValid input are the digits 0-9 followed by KB or "
    "MB "
    "if required.\ne.g. 12345, 12 KB, 12.34 KB, 1 MB, 1.234 MB";
const std::string kLength =
    "The length of your file is not greater than \nthe value in 'Size of split files'.";
const std::string kMany = "You will create more than 100 files.\nDo you want to continue?";
const std::string kTooMany = "Vornak cannot create more than 32736 files.";
const std::string kNotFound = "Cannot find the file /nowhere/movie.avi.\n\nCheck the filename and try again.";

TEST(SplitCommandTest, ChecksPlanAndSplitWithTheirStatusTexts) {
  struct Row {
    std::uint64_t size;
    const char* partText;
    std::vector<Answer> answers;
    Texts statuses, messages;
    std::size_t parts;
  };
  const Row rows[] = {
      {0, "10", {}, {kRetry}, {kNotFound}, 0},  // the source is missing
      {1000, "abc", {}, {kRetry}, {kSizeMessage}, 0},
      {1000, "1000", {}, {kRetry}, {kLength}, 0},
      {1000, "999", {}, {kSplitting}, {}, 2},
      {327360, "10", {Answer::Yes}, {kCheck, kSplitting}, {kMany}, 32736},
      {327361, "10", {}, {kCheck}, {kTooMany}, 0},
      {1000, "10", {}, {kSplitting}, {}, 100},
      {1001, "10", {Answer::Yes}, {kCheck, kSplitting}, {kMany}, 101},
      {1001, "10", {Answer::No}, {kCheck}, {kMany}, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.size << " / " << row.partText);
    CommandRig rig(row.size, row.partText);
    if (row.messages == Texts{kNotFound}) rig.filenameText = "/nowhere/movie.avi";
    for (Answer a : row.answers) rig.asker.Push(a);
    rig.Run();
    EXPECT_EQ(rig.statuses, row.statuses);
    EXPECT_EQ(rig.Said(), row.messages);
    EXPECT_EQ(rig.files.created.size(), row.parts);
    const bool split = row.parts > 0;
    EXPECT_EQ(rig.Did("ShowTargetDialog"), split);
    EXPECT_EQ(rig.frontEnd.mainStatus, split ? Texts{"Done."} : Texts{});
    EXPECT_EQ(rig.frontEnd.unloads, split ? 1 : 0);
    EXPECT_EQ(rig.frontEnd.mainEnabled, split);
    EXPECT_EQ(rig.files.openHandles(), 0);
    if (row.parts == 2) {  // the progress window is prepared in order; one yield per block
      EXPECT_EQ(rig.journal,
                (Texts{"ShowTargetDialog", "HostYield", "UpdatePartSizeList", "SetStatus Splitting...",
                       "LoadProgress", "DisableMain", "ShowProgress", "HostYield", "Yield", "Yield",
                       "UnloadProgress", "Yield", "EnableMain", "SetMainStatus Done."}));
      EXPECT_EQ(rig.frontEnd.titles, Texts{"Splitting..."});
      EXPECT_EQ(rig.frontEnd.status1, Texts{rig.source});
    }
    if (split) {
      EXPECT_EQ(rig.files.created.back(), PartPath(rig.state.target, static_cast<std::int32_t>(row.parts)));
      EXPECT_EQ(rig.files.SizeOf(rig.files.created.front()), static_cast<std::uint64_t>(rig.state.partsize));
    }
  }
}

TEST(SplitCommandTest, FirstSplitProposesTheSourceFolderLaterOnesTheChosenOne) {
  CommandRig rig(1000, "999");
  TargetRecord seen;
  rig.onDialog = [&](TargetRecord& record) {
    seen = record;
    record.savepath = "/chosen";
    record.saveftitle = "backup";
  };
  rig.Run();
  EXPECT_EQ(seen.savepath, rig.dir.Path());
  EXPECT_EQ(seen.saveftitle, "movie.avi");
  EXPECT_EQ(rig.files.created, (Texts{"/chosen/backup1.", "/chosen/backup2."}));

  rig.filenameText = rig.dir.WriteFile("clip.mp4", std::string(5000, 'x'));
  rig.files.AddFile(rig.filenameText, 5000);
  rig.Run();
  EXPECT_EQ(seen.savepath, "/chosen");
  EXPECT_EQ(seen.saveftitle, "clip.mp4");
}

TEST(SplitCommandTest, StepsThatFailEndWithTheirMessage) {
  const std::string lead = "The following error occured while initializing the split process:\n";
  const std::string support =
      "\n\nContact the technical support at " + std::string(kWebAddress) + " to get help.";
  struct Row {
    std::function<void(CommandRig&)> arrange;
    std::string said;  // "@" stands for the source's path
    const char* last;  // the host's last step
    bool mainDisabled;
  };
  // clang-format off
  const Row rows[] = {
      {[](CommandRig& r) { r.onDialog = [](TargetRecord& t) { t.saveftitle.clear(); }; },  // dialog cancelled
       "", "ShowTargetDialog", false},
      {[](CommandRig& r) { r.files.openReadErrors[r.source] = EACCES; },
       "Cannot open the file @.\nSystem text 13.\n\n\nCheck the file and try again.", "UpdatePartSizeList", false},
      {[](CommandRig& r) { r.failAt = "ShowProgress"; }, lead + "ShowProgress failed" + support,
       "SetMainStatus Done.", true},
      {[](CommandRig& r) { r.failAt = "LoadProgress"; }, lead + "LoadProgress failed" + support,
       "SetStatus Done.", false},
      {[](CommandRig& r) { r.state.buffersize = 0; }, lead + "The copy buffer size 0 is not valid." + support,
       "SetMainStatus Done.", true},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.said);
    CommandRig rig(1000, "999");
    row.arrange(rig);
    rig.Run();
    std::string said = row.said;
    if (said.find('@') != std::string::npos) said.replace(said.find('@'), 1, rig.source);
    EXPECT_EQ(rig.Said(), said.empty() ? Texts{} : Texts{said});
    EXPECT_EQ(rig.journal.back(), row.last);
    EXPECT_EQ(rig.Did("DisableMain"), row.mainDisabled);
    EXPECT_EQ(rig.frontEnd.mainEnabled, row.mainDisabled);
    EXPECT_TRUE(rig.files.created.empty());
    EXPECT_EQ(rig.files.openHandles(), 0);
  }
}

TEST(SplitMessagesTest, QuestionsHaveTheirButtonsIconsAndDefaults) {
  EXPECT_EQ(ManyPartsQuestion(), (Message{kMany, Icon::Question, Buttons::YesNo, 0}));
  EXPECT_EQ(TooManyPartsMessage(), (Message{kTooMany, Icon::Exclamation, Buttons::Ok, 0}));
  std::string comma = kSizeMessage;
  comma.replace(comma.find("12.34"), 5, "12,34").replace(comma.find("1.234"), 5, "1,234");
  EXPECT_EQ(PartSizeMessage(','), (Message{comma, Icon::Exclamation, Buttons::Ok, 0}));
}

}  // namespace
}  // namespace vornak
