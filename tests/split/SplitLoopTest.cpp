// The split loop against the in-memory file interface, and on the real file
// system (including a medium swap on private tmpfs mounts).
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <tuple>

#include "Version.h"
#include "fileservices/posix/PosixFileInterface.h"
#include "split/HeadlessFrontEnd.h"
#include "split/SplitLoop.h"
#include "support/FakeFileInterface.h"
#include "support/TempDir.h"

namespace vornak {
namespace {

namespace fs = std::filesystem;
using test::FakeFileInterface;
using test::TempDir;
using Sizes = std::vector<std::uint64_t>;
using Texts = std::vector<std::string>;
const char* const kSource = "/src/movie.avi";
const std::string kCheck = "\n\nCheck the file and try again.";

// A split of source into folder, parts named movie<n>.avi.
template <class Files>
struct SplitRig {
  Files files;
  Texts journal;
  HeadlessFrontEnd frontEnd{&journal};
  std::vector<char> buffer;
  SplitJob job;

  SplitRig(const std::string& source, double fileSize, const std::string& folder, double partSize,
           std::size_t bufferSize)
      : buffer(bufferSize) {
    job.sourcefile = source;
    job.FileSize = fileSize;
    job.partsize = partSize;
    PlanTarget(job.target, source, fileSize, partSize);
    job.target.savepath = job.target.savedrive = folder;
    job.target.saveftitle = "movie";
    job.target.savefext = "avi";
    job.buffer = buffer.data();
    job.buffersize = bufferSize;
  }
  SplitResult::Outcome Run() {
    EXPECT_EQ(files.OpenRead(job.sourcefile, job.source), 0);
    return RunSplitLoop(job, files, frontEnd).outcome;
  }
  // Every run ends alike: progress unloaded, main enabled, "Done.".
  void ExpectEnding() const {
    EXPECT_EQ(frontEnd.unloads, 1);
    EXPECT_TRUE(frontEnd.mainEnabled);
    EXPECT_EQ(frontEnd.mainStatus, Texts{"Done."});
    EXPECT_EQ(Texts(journal.end() - 4, journal.end()),
              (Texts{"UnloadProgress", "Yield", "EnableMain", "SetMainStatus Done."}));
  }
};

struct Rig : SplitRig<FakeFileInterface> {
  Rig(double fileSize, double partSize, std::size_t bufferSize)
      : SplitRig(kSource, fileSize, "/t", partSize, bufferSize) {
    files.AddFile(kSource, static_cast<std::uint64_t>(fileSize));
    files.AddFolder("/t");
    files.journal = &journal;
  }
  Sizes PartSizes() const {
    Sizes sizes;
    for (const auto& part : files.created) sizes.push_back(files.SizeOf(part));
    return sizes;
  }
  // Also: every byte written came from its source offset, every handle closed.
  void ExpectEnding() const {
    SplitRig::ExpectEnding();
    EXPECT_EQ(files.mismatches, 0u);
    EXPECT_EQ(files.openHandles(), 0);
  }
};

// Per part, whole buffers and then the rest: a block never crosses a part.
Sizes ModelBlocks(std::uint64_t fileSize, std::uint64_t partSize, std::uint64_t buffer) {
  Sizes blocks;
  for (std::uint64_t done = 0; done < fileSize;) {
    std::uint64_t part = std::min(partSize, fileSize - done);
    done += part;
    for (; part > buffer; part -= buffer) blocks.push_back(buffer);
    blocks.push_back(part);
  }
  return blocks;
}

TEST(SplitLoopTest, PartAndBlockSizesFollowThePlan) {
  struct Row {
    double fileSize, partSize;
    std::size_t buffer;
    Sizes parts;
  };
  // clang-format off
  const Row rows[] = {
      {10000, 3000, 4096, {3000, 3000, 3000, 1000}}, {100, 30, 4096, {30, 30, 30, 10}},
      {8192, 4096, 4096, {4096, 4096}}, {24576, 12288, 4096, {12288, 12288}},   // part = k x buffer
      {8194, 4097, 4096, {4097, 4097}}, {8190, 4095, 4096, {4095, 4095}},       // part = buffer +- 1
      {3001, 1000, 4096, {1000, 1000, 1000, 1}}, {2999, 1000, 4096, {1000, 1000, 999}},
      {5, 2, 1, {2, 2, 1}}, {1, 1, 4096, {1}}, {0, 1, 4096, {}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.fileSize << " / " << row.partSize << " / " << row.buffer);
    Rig rig(row.fileSize, row.partSize, row.buffer);
    EXPECT_EQ(rig.Run(), SplitResult::Outcome::Completed);
    EXPECT_EQ(rig.PartSizes(), row.parts);
    EXPECT_EQ(rig.files.writeSizes, ModelBlocks(row.fileSize, row.partSize, row.buffer));
    EXPECT_EQ(rig.files.readSizes, rig.files.writeSizes);
    EXPECT_TRUE(rig.frontEnd.questions.empty());
    if (row.fileSize == 10000) {  // one progress step and one yield per block, one yield in the ending
      EXPECT_EQ(rig.frontEnd.status2, (Texts{"into /t/movie1.avi", "into /t/movie2.avi", "into /t/movie3.avi",
                                             "into /t/movie4.avi"}));
      EXPECT_EQ(rig.frontEnd.progress, (std::vector<float>{30, 60, 90, 100}));
      EXPECT_EQ(rig.frontEnd.yields, 4 + 1);
    }
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, CounterWidthGrowsWithThePartCount) {
  // clang-format off
  const std::tuple<std::int32_t, const char*, const char*> rows[] = {
      {9, "1", "9"}, {10, "01", "10"}, {100, "001", "100"}, {1000, "0001", "1000"}, {32736, "00001", "32736"}};
  // clang-format on
  for (const auto& [parts, first, last] : rows) {
    const Texts names = {"/t/movie" + std::string(first) + ".avi", "/t/movie" + std::string(last) + ".avi"};
    SCOPED_TRACE(parts);
    Rig rig(parts * 3.0 - 1, 3, 4096);
    rig.frontEnd.recordAll = false;
    rig.Run();
    ASSERT_EQ(rig.files.created.size(), static_cast<std::size_t>(parts));
    EXPECT_EQ((Texts{rig.files.created.front(), rig.files.created.back()}), names);
    EXPECT_EQ(rig.files.SizeOf(names[1]), 2u);
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, RandomPlansJoinBackToTheSource) {
  std::mt19937_64 random(20261206);
  auto draw = [&](std::uint64_t low, std::uint64_t high) {
    return std::uniform_int_distribution<std::uint64_t>(low, high)(random);
  };
  for (int round = 0; round < 150; ++round) {
    const std::uint64_t fileSize = draw(1, 20000), partSize = draw(1, fileSize), buffer = draw(1, 9000);
    SCOPED_TRACE(testing::Message() << fileSize << " / " << partSize << " / " << buffer);
    Rig rig(static_cast<double>(fileSize), static_cast<double>(partSize), buffer);
    rig.frontEnd.recordAll = false;
    rig.files.maxWriteChunk = round % 3 == 0 ? draw(1, 700) : 0;  // short writes are completed
    EXPECT_EQ(rig.Run(), SplitResult::Outcome::Completed);
    const std::uint64_t count = (fileSize + partSize - 1) / partSize;
    const Sizes sizes = rig.PartSizes();
    ASSERT_EQ(sizes.size(), count);
    EXPECT_TRUE(std::all_of(sizes.begin(), sizes.end() - 1, [&](auto s) { return s == partSize; }));
    EXPECT_EQ(sizes.back(), fileSize - (count - 1) * partSize);
    EXPECT_EQ(rig.files.readSizes, ModelBlocks(fileSize, partSize, buffer));
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, SourcesBeyondFourGigabytesSplitExactly) {
  const std::uint64_t mb700 = 700 << 20, k2to32 = 1ull << 32;
  const std::pair<std::uint64_t, Sizes> rows[] = {
      {mb700, {mb700, mb700, mb700, mb700, mb700, mb700, mb700, 220 << 20}},  // 5 GiB
      {k2to32 - 1, {k2to32 - 1, 2}},                                          // 2^32 + 1
      {k2to32 / 2, {k2to32 / 2, k2to32 / 2 - 1}},                             // 2^32 - 1
  };
  for (const auto& [partSize, parts] : rows) {
    std::uint64_t fileSize = 0;
    for (auto size : parts) fileSize += size;
    SCOPED_TRACE(fileSize);
    Rig rig(static_cast<double>(fileSize), static_cast<double>(partSize), 64 << 20);
    rig.files.sparse = true;
    EXPECT_EQ(rig.Run(), SplitResult::Outcome::Completed);
    EXPECT_EQ(rig.PartSizes(), parts);
    EXPECT_EQ(rig.files.writeSizes, ModelBlocks(fileSize, partSize, 64 << 20));
    EXPECT_EQ(rig.frontEnd.progress.back(), 100.0f);
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, FaultsEndTheRunWithTheirMessage) {
  auto writing = [](const char* part, const std::string& detail) {
    return "An error occured while writing the file /t/movie" + std::string(part) + ".avi.\n" + detail +
           kCheck;
  };
  const std::string reading = "An error occured while reading the file /src/movie.avi.\n";
  const std::string opening = "Cannot open the file /t/movie2.avi.\n";
  struct Row {
    std::function<void(Rig&)> arrange;
    std::string text;
    Sizes parts;
  };
  // clang-format off
  const Row rows[] = {
      {[](Rig& r) { r.files.diskFullAtByte = 2500; }, writing("1", "System text 28.\n"), {2500}},
      {[](Rig& r) { r.files.readErrorAtByte = 4500; }, reading + "System text 5.\n" + kCheck, {3000, 1500}},
      {[](Rig& r) { r.files.sourceEndsAtByte = 6500; },
       reading + "The file became shorter while it was being split.\n" + kCheck, {3000, 3000, 500}},
      {[](Rig& r) { r.files.noProgressAtByte = 4000; },
       writing("2", "The medium accepted no more data.\n"), {3000, 1000}},
      {[](Rig& r) { r.files.createErrors["/t/movie2.avi"] = EACCES; },
       opening + "System text 13.\n" + kCheck, {3000}},
      {[](Rig& r) { r.files.AddFolder("/t/movie2.avi"); }, opening + "System text 21.\n" + kCheck, {3000}},
      {[](Rig& r) { r.files.closeErrors["/t/movie1.avi"] = EIO; }, writing("1", "System text 5.\n"), {3000}},
      {[](Rig& r) { r.files.syncError = EIO; }, writing("4", "System text 5.\n"), {3000, 3000, 3000, 1000}},
      // A failed flush before the medium question: part 1 is not safe to take out, so no question.
      {[](Rig& r) { r.files.syncError = EIO, r.files.freeSpaceScript = {1e9, 10}; },
       writing("1", "System text 5.\n"), {3000}},
      // A run cancelled in part 2: the part's close in the ending fails.
      {[](Rig& r) { r.files.closeErrors["/t/movie2.avi"] = EIO; r.frontEnd.onYield = [&r] {
         if (r.frontEnd.yields == 4) r.frontEnd.ConfirmCancel(); }; },
       writing("2", "System text 5.\n"), {3000, 2000}},
      {[](Rig& r) { r.frontEnd.beforeSetter = [](const std::string& op) {
         if (op == "SetProgress") throw std::runtime_error("The progress bar is gone."); }; },
       "The following error occured while processing the file /t/movie1.avi:\nThe progress bar is gone.\n\n"
       "Contact the technical support at " + std::string(kWebAddress) + " to get help.", {1000}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    Rig rig(10000, 3000, 1000);
    row.arrange(rig);
    EXPECT_EQ(rig.Run(), SplitResult::Outcome::Failed);
    EXPECT_EQ(rig.frontEnd.questions, (std::vector<Message>{{row.text, Icon::Exclamation, Buttons::Ok, 0}}));
    EXPECT_EQ(rig.PartSizes(), row.parts);
    EXPECT_EQ(rig.files.SizeOf(kSource), 10000u);
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, QuestionsBeforeAPartAndTheirAnswers) {
  const Message medium{
      "Not enough free space on medium (/t).\n\nPlease insert another medium and push Retry.",
      Icon::Exclamation, Buttons::RetryCancel, 0};
  auto exists = [](const std::string& path) {
    return Message{"The file " + path + " already exists.\nContinuing will overwrite it.", Icon::Information,
                   Buttons::OkCancel, 1};
  };
  using enum SplitResult::Outcome;
  struct Row {
    std::string existing;  // an entry at this part path before the run
    std::int16_t saveoverwrite;
    std::deque<double> freeSpace;
    std::deque<Answer> answers;
    std::vector<Message> questions;
    SplitResult::Outcome outcome;
    Sizes parts;
  };
  const Sizes all = {3000, 3000, 3000, 1000};
  // clang-format off
  const Row rows[] = {
      {"/t/movie2.avi", 0, {}, {Answer::Ok}, {exists("/t/movie2.avi")}, Completed, all},
      {"/t/movie2.avi", 0, {}, {Answer::Cancel}, {exists("/t/movie2.avi")}, Cancelled, {3000}},
      {"/t/.movie2.avi", 2, {}, {Answer::Cancel}, {exists("/t/.movie2.avi")}, Cancelled, {3000}},  // hidden
      {"/t/movie2.avi", 1, {}, {}, {}, Completed, all},  // overwrite mode asks nothing
      // Part 2 sees too little, then no medium (-1), then enough; or the user cancels.
      {"", 0, {1e9, 2999, -1, 3000}, {Answer::Retry, Answer::Retry}, {medium, medium}, Completed, all},
      {"", 0, {1e9, 10}, {Answer::Cancel}, {medium}, Cancelled, {3000}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.existing + " " + std::to_string(row.freeSpace.size()));
    Rig rig(10000, 3000, 1000);
    if (!row.existing.empty()) rig.files.AddFile(row.existing, 11);
    if (row.existing.find("/.") != std::string::npos) rig.job.target.saveftitle = ".movie";
    rig.job.target.saveoverwrite = row.saveoverwrite;
    rig.files.freeSpaceScript = row.freeSpace;
    rig.frontEnd.answers = row.answers;
    EXPECT_EQ(rig.Run(), row.outcome);
    EXPECT_EQ(rig.frontEnd.questions, row.questions);
    EXPECT_EQ(rig.PartSizes(), row.parts);
    if (!row.existing.empty() && row.outcome == Cancelled) {
      // Cancel comes before anything of that part: its free-space check, its creation.
      EXPECT_EQ(rig.files.SizeOf(row.existing), 11u);
      EXPECT_EQ(std::count(rig.journal.begin(), rig.journal.end(), "FreeSpace /t/"), 1);
    }
    if (!row.freeSpace.empty()) {
      // Part 1 is flushed to its medium before the user is asked to take it out.
      const auto ask = std::find(rig.journal.begin(), rig.journal.end(), "Ask");
      EXPECT_EQ(std::count(rig.journal.begin(), ask, "SyncFileSystem /t"), 1);
    }
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, ConfirmedCancelCopiesExactlyOneMoreBlock) {
  // Blocks of 1000, parts of 3000: a cancel in the third yield still starts part 2.
  const std::pair<long, Sizes> rows[] = {{1, {2000}}, {3, {3000, 1000}}, {4, {3000, 2000}}};
  for (const auto& [cancelInYield, parts] : rows) {
    SCOPED_TRACE(cancelInYield);
    Rig rig(10000, 3000, 1000);
    rig.frontEnd.onYield = [&, n = cancelInYield] {
      if (rig.frontEnd.yields == n) rig.frontEnd.ConfirmCancel();
    };
    EXPECT_EQ(rig.Run(), SplitResult::Outcome::Cancelled);
    EXPECT_EQ(rig.PartSizes(), parts);
    EXPECT_EQ(rig.files.writeSizes.size(), static_cast<std::size_t>(cancelInYield + 1));
    // The ending closes the source, flushes, then closes the open part.
    if (cancelInYield == 4) {
      EXPECT_EQ(
          Texts(rig.journal.end() - 8, rig.journal.end() - 4),
          (Texts{"Close source /src/movie.avi", "Sync", "SyncFileSystem /t", "Close part /t/movie2.avi"}));
    }
    rig.ExpectEnding();
  }
}

std::string RandomBytes(std::size_t size) {
  std::mt19937 random(static_cast<unsigned>(size));
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

std::string ReadAll(const std::string& path) {
  std::ostringstream out;
  out << std::ifstream(path, std::ios::binary).rdbuf();
  return out.str();
}

struct PosixRig : SplitRig<PosixFileInterface> {
  PosixRig(const std::string& source, const std::string& folder, double partSize, std::size_t bufferSize)
      : SplitRig(source, static_cast<double>(fs::file_size(source)), folder, partSize, bufferSize) {}
};

TEST(SplitPosixTest, PartTwoCannotBeOpenedAndTheSourceStaysIntact) {
  // A part path that names the source (also through a link) never becomes a
  // part; a target folder that goes away before part 2 fails its opening.
  enum Kind { Itself, Symlink, HardLink, Pulled };
  for (const auto& [kind, saveoverwrite] :
       {std::pair{Itself, 0}, {Itself, 1}, {Symlink, 1}, {HardLink, 1}, {Pulled, 0}}) {
    SCOPED_TRACE(testing::Message() << kind << " " << saveoverwrite);
    TempDir dir;
    const std::string content = RandomBytes(5000);
    const std::string source = dir.WriteFile("movie2.avi", content);
    const std::string folder = kind == Itself ? dir.Path() : dir.MakeFolder("out");
    if (kind == Symlink) fs::create_symlink(source, folder + "/movie2.avi");
    if (kind == HardLink) fs::create_hard_link(source, folder + "/movie2.avi");
    PosixRig rig(source, folder, 2000, 1000);
    rig.job.target.saveoverwrite = static_cast<std::int16_t>(saveoverwrite);
    if (kind == Pulled) {
      rig.job.target.savedrive = dir.Path();  // the volume stays; its folder goes
      rig.frontEnd.onYield = [&] {
        if (rig.frontEnd.yields == 2) fs::rename(folder, dir.Join("pulled"));
      };
    }
    EXPECT_EQ(rig.Run(), SplitResult::Outcome::Failed);
    const std::string detail =
        kind == Pulled ? rig.files.ErrorText(ENOENT) : "This is the file being split.\n";
    EXPECT_EQ(rig.frontEnd.questions,
              (std::vector<Message>{{"Cannot open the file " + folder + "/movie2.avi.\n" + detail + kCheck,
                                     Icon::Exclamation, Buttons::Ok, 0}}));
    EXPECT_EQ(ReadAll(source), content);
    EXPECT_EQ(ReadAll((kind == Pulled ? dir.Join("pulled") : folder) + "/movie1.avi"),
              content.substr(0, 2000));
    rig.ExpectEnding();
  }
}

// In a child with its own mount namespace a 1 MiB tmpfs is the medium; each
// medium question collects the parts written so far and mounts a fresh one.
// Exit status 0: the collected parts join to the source; 77: no mounting here.
int MediumSwapChild(const std::string& root) {
  if (unshare(CLONE_NEWNS) != 0) return errno == EPERM ? 77 : 10;
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return errno == EPERM ? 77 : 11;
  const std::string medium = root + "/medium";
  auto insert = [&] { return mount("tmpfs", medium.c_str(), "tmpfs", 0, "size=1m"); };
  if (insert() != 0) return errno == EPERM ? 77 : 12;
  auto collect = [&] {
    for (const auto& entry : fs::directory_iterator(medium)) {
      fs::copy_file(entry.path(), root + "/collected/" + entry.path().filename().string(),
                    fs::copy_options::overwrite_existing);
    }
  };
  PosixRig rig(root + "/source.bin", medium, 900 * 1024, 65536);
  int swaps = 0;
  rig.frontEnd.onAsk = [&](const Message& message) {
    if (message.buttons != Buttons::RetryCancel) return Answer::Ok;
    collect();
    if (umount(medium.c_str()) != 0 || insert() != 0) return Answer::Cancel;
    return ++swaps, Answer::Retry;
  };
  const SplitResult::Outcome outcome = rig.Run();
  collect();
  umount(medium.c_str());
  std::string joined;
  for (int i = 1; i <= 3; ++i) joined += ReadAll(root + "/collected/movie" + std::to_string(i) + ".avi");
  return outcome == SplitResult::Outcome::Completed && swaps == 2 && joined == ReadAll(root + "/source.bin")
             ? 0
             : 14;
}

TEST(SplitPosixTest, SplitSpansThreeMedia) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting needs root";
  TempDir dir;
  dir.WriteFile("source.bin", RandomBytes(2 * 900 * 1024 + 500 * 1024));
  dir.MakeFolder("medium");
  dir.MakeFolder("collected");
  std::fflush(nullptr);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(MediumSwapChild(dir.Path()));
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "mounting is not allowed here";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace vornak
