#include "batch/atomic_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vst {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int Temporaries(const fs::path& folder) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(folder)) n += e.path().extension() == ".tmp";
  return n;
}

TEST(AtomicOutput, TheTargetChangesOnlyWhenTheNewTextIsComplete) {
  const fs::path folder = fs::path(::testing::TempDir()) / "atomic_output_test";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path target = folder / "out.json";
  std::ofstream(target) << "previous";
  {
    AtomicOutput out;  // abandoned: never committed
    ASSERT_TRUE(out.open(target.string())) << out.error();
    out << std::string(200000, 'x');
    EXPECT_EQ(Read(target), "previous");
  }
  EXPECT_EQ(Read(target), "previous");
  EXPECT_EQ(Temporaries(folder), 0);

  AtomicOutput out;
  ASSERT_TRUE(out.open(target.string())) << out.error();
  out << "new " << std::string(100000, 'y');
  EXPECT_EQ(Read(target), "previous");
  ASSERT_TRUE(out.commit()) << out.error();
  EXPECT_EQ(Read(target).substr(0, 4), "new ");
  EXPECT_EQ(Read(target).size(), 100004u);
  EXPECT_EQ(Temporaries(folder), 0);

  AtomicOutput missing;
  EXPECT_FALSE(missing.open((folder / "no such folder" / "out.json").string()));
  EXPECT_NE(missing.error().find("cannot write"), std::string::npos) << missing.error();
  fs::remove_all(folder);
}

}  // namespace
}  // namespace vst
