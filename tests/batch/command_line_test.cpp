#include "batch/command_line.h"

#include <gtest/gtest.h>

namespace vst {
namespace {

// Option values are compared in lower case without blanks; file names are
// used exactly as written, and --summary names a file only for design.
TEST(CommandLine, ValuesAreFoldedFileNamesKeptAndSummaryDependsOnTheVerb) {
  auto c = ParseCommandLine({"design", "In.CSV", "--units", "Eng lish", "--format", "JSON", "-o", "Out.Json",
                             "--summary", "Sum.XLSX", "--save", "My Set.mdb"});
  ASSERT_EQ(c.action, CommandAction::Run) << c.problem;
  EXPECT_EQ(c.command.input, "In.CSV");
  EXPECT_EQ(c.command.units, "english");
  EXPECT_EQ(c.command.format, "json");
  EXPECT_EQ(c.command.output, "Out.Json");
  EXPECT_EQ(c.command.summaryFile, "Sum.XLSX");
  EXPECT_EQ(c.command.save, "My Set.mdb");
  EXPECT_FALSE(c.command.bills.summary);

  c = ParseCommandLine({"show", "-", "--summary", "--pdf", "A.pdf"});
  ASSERT_EQ(c.action, CommandAction::Run) << c.problem;
  EXPECT_EQ(c.command.input, "-");
  EXPECT_TRUE(c.command.bills.summary);
  EXPECT_EQ(c.command.bills.pdf, "A.pdf");
}

TEST(CommandLine, TheFirstProblemIsTheOneReported) {
  const struct {
    std::vector<std::string> args;
    CommandAction action;
    const char* problem;
  } cases[] = {
      {{}, CommandAction::UsageError, "no command given"},
      {{"-h"}, CommandAction::Help, ""},
      {{"--version", "x"}, CommandAction::Version, ""},
      {{"Design"}, CommandAction::UsageError, "unknown command Design"},
      {{"design", "a.csv", "--Units", "metric"}, CommandAction::UsageError, "unknown option --Units"},
      {{"design", "a.csv", "b.csv", "--bogus"}, CommandAction::UsageError, "more than one input file: b.csv"},
      {{"show", "a.mdb", "--bill"}, CommandAction::UsageError, "option --bill needs a value"},
  };
  for (const auto& k : cases) {
    const auto c = ParseCommandLine(k.args);
    EXPECT_EQ(c.action, k.action) << k.problem;
    EXPECT_EQ(c.problem, k.problem);
  }
}

// A usage error shows the usage lines of its verb alone (all of them when
// the verb is not known), never the whole help.
TEST(CommandLine, UsageLinesAreThoseOfTheVerb) {
  const struct {
    const char* verb;
    std::vector<const char*> shown;
    std::vector<const char*> notShown;
  } cases[] = {
      {"show",
       {"usage: vantrel-design show FILE.mdb", "--bill N|--summary [--pdf OUT.pdf] [--xlsx OUT.xlsx]"},
       {"design LIST.csv", "ratings", "--help | --version"}},
      {"lists", {"usage: vantrel-design lists", "[--format text|json]"}, {"show FILE.mdb"}},
      {"",
       {"usage: vantrel-design design LIST.csv", "vantrel-design ratings",
        "vantrel-design --help | --version"},
       {}},
      {"Design", {"usage: vantrel-design design LIST.csv", "vantrel-design lists"}, {}},
  };
  for (const auto& c : cases) {
    const std::string lines = CommandUsageLines(c.verb);
    for (const char* text : c.shown) EXPECT_NE(lines.find(text), std::string::npos) << c.verb << ": " << text;
    for (const char* text : c.notShown)
      EXPECT_EQ(lines.find(text), std::string::npos) << c.verb << ": " << text;
    EXPECT_EQ(lines.find("Exit status"), std::string::npos);
  }
  EXPECT_EQ(CommandHelp().find(CommandUsageLines("")), 0u);
  const auto parsed = ParseCommandLine({"lists", "--units", "Metric"});
  EXPECT_TRUE(parsed.command.unitsGiven);
  EXPECT_FALSE(parsed.command.modeGiven || parsed.command.formatGiven);
}

}  // namespace
}  // namespace vst
