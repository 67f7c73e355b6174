// Designs the rows of a line list on several threads and hands the results
// back in row order. Rows are read, designed and handed on in chunks, so
// only a few chunks are held at any time, however long the list: the
// memory stays flat. A row's result does not depend on the thread that
// designed it nor on the rows before it.
#pragma once

#include <functional>
#include <string>

#include "batch/batch_design.h"
#include "batch/csv.h"

namespace vst {

struct RowPipeline {
  // The next row of the list; false at its end (or when it cannot be read).
  std::function<bool(CsvRow& row)> next;
  // The output text of one result, appended to `text`; runs on the thread
  // that designed the row.
  std::function<void(const CircuitResult& result, std::string& text)> format;
  // Each result in row order, then the text of its chunk; false stops the
  // list (the rows read and not yet handed on are dropped).
  std::function<bool(const CircuitResult& result)> take;
  std::function<void(const std::string& text)> write;
};

// Designs every row `pipeline.next` gives with `designer` on `jobs` threads
// (1: on this thread alone). False when `take` stopped the list.
bool DesignRowsInOrder(const LineListDesigner& designer, int jobs, const RowPipeline& pipeline);

// The number of threads the machine runs at once (at least 1).
int ProcessorCount();

}  // namespace vst
