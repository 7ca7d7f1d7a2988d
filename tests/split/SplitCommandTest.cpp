// The split command through a headless host: its checks with their status
// texts and messages, the plan, the dialog, the opening of the source, the
// preparation of the progress window and the hand-over to the loop.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "Version.h"
#include "split/SplitCommand.h"
#include "split/SplitMessages.h"
#include "support/FakeFileInterface.h"
#include "support/ScriptedSplitHost.h"
#include "support/TempDir.h"

namespace vornak {
namespace {

using test::FakeFileInterface;
using test::ScriptedSplitHost;
using test::TempDir;

// A real (sparse) source file for the size query, mirrored in the fake, which
// serves the copy.
struct CommandRig {
  TempDir dir;
  FakeFileInterface files;
  ScriptedSplitHost host;
  SplitState state;
  std::string source;

  CommandRig(std::uint64_t size, const std::string& partText, const std::string& name = "movie.avi") {
    source = dir.WriteFile(name);
    std::filesystem::resize_file(source, size);
    files.AddPatternFile(source, size);
    files.AddFolder(dir.Path());
    files.recordCalls = false;
    host.frontEnd.recordAll = false;
    host.filenameText = source;
    host.partSizeText = partText;
  }
  void Run() { RunSplitCommand(host, files, state); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Message& m : host.asker.messages) texts.push_back(m.text);
    return texts;
  }
};

const std::string kRetry = "Press OK and try again.";
const std::string kCheck = "Check your parameters.";
const std::string kSplitting = "Splitting...";

TEST(SplitCommandTest, ChecksPlanAndSplitWithTheirStatusTexts) {
  using Texts = std::vector<std::string>;
  struct Row {
    const char* what;
    std::uint64_t size;
    const char* partText;
    std::vector<Answer> answers;
    Texts statuses;
    Texts messages;
    std::size_t parts;
  };
  const std::string many = ManyPartsQuestion().text;
  const Row rows[] = {
      {"invalid size", 1000, "abc", {}, {kRetry}, {PartSizeMessage('.').text}, 0},
      {"empty size", 1000, "", {}, {kRetry}, {PartSizeMessage('.').text}, 0},
      {"source not longer than a part", 1000, "1000", {}, {kRetry}, {LengthMessage().text}, 0},
      {"one byte less makes two parts", 1000, "999", {}, {kSplitting}, {}, 2},
      {"exactly 32736 parts after the question",
       327360,
       "10",
       {Answer::Yes},
       {kCheck, kSplitting},
       {many},
       32736},
      {"a 32737th part is refused", 327361, "10", {}, {kCheck}, {TooManyPartsMessage().text}, 0},
      {"100 parts ask nothing", 1000, "10", {}, {kSplitting}, {}, 100},
      {"101 parts ask", 1001, "10", {Answer::Yes}, {kCheck, kSplitting}, {many}, 101},
      {"No ends the command", 1001, "10", {Answer::No}, {kCheck}, {many}, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    CommandRig rig(row.size, row.partText);
    for (Answer a : row.answers) rig.host.asker.Push(a);
    rig.Run();
    EXPECT_EQ(rig.host.statuses, row.statuses);
    EXPECT_EQ(rig.Texts(), row.messages);
    EXPECT_EQ(rig.files.created.size(), row.parts);
    const bool split = row.parts > 0;
    EXPECT_EQ(rig.host.dialogs, split ? 1 : 0);
    EXPECT_EQ(rig.host.frontEnd.mainStatus, split ? Texts{"Done."} : Texts{});
    EXPECT_EQ(rig.host.mainDisabled, split);
    EXPECT_EQ(rig.files.openHandles(), 0);
    if (split) {
      EXPECT_EQ(rig.state.target.savefcount, static_cast<std::int32_t>(row.parts));
      EXPECT_EQ(rig.files.created.back(), PartPath(rig.state.target, rig.state.target.savefcount));
      EXPECT_EQ(rig.files.SizeOf(rig.files.created.front()), static_cast<std::uint64_t>(rig.state.partsize));
    }
  }
}

TEST(SplitCommandTest, SourceMustBeAnExistingFile) {
  using Texts = std::vector<std::string>;
  CommandRig rig(1000, "10");
  struct Row {
    const char* what;
    std::string typed;
    Texts messages;
  };
  const Row rows[] = {
      {"missing",
       "  /nowhere/movie.avi ",
       {"Cannot find the file   /nowhere/movie.avi .\n\nCheck the filename and try again."}},
      {"empty", "", {"Cannot find the file .\n\nCheck the filename and try again."}},
      {"blank", "   ", {"Cannot find the file    .\n\nCheck the filename and try again."}},
      {"a folder",
       rig.dir.Path(),
       {"Cannot find the file " + rig.dir.Path() + ".\n\nCheck the filename and try again."}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ScriptedSplitHost host;
    host.filenameText = row.typed;
    host.partSizeText = "10";
    SplitState state;
    RunSplitCommand(host, rig.files, state);
    EXPECT_EQ(host.statuses, Texts{kRetry});
    ASSERT_EQ(host.asker.messages.size(), 1u);
    EXPECT_EQ(host.asker.messages[0].text, row.messages[0]);
    EXPECT_EQ(host.asker.messages[0].icon, Icon::Exclamation);
    EXPECT_EQ(state.sourcefile, "");
  }
}

TEST(SplitCommandTest, TrimmedNameIsUsedAndASizeThatCannotBeTakenIsTooShort) {
  CommandRig rig(2000, "999");
  rig.host.filenameText = "  " + rig.source + "  ";
  rig.Run();
  EXPECT_EQ(rig.state.sourcefile, rig.source);
  EXPECT_EQ(rig.files.created.size(), 3u);

  // A special file: accepted as a name, but its size cannot be taken.
  CommandRig fifo(10, "1");
  fifo.files.AddOther("/no-such-fifo");
  fifo.host.filenameText = "/no-such-fifo";
  fifo.Run();
  EXPECT_EQ(fifo.state.FileSize, -1);
  EXPECT_EQ(fifo.Texts(), std::vector<std::string>{LengthMessage().text});
}

TEST(SplitCommandTest, PartSizeMessageUsesTheLocaleSeparator) {
  CommandRig rig(1000, "12,5,5");
  rig.host.decimalSeparator = ',';
  rig.Run();
  ASSERT_EQ(rig.host.asker.messages.size(), 1u);
  EXPECT_EQ(
      rig.host.asker.messages[0],
      (Message{
          "The value in 'Size of split files' is not correct.\n\nValid input are the digits 0-9 followed by "
          "KB or MB if required.\ne.g. 12345, 12 KB, 12,34 KB, 1 MB, 1,234 MB",
          Icon::Exclamation, Buttons::Ok, 0}));
}

TEST(SplitCommandTest, PreparesTheProgressWindowInOrder) {
  CommandRig rig(1000, "999");
  rig.Run();
  const std::vector<std::string> expected = {"ShowTargetDialog",       "HostYield",    "UpdatePartSizeList",
                                             "SetStatus Splitting...", "LoadProgress", "DisableMain",
                                             "ShowProgress",           "HostYield"};
  ASSERT_GE(rig.host.journal.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(rig.host.journal.begin(), rig.host.journal.begin() + 8), expected);
  EXPECT_EQ(rig.host.frontEnd.titles, std::vector<std::string>{"Splitting..."});
  EXPECT_EQ(rig.host.frontEnd.status1, std::vector<std::string>{rig.source});
  EXPECT_EQ(rig.host.journal.back(), "SetMainStatus Done.");
  EXPECT_EQ(rig.host.frontEnd.unloads, 1);
}

TEST(SplitCommandTest, CancelledDialogEndsSilently) {
  CommandRig rig(1000, "999");
  rig.host.onDialog = [](TargetRecord& record) { record.saveftitle.clear(); };
  rig.Run();
  EXPECT_TRUE(rig.host.asker.messages.empty());
  EXPECT_TRUE(rig.host.statuses.empty());
  EXPECT_EQ(rig.host.listUpdates, 0);
  EXPECT_FALSE(rig.host.mainDisabled);
  EXPECT_TRUE(rig.files.created.empty());
  EXPECT_EQ(rig.files.openHandles(), 0);
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
  EXPECT_EQ(seen.savefcount, 2);
  EXPECT_EQ(seen.saveformat, "0");
  EXPECT_EQ(rig.files.created, (std::vector<std::string>{"/chosen/backup1.", "/chosen/backup2."}));

  TempDir other;
  const std::string second = other.WriteFile("clip.mp4");
  std::filesystem::resize_file(second, 5000);
  rig.files.AddPatternFile(second, 5000);
  rig.host.filenameText = second;
  rig.Run();
  EXPECT_EQ(seen.savepath, "/chosen");
  EXPECT_EQ(seen.saveftitle, "clip.mp4");
}

TEST(SplitCommandTest, SourceThatCannotBeOpenedLeavesTheMainWindowAlone) {
  CommandRig rig(1000, "999");
  rig.files.openReadErrors[rig.source] = EACCES;
  rig.Run();
  EXPECT_EQ(rig.Texts(),
            std::vector<std::string>{"Cannot open the file " + rig.source + ".\nSystem text 13.\n" +
                                     "\n\nCheck the file and try again."});
  EXPECT_TRUE(rig.host.statuses.empty());
  EXPECT_EQ(rig.host.listUpdates, 1);
  EXPECT_FALSE(rig.host.mainDisabled);
  EXPECT_EQ(rig.host.frontEnd.unloads, 0);
}

TEST(SplitCommandTest, FailedPreparationReportsAndEnds) {
  const std::string support =
      "\n\nContact the technical support at " + std::string(kWebAddress) + " to get help.";
  const std::string lead = "The following error occured while initializing the split process:\n";
  {
    CommandRig rig(1000, "999");
    rig.host.failShowProgress = true;
    rig.Run();
    ASSERT_EQ(rig.host.frontEnd.questions.size(), 1u);
    EXPECT_EQ(rig.host.frontEnd.questions[0].text, lead + "The progress window cannot be shown." + support);
    EXPECT_TRUE(rig.files.created.empty());
    EXPECT_EQ(rig.files.openHandles(), 0);
    EXPECT_EQ(rig.host.frontEnd.unloads, 1);
    EXPECT_TRUE(rig.host.frontEnd.mainEnabled);
    EXPECT_EQ(rig.host.frontEnd.mainStatus, std::vector<std::string>{"Done."});
  }
  {
    CommandRig rig(1000, "999");
    rig.host.failLoadProgress = true;
    rig.Run();
    EXPECT_EQ(rig.Texts(),
              std::vector<std::string>{lead + "The progress window cannot be loaded." + support});
    EXPECT_FALSE(rig.host.mainDisabled);
    EXPECT_EQ(rig.host.statuses, (std::vector<std::string>{kSplitting, "Done."}));
    EXPECT_EQ(rig.files.openHandles(), 0);
  }
  {
    CommandRig rig(1000, "999");
    rig.state.buffersize = 0;
    rig.Run();
    ASSERT_EQ(rig.host.frontEnd.questions.size(), 1u);
    EXPECT_EQ(rig.host.frontEnd.questions[0].text, lead + "The copy buffer size 0 is not valid." + support);
    EXPECT_EQ(rig.host.frontEnd.mainStatus, std::vector<std::string>{"Done."});
  }
}

TEST(SplitMessagesTest, QuestionsHaveTheirButtonsIconsAndDefaults) {
  EXPECT_EQ(CancelQuestion(),
            (Message{"Do you really want to cancel the process?", Icon::Question, Buttons::YesNo, 0}));
  EXPECT_EQ(ManyPartsQuestion(), (Message{"You will create more than 100 files.\nDo you want to continue?",
                                          Icon::Question, Buttons::YesNo, 0}));
  EXPECT_EQ(TooManyPartsMessage(),
            (Message{"Vornak cannot create more than 32736 files.", Icon::Exclamation, Buttons::Ok, 0}));
  EXPECT_EQ(LengthMessage().text,
            "The length of your file is not greater than \nthe value in 'Size of split files'.");
}

}  // namespace
}  // namespace vornak
