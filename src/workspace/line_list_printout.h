// The Line List window's printout: its table, every row in the list's order
// whatever the filter shows, as the page layout of reports/ draws it.
#pragma once

#include <ctime>

#include "reports/line_list_printout.h"
#include "workspace/line_list_model.h"

namespace vst {

PageDescription LineListPrintout(const LineListModel& model, std::time_t now);

}  // namespace vst
