// The verbs of vantrel-design: design a line list, show a design file,
// print the ratings table. Results go to standard output or -o OUTPUT,
// messages to standard error; the return value is the exit status
// (kExitAllDesigned, ... in batch/command_line.h).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "batch/bill_output.h"

namespace vst {

// What the program around the command supplies.
struct CommandEnvironment {
  std::string version;      // printed by --version
  std::string programPath;  // argv[0]: the design file template is found beside the program
  PdfRenderer pdf;          // draws printouts; empty in a build without the renderer
};

// The folder of the running program, where its companion files lie: the
// target of /proc/self/exe (a link on the PATH names it), else the folder of
// `argv0` when the system has no /proc.
std::filesystem::path ProgramFolder(const std::string& argv0);

// Runs the command given by the arguments that follow the program name.
int RunDesignCommand(const std::vector<std::string>& args, const CommandEnvironment& env);

}  // namespace vst
