#include <gtest/gtest.h>

#include <cstring>

#include "fileservices/Filenames.h"
#include "target/TargetRecord.h"

namespace {

using namespace vornak;

TEST(TargetRecordTest, CounterWidthFollowsThePartCount) {
  const std::pair<std::int32_t, const char*> rows[] = {{2, "0"},       {9, "0"},        {10, "00"},
                                                       {99, "00"},     {100, "000"},    {999, "000"},
                                                       {1000, "0000"}, {32736, "00000"}};
  for (const auto& [count, pattern] : rows) {
    EXPECT_EQ(CounterPattern(count), pattern) << count;
    EXPECT_EQ(CounterText(count, pattern), std::to_string(count));
    EXPECT_EQ(CounterText(1, pattern), std::string(std::strlen(pattern) - 1, '0') + "1");
  }
}

TEST(TargetRecordTest, PlanNamesThePartsAfterTheSource) {
  struct Row {
    const char* source;
    double fileSize, partSize;
    std::int32_t count;
    const char *savepath, *first;
  };
  const Row rows[] = {{"/data/movie.avi", 12000, 1000, 12, "/data", "/data/movie01.avi"},
                      {"/data/movie.avi", 99001, 1000, 100, "/data", "/data/movie001.avi"},
                      {"/movie.avi", 10000, 3000, 4, "/", "/movie1.avi"},
                      {"/data/archive.tar.gz", 2, 1, 2, "/data", "/data/archive.tar1.gz"},
                      {"/data/noext", 327360, 10, 32736, "/data", "/data/noext00001."},
                      {"/big", 9007199254740992.0, 2199023255552.0 - 1, 4097, "/", "/big0001."}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.source);
    TargetRecord record;
    PlanTarget(record, r.source, r.fileSize, r.partSize);
    EXPECT_EQ(record.savefcount, r.count);
    EXPECT_EQ(record.savepath, r.savepath);
    EXPECT_EQ(record.saveftitle, Filenames::GetFilename(r.source));
    record.saveftitle = Filenames::StripExtension(record.saveftitle);
    record.savefext = Filenames::GetExtension(r.source);
    EXPECT_EQ(PartPath(record, 1), r.first);
  }
  TargetRecord record;  // a chosen folder and extension stay, the name is set afresh
  record.savepath = "/media/stick", record.saveftitle = "old", record.savefext = "avi";
  PlanTarget(record, "/elsewhere/other.bin", 4294967297.0, 4294967295.0);
  EXPECT_EQ(std::tie(record.savepath, record.saveftitle, record.savefext),
            std::make_tuple("/media/stick", "other.bin", "avi"));
}

TEST(TargetRecordTest, PreviewTakesTheExtensionFromTheFieldOrTheRecord) {
  // clang-format off
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"movie.avi", "", "movie01.avi"}, {"backup.zip", "avi", "backup01.zip"}, {"backup", "", "backup01."},
      {"backup", "avi", "backup01.avi"}, {"archive.tar.gz", "", "archive.tar01.gz"}, {"movie.", "avi", "movie01.avi"},
      {".avi", "", "01.avi"}};
  // clang-format on
  for (const auto& [field, savefext, name] : rows) {
    TargetRecord record;
    record.savefext = savefext, record.saveformat = "00";
    EXPECT_EQ(PreviewName(field, record, 1), name) << field;
  }
}

}  // namespace
