#include "core/clock_text.h"

#include <algorithm>
#include <array>

namespace vst {

std::string ClockTime(const std::tm& t) {
  const int hour = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
  std::string minutes = std::to_string(t.tm_min);
  if (minutes.size() < 2) minutes.insert(0, "0");
  return std::to_string(hour) + ":" + minutes + (t.tm_hour < 12 ? "a" : "p");
}

std::string MediumDate(const std::tm& t) {
  static const std::array<const char*, 12> months{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  auto two = [](int v) {
    std::string s = std::to_string(v % 100);
    return s.size() < 2 ? "0" + s : s;
  };
  const int month = std::clamp(t.tm_mon, 0, 11);
  return two(t.tm_mday) + "-" + months[static_cast<std::size_t>(month)] + "-" + two(t.tm_year + 1900);
}

bool LocalTime(std::time_t now, std::tm& local) { return localtime_r(&now, &local) != nullptr; }

}  // namespace vst
