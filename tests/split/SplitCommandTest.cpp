// The split command through a headless host.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <stdexcept>

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

using test::FakeFileInterface;
using test::TempDir;
using Texts = std::vector<std::string>;

// A host without windows: the main window's fields as values, a scripted Save
// dialog (without onDialog the proposal is saved unchanged) and a headless
// progress window, with everything it is asked to do in one journal.
struct ScriptedSplitHost : SplitCommandHost {
  std::string FilenameText() override { return filenameText; }
  std::string PartSizeText() override { return partSizeText; }
  char DecimalSeparator() override { return '.'; }
  void SetStatus(const std::string& text) override { Note("SetStatus " + text), statuses.push_back(text); }
  Asker& Questions() override { return asker; }
  void ShowTargetDialog(TargetRecord& record) override {
    Note("ShowTargetDialog"), ++dialogs;
    if (onDialog) return onDialog(record);
    const std::string name = record.saveftitle;
    record.savedrive = record.savepath;
    record.saveftitle = Filenames::GetTitle(name);
    if (!Filenames::GetExtension(name).empty()) record.savefext = Filenames::GetExtension(name);
  }
  void UpdatePartSizeList() override { Note("UpdatePartSizeList"); }
  SplitFrontEnd& LoadProgress() override {
    Note("LoadProgress");
    if (failLoadProgress) throw std::runtime_error("The progress window cannot be loaded.");
    return frontEnd;
  }
  void DisableMain() override { Note("DisableMain"), mainDisabled = true; }
  void ShowProgress() override {
    Note("ShowProgress");
    if (failShowProgress) throw std::runtime_error("The progress window cannot be shown.");
  }
  void Yield() override { Note("HostYield"); }
  void Note(const std::string& text) { journal.push_back(text); }

  std::string filenameText, partSizeText;
  std::function<void(TargetRecord&)> onDialog;
  bool failLoadProgress = false, failShowProgress = false, mainDisabled = false;
  int dialogs = 0;
  Texts journal, statuses;  // statuses: the command's own status texts
  ScriptedAsker asker;
  HeadlessFrontEnd frontEnd{&journal};
};

// A real (sparse) source file for the size query, mirrored in the fake, which
// serves the copy.
struct CommandRig {
  TempDir dir;
  FakeFileInterface files;
  ScriptedSplitHost host;
  SplitState state;
  std::string source;

  CommandRig(std::uint64_t size, const std::string& partText) {
    source = dir.WriteFile("movie.avi");
    std::filesystem::resize_file(source, size);
    files.AddFile(source, size);
    files.AddFolder(dir.Path());
    host.frontEnd.recordAll = false;
    host.filenameText = source;
    host.partSizeText = partText;
  }
  void Run() { RunSplitCommand(host, files, state); }
  // Everything said, by the command and by the progress window.
  Texts Said() const {
    Texts texts;
    for (const Message& m : host.asker.messages) texts.push_back(m.text);
    for (const Message& m : host.frontEnd.questions) texts.push_back(m.text);
    return texts;
  }
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
    const char* what;
    std::uint64_t size;
    const char* partText;
    std::vector<Answer> answers;
    Texts statuses, messages;
    std::size_t parts;
  };
  const Row rows[] = {
      {"missing source", 0, "10", {}, {kRetry}, {kNotFound}, 0},
      {"invalid size", 1000, "abc", {}, {kRetry}, {kSizeMessage}, 0},
      {"source not longer than a part", 1000, "1000", {}, {kRetry}, {kLength}, 0},
      {"one byte less makes two parts", 1000, "999", {}, {kSplitting}, {}, 2},
      {"32736 parts after the question", 327360, "10", {Answer::Yes}, {kCheck, kSplitting}, {kMany}, 32736},
      {"a 32737th part is refused", 327361, "10", {}, {kCheck}, {kTooMany}, 0},
      {"100 parts ask nothing", 1000, "10", {}, {kSplitting}, {}, 100},
      {"101 parts ask", 1001, "10", {Answer::Yes}, {kCheck, kSplitting}, {kMany}, 101},
      {"No ends the command", 1001, "10", {Answer::No}, {kCheck}, {kMany}, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    CommandRig rig(row.size, row.partText);
    if (row.messages == Texts{kNotFound}) rig.host.filenameText = "/nowhere/movie.avi";
    for (Answer a : row.answers) rig.host.asker.Push(a);
    rig.Run();
    EXPECT_EQ(rig.host.statuses, row.statuses);
    EXPECT_EQ(rig.Said(), row.messages);
    EXPECT_EQ(rig.files.created.size(), row.parts);
    const bool split = row.parts > 0;
    EXPECT_EQ(rig.host.dialogs, split ? 1 : 0);
    EXPECT_EQ(rig.host.frontEnd.mainStatus, split ? Texts{"Done."} : Texts{});
    EXPECT_EQ(rig.host.frontEnd.unloads, split ? 1 : 0);
    EXPECT_EQ(rig.host.frontEnd.mainEnabled, split);
    EXPECT_EQ(rig.files.openHandles(), 0);
    if (split) {
      EXPECT_EQ(rig.files.created.back(), PartPath(rig.state.target, static_cast<std::int32_t>(row.parts)));
      EXPECT_EQ(rig.files.SizeOf(rig.files.created.front()), static_cast<std::uint64_t>(rig.state.partsize));
    }
  }
}

TEST(SplitCommandTest, PreparesTheProgressWindowInOrder) {
  CommandRig rig(1000, "999");
  rig.Run();
  EXPECT_EQ(Texts(rig.host.journal.begin(), rig.host.journal.begin() + 8),
            (Texts{"ShowTargetDialog", "HostYield", "UpdatePartSizeList", "SetStatus Splitting...",
                   "LoadProgress", "DisableMain", "ShowProgress", "HostYield"}));
  EXPECT_EQ(rig.host.frontEnd.titles, Texts{"Splitting..."});
  EXPECT_EQ(rig.host.frontEnd.status1, Texts{rig.source});
}

TEST(SplitCommandTest, FirstSplitProposesTheSourceFolderLaterOnesTheChosenOne) {
  CommandRig rig(1000, "999");
  TargetRecord seen;
  rig.host.onDialog = [&](TargetRecord& record) {
    seen = record;
    record.savepath = "/chosen";
    record.saveftitle = "backup";
  };
  rig.Run();
  EXPECT_EQ(seen.savepath, rig.dir.Path());
  EXPECT_EQ(seen.saveftitle, "movie.avi");
  EXPECT_EQ(rig.files.created, (Texts{"/chosen/backup1.", "/chosen/backup2."}));

  const std::string second = rig.dir.WriteFile("clip.mp4", std::string(5000, 'x'));
  rig.files.AddFile(second, 5000);
  rig.host.filenameText = second;
  rig.Run();
  EXPECT_EQ(seen.savepath, "/chosen");
  EXPECT_EQ(seen.saveftitle, "clip.mp4");
}

TEST(SplitCommandTest, StepsThatFailEndWithTheirMessage) {
  const std::string lead = "The following error occured while initializing the split process:\n";
  const std::string support =
      ".\n\nContact the technical support at " + std::string(kWebAddress) + " to get help.";
  struct Row {
    std::function<void(CommandRig&)> arrange;
    std::string said;  // the source's path stands for "@"
    const char* last;  // the last thing the host was asked to do
    bool mainDisabled;
  };
  // clang-format off
  const Row rows[] = {
      {[](CommandRig& r) { r.host.onDialog = [](TargetRecord& t) { t.saveftitle.clear(); }; },  // dialog cancelled
       "", "ShowTargetDialog", false},
      {[](CommandRig& r) { r.files.openReadErrors[r.source] = EACCES; },
       "Cannot open the file @.\nSystem text 13.\n\n\nCheck the file and try again.", "UpdatePartSizeList", false},
      {[](CommandRig& r) { r.host.failShowProgress = true; },
       lead + "The progress window cannot be shown" + support, "SetMainStatus Done.", true},
      {[](CommandRig& r) { r.host.failLoadProgress = true; },
       lead + "The progress window cannot be loaded" + support, "SetStatus Done.", false},
      {[](CommandRig& r) { r.state.buffersize = 0; },
       lead + "The copy buffer size 0 is not valid" + support, "SetMainStatus Done.", true},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.last);
    CommandRig rig(1000, "999");
    row.arrange(rig);
    rig.Run();
    std::string said = row.said;
    if (said.find('@') != std::string::npos) said.replace(said.find('@'), 1, rig.source);
    EXPECT_EQ(rig.Said(), said.empty() ? Texts{} : Texts{said});
    EXPECT_EQ(rig.host.journal.back(), row.last);
    EXPECT_EQ(rig.host.mainDisabled, row.mainDisabled);
    EXPECT_EQ(rig.host.frontEnd.mainEnabled, row.mainDisabled);
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
