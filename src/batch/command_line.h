// The command line of vantrel-design: its verbs and options as written, and
// the usage text that describes them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/bill_output.h"

namespace vst {

// Exit statuses of vantrel-design.
inline constexpr int kExitAllDesigned = 0;
inline constexpr int kExitFileError = 1;
inline constexpr int kExitUsageError = 2;
inline constexpr int kExitRowsNotDesigned = 3;

// The options of one run as written. Option values are lower-cased with
// their blanks removed ("English" is "english"); file names stay as given.
// Which verb takes which option is checked when the verb runs.
struct CommandLine {
  std::string verb;    // "design", "show", "ratings" or "lists"
  std::string input;   // the line list or design file; "-" is standard input
  std::string output;  // -o OUTPUT; empty for standard output
  std::string format = "json";
  std::string save;  // --save NAME.mdb
  std::string units = "english";
  std::string mode = "standard";
  std::string pressure;  // --pressure-unit; empty when not given
  std::string sizing = "standard";
  bool strict = false;
  BillShowRequest bills;    // show --summary, --pdf and --xlsx
  std::string billRecord;   // --bill N as written
  std::string summaryFile;  // design --summary OUT
  bool circuitList = false;
  std::string jobs;  // --jobs N as written; empty: one thread per core
  // design: the sheet of a workbook (--sheet NAME|N, as written), the row
  // of its headings (--header-row N), the column map to read (--columns)
  // and the one to write (--write-columns).
  std::string sheet;
  std::string headerRow;
  std::string columnsFile;
  std::string writeColumns;
  // Whether --units, --mode and --format were given (`lists` shows both
  // unit systems and modes, as text, unless told).
  bool unitsGiven = false;
  bool modeGiven = false;
  bool formatGiven = false;
};

enum class CommandAction { Run, Help, Version, UsageError };

struct ParsedCommandLine {
  CommandAction action = CommandAction::Run;
  std::string problem;  // UsageError: what is wrong ("unknown option --x")
  CommandLine command;
};

// Reads the arguments that follow the program name; stops at the first
// problem.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The values of --units and --mode, and what a wrong one is told.
std::optional<UnitSystem> UnitsOption(const std::string& value);
std::optional<bool> InternalModeOption(const std::string& value);  // "internal": true
inline constexpr const char* kUnitsProblem = "--units must be english or metric";
inline constexpr const char* kModeProblem = "--mode must be standard or internal";

// The usage lines of a verb ("design", ...; every verb's and --help's when
// the verb is empty or unknown), beginning "usage: ".
std::string CommandUsageLines(const std::string& verb);
// What a usage error ends with, after the verb's usage lines.
inline constexpr const char* kHelpHint = "Run 'vantrel-design --help' for the options.";
// The whole --help text: the usage lines, every verb and option, the exit
// statuses and the line list columns.
std::string CommandHelp();
// The columns of a line list with their units and defaults, for --help.
std::string LineListColumnHelp();

}  // namespace vst
