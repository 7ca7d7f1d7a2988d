// SPDX-License-Identifier: GPL-3.0-or-later
// The split loop against the in-memory file interface, and on real file
// systems: three media swapped under it, range copies on btrfs, XFS and ext4.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/mount.h>
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <stdexcept>
#include <thread>
#include <type_traits>

#include "Version.h"
#include "fileservices/SystemFileInterface.h"
#include "split/HeadlessFrontEnd.h"
#include "split/SplitLoop.h"
#include "split/SplitMessages.h"
#include "support/FakeFileInterface.h"
#include "support/TempDir.h"

namespace vornak {

void PrintTo(const Message& message, std::ostream* out) {
  *out << testing::PrintToString(message.text);
}

namespace {

namespace fs = std::filesystem;
using test::FakeFileInterface;
using test::TempDir;
using Sizes = std::vector<std::uint64_t>;
using Texts = std::vector<std::string>;
using enum SplitResult::Outcome;
const auto P = test::onPlatform;
const std::string kSource = P("/src/movie.avi"), kPart1 = P("/t/movie1.avi"), kPart2 = P("/t/movie2.avi"),
                  kPart3 = P("/t/movie3.avi"), kTemp1 = P("/t/.vornak-movie1.avi.tmp"),
                  kTemp2 = P("/t/.vornak-movie2.avi.tmp"), kFlush = P("SyncFileSystem /t"),
                  kCheck = "\n\nCheck the file and try again.";

// A split of source into folder, parts named movie<n>.avi. On the fake the
// source and the folder are made for it and the file calls join the journal.
template <class Files>
struct SplitRig {
  Files files;
  Texts journal;
  HeadlessFrontEnd frontEnd{&journal};
  std::vector<char> buffer;
  SplitJob job;

  SplitRig(double fileSize, double partSize, std::size_t bufferSize, const std::string& source = kSource,
           const std::string& folder = P("/t"))
      : buffer(bufferSize) {
    job.sourcePath = source, job.fileSize = fileSize, job.partSize = partSize;
    planTarget(job.target, source, fileSize, partSize);
    job.target.folder = job.target.drive = folder;
    job.target.baseName = "movie", job.target.extension = "avi";
    job.buffer = buffer.data(), job.bufferSize = bufferSize;
    if constexpr (std::is_same_v<Files, FakeFileInterface>) {
      files.addFile(source, static_cast<std::uint64_t>(fileSize)), files.addFolder(folder);
      files.journal = &journal;
    }
  }
  SplitResult::Outcome run() {
    EXPECT_EQ(files.openRead(job.sourcePath, job.source), 0);
    return outcome = runSplitLoop(job, files, frontEnd).outcome;
  }
  // The files under a part's name, in the order of their names.
  Sizes partSizes() {
    std::vector<std::pair<std::string, std::uint64_t>> parts;
    for (const std::string& path : files.paths())
      if (path != kSource && Filenames::getFilename(path).starts_with(job.target.baseName) &&
          files.lookup(path) == EntryKind::File)
        parts.emplace_back(Filenames::getFilename(path), files.sizeOf(path));
    std::ranges::sort(parts);
    Sizes sizes;
    for (const auto& part : parts) sizes.push_back(part.second);
    return sizes;
  }
  // Every run ends alike, its status line telling how; on the fake every
  // byte came from its source offset, every handle is closed and the only
  // temporary files left are those another run holds.
  void expectEnding() const {
    EXPECT_EQ(frontEnd.unloads, 1);
    const std::string status = outcome == Completed   ? "Done."
                               : outcome == Cancelled ? "Cancelled."
                                                      : "Failed.";
    EXPECT_EQ(Texts(journal.end() - 4, journal.end()),
              (Texts{"UnloadProgress", "Yield", "EnableMain", "SetMainStatus " + status}));
    if constexpr (std::is_same_v<Files, FakeFileInterface>) {
      EXPECT_EQ(files.mismatches + files.openHandles(), 0u);
      for (const std::string& path : files.paths())
        EXPECT_TRUE(!path.ends_with(".tmp") || files.heldByOthers.count(path)) << path;
      for (const std::string& held : files.heldByOthers) EXPECT_NO_THROW(files.sizeOf(held)) << held;
    }
  }
  SplitResult::Outcome outcome = Failed;
};
using Rig = SplitRig<FakeFileInterface>;
using SystemRig = SplitRig<PlatformFileInterface>;

// A completed run: count parts of partSize but the last, numbered from <first>, whole blocks, no question.
struct Plan {
  std::uint64_t fileSize, partSize, buffer, count, last;
  std::string first;
};
void expectPlan(Rig& rig, const Plan& p) {
  SCOPED_TRACE(testing::Message() << p.fileSize << " / " << p.partSize << " / " << p.buffer);
  EXPECT_EQ(rig.run(), Completed);
  Sizes parts(p.count, p.partSize), blocks;  // per part whole buffers, then the rest: none crosses a part
  parts.back() = p.last;
  for (auto part : parts)
    for (std::uint64_t b = 0; b < part; b += p.buffer) blocks.push_back(std::min(p.buffer, part - b));
  ASSERT_EQ(rig.partSizes(), parts);
  EXPECT_EQ(rig.files.created.front(), P("/t/movie") + p.first + ".avi");
  EXPECT_EQ(rig.files.created.back(), P("/t/movie") + std::to_string(p.count) + ".avi");
  EXPECT_EQ(rig.files.readSizes, blocks);
  EXPECT_TRUE(rig.files.maxWriteChunk > 0 || rig.files.writeSizes == blocks);  // one write per block
  EXPECT_TRUE(rig.frontEnd.questions.empty());
  rig.expectEnding();
}

TEST(SplitLoopTest, PartSizesBlocksAndCounterWidthsFollowThePlan) {
  const std::uint64_t mb = 1 << 20, k2to32 = 1ull << 32;
  // clang-format off
  const Plan plans[] = {
      {10000, 3000, 4096, 4, 1000, "1"}, {1, 1, 4096, 1, 1, "1"}, {24576, 12288, 4096, 2, 12288, "1"},
      {8194, 4097, 4096, 2, 4097, "1"}, {8190, 4095, 4096, 2, 4095, "1"},  // part = k x buffer, buffer +- 1
      {29, 3, 4096, 10, 2, "01"}, {98207, 3, 4096, 32736, 2, "00001"},  // counter widths
      {5 * 1024 * mb, 700 * mb, 64 * mb, 8, 220 * mb, "1"},  // beyond 4 GiB, through the sparse fake
      {k2to32 + 1, k2to32 - 1, 64 * mb, 2, 2, "1"}, {k2to32 - 1, k2to32 / 2, 64 * mb, 2, k2to32 / 2 - 1, "1"},
  };
  // clang-format on
  for (const Plan& plan : plans) {
    Rig rig(static_cast<double>(plan.fileSize), static_cast<double>(plan.partSize), plan.buffer);
    rig.files.sparse = plan.fileSize > k2to32 / 2;
    rig.files.fileSizeLimit = static_cast<double>(k2to32 - 1);  // FAT takes a part of exactly 4 GiB - 1
    expectPlan(rig, plan);
    if (plan.fileSize == 10000) {  // one progress step and one yield per block, one yield in the ending
      EXPECT_EQ(rig.frontEnd.status2, (Texts{P("into /t/movie1.avi"), P("into /t/movie2.avi"),
                                             P("into /t/movie3.avi"), P("into /t/movie4.avi")}));
      EXPECT_EQ(rig.frontEnd.progress, (std::vector<float>{30, 60, 90, 100}));
      EXPECT_EQ(rig.frontEnd.yields, 4 + 1);
    }
    EXPECT_TRUE(!rig.files.sparse || rig.frontEnd.progress.back() == 100.0f);
  }
  std::mt19937_64 random(20261206);  // and random plans, a third of them with short writes
  auto draw = [&](std::uint64_t low, std::uint64_t high) { return low + random() % (high - low + 1); };
  for (int round = 0; round < 150; ++round) {
    const std::uint64_t fileSize = draw(1, 20000), partSize = draw(1, fileSize), buffer = draw(1, 9000);
    const std::uint64_t count = (fileSize + partSize - 1) / partSize;
    Rig rig(static_cast<double>(fileSize), static_cast<double>(partSize), buffer);
    rig.files.maxWriteChunk = round % 3 == 0 ? draw(1, 700) : 0;
    const std::string first = std::string(std::to_string(count).size() - 1, '0') + "1";
    expectPlan(rig, {fileSize, partSize, buffer, count, fileSize - (count - 1) * partSize, first});
  }
}

// Each fault ends with every part whole under its name or absent, the user
// told what happened, and where a medium failed the split able to go on with
// another one.
TEST(SplitLoopTest, FaultsQuestionsAndCancelsEndTheRunAsExpected) {
  auto writing = [](const std::string& path, const std::string& detail) {  // errors: exclamation mark, OK
    return Message{"An error occured while writing the file " + P(path) + ".\n" + detail + kCheck};
  };
  auto reading = [](const std::string& detail) {
    return Message{P("An error occured while reading the file /src/movie.avi.\n") + detail + kCheck};
  };
  auto opening = [](int part, const std::string& detail) {
    return Message{P("Cannot open the file /t/movie") + std::to_string(part) + ".avi.\n" + detail + kCheck};
  };
  auto exists = [](const std::string& path) {
    return Message{"The file " + path + " already exists.\nContinuing will overwrite it.", Icon::Information,
                   Buttons::OkCancel, 1};
  };
  const Message medium{
      .text = P("Not enough free space on medium (/t).\n\nPlease insert another medium and push Retry."),
      .buttons = Buttons::RetryCancel};
  const std::string isFolder = "System text " + std::to_string(FileInterface::kIsFolderError) + ".\n",
                    eio = "System text 5.\n", eacces = "System text 13.\n";
  struct Row {
    std::string name;
    std::function<void(Rig&)> arrange;
    SplitResult::Outcome outcome;
    std::vector<Message> questions;
    Sizes parts;
    Texts steps = {};  // found together in the journal
  };
  const Sizes all = {3000, 3000, 3000, 1000};
  const auto retry = [](Rig& r) { r.frontEnd.answers = {Answer::Ok, Answer::Retry}; };
  const auto ranges = [](Rig& r, double stop, int error) {
    r.files.rangeCopies = true, r.files.rangeCopiesStopAtByte = stop, r.files.rangeCopyError = error;
  };
  // clang-format off
  const Row rows[] = {
      // A medium full in the middle of a part: the medium question, then the part again from its start.
      {"FullMidPartCancel", [](Rig& r) { r.files.writesStopAtByte = 2500; }, Cancelled, {medium}, {},
       {"Remove " + kTemp1, "Seek 0", "Ask"}},
      {"FullMidPartRetry", [](Rig& r) { r.files.writesStopAtByte = 5500, r.files.writeError = test::kFileTooLarge;
                                        r.frontEnd.onAsk = [&r](const Message&) {
                                          r.files.writesStopAtByte = -1; return Answer::Retry; }; },
       Completed, {medium}, all, {"Seek 3000", kFlush, "Ask"}},
      // Any other failure of a part on its medium: the error, then the medium question.
      {"WriteErrorRetry", [&](Rig& r) { r.files.writesStopAtByte = 4500, r.files.writeError = EIO; retry(r);
                                        r.frontEnd.beforeSetter = [&r](const std::string&) {
                                          if (r.frontEnd.questions.size() == 2) r.files.writesStopAtByte = -1; }; },
       Completed, {writing("/t/movie2.avi", eio), medium}, all},
      {"NoProgress", [](Rig& r) { r.files.writesStopAtByte = 4000, r.files.writeError = 0; }, Failed,
       {writing("/t/movie2.avi", "The medium accepted no more data.\n"), medium}, {3000}},
      {"CreateFailsRetry", [&](Rig& r) { r.files.fails["CreatePart " + kTemp2] = EACCES; retry(r); }, Completed,
       {opening(2, eacces), medium}, all},
      {"FlushFailsRetry", [&](Rig& r) { r.files.fails["Sync " + kTemp1] = EIO; retry(r); }, Completed,
       {writing("/t/movie1.avi", eio), medium}, all, {"Sync " + kTemp1, "Close part " + kTemp1, "Remove " + kTemp1}},
      {"CloseFails", [](Rig& r) { r.files.fails["Close part " + kTemp1] = EIO; }, Failed,
       {writing("/t/movie1.avi", eio), medium}, {}},
      {"RenameFails", [](Rig& r) { r.files.fails["Rename " + kTemp2] = EACCES; }, Failed,
       {writing("/t/movie2.avi", eacces), medium}, {3000}},
      {"OldPartRemoveFails", [](Rig& r) { r.files.addFile(kPart2, 11), r.files.fails["Remove " + kPart2] = EACCES;
                                          r.job.target.overwriteAll = 1; },
       Failed, {opening(2, eacces), medium}, {3000, 11}},
      {"NameTooLong", [](Rig& r) { r.files.fails["CreatePart " + kTemp1] = test::kNameTooLong; }, Completed, {}, all,
       {"CreatePart " + P("/t/.vornak.tmp")}},
      // Range copies: a failure is the part's; a refusal, or nothing copied, hands the rest to the buffer.
      {"RangeCopyFails", [&](Rig& r) { ranges(r, 2500, EIO); }, Failed, {writing("/t/movie1.avi", eio), medium}, {}},
      {"WriteBehindFails", [&](Rig& r) { ranges(r, -1, 0), r.files.fails["WriteBehind " + kTemp2] = EIO; }, Failed,
       {writing("/t/movie2.avi", eio), medium}, {3000}},
      {"RangeCopyRefused", [&](Rig& r) { ranges(r, 4500, FileInterface::kNoRangeCopy); }, Completed, {}, all,
       {"CopyRange 1000", "Write 1000", "Yield", "Write 500"}},
      {"RangeCopiesNothing", [&](Rig& r) { ranges(r, 4500, 0); }, Completed, {}, all},
      {"RangeCopiesShort", [&](Rig& r) { ranges(r, -1, 0), r.files.maxWriteChunk = 700; }, Completed, {}, all,
       {"CopyRange 900", "Yield", "CopyRange 200", "Sync " + kTemp1}},
      // The source: read errors, shrinking and changing end the split; the parts written stay.
      {"ReadError", [](Rig& r) { r.files.readsStopAtByte = 4500; }, Failed, {reading(eio)}, {3000}},
      {"ReadErrorAndFlushFails", [](Rig& r) { r.files.readsStopAtByte = 4500, r.files.fails[kFlush] = EIO; },
       Failed, {reading(eio)}, {3000}},
      {"SourceShrank", [](Rig& r) { r.files.readsStopAtByte = 6500, r.files.readError = 0; }, Failed,
       {reading("The file became shorter while it was being split.\n")}, {3000, 3000}},
      {"SourceChanged", [](Rig& r) {
         r.frontEnd.onYield = [&r] { if (r.frontEnd.yields == 5) r.files.resize(kSource, 10000); }; },
       Failed, {{P("The file /src/movie.avi changed while it was being split.\nThe parts may not join to the "
                   "file as it is now.\n\nCheck the file and split it again.")}}, all},
      // The file system's flush: before the medium question, and at the end.
      {"FolderFlushBeforeQuestion", [](Rig& r) { r.files.fails[kFlush] = EIO, r.files.freeSpaceScript = {1e9, 10}; },
       Failed, {writing("/t", eio)}, {3000}},
      {"FolderFlushAtEnd", [](Rig& r) { r.files.fails[kFlush] = EIO; }, Failed, {writing("/t", eio)}, all},
      {"WindowFails", [](Rig& r) { r.frontEnd.beforeSetter = [](const std::string& op) {
         if (op == "SetProgress") throw std::runtime_error("The progress bar is gone."); }; }, Failed,
       {{"The following error occured while processing the file " + kPart1 + ":\nThe progress bar is gone.\n\n"
         "Contact the technical support at " + std::string(kWebAddress) + " to get help."}}, {}},
      // A part longer than the medium's largest file (FAT: 4 GiB - 1) is refused before copying.
      {"FileSizeLimit", [](Rig& r) { r.files.fileSizeLimit = 2999; }, Failed, {{P("The medium (/t) cannot hold a "
       "file larger than 2999 bytes.\n\nChoose a smaller part size and split again.")}}, {}},
      // What stands at a part's name: checked before anything is written, asked about, replaced.
      {"FolderAtPart", [](Rig& r) { r.files.addFolder(kPart2); }, Failed, {opening(2, isFolder)}, {}},
      {"OldPartNotReplaceable", [](Rig& r) { r.files.addFile(kPart1, 5), r.files.addFile(kPart3, 5);
                                             r.files.fails["Replaceable " + kPart3] = EACCES, r.job.target.overwriteAll = 1; },
       Failed, {opening(3, eacces)}, {5, 5}},
      {"PartIsSource", [](Rig& r) { r.files.addHardLink(kPart2, kSource), r.job.target.overwriteAll = 1; }, Failed,
       {opening(2, "This is the file being split.\n")}, {3000, 10000}},
      {"LinkReplaced", [](Rig& r) { r.files.addHardLink(kPart2, kSource), r.files.symbolicLinks = {kPart2};
                                    r.job.target.overwriteAll = 1; }, Completed, {}, all},
      {"DanglingLinkAsked", [](Rig& r) { r.files.symbolicLinks = {kPart2}, r.frontEnd.answers = {Answer::Cancel}; },
       Cancelled, {exists(kPart2)}, {3000}},
      // The old part's size counts as free: 2990 bytes free and 11 of them freed take a part of 3000.
      {"OverwriteOk", [](Rig& r) { r.files.addFile(kPart2, 11), r.files.freeSpaceScript = {1e9, 2990}; }, Completed,
       {exists(kPart2)}, all, {"Remove " + kPart2, "CreatePart " + kTemp2}},
      {"OverwriteCancel", [](Rig& r) { r.files.addFile(kPart2, 11), r.frontEnd.answers = {Answer::Cancel}; }, Cancelled,
       {exists(kPart2)}, {3000, 11}, {"Ask", P("Close source /src/movie.avi")}},
      {"OverwriteUnasked", [](Rig& r) { r.files.addFile(kPart2, 11), r.frontEnd.onAsk = [](const Message&) -> Answer {
         throw std::runtime_error("no window"); }; }, Cancelled, {exists(kPart2)}, {3000, 11}},
      {"OverwriteHiddenPart", [](Rig& r) { r.files.addFile(P("/t/.movie2.avi"), 11), r.job.target.baseName = ".movie";
                                           r.job.target.overwriteAll = 2, r.frontEnd.answers = {Answer::Cancel}; },
       Cancelled, {exists(P("/t/.movie2.avi"))}, {3000, 11}, {"CreatePart " + P("/t/~vornak-.movie1.avi.tmp")}},
      // Part 2 sees too little, then no medium (-1), then enough; part 1 is on the medium before the question.
      {"MediumRetry", [](Rig& r) { r.files.freeSpaceScript = {1e9, 2999, -1, 3000};
                                   r.frontEnd.answers = {Answer::Retry, Answer::Retry}; },
       Completed, {medium, medium}, all, {P("FreeSpace /t/"), kFlush, "Ask"}},
      // The medium is taken out (nothing at /t: asked again, nothing written), then one appears at /m.
      {"MediumFollowed", [](Rig& r) { r.files.freeSpaceScript = {1e9, 10}, r.files.addFolder(P("/m"));
                                      r.frontEnd.onAsk = [&r](const Message&) {
                                        r.files.mounts.back() = {P(r.frontEnd.questions.size() == 1 ? "/" : "/m"), "",
                                                                 "vfat", "/dev/sdc1"};
                                        return Answer::Retry; }; },
       Completed, {medium, medium}, all, {"Ask", P("FreeSpace /m/"), "CreatePart " + P("/m/.vornak-movie2.avi.tmp")}},
      // Two media appearing at once: neither is taken, the question comes again.
      {"TwoMediaAppear", [](Rig& r) { r.files.freeSpaceScript = {1e9, 10};
                                      r.frontEnd.onAsk = [&r](const Message&) {
                                        r.files.mounts.back() = {P("/m"), "", "vfat", "/dev/sdc1"};
                                        r.files.mounts.push_back({P("/n"), "", "vfat", "/dev/sdd1"});
                                        return r.frontEnd.questions.size() == 1 ? Answer::Retry : Answer::Cancel; }; },
       Cancelled, {medium, medium}, {3000}},
      // A confirmed cancel stops: the unfinished part goes, no further part or question comes.
      {"CancelMidPart", [](Rig& r) { r.frontEnd.onYield = [&r] { r.frontEnd.confirmCancel(); }; }, Cancelled, {}, {},
       {"Close part " + kTemp1, "Remove " + kTemp1}},
      {"CancelBeforeQuestion", [](Rig& r) { r.files.addFile(kPart2, 11);
         r.frontEnd.beforeSetter = [&r](const std::string& op) {
           if (op == "SetStatus2" && r.frontEnd.status2.size() == 1) r.frontEnd.confirmCancel(); }; },
       Cancelled, {}, {3000, 11}},
      // Another run writes into the folder; what a killed run left there goes, even when it appears late.
      {"FolderBusy", [](Rig& r) { r.files.addFile(kTemp1, 0), r.files.heldByOthers = {kTemp1}; }, Failed,
       {{P("Another split is writing into the folder /t.\n\nWait until it has finished and try again.")}}, {}},
      {"LeftoversRemoved", [](Rig& r) { r.files.addFile(kTemp1, 7), r.files.addFile(P("/t/~vornak.tmp"), 7);
         r.frontEnd.onYield = [&r] { if (r.frontEnd.yields == 1) r.files.addFile(kTemp2, 7); }; },
       Completed, {}, all},
  };
  // clang-format on
  // Range copies meet every fault as the copy through the buffer does.
  for (const Row& row : rows)
    for (const bool rangeCopies : {false, true}) {
      SCOPED_TRACE(row.name + (rangeCopies ? " with range copies" : ""));
      Rig rig(10000, 3000, 1000);
      rig.files.rangeCopies = rangeCopies;
      row.arrange(rig);
      EXPECT_EQ(rig.run(), row.outcome);
      EXPECT_EQ(rig.frontEnd.questions, row.questions);
      EXPECT_EQ(rig.partSizes(), row.parts);
      EXPECT_EQ(rig.files.sizeOf(kSource), 10000u);
      EXPECT_TRUE(row.steps.empty() || !std::ranges::search(rig.journal, row.steps).empty())
          << testing::PrintToString(rig.journal);
      // Once the buffer took over, no range copy comes again.
      const auto write =
          std::ranges::find_if(rig.journal, [](auto& step) { return step.starts_with("Write"); });
      EXPECT_TRUE(
          std::none_of(write, rig.journal.end(), [](auto& step) { return step.starts_with("CopyRange"); }));
      rig.expectEnding();
    }
}

// Random bytes of size at path; the parts movie<1..count>.avi in folder joined.
std::string randomFile(const std::string& path, std::size_t size) {
  std::string content(size, '\0');
  std::ranges::generate(content, std::mt19937(static_cast<unsigned>(size)));
  std::ofstream(test::native(path), std::ios::binary) << content;
  return content;
}
std::string joinedParts(const std::string& folder, int count) {
  std::string joined;
  for (int n = 1; n <= count; ++n) {
    std::ifstream in(test::native(folder + Filenames::kSeparator + "movie" + std::to_string(n) + ".avi"),
                     std::ios::binary);
    joined += std::string(std::istreambuf_iterator<char>(in), {});
  }
  return joined;
}

// tests/split/three-media.sh gives a 1 MiB ext2 medium at VORNAK_MEDIUM (drive E:
// under Wine), then at each request in the control folder a 1 MiB tmpfs. A part
// as large as the first one's free space passes the check but does not fit (ext2
// needs blocks of its own): it is removed and written again on the second medium,
// where the second part no longer fits; that goes to the third with the last.
TEST(SplitMediaTest, SplitSpansThreeMedia) {
  const char *control = std::getenv("VORNAK_MEDIUM_CONTROL"), *medium = std::getenv("VORNAK_MEDIUM");
  if (control == nullptr || medium == nullptr) GTEST_SKIP() << "runs from three-media.sh";
  const std::string request = std::string(control) + Filenames::kSeparator + "swap";
  const auto nextMedium = [&] {
    std::ofstream(request).put('\n');
    for (int waited = 0; fs::exists(request) && waited < 600; ++waited)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return !fs::exists(request);
  };
  TempDir dir;
  const double free = PlatformFileInterface().freeSpace(medium);
  const std::string content = randomFile(dir.join("source.bin"), 2 * static_cast<std::size_t>(free) + 5000);
  SystemRig rig(static_cast<double>(content.size()), free, 65536, dir.join("source.bin"), medium);
  ASSERT_EQ(rig.job.target.drive, Filenames::getFolderDrive(medium));  // the medium is a drive of its own
  Texts leftOnFirst;
  rig.frontEnd.onAsk = [&](const Message& message) {
    EXPECT_EQ(message, mediumQuestion(medium));
    const std::string root = medium + std::string(1, Filenames::kSeparator);
    for (const auto& entry : fs::directory_iterator(test::native(root)))
      if (rig.frontEnd.questions.size() == 1) leftOnFirst.push_back(entry.path().filename().string());
    return nextMedium() ? Answer::Retry : Answer::Cancel;
  };
  EXPECT_EQ(rig.run(), Completed);
  ASSERT_TRUE(nextMedium());  // collects the last parts
  EXPECT_EQ(leftOnFirst, Texts{"lost+found"});
  EXPECT_EQ(rig.frontEnd.questions.size(), 2u);
  EXPECT_TRUE(joinedParts(std::string(control) + Filenames::kSeparator + "collected", 3) == content);
  rig.expectEnding();
}

#ifndef _WIN32
// Range copies on real file systems, each a loop image of its own in a private
// mount namespace (skipped elsewhere, and where its mkfs is missing): the parts
// join to the source, and where the file system shares blocks they take
// almost no room.
class RangeCopyOnMedia : public ::testing::TestWithParam<std::pair<std::string, bool>> {};

TEST_P(RangeCopyOnMedia, PartsJoinToTheSource) {
  const auto& [type, sharesBlocks] = GetParam();
  // tests/ui/in-private-mounts.sh runs it where it may mount.
  if (!std::getenv("VORNAK_PRIVATE_MOUNTS")) GTEST_SKIP() << "needs a private mount namespace";
  if (std::system(("command -v mkfs." + type + " >/dev/null").c_str()) != 0)
    GTEST_SKIP() << "no mkfs." << type;
  TempDir dir;
  const std::string image = dir.join("image"), medium = dir.makeFolder("medium");
  ASSERT_EQ(std::system(("truncate -s 320M " + image + " && mkfs." + type + " -q " + image +
                         " >/dev/null && mount -o loop " + image + " " + medium)
                            .c_str()),
            0);
  const std::string content = randomFile(medium + "/film.mkv", 24 << 20);
  SystemRig rig(static_cast<double>(content.size()), 4 << 20, 4096, medium + "/film.mkv", medium);
  ASSERT_EQ(rig.files.syncFileSystem(medium), 0);
  const double freeBefore = rig.files.freeSpace(medium);
  EXPECT_EQ(rig.run(), Completed);
  EXPECT_TRUE(joinedParts(medium, 6) == content) << "the parts differ from the source";
  ASSERT_EQ(rig.files.syncFileSystem(medium), 0);
  EXPECT_TRUE(!sharesBlocks || freeBefore - rig.files.freeSpace(medium) < 2 << 20)
      << "the parts do not share the source's blocks";
  rig.expectEnding();
  ::umount2(medium.c_str(), MNT_DETACH);
}

INSTANTIATE_TEST_SUITE_P(Types, RangeCopyOnMedia,
                         ::testing::Values(std::pair("btrfs", true), std::pair("xfs", true),
                                           std::pair("ext4", false)),
                         [](const auto& info) { return info.param.first; });
#endif

}  // namespace
}  // namespace vornak
