// The files the program reads from its own folder (the folder of its
// executable): the design file template and the Applications panel
// pictures. An installation is complete when none of them is missing.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vst {

// File names, each once, in a fixed order.
std::vector<std::string> ProgramFiles();

// The names of ProgramFiles() that are not files in `programFolder`.
std::vector<std::string> MissingProgramFiles(const std::filesystem::path& programFolder);

}  // namespace vst
