#include "core/recovery_record.h"

#include <gtest/gtest.h>

namespace quolvi {
namespace {

TEST(RecoveryRecordTest, EveryRecordReadsBackAndNothingElseReadsAsOne) {
  const RecoveryRecord records[] = {
      {"C:\\表\\a.txt", "line\r\npath=\r\nlength=1\r\n\x80\x95"},  // a record's words in the text, stray bytes
      {"", "untitled"},
      {"", ""},
  };
  for (const RecoveryRecord& record : records) {
    const std::string bytes = RecoveryFileBytes(record.path, record.text);
    std::optional<RecoveryRecord> read = ReadRecoveryFile(bytes);
    ASSERT_TRUE(read) << record.text;
    EXPECT_EQ(read->path, record.path);
    EXPECT_EQ(read->text, record.text);
    // Cut short anywhere, or with a byte more, it is no record.
    for (std::size_t size = 0; size < bytes.size(); ++size) EXPECT_FALSE(ReadRecoveryFile(bytes.substr(0, size)));
    EXPECT_FALSE(ReadRecoveryFile(bytes + "x"));
  }
  for (const char* other : {"", "plain text", "Quolvi recovery 1\r\npath=\r\nlength=+1\r\nx",
                            "Quolvi recovery 1\r\npath=\r\nlength=99999999999999999999\r\n",
                            "Quolvi recovery 2\r\npath=\r\nlength=0\r\n"}) {
    EXPECT_FALSE(ReadRecoveryFile(other)) << other;
  }
}

}  // namespace
}  // namespace quolvi
