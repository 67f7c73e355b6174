// The files the program reads from its own folder (the folder of its
// executable): the design file template, the help books, the Applications
// panel pictures and the folder of the product documents. An installation
// is complete when none of them is missing.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vst {

// Names in the program's folder ("stdata.mdb", "PDF Files"), each once, in a
// fixed order.
std::vector<std::string> ProgramFiles();

// The names of ProgramFiles() that are not in `programFolder`.
std::vector<std::string> MissingProgramFiles(const std::filesystem::path& programFolder);

}  // namespace vst
