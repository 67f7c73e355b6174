#include "batch/row_pipeline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vst {
namespace {

// A list long enough for many chunks: rows that design, rows the checks
// correct and rows that are refused, mixed.
CsvTable LongList(int rows) {
  std::string text =
      "CIRTXT,MAXAMB,MINAMB,MAINTEMP,MAXEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,"
      "TRACEINS,TRACETUB,TUBEMAT\n";
  const char* kinds[] = {"Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper",
                         "Calcium Silicate,2.0,6.0,300,2,300,YJ-2,3/8,Copper",
                         "Glass Wool,1.0,2.0,100,1,50,Troughline,3/8,Copper",
                         "Mineral Fiber,1.5,3.0,250,1,150,Fillet Trace,1/2,Stainless Wld"};
  for (int i = 0; i < rows; ++i) {
    text += "C-" + std::to_string(i) + ",100," + std::to_string(i % 40 - 20) + "," +
            std::to_string(50 + i % 200) + ",375," + kinds[i % 4] + "\n";
  }
  CsvError error;
  return *ParseCsv(text, error);
}

struct Outcome {
  std::vector<int> rows;
  std::string text;
};

Outcome DesignWith(const CsvTable& table, int jobs, int stopAfter = -1) {
  const LineListDesigner designer(table.header, BatchOptions{});
  Outcome run;
  std::size_t next = 0;
  RowPipeline pipeline;
  pipeline.next = [&](CsvRow& row) {
    if (next == table.rows.size()) return false;
    row = table.rows[next++];
    return true;
  };
  pipeline.format = [](const CircuitResult& result, std::string& text) { AppendBatchCsvRow(text, result); };
  pipeline.take = [&](const CircuitResult& result) {
    run.rows.push_back(result.row);
    return static_cast<int>(run.rows.size()) != stopAfter;
  };
  pipeline.write = [&](const std::string& text) { run.text += text; };
  EXPECT_EQ(DesignRowsInOrder(designer, jobs, pipeline), stopAfter < 0);
  return run;
}

TEST(RowPipeline, EveryNumberOfThreadsGivesTheSameResultsInRowOrder) {
  const CsvTable table = LongList(700);
  const Outcome one = DesignWith(table, 1);
  ASSERT_EQ(one.rows.size(), 700u);
  for (int i = 0; i < 700; ++i) ASSERT_EQ(one.rows[static_cast<std::size_t>(i)], i + 1);
  for (int jobs : {2, 3, 8}) {
    SCOPED_TRACE(jobs);
    const Outcome many = DesignWith(table, jobs);
    EXPECT_EQ(many.rows, one.rows);
    EXPECT_EQ(many.text, one.text);
  }
}

TEST(RowPipeline, ARefusedResultStopsTheListWithoutWaitingForTheRest) {
  const CsvTable table = LongList(1000);
  for (int jobs : {1, 2}) {
    SCOPED_TRACE(jobs);
    const Outcome stopped = DesignWith(table, jobs, 300);
    EXPECT_EQ(stopped.rows.size(), 300u);
    EXPECT_EQ(stopped.rows.back(), 300);
  }
}

}  // namespace
}  // namespace vst
