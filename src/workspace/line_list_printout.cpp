#include "workspace/line_list_printout.h"

#include <filesystem>

#include "circuit/report.h"

namespace vst {

PageDescription LineListPrintout(const LineListModel& model, std::time_t now) {
  TablePrintout table;
  table.name = std::filesystem::path(model.path()).filename().string();
  for (const LineColumn& c : model.columns()) table.captions.push_back(c.caption);
  table.rows.reserve(static_cast<std::size_t>(model.rowCount()));
  for (int r = 0; r < model.rowCount(); ++r) {
    std::vector<std::string> cells;
    cells.reserve(model.columns().size());
    for (int c = 0; c < model.columnCount(); ++c) cells.push_back(model.cellText(r, c));
    table.rows.push_back(std::move(cells));
  }
  return LineListPage(BillPrintHeader(now), table);
}

}  // namespace vst
