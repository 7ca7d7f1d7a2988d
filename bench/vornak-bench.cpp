// SPDX-License-Identifier: GPL-3.0-or-later
// Splits one real file with the real engine and reports the throughput:
//   vornak-bench [--through-buffer] SOURCE PART_SIZE TARGET_FOLDER [BUFFER_SIZE]
// PART_SIZE is read like the part-size entry ("100 MB", "64KB", "1000000").
// The engine lets the system copy (range copies) where it can; with
// --through-buffer every byte goes through the buffer instead.
// Existing parts are replaced; the parts are named after the source.
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "fileservices/Filenames.h"
#include "fileservices/HugeFileFunctions.h"
#include "fileservices/posix/PosixFileInterface.h"
#include "parts/PartSize.h"
#include "split/HeadlessFrontEnd.h"
#include "split/SplitLoop.h"

int main(int argc, char** argv) {
  using namespace vornak;
  const bool throughBuffer = argc > 1 && std::string(argv[1]) == "--through-buffer";
  if (throughBuffer) {
    --argc;
    ++argv;
  }
  if (argc < 4 || argc > 5) {
    std::fprintf(stderr,
                 "usage: vornak-bench [--through-buffer] SOURCE PART_SIZE TARGET_FOLDER [BUFFER_SIZE]\n");
    return 2;
  }
  const std::string source = argv[1];
  // Absolute, so that the free space is measured on the volume of the folder
  // itself; the working folder stays where it is.
  std::error_code error;
  std::string folder = std::filesystem::absolute(argv[3], error).lexically_normal().string();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  const double partSize = getPartSize(argv[2], '.');
  const long bufferSize = argc == 5 ? std::strtol(argv[4], nullptr, 10) : 4096;
  const double fileSize = HugeFileFunctions::getHugeFileSize(source);
  if (fileSize < 0 || partSize < 1 || bufferSize < 1 || bufferSize > 0x7fffffff) {
    std::fprintf(stderr,
                 "vornak-bench: need a readable source, a valid part size and a buffer of 1 or more bytes\n");
    return 2;
  }

  SplitJob job;
  job.sourcePath = source;
  job.fileSize = fileSize;
  job.partSize = partSize;
  planTarget(job.target, source, fileSize, partSize);
  job.target.folder = folder;
  job.target.drive = Filenames::getFolderDrive(folder);
  // The name alone: a dot in a folder of the path is no extension.
  const std::string name = Filenames::getFilename(source);
  job.target.baseName = Filenames::getTitle(name);
  job.target.extension = Filenames::getExtension(name);
  job.target.overwriteAll = 1;
  CopyBuffer buffer = allocateCopyBuffer(static_cast<std::size_t>(bufferSize));
  if (!buffer) {
    std::fprintf(stderr, "vornak-bench: no memory for a buffer of %ld bytes\n", bufferSize);
    return 1;
  }
  job.buffer = buffer.get();
  job.bufferSize = static_cast<std::size_t>(bufferSize);
  job.rangeCopy = !throughBuffer;

  PosixFileInterface& files = systemFileInterface();
  HeadlessFrontEnd frontEnd;
  frontEnd.recordAll = false;
  // VORNAK_BENCH_QT_YIELD=1: every yield also runs the Qt event loop once, as
  // the desktop's progress window does.
  std::unique_ptr<QCoreApplication> application;
  if (const char* qt = std::getenv("VORNAK_BENCH_QT_YIELD"); qt != nullptr && *qt == '1') {
    application = std::make_unique<QCoreApplication>(argc, argv);
    frontEnd.onYield = [] { QCoreApplication::processEvents(); };
  }
  if (const int code = files.openRead(source, job.source)) {
    std::fprintf(stderr, "vornak-bench: %s: %s", source.c_str(), files.errorText(code).c_str());
    return 1;
  }
  std::printf("into %s on %s\n", folder.c_str(), job.target.drive.c_str());
  const auto start = std::chrono::steady_clock::now();
  const SplitResult result = runSplitLoop(job, files, frontEnd);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (const Message& message : frontEnd.questions) std::fprintf(stderr, "%s\n", message.text.c_str());
  std::printf("parts %d bytes %.0f seconds %.3f MB/s %.1f\n", result.partsCreated, result.bytesDone, seconds,
              result.bytesDone / kMB / seconds);
  return result.outcome == SplitResult::Outcome::Completed ? 0 : 1;
}
