// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "destination/TargetRecord.h"
#include "fileservices/Filenames.h"
#include "support/FakeFileInterface.h"

namespace {

using namespace vornak;

TEST(TargetRecordTest, PlanNamesThePartsAfterTheSource) {
  // source, file size, part size -> partCount, folder, first part path, written with "/" for the
  // platform's separator. A drive's root is written "C:" on Windows: "\x" has no folder there.
  const auto p = test::onPlatform;
  const std::string kRoot = Filenames::kSeparator == '/' ? "/" : "";
  const std::tuple<std::string, double, double, std::int32_t, std::string, std::string> rows[] = {
      {p("/data/movie.avi"), 12000, 1000, 12, p("/data"), p("/data/movie01.avi")},
      {p("/data/movie.avi"), 99001, 1000, 100, p("/data"), p("/data/movie001.avi")},
      {p("/movie.avi"), 10000, 3000, 4, kRoot, p("/movie1.avi")},
      {p("/data/archive.tar.gz"), 2, 1, 2, p("/data"), p("/data/archive.tar1.gz")},
      {p("/data/noext"), 327360, 10, 32736, p("/data"), p("/data/noext00001.")},
      {p("/big"), 9007199254740992.0, 2199023255552.0 - 1, 4097, kRoot, p("/big0001.")}};
  for (const auto& [source, fileSize, partSize, count, folder, first] : rows) {
    TargetRecord record;
    planTarget(record, source, fileSize, partSize);
    EXPECT_EQ(std::tie(record.partCount, record.folder, record.baseName),
              std::tuple(count, folder, Filenames::getFilename(source)));
    record.baseName = Filenames::stripExtension(record.baseName);
    record.extension = Filenames::getExtension(source);
    EXPECT_EQ(partPath(record, 1), first) << source;
  }
  TargetRecord record;  // a chosen folder and extension stay, the name is set afresh
  record.folder = "/media/stick", record.baseName = "old", record.extension = "avi";
  planTarget(record, p("/elsewhere/other.bin"), 4294967297.0, 4294967295.0);
  EXPECT_EQ(std::tie(record.folder, record.baseName, record.extension),
            std::make_tuple("/media/stick", "other.bin", "avi"));
}

}  // namespace
