#include "core/quoted_value.h"

#include <gtest/gtest.h>

#include <string>

namespace vst {
namespace {

TEST(QuotedValue, KeepsSixtyCharactersThenEllipsisNeverCuttingACharacter) {
  const std::string sixty(60, 'a');
  const std::string degrees60 = [] {
    std::string s;
    for (int i = 0; i < 60; ++i) s += "\xC2\xB0";  // two bytes each
    return s;
  }();
  struct Case {
    std::string value;
    std::string quoted;
  };
  const Case cases[] = {
      {"", "\"\""},
      {"hot", "\"hot\""},
      {sixty, "\"" + sixty + "\""},
      {sixty + "b", "\"" + sixty + "...\""},
      {std::string(1 << 20, 'x'), "\"" + std::string(60, 'x') + "...\""},
      {degrees60, "\"" + degrees60 + "\""},
      {degrees60 + "\xC2\xB0", "\"" + degrees60 + "...\""},
  };
  for (const Case& c : cases) EXPECT_EQ(QuotedValue(c.value), c.quoted) << c.value.substr(0, 70);
}

}  // namespace
}  // namespace vst
