// The split loop against the in-memory file interface: part sizes and names,
// block sizes, every fault with its message, the questions and the ending.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <stdexcept>

#include "Version.h"
#include "split/HeadlessFrontEnd.h"
#include "split/SplitLoop.h"
#include "support/FakeFileInterface.h"

namespace vornak {
namespace {

using test::FakeFileInterface;

const char* const kSource = "/src/movie.avi";

// A source in the fake, the plan for it, and the run's front end.
struct Rig {
  FakeFileInterface files;
  std::vector<std::string> journal;
  HeadlessFrontEnd frontEnd{&journal};
  std::vector<char> buffer;
  SplitJob job;

  Rig(double fileSize, double partSize, std::size_t bufferSize, bool pattern = true) {
    if (pattern) files.AddPatternFile(kSource, static_cast<std::uint64_t>(fileSize));
    files.AddFolder("/t");
    files.journal = &journal;
    job.sourcefile = kSource;
    job.FileSize = fileSize;
    job.partsize = partSize;
    PlanTarget(job.target, kSource, fileSize, partSize);
    job.target.savepath = "/t";
    job.target.savedrive = "/t";
    job.target.saveftitle = "movie";
    job.target.savefext = "avi";
    buffer.assign(bufferSize, 0);
    job.buffer = buffer.data();
    job.buffersize = bufferSize;
  }

  SplitResult Run() {
    if (files.OpenRead(kSource, job.source) != 0) ADD_FAILURE() << "source not opened";
    return RunSplitLoop(job, files, frontEnd);
  }

  std::string Part(std::int32_t i) const { return PartPath(job.target, i); }

  std::vector<std::uint64_t> PartSizes() const {
    std::vector<std::uint64_t> sizes;
    for (std::int32_t i = 1; files.Exists(Part(i)); ++i) sizes.push_back(files.SizeOf(Part(i)));
    return sizes;
  }

  std::string Joined() const {
    std::string joined;
    for (std::int32_t i = 1; files.Exists(Part(i)); ++i) joined += files.Content(Part(i));
    return joined;
  }

  // Every outcome ends the same way: handles closed, progress window gone,
  // main window enabled with "Done.".
  void ExpectEnding() const {
    EXPECT_EQ(files.openHandles(), 0);
    EXPECT_EQ(frontEnd.unloads, 1);
    EXPECT_TRUE(frontEnd.mainEnabled);
    ASSERT_FALSE(frontEnd.mainStatus.empty());
    EXPECT_EQ(frontEnd.mainStatus.back(), "Done.");
    const std::vector<std::string> tail(journal.end() - 4, journal.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{"UnloadProgress", "Yield", "EnableMain", "SetMainStatus Done."}));
  }
};

// The blocks a correct loop writes: per part, whole buffers and then the rest.
std::vector<std::uint64_t> ModelBlocks(std::uint64_t fileSize, std::uint64_t partSize, std::uint64_t buffer) {
  std::vector<std::uint64_t> blocks;
  for (std::uint64_t done = 0; done < fileSize;) {
    std::uint64_t part = std::min(partSize, fileSize - done);
    done += part;
    for (; part > buffer; part -= buffer) blocks.push_back(buffer);
    blocks.push_back(part);
  }
  return blocks;
}

TEST(SplitLoopTest, PartAndBlockSizesFollowThePlan) {
  using Sizes = std::vector<std::uint64_t>;
  struct Row {
    const char* what;
    double fileSize, partSize;
    std::size_t buffer;
    Sizes parts;
    Sizes blocks;  // empty: not checked beyond the model
  };
  const Row rows[] = {
      {"four parts, last shorter", 10000, 3000, 4096, {3000, 3000, 3000, 1000}, {3000, 3000, 3000, 1000}},
      {"blocks never cross a part", 20000, 10000, 4096, {10000, 10000}, {4096, 4096, 1808, 4096, 4096, 1808}},
      {"source smaller than the buffer", 100, 30, 4096, {30, 30, 30, 10}, {30, 30, 30, 10}},
      {"part equals the buffer", 8192, 4096, 4096, {4096, 4096}, {4096, 4096}},
      {"part is three buffers", 24576, 12288, 4096, {12288, 12288}, {4096, 4096, 4096, 4096, 4096, 4096}},
      {"part one above the buffer", 8194, 4097, 4096, {4097, 4097}, {4096, 1, 4096, 1}},
      {"part one below the buffer", 8190, 4095, 4096, {4095, 4095}, {4095, 4095}},
      {"source one above n parts", 3001, 1000, 4096, {1000, 1000, 1000, 1}, {}},
      {"source one below n parts", 2999, 1000, 4096, {1000, 1000, 999}, {}},
      {"buffer of one byte", 5, 2, 1, {2, 2, 1}, {1, 1, 1, 1, 1}},
      {"one byte in one part", 1, 1, 4096, {1}, {1}},
      {"empty source", 0, 1, 4096, {}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Rig rig(row.fileSize, row.partSize, row.buffer);
    const SplitResult result = rig.Run();
    EXPECT_EQ(result.outcome, SplitResult::Outcome::Completed);
    EXPECT_EQ(rig.PartSizes(), row.parts);
    if (!row.blocks.empty()) {
      EXPECT_EQ(rig.files.writeSizes, row.blocks);
    }
    EXPECT_EQ(rig.files.writeSizes, ModelBlocks(row.fileSize, row.partSize, row.buffer));
    EXPECT_EQ(rig.files.readSizes, rig.files.writeSizes);  // one read and one write per block
    EXPECT_EQ(rig.Joined(), FakeFileInterface::PatternText(static_cast<std::uint64_t>(row.fileSize)));
    EXPECT_TRUE(rig.frontEnd.questions.empty());
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, CounterWidthGrowsWithThePartCount) {
  struct Row {
    std::int32_t parts;
    const char* first;
    const char* last;
  };
  const Row rows[] = {
      {2, "/t/movie1.avi", "/t/movie2.avi"},          {9, "/t/movie1.avi", "/t/movie9.avi"},
      {10, "/t/movie01.avi", "/t/movie10.avi"},       {100, "/t/movie001.avi", "/t/movie100.avi"},
      {1000, "/t/movie0001.avi", "/t/movie1000.avi"}, {32736, "/t/movie00001.avi", "/t/movie32736.avi"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.parts);
    Rig rig(row.parts * 3.0 - 1, 3, 4096);
    rig.files.recordCalls = false;
    rig.frontEnd.recordAll = false;
    rig.Run();
    ASSERT_EQ(rig.files.created.size(), static_cast<std::size_t>(row.parts));
    EXPECT_EQ(rig.files.created.front(), row.first);
    EXPECT_EQ(rig.files.created.back(), row.last);
    EXPECT_EQ(rig.files.SizeOf(row.last), 2u);
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, RandomPlansJoinBackToTheSource) {
  std::mt19937_64 random(20261206);
  for (int round = 0; round < 150; ++round) {
    const std::uint64_t fileSize = std::uniform_int_distribution<std::uint64_t>(1, 20000)(random);
    const std::uint64_t partSize = std::uniform_int_distribution<std::uint64_t>(1, fileSize)(random);
    const std::uint64_t buffer = std::uniform_int_distribution<std::uint64_t>(1, 9000)(random);
    SCOPED_TRACE(testing::Message() << fileSize << " / " << partSize << " / " << buffer);
    Rig rig(static_cast<double>(fileSize), static_cast<double>(partSize), buffer);
    rig.frontEnd.recordAll = false;
    rig.Run();
    const std::uint64_t count = fileSize / partSize + (fileSize % partSize > 0);
    ASSERT_EQ(rig.files.created.size(), count);
    EXPECT_EQ(rig.files.created.back(), rig.Part(static_cast<std::int32_t>(count)));
    for (std::uint64_t i = 1; i <= count; ++i) {
      const std::uint64_t expected = i < count || fileSize % partSize == 0 ? partSize : fileSize % partSize;
      ASSERT_EQ(rig.files.SizeOf(rig.Part(static_cast<std::int32_t>(i))), expected);
    }
    // Blocks never exceed the buffer nor what is left of their part.
    EXPECT_EQ(rig.files.writeSizes, ModelBlocks(fileSize, partSize, buffer));
    EXPECT_EQ(rig.Joined(), FakeFileInterface::PatternText(fileSize));
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, SourcesBeyondFourGigabytesSplitExactly) {
  const double kGiB = 1073741824.0, kMiB = 1048576.0, k2to32 = 4294967296.0;
  using Sizes = std::vector<std::uint64_t>;
  struct Row {
    const char* what;
    double fileSize, partSize;
    Sizes parts;
  };
  const std::uint64_t mb700 = 700 * 1048576ull;
  const Row rows[] = {
      {"5 GiB into 700 MB parts",
       5 * kGiB,
       700 * kMiB,
       {mb700, mb700, mb700, mb700, mb700, mb700, mb700, 220 * 1048576ull}},
      {"2^32 + 1 into 2^32 - 1", k2to32 + 1, k2to32 - 1, {4294967295ull, 2}},
      {"2^32 - 1 into 2^31", k2to32 - 1, k2to32 / 2, {2147483648ull, 2147483647ull}},
      {"3 * 2^32 + 1 into 2^32", 3 * k2to32 + 1, k2to32, {4294967296ull, 4294967296ull, 4294967296ull, 1}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Rig rig(row.fileSize, row.partSize, 64 << 20);
    rig.files.sparse = true;
    rig.Run();
    EXPECT_EQ(rig.PartSizes(), row.parts);
    EXPECT_EQ(rig.files.totalWritten, static_cast<std::uint64_t>(row.fileSize));
    EXPECT_EQ(rig.files.sampleMismatches, 0u);  // every byte landed at its source offset
    EXPECT_EQ(rig.files.writeSizes, ModelBlocks(static_cast<std::uint64_t>(row.fileSize),
                                                static_cast<std::uint64_t>(row.partSize), 64 << 20));
    ASSERT_FALSE(rig.frontEnd.progress.empty());
    EXPECT_LE(rig.frontEnd.progress.back(), 100.0f);
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, FaultsEndTheRunWithTheirMessage) {
  const std::string check = "\n\nCheck the file and try again.";
  using Sizes = std::vector<std::uint64_t>;
  struct Row {
    const char* what;
    std::function<void(Rig&)> arrange;
    std::string text;
    Sizes parts;
  };
  const Row rows[] = {
      {"disk full in part 1",
       [](Rig& r) { r.files.diskFullAtByte = 2500; },
       "An error occured while writing the file /t/movie1.avi.\nSystem text 28.\n" + check,
       {2500}},
      {"read error in part 2",
       [](Rig& r) { r.files.readErrorAtByte = 4500; },
       "An error occured while reading the file /src/movie.avi.\nSystem text 5.\n" + check,
       {3000, 1500}},
      {"source became shorter",
       [](Rig& r) { r.files.sourceEndsAtByte = 6500; },
       "An error occured while reading the file /src/movie.avi.\nThe file became shorter while it was being "
       "split.\n" +
           check,
       {3000, 3000, 500}},
      {"write without progress",
       [](Rig& r) { r.files.noProgressAtByte = 4000; },
       "An error occured while writing the file /t/movie2.avi.\nThe medium accepted no more data.\n" + check,
       {3000, 1000}},
      {"part 2 cannot be created",
       [](Rig& r) { r.files.createErrors["/t/movie2.avi"] = EACCES; },
       "Cannot open the file /t/movie2.avi.\nSystem text 13.\n" + check,
       {3000}},
      {"folder at part 2",
       [](Rig& r) { r.files.AddFolder("/t/movie2.avi"); },
       "Cannot open the file /t/movie2.avi.\nSystem text 21.\n" + check,
       {3000}},
      {"part 1 cannot be closed",
       [](Rig& r) { r.files.closeErrors["/t/movie1.avi"] = EIO; },
       "An error occured while writing the file /t/movie1.avi.\nSystem text 5.\n" + check,
       {3000}},
      {"part 3 is the source",
       [](Rig& r) { r.files.AddLink("/t/movie3.avi", kSource); },
       "Cannot open the file /t/movie3.avi.\nThis is the file being split.\n" + check,
       {3000, 3000}},
      {"flush fails at the end",
       [](Rig& r) { r.files.syncError = EIO; },
       "An error occured while writing the file /t/movie4.avi.\nSystem text 5.\n" + check,
       {3000, 3000, 3000, 1000}},
      {"progress window fails",
       [](Rig& r) {
         r.frontEnd.beforeSetter = [](const std::string& op) {
           if (op == "SetProgress") throw std::runtime_error("The progress bar is gone.");
         };
       },
       "The following error occured while processing the file /t/movie1.avi:\nThe progress bar is gone.\n\n"
       "Contact the technical support at " +
           std::string(kWebAddress) + " to get help.",
       {1000}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Rig rig(10000, 3000, 1000);
    row.arrange(rig);
    const SplitResult result = rig.Run();
    EXPECT_EQ(result.outcome, SplitResult::Outcome::Failed);
    ASSERT_EQ(rig.frontEnd.questions.size(), 1u);
    const Message& message = rig.frontEnd.questions[0];
    EXPECT_EQ(message.text, row.text);
    EXPECT_EQ(message.icon, Icon::Exclamation);
    EXPECT_EQ(message.buttons, Buttons::Ok);
    for (std::size_t i = 0; i < row.parts.size(); ++i) {
      ASSERT_TRUE(rig.files.Exists(rig.Part(static_cast<std::int32_t>(i + 1))));
      EXPECT_EQ(rig.files.SizeOf(rig.Part(static_cast<std::int32_t>(i + 1))), row.parts[i]);
    }
    EXPECT_EQ(rig.files.created.size(), row.parts.size());
    EXPECT_EQ(rig.files.SizeOf(kSource), 10000u);  // nothing is deleted or truncated
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, ShortWritesAreCompleted) {
  Rig rig(10000, 3000, 1000);
  rig.files.maxWriteChunk = 300;
  EXPECT_EQ(rig.Run().outcome, SplitResult::Outcome::Completed);
  EXPECT_EQ(rig.PartSizes(), (std::vector<std::uint64_t>{3000, 3000, 3000, 1000}));
  EXPECT_EQ(rig.Joined(), FakeFileInterface::PatternText(10000));
  EXPECT_EQ(rig.files.CountOf("Read"), 10);
  EXPECT_EQ(rig.files.CountOf("Write"), 40);  // 1000 = 300 + 300 + 300 + 100
}

TEST(SplitLoopTest, ExistingPartIsReplacedOnlyAfterOk) {
  struct Row {
    const char* what;
    const char* existing;
    bool folder;
    std::int16_t saveoverwrite;
    std::deque<Answer> answers;
    std::size_t questions;
    std::size_t parts;
  };
  const Row rows[] = {
      {"OK replaces it", "/t/movie2.avi", false, 0, {Answer::Ok}, 1, 4},
      {"Cancel keeps it", "/t/movie2.avi", false, 0, {Answer::Cancel}, 1, 1},
      {"overwrite mode asks nothing", "/t/movie2.avi", false, 1, {}, 0, 4},
      {"mode 2 still asks", "/t/movie2.avi", false, 2, {Answer::Ok}, 1, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Rig rig(10000, 3000, 1000);
    rig.files.AddFile(row.existing, "old content");
    rig.job.target.saveoverwrite = row.saveoverwrite;
    rig.frontEnd.answers = row.answers;
    rig.Run();
    ASSERT_EQ(rig.frontEnd.questions.size(), row.questions);
    if (row.questions == 1) {
      EXPECT_EQ(rig.frontEnd.questions[0],
                (Message{"The file /t/movie2.avi already exists.\nContinuing will overwrite it.",
                         Icon::Information, Buttons::OkCancel, 1}));
    }
    EXPECT_EQ(rig.files.created.size(), row.parts);
    if (row.parts == 1) {
      // Cancel came before the free-space check and before anything of part 2.
      EXPECT_EQ(rig.files.Content("/t/movie2.avi"), "old content");
      EXPECT_EQ(rig.files.CountOf("FreeSpace"), 1);
    } else {
      EXPECT_EQ(rig.files.SizeOf("/t/movie2.avi"), 3000u);
    }
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, HiddenAndSpecialEntriesAreAskedAboutToo) {
  Rig rig(10000, 3000, 1000);
  rig.job.target.saveftitle = ".movie";
  rig.files.AddFile("/t/.movie1.avi", "hidden");
  rig.files.AddOther("/t/.movie3.avi");
  rig.frontEnd.answers = {Answer::Ok, Answer::Cancel};
  rig.Run();
  ASSERT_EQ(rig.frontEnd.questions.size(), 2u);
  EXPECT_NE(rig.frontEnd.questions[1].text.find("/t/.movie3.avi already exists"), std::string::npos);
  EXPECT_EQ(rig.files.created, (std::vector<std::string>{"/t/.movie1.avi", "/t/.movie2.avi"}));
}

TEST(SplitLoopTest, OverwriteQuestionComesBeforeTheFreeSpaceCheck) {
  Rig rig(10000, 3000, 1000);
  rig.files.AddFile("/t/movie1.avi", "old");
  rig.Run();
  std::vector<std::string> order;
  for (const auto& call : rig.files.calls) {
    if (call.op == "FreeSpace" || call.op == "CreatePart") order.push_back(call.op);
  }
  ASSERT_GE(rig.journal.size(), 3u);
  EXPECT_EQ(rig.journal[0], "Ask");
  EXPECT_EQ(rig.journal[1], "FreeSpace");
  EXPECT_EQ(rig.journal[2], "CreatePart /t/movie1.avi");
}

TEST(SplitLoopTest, FullMediumIsAskedForUntilThePartFits) {
  Rig rig(10000, 3000, 1000);
  // Part 1 fits; part 2 sees too little, then no medium, then enough.
  rig.files.freeSpaceScript = {1e9, 2999, -1, 3000};
  rig.frontEnd.answers = {Answer::Retry, Answer::Retry};
  EXPECT_EQ(rig.Run().outcome, SplitResult::Outcome::Completed);
  const Message medium{
      "Not enough free space on medium (/t).\n\nPlease insert another medium and push Retry.",
      Icon::Exclamation, Buttons::RetryCancel, 0};
  EXPECT_EQ(rig.frontEnd.questions, (std::vector<Message>{medium, medium}));
  EXPECT_EQ(rig.PartSizes(), (std::vector<std::uint64_t>{3000, 3000, 3000, 1000}));
  for (const auto& call : rig.files.calls) {
    if (call.op == "FreeSpace") {
      EXPECT_EQ(call.path, "/t/");
    }
  }
  // Part 1 is on its medium before the user is asked to take it out.
  const auto ask = std::find(rig.journal.begin(), rig.journal.end(), "Ask");
  const auto flush = std::find(rig.journal.begin(), rig.journal.end(), "SyncFileSystem /t");
  EXPECT_LT(flush, ask);
  EXPECT_EQ(std::count(rig.journal.begin(), ask, "SyncFileSystem /t"), 1);
  rig.ExpectEnding();
}

TEST(SplitLoopTest, CancelAtTheMediumQuestionKeepsThePartsWritten) {
  Rig rig(10000, 3000, 1000);
  rig.files.freeSpaceScript = {1e9, 1e9, 10};
  rig.frontEnd.answers = {Answer::Cancel};
  EXPECT_EQ(rig.Run().outcome, SplitResult::Outcome::Cancelled);
  EXPECT_EQ(rig.PartSizes(), (std::vector<std::uint64_t>{3000, 3000}));
  EXPECT_FALSE(rig.files.Exists("/t/movie3.avi"));
  rig.ExpectEnding();
}

TEST(SplitLoopTest, ConfirmedCancelCopiesExactlyOneMoreBlock) {
  struct Row {
    long cancelInYield;
    std::vector<std::uint64_t> parts;
  };
  // Blocks of 1000 bytes, parts of 3000: the third block completes part 1, so
  // a cancel confirmed in its yield still starts part 2 with one block.
  const Row rows[] = {{1, {2000}}, {2, {3000}}, {3, {3000, 1000}}, {4, {3000, 2000}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.cancelInYield);
    Rig rig(10000, 3000, 1000);
    rig.frontEnd.onYield = [&] {
      if (rig.frontEnd.yields == row.cancelInYield) rig.frontEnd.ConfirmCancel();
    };
    EXPECT_EQ(rig.Run().outcome, SplitResult::Outcome::Cancelled);
    EXPECT_EQ(rig.PartSizes(), row.parts);
    EXPECT_EQ(rig.files.CountOf("Write"), row.cancelInYield + 1);
    rig.ExpectEnding();
  }
}

TEST(SplitLoopTest, ProgressAndStatusFollowTheCopy) {
  Rig rig(10000, 3000, 1000);
  rig.Run();
  EXPECT_EQ(rig.frontEnd.status2, (std::vector<std::string>{"into /t/movie1.avi", "into /t/movie2.avi",
                                                            "into /t/movie3.avi", "into /t/movie4.avi"}));
  EXPECT_EQ(rig.frontEnd.progress, (std::vector<float>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
  EXPECT_EQ(rig.frontEnd.yields, 10 + 1);  // once per block, once in the ending

  Rig small(1000, 300, 1);  // step 11: about one update per hundredth
  small.Run();
  EXPECT_LE(small.frontEnd.progress.size(), 100u);
  EXPECT_GE(small.frontEnd.progress.size(), 85u);
  EXPECT_TRUE(std::is_sorted(small.frontEnd.progress.begin(), small.frontEnd.progress.end()));
}

TEST(SplitLoopTest, EndingClosesInOrderAndFlushes) {
  Rig rig(10000, 3000, 1000);
  rig.frontEnd.onYield = [&] {
    if (rig.frontEnd.yields == 4) rig.frontEnd.ConfirmCancel();
  };
  rig.Run();
  const std::vector<std::string> tail(rig.journal.end() - 8, rig.journal.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Close source /src/movie.avi", "Sync", "SyncFileSystem /t",
                                            "Close part /t/movie2.avi", "UnloadProgress", "Yield",
                                            "EnableMain", "SetMainStatus Done."}));
}

TEST(SplitLoopTest, EndingWithoutLoopClosesTheSource) {
  FakeFileInterface files;
  files.AddFile("/s", "abc");
  HeadlessFrontEnd frontEnd;
  FileInterface::Handle source = FileInterface::kNoHandle;
  ASSERT_EQ(files.OpenRead("/s", source), 0);
  RunSplitEnding(files, frontEnd, source);
  EXPECT_EQ(files.openHandles(), 0);
  EXPECT_EQ(frontEnd.unloads, 1);
  EXPECT_TRUE(frontEnd.mainEnabled);
  EXPECT_EQ(frontEnd.mainStatus, (std::vector<std::string>{"Done."}));
}

}  // namespace
}  // namespace vornak

namespace vornak {
namespace {

TEST(SplitLoopTest, CopyBufferStartsAtAPage) {
  for (std::size_t size : {std::size_t{1}, std::size_t{4095}, std::size_t{4096}, std::size_t{1048577}}) {
    CopyBuffer buffer = AllocateCopyBuffer(size);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.get()) % 4096, 0u);
    buffer.get()[size - 1] = 1;  // the whole size is usable
  }
  EXPECT_EQ(AllocateCopyBuffer(0), nullptr);
}

}  // namespace
}  // namespace vornak

namespace vornak {
namespace {

TEST(SplitLoopTest, FailedFlushBeforeTheMediumQuestionIsAWriteError) {
  Rig rig(10000, 3000, 1000);
  rig.files.freeSpaceScript = {1e9, 10};
  rig.files.syncError = EIO;
  EXPECT_EQ(rig.Run().outcome, SplitResult::Outcome::Failed);
  ASSERT_EQ(rig.frontEnd.questions.size(), 1u);  // no medium question: part 1 is not safe to take out
  EXPECT_EQ(rig.frontEnd.questions[0].text,
            "An error occured while writing the file /t/movie1.avi.\nSystem text 5.\n\n\nCheck the file and "
            "try again.");
  EXPECT_FALSE(rig.files.Exists("/t/movie2.avi"));
  rig.ExpectEnding();
}

TEST(SplitLoopTest, FailingStatusLineIsReportedAtTheEndOfThePass) {
  Rig rig(10000, 3000, 1000);
  rig.frontEnd.beforeSetter = [](const std::string& op) {
    if (op == "SetStatus2") throw std::runtime_error("The label is gone.");
  };
  EXPECT_EQ(rig.Run().outcome, SplitResult::Outcome::Failed);
  // The pass went on: part 1 was created and got its first block.
  EXPECT_EQ(rig.PartSizes(), std::vector<std::uint64_t>{1000});
  ASSERT_EQ(rig.frontEnd.questions.size(), 1u);
  EXPECT_EQ(rig.frontEnd.questions[0].text,
            "The following error occured while processing the file /t/movie1.avi:\nThe label is gone.\n\n"
            "Contact the technical support at " +
                std::string(kWebAddress) + " to get help.");
  rig.ExpectEnding();
}

}  // namespace
}  // namespace vornak
