// The clock texts the windows and printouts show: the time as "h:mma/p"
// (2:05p) and the medium date (08-Dec-26).
#pragma once

#include <ctime>
#include <string>

namespace vst {

std::string ClockTime(const std::tm& local);
std::string MediumDate(const std::tm& local);

// The local time of `now`; false when the platform cannot convert it.
bool LocalTime(std::time_t now, std::tm& local);

}  // namespace vst
