#include <gtest/gtest.h>

#include "target/TargetRecord.h"

namespace vornak {
namespace {

TEST(TargetRecordTest, CounterWidthFollowsThePartCount) {
  struct Row {
    std::int32_t count;
    const char* pattern;
    const char* first;
    const char* last;
  };
  const Row rows[] = {
      {2, "0", "1", "2"},
      {9, "0", "1", "9"},
      {10, "00", "01", "10"},
      {99, "00", "01", "99"},
      {100, "000", "001", "100"},
      {999, "000", "001", "999"},
      {1000, "0000", "0001", "1000"},
      {32736, "00000", "00001", "32736"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.count);
    const std::string pattern = CounterPattern(row.count);
    EXPECT_EQ(pattern, row.pattern);
    EXPECT_EQ(CounterText(1, pattern), row.first);
    EXPECT_EQ(CounterText(row.count, pattern), row.last);
  }
}

TEST(TargetRecordTest, PlanNamesThePartsAfterTheSource) {
  struct Row {
    const char* source;
    double fileSize;
    double partSize;
    std::int32_t count;
    const char* savepath;
    const char* saveftitle;
  };
  const Row rows[] = {
      {"/data/movie.avi", 12000, 1000, 12, "/data", "movie.avi"},
      {"/data/movie.avi", 9000, 1000, 9, "/data", "movie.avi"},
      {"/data/movie.avi", 99001, 1000, 100, "/data", "movie.avi"},
      {"/movie.avi", 10000, 3000, 4, "/", "movie.avi"},
      {"/data/archive.tar.gz", 2, 1, 2, "/data", "archive.tar.gz"},
      {"/data/noext", 327360, 10, 32736, "/data", "noext"},
      {"/data/.avi", 5, 2, 3, "/data", ".avi"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.source);
    TargetRecord record;
    PlanTarget(record, row.source, row.fileSize, row.partSize);
    EXPECT_EQ(record.savefcount, row.count);
    EXPECT_EQ(record.saveformat, CounterPattern(row.count));
    EXPECT_EQ(record.savepath, row.savepath);
    EXPECT_EQ(record.saveftitle, row.saveftitle);
  }
}

TEST(TargetRecordTest, PlanKeepsAChosenFolderAndSetsTheNameAfresh) {
  TargetRecord record;
  record.savepath = "/media/stick";
  record.saveftitle = "old";
  record.savefext = "avi";
  PlanTarget(record, "/elsewhere/other.bin", 4294967297.0, 4294967295.0);
  EXPECT_EQ(record.savepath, "/media/stick");
  EXPECT_EQ(record.saveftitle, "other.bin");
  EXPECT_EQ(record.savefext, "avi");
  EXPECT_EQ(record.savefcount, 2);
}

TEST(TargetRecordTest, PlanIsExactAtTheLimitOfDoubles) {
  TargetRecord record;
  const double two53 = 9007199254740992.0;
  PlanTarget(record, "/big", two53, two53 / 4096);
  EXPECT_EQ(record.savefcount, 4096);
  PlanTarget(record, "/big", two53, two53 / 4096 - 1);
  EXPECT_EQ(record.savefcount, 4097);
}

TEST(TargetRecordTest, PartPathJoinsFolderTitleCounterAndExtension) {
  struct Row {
    const char* savepath;
    const char* saveftitle;
    const char* savefext;
    const char* saveformat;
    std::int32_t i;
    const char* path;
  };
  const Row rows[] = {
      {"/data", "movie", "avi", "00", 1, "/data/movie01.avi"},
      {"/data", "movie", "avi", "00", 12, "/data/movie12.avi"},
      {"/", "movie", "avi", "00", 1, "/movie01.avi"},
      {"/data", "backup", "", "00", 3, "/data/backup03."},
      {"/data", "archive.tar", "gz", "0", 7, "/data/archive.tar7.gz"},
      {"/data", "movie", "avi", "00000", 32736, "/data/movie32736.avi"},
  };
  for (const Row& row : rows) {
    TargetRecord record;
    record.savepath = row.savepath;
    record.saveftitle = row.saveftitle;
    record.savefext = row.savefext;
    record.saveformat = row.saveformat;
    EXPECT_EQ(PartPath(record, row.i), row.path);
  }
}

TEST(TargetRecordTest, PreviewTakesTheExtensionFromTheFieldOrTheRecord) {
  struct Row {
    const char* field;
    const char* savefext;
    const char* name;
  };
  const Row rows[] = {
      {"movie.avi", "", "movie01.avi"},
      {"backup.zip", "avi", "backup01.zip"},
      {"backup", "", "backup01."},
      {"backup", "avi", "backup01.avi"},
      {"archive.tar.gz", "", "archive.tar01.gz"},
      {"movie.", "avi", "movie01.avi"},
      {".avi", "", "01.avi"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.field);
    TargetRecord record;
    record.savefext = row.savefext;
    record.saveformat = "00";
    EXPECT_EQ(PreviewName(row.field, record, 1), row.name);
  }
}

}  // namespace
}  // namespace vornak
