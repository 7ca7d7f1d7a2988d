// SPDX-License-Identifier: GPL-3.0-or-later
// Splits with range copies on real file systems, each a loop image of its own
// in a private mount namespace (skipped elsewhere, and where its mkfs is
// missing): the parts join to the source, and where the file system shares
// blocks they take almost no room.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "fileservices/Filenames.h"
#include "fileservices/posix/PosixFileInterface.h"
#include "split/HeadlessFrontEnd.h"
#include "split/SplitLoop.h"
#include "support/Media.h"
#include "support/TempDir.h"

namespace vornak {
namespace {

constexpr double kMiB = 1 << 20;

struct FileSystem {
  const char* type;
  bool sharesBlocks;
};

class RangeCopyOnMedia : public ::testing::TestWithParam<FileSystem> {};

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST_P(RangeCopyOnMedia, PartsJoinToTheSource) {
  const auto [type, sharesBlocks] = GetParam();
  if (!test::PrivateMounts()) GTEST_SKIP() << "needs a private mount namespace";
  if (std::system(("command -v mkfs." + std::string(type) + " >/dev/null").c_str()) != 0)
    GTEST_SKIP() << "no mkfs." << type;
  test::TempDir dir;
  const std::string image = dir.join("image"), medium = dir.makeFolder("medium");
  ASSERT_EQ(std::system(("truncate -s 320M " + image + " && mkfs." + type + " -q " + image +
                         " >/dev/null && mount -o loop " + image + " " + medium)
                            .c_str()),
            0);
  std::string content(24 << 20, '\0');
  std::mt19937_64 random(7);
  for (std::size_t i = 0; i < content.size(); i += 8) {
    const std::uint64_t word = random();
    std::memcpy(&content[i], &word, 8);
  }
  const std::string source = medium + "/film.mkv";
  std::ofstream(source, std::ios::binary) << content;

  PosixFileInterface& files = systemFileInterface();
  ASSERT_EQ(files.syncFileSystem(medium), 0);
  const double freeBefore = files.freeSpace(medium);
  SplitJob job;
  job.sourcePath = source;
  job.fileSize = double(content.size());
  job.partSize = 4 * kMiB;
  planTarget(job.target, source, job.fileSize, job.partSize);
  job.target.folder = job.target.drive = medium;
  job.target.baseName = "film";
  job.target.extension = "mkv";
  CopyBuffer buffer = allocateCopyBuffer(4096);
  job.buffer = buffer.get();
  job.bufferSize = 4096;
  ASSERT_EQ(files.openRead(source, job.source), 0);
  HeadlessFrontEnd frontEnd;
  const SplitResult result = runSplitLoop(job, files, frontEnd);
  EXPECT_EQ(result.outcome, SplitResult::Outcome::Completed);
  ASSERT_EQ(result.partsCreated, 6);

  std::string joined;
  for (int n = 1; n <= 6; ++n) joined += readAll(partPath(job.target, n));
  EXPECT_TRUE(joined == content) << "the parts differ from the source";
  ASSERT_EQ(files.syncFileSystem(medium), 0);
  const double used = freeBefore - files.freeSpace(medium);
  if (sharesBlocks) {
    EXPECT_LT(used, 2 * kMiB) << "the parts do not share the source's blocks";
  }
  test::unmount(medium);
}

INSTANTIATE_TEST_SUITE_P(Types, RangeCopyOnMedia,
                         ::testing::Values(FileSystem{"btrfs", true}, FileSystem{"xfs", true},
                                           FileSystem{"ext4", false}),
                         [](const auto& info) { return std::string(info.param.type); });

}  // namespace
}  // namespace vornak
