// The split loop on the real file system, including a medium swap on private
// tmpfs mounts.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "fileservices/posix/PosixFileInterface.h"
#include "split/HeadlessFrontEnd.h"
#include "split/SplitLoop.h"
#include "support/TempDir.h"

namespace vornak {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

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

// A real split of source into folder, parts named movie<n>.avi.
struct PosixRig {
  PosixFileInterface files;
  HeadlessFrontEnd frontEnd;
  std::vector<char> buffer;
  SplitJob job;

  PosixRig(const std::string& source, const std::string& folder, double partSize, std::size_t bufferSize)
      : buffer(bufferSize) {
    job.sourcefile = source;
    job.FileSize = static_cast<double>(fs::file_size(source));
    job.partsize = partSize;
    PlanTarget(job.target, source, job.FileSize, partSize);
    job.target.savepath = job.target.savedrive = folder;
    job.target.saveftitle = "movie";
    job.target.savefext = "avi";
    job.buffer = buffer.data();
    job.buffersize = bufferSize;
  }
  SplitResult Run() {
    EXPECT_EQ(files.OpenRead(job.sourcefile, job.source), 0);
    return RunSplitLoop(job, files, frontEnd);
  }
  std::string Joined(const std::string& folder) const {
    std::string joined;
    for (std::int32_t i = 1; i <= job.target.savefcount; ++i)
      joined += ReadAll(folder + "/movie" + std::to_string(i) + ".avi");
    return joined;
  }
  void ExpectEnding() const {
    EXPECT_EQ(frontEnd.unloads, 1);
    EXPECT_TRUE(frontEnd.mainEnabled);
    EXPECT_EQ(frontEnd.mainStatus, std::vector<std::string>{"Done."});
  }
};

TEST(SplitPosixTest, TargetFolderThatDisappearsBeforePartTwo) {
  TempDir dir;
  const std::string content = RandomBytes(10000);
  const std::string source = dir.WriteFile("source.bin", content);
  const std::string target = dir.MakeFolder("stick");
  PosixRig rig(source, target, 4000, 1000);
  rig.job.target.savedrive = dir.Path();  // the volume stays; its folder goes
  rig.frontEnd.onYield = [&] {
    if (rig.frontEnd.yields == 4) fs::rename(target, dir.Join("pulled"));
  };
  EXPECT_EQ(rig.Run().outcome, SplitResult::Outcome::Failed);
  ASSERT_EQ(rig.frontEnd.questions.size(), 1u);
  EXPECT_EQ(rig.frontEnd.questions[0].text, "Cannot open the file " + target + "/movie2.avi.\n" +
                                                rig.files.ErrorText(ENOENT) +
                                                "\n\nCheck the file and try again.");
  EXPECT_EQ(ReadAll(dir.Join("pulled/movie1.avi")), content.substr(0, 4000));
  EXPECT_EQ(ReadAll(source), content);
  rig.ExpectEnding();
}

TEST(SplitPosixTest, PartThatIsTheSourceIsNeverCreated) {
  enum Kind { Itself, Symlink, HardLink };
  for (const auto& [kind, saveoverwrite] : {std::pair{Itself, 0}, {Itself, 1}, {Symlink, 1}, {HardLink, 1}}) {
    SCOPED_TRACE(testing::Message() << kind << " " << saveoverwrite);
    TempDir dir;
    const std::string content = RandomBytes(5000);
    const std::string source = dir.WriteFile("movie2.avi", content);
    const std::string folder = kind == Itself ? dir.Path() : dir.MakeFolder("out");
    if (kind == Symlink) fs::create_symlink(source, folder + "/movie2.avi");
    if (kind == HardLink) fs::create_hard_link(source, folder + "/movie2.avi");
    PosixRig rig(source, folder, 2000, 1000);
    rig.job.target.saveoverwrite = static_cast<std::int16_t>(saveoverwrite);
    EXPECT_EQ(rig.Run().outcome, SplitResult::Outcome::Failed);
    ASSERT_EQ(rig.frontEnd.questions.size(), 1u);
    EXPECT_EQ(rig.frontEnd.questions[0].text, "Cannot open the file " + folder +
                                                  "/movie2.avi.\nThis is the file being split.\n\n\n"
                                                  "Check the file and try again.");
    EXPECT_EQ(ReadAll(source), content);
    EXPECT_EQ(fs::file_size(folder + "/movie1.avi"), 2000u);
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
  const SplitResult result = rig.Run();
  collect();
  umount(medium.c_str());
  if (result.outcome != SplitResult::Outcome::Completed) return 14;
  if (swaps != 2 || result.partsCreated != 3) return 15;
  return rig.Joined(root + "/collected") == ReadAll(root + "/source.bin") ? 0 : 16;
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
  EXPECT_EQ(fs::file_size(dir.Join("collected/movie3.avi")), 500u * 1024);
}

}  // namespace
}  // namespace vornak
