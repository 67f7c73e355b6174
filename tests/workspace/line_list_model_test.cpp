// The Line List window's model: a list designed on worker threads gives
// exactly what vantrel-design gives for it; status, filters, edits, cancel
// and the saves.
#include "workspace/line_list_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>

#include "batch/bill_output.h"
#include "batch/design_command.h"
#include "batch/headings.h"
#include "batch/list_entries.h"
#include "batch/xlsx_list.h"
#include "core/legacy_math.h"
#include "designfile/design_file.h"
#include "support/script_dialogs.h"
#include "support/test_paths.h"
#include "workspace/stmain_controls.h"

namespace vst {
namespace {

namespace fs = std::filesystem;

const std::string kExample = vst::test::TestDataDir() + "/examples/line_list.csv";
const std::string kHeader =
    "CIRTXT,PIPETXT,MAXAMB,MINAMB,MAINTEMP,MAXEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,TRACEINS,"
    "TRACETUB,TUBEMAT,TUBEWALL,ALLOWANCE,VALN,FLNO,NOPX,WCTB,SHOES\n";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The window's event loop: tasks posted from the worker run here, in order.
class WindowQueue {
 public:
  PostToWindow post() {
    return [this](std::function<void()> task) {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
      ready_.notify_one();
    };
  }
  // Runs posted tasks until `done` holds.
  void runUntil(const bool& done) {
    while (!done) {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [this] { return !tasks_.empty(); });
      auto task = std::move(tasks_.front());
      tasks_.pop_front();
      lock.unlock();
      task();
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> tasks_;
};

class LineListModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vst_line_list_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, const std::string& text) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }

  std::unique_ptr<LineListModel> open(const std::string& path, const BatchOptions& options = {}) {
    std::string error;
    auto model = LineListModel::Open(path, options, error);
    EXPECT_TRUE(model) << error;
    return model;
  }

  // Design all, the results taken on this thread; the progress reported.
  std::vector<int> designAll(LineListModel& model, bool* cancelledOut = nullptr, int threads = 2) {
    WindowQueue queue;
    bool finished = false;
    std::vector<int> progress;
    EXPECT_TRUE(model.startDesignAll(
        queue.post(), [&](int done, int) { progress.push_back(done); },
        [&](bool cancelled) {
          finished = true;
          if (cancelledOut) *cancelledOut = cancelled;
        },
        threads));
    queue.runUntil(finished);
    model.join();
    return progress;
  }

  // vantrel-design's output for the same list.
  std::string command(const std::string& list, const std::string& format, const std::string& units) {
    const std::string out = (dir_ / ("command." + format)).string();
    RunDesignCommand({"design", list, "--format", format, "--units", units, "-o", out}, {});
    return ReadAll(out);
  }

  // A column by the start of its caption or by its field code.
  int column(const LineListModel& model, const std::string& caption) {
    for (int c = 0; c < model.columnCount(); ++c) {
      const LineColumn& shown = model.columns()[static_cast<std::size_t>(c)];
      if (shown.caption.rfind(caption, 0) == 0 || shown.code == caption) return c;
    }
    ADD_FAILURE() << "no column " << caption;
    return 0;
  }

  fs::path dir_;
};

// A plant's list of many rows: the example's rows again and again, with
// lengths and temperatures varied so rows differ.
std::string LongList(int rows) {
  std::string text = kHeader;
  const char* lines[] = {
      "ST-%d,L-%d,100,0,%d,375,Fiberglass,1.0,2.0,%d,1,50,Troughline,3/8,Copper,0.032,No,2,3,1,0,12x4\n",
      "ST-%d,L-%d,100,0,%d,375,Mineral Fiber,1.5,3.0,%d,1,50,YJ-2,3/8,Stainless Wld,,No,1,2,0,0,\n",
      "ST-%d,L-%d,90,-10,%d,375,Calcium Silicate,1.0,1,%d,1,100,Fillet Trace,3/8,Copper,,Yes,0,2,0,0,\n",
      ("ST-%d,L-%d,100,-20,%d,700,Calcium Silicate,50,150,%d,2,5,Troughline,12,Stainless "
       "Smls,,No,4,6,1,20,\n")};
  char buf[256];
  for (int i = 0; i < rows; ++i) {
    std::snprintf(buf, sizeof buf, lines[i % 4], i, i, 80 + (i * 7) % 260, 40 + (i * 13) % 400);
    text += buf;
  }
  return text;
}

// A metric plant: designed, below target, corrected and refused rows.
const std::string kMetricList =
    kHeader +
    "ST-201,50-P-2001,38,-18,38,190,Fiberglass,25,50,30,1,3.5,Troughline,10,Copper,1,No,2,3,1,0,0.3x4\n"
    "ST-202,80-P-2002,38,-18,95,190,Mineral Fiber,40,80,75,1,3.5,YJ-2,10,Stainless Wld,,No,1,2,0,0,\n"
    "ST-203,25-P-2003,32,-23,65,190,Calcium Silicate,25,25,25,1,7,Fillet Trace,10,Copper,,Yes,0,2,0,0,\n"
    "ST-204,150-P-2004,38,-29,120,370,Calcium Silicate,50,150,90,2,10,Troughline,12,Stainless "
    "Smls,,No,4,6,1,6,0.3x6;0.45x2\n"
    "ST-205,100-P-2005,38,-18,150,190,Fiberglass,25,100,60,1,3.5,Troughline,10,Copper,,No,0,0,0,0,\n"
    "ST-206,50-P-2006,38,-18,65,190,Fiberglass,25,50,40,1,20,Troughline,10,Copper,,No,0,0,0,0,\n"
    "ST-207,65-P-2007,38,-18,65,190,Fiberglass,25,70,40,1,3.5,Troughline,10,Copper,,No,0,0,0,0,\n";

TEST_F(LineListModelTest, DesignAllGivesTheCommandsResultsInBothUnitSystems) {
  const std::string longList = write("long.csv", LongList(2600));
  const std::string metricList = write("metric.csv", kMetricList);
  struct Case {
    std::string list;
    UnitSystem units;
    const char* unitsName;
  } cases[] = {{kExample, UnitSystem::English, "english"},
               {kExample, UnitSystem::Metric, "metric"},
               {longList, UnitSystem::English, "english"},
               {longList, UnitSystem::Metric, "metric"},
               {metricList, UnitSystem::Metric, "metric"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list + " " + c.unitsName);
    BatchOptions options;
    options.units = c.units;
    if (c.units == UnitSystem::Metric) options.pressureUnit = PressureUnit::BarG;
    auto model = open(c.list, options);
    const auto progress = designAll(*model);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), model->rowCount());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    for (const char* format : {"json", "csv"}) {
      const fs::path saved = dir_ / (std::string("window.") + format);
      ASSERT_EQ(model->saveResults(saved.string(), std::string(format) == "json"
                                                       ? LineListModel::ResultFormat::Json
                                                       : LineListModel::ResultFormat::Csv),
                "");
      EXPECT_EQ(ReadAll(saved), command(c.list, format, c.unitsName)) << format;
    }
  }
}

TEST_F(LineListModelTest, TheSummaryBillIsTheCommandsSummary) {
  const std::string list = write("long.csv", LongList(300));
  auto model = open(list);
  designAll(*model);
  const std::string out = (dir_ / "summary.json").string();
  RunDesignCommand({"design", list, "-o", (dir_ / "r.json").string(), "--summary", out}, {});
  EXPECT_EQ(BillRowsJson(model->summaryBill()), ReadAll(out));
}

TEST_F(LineListModelTest, ResultCellsShowTheDesignOfTheirRow) {
  auto model = open(kExample);
  designAll(*model);
  // The example's second row falls back from YJ-2 to Troughline (README).
  const int row = 1;
  EXPECT_EQ(model->cellText(row, column(*model, "Installation Used")), "Troughline");
  EXPECT_EQ(model->cellText(row, column(*model, "Min. Maint. Temp. (\u00B0F)")), "271.2809");
  EXPECT_EQ(model->cellText(row, column(*model, "Compound / Jacketed Type")), "Clipstrip");
  EXPECT_EQ(model->cellText(row, column(*model, "TRACEINS")), "YJ-2");  // the input as the file gives it
  // The results in the window's order; the condensate load, the trap distance
  // and the rise belong to the internal mode only.
  std::vector<std::string> results;
  for (const auto& c : model->columns()) {
    if (c.kind == LineColumnKind::Result) results.push_back(c.caption);
  }
  EXPECT_EQ(results, (std::vector<std::string>{"Installation Used", "Max. Maint. Temp. (\u00B0F)",
                                               "Min. Maint. Temp. (\u00B0F)", "Heat Loss (BTU/hr-ft)",
                                               "Insulation Size (in)", "Total Tracer Length (ft)",
                                               "Compound / Jacketed Type"}));
  EXPECT_NE(model->details(row).find("YJ-1 could not maintain desired temperature"), std::string::npos);
}

TEST_F(LineListModelTest, AHeatUpListShowsItsColumnsAndTimeAsTheCommandGivesThem) {
  std::string header = kHeader;
  header.insert(header.size() - 1, ",APPTYPE,PRODUCT,HUFINAL");
  const std::string list = write(
      "heat.csv", header +
                      "UP,L1,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,No,0,0,0,0,,"
                      "Heat Up,Toluene,90\n"
                      "MT,L2,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,No,0,0,0,0,,"
                      "Maintenance,,\n");
  auto model = open(list);
  designAll(*model);
  const int time = column(*model, "Heat Up Time (hr)");
  EXPECT_EQ(model->cellText(0, time), FixedText(*model->result(0)->heatUpHours, 2));
  EXPECT_EQ(model->cellText(1, time), "");
  EXPECT_EQ(model->cellText(0, column(*model, "HUINIT")), "0");  // the row's minimum ambient
  EXPECT_EQ(model->choices(0, column(*model, "APPTYPE")),
            (std::vector<std::string>{"Maintenance", "Heat Up"}));
  for (const auto& [format, kind] : {std::pair{"json", LineListModel::ResultFormat::Json},
                                     std::pair{"csv", LineListModel::ResultFormat::Csv}}) {
    const fs::path saved = dir_ / (std::string("window.") + format);
    ASSERT_EQ(model->saveResults(saved.string(), kind), "");
    EXPECT_EQ(ReadAll(saved), command(list, format, "english")) << format;
  }
  // A misspelt heat-up column read as suggested brings the heat-up columns.
  std::string misspelt = ReadAll(list);
  misspelt.replace(misspelt.find("APPTYPE"), 7, "APPTYP");
  misspelt.replace(misspelt.find(",PRODUCT,HUFINAL"), 16, ",Product X,Final X");
  auto read = open(write("misspelt.csv", misspelt));
  const auto hasTime = [](const LineListModel& m) {
    return std::any_of(m.columns().begin(), m.columns().end(),
                       [](const LineColumn& c) { return c.caption == "Heat Up Time (hr)"; });
  };
  EXPECT_FALSE(hasTime(*read));
  ASSERT_TRUE(read->readIgnoredAs(0));
  EXPECT_TRUE(hasTime(*read));
}

const std::string kMixed =
    kHeader +
    // designed, holds 100 °F
    "OK,L1,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,No,0,0,0,0,\n"
    // designed, cannot hold 300 °F with 50 psig steam
    "LOW,L2,100,0,300,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,No,0,0,0,0,\n"
    // copper above its pressure: taken as 50 psig
    "FIX,L3,100,0,100,375,Fiberglass,1.0,2.0,100,1,400,Troughline,3/8,Copper,,No,0,0,0,0,\n"
    // no such pipe size
    "BAD,L4,100,0,100,375,Fiberglass,1.0,7.3,100,1,50,Troughline,3/8,Copper,,No,0,0,0,0,\n";

TEST_F(LineListModelTest, StatusAndFiltersTellTheRowsApart) {
  auto model = open(write("mixed.csv", kMixed));
  EXPECT_EQ(model->status(0), RowStatus::Waiting);
  EXPECT_EQ(model->count(StatusFilter::NotDesigned), 0);
  designAll(*model);
  EXPECT_EQ(model->status(0), RowStatus::Designed);
  EXPECT_EQ(model->status(1), RowStatus::BelowTarget);
  EXPECT_EQ(model->status(2), RowStatus::Corrected);
  EXPECT_EQ(model->status(3), RowStatus::NotDesigned);
  EXPECT_EQ(model->statusText(1).rfind("Below target: min. ", 0), 0u) << model->statusText(1);
  EXPECT_NE(model->statusText(1).find("< 300 \u00B0F"), std::string::npos) << model->statusText(1);
  EXPECT_NE(model->statusText(2).find("STEAMPRS"), std::string::npos) << model->statusText(2);
  EXPECT_NE(model->statusText(3).find("PIPESIZE"), std::string::npos) << model->statusText(3);
  struct Case {
    StatusFilter filter;
    std::string text;
    std::vector<bool> shown;
  } cases[] = {
      {StatusFilter::All, "", {true, true, true, true}},
      {StatusFilter::BelowTarget, "", {false, true, false, false}},
      {StatusFilter::Corrected, "", {false, false, true, false}},
      {StatusFilter::NotDesigned, "", {false, false, false, true}},
      {StatusFilter::All, "fix", {false, false, true, false}},    // any cell, case aside
      {StatusFilter::All, "below", {false, true, false, false}},  // the status text too
      {StatusFilter::BelowTarget, "L3", {false, false, false, false}},
  };
  for (const Case& c : cases) {
    for (int r = 0; r < 4; ++r) {
      EXPECT_EQ(model->matches(r, c.text, c.filter), c.shown[static_cast<std::size_t>(r)])
          << "filter " << static_cast<int>(c.filter) << " '" << c.text << "' row " << r;
    }
  }
  EXPECT_EQ(model->designedCount(), 3);
}

TEST_F(LineListModelTest, AnEditedCellIsEnteredAgainAndRedesigned) {
  auto model = open(write("mixed.csv", kMixed));
  designAll(*model);
  const int pressure = column(*model, "STEAMPRS");
  const int pipe = column(*model, "PIPESIZE");
  EXPECT_FALSE(model->modified());
  EXPECT_FALSE(model->editable(0, column(*model, "Status")));
  EXPECT_FALSE(model->editable(0, column(*model, "Min. Maint. Temp.")));
  ASSERT_TRUE(model->setCell(1, pressure, "150"));  // enough steam for 300 °F
  EXPECT_TRUE(model->modified());
  EXPECT_EQ(model->status(1), RowStatus::Designed) << model->statusText(1);
  ASSERT_TRUE(model->setCell(3, pipe, "2.0"));  // the bad row fixed
  EXPECT_EQ(model->status(3), RowStatus::Designed) << model->statusText(3);
  ASSERT_TRUE(model->setCell(0, pipe, "nonsense"));
  EXPECT_EQ(model->status(0), RowStatus::NotDesigned);
  EXPECT_NE(model->details(0).find("PIPESIZE"), std::string::npos);
  // The window's checks apply to an edit as to the file: copper at 400 psig.
  ASSERT_TRUE(model->setCell(3, pressure, "400"));
  EXPECT_EQ(model->status(3), RowStatus::Corrected);
  EXPECT_EQ(model->result(3)->corrections.at(0).used, "50");
}

TEST_F(LineListModelTest, EditsAddedAndDeletedRowsUndoAndRedoInOrder) {
  auto model = open(write("mixed.csv", kMixed));
  designAll(*model);
  const int pipe = column(*model, "PIPESIZE");
  const int name = column(*model, "CIRTXT");
  const auto state = [&] {
    std::string s;
    for (int r = 0; r < model->rowCount(); ++r)
      s += model->cellText(r, name) + ":" + model->cellText(r, pipe) + ":" +
           std::to_string(static_cast<int>(model->status(r))) + ":" + std::to_string(model->result(r)->row) +
           " ";
    return s;
  };
  using K = LineListModel::EditKind;
  const struct {
    std::function<bool()> edit;
    const char* name;
    LineListModel::EditStep undoes;
  } steps[] = {
      {[&] { return model->setCell(3, pipe, "2.0"); }, "Edit of PIPESIZE", {K::Cell, 3, false}},
      {[&] { return model->addRow(0).has_value(); }, "Add Row", {K::AddRow, 4, false}},
      {[&] { return model->deleteRow(1); }, "Delete Row", {K::DeleteRow, 1, true}},
      {[&] { return model->setCell(0, name, "X1"); }, "Edit of CIRTXT", {K::Cell, 0, false}},
  };
  std::vector<std::string> before;
  for (const auto& s : steps) {
    before.push_back(state());
    ASSERT_TRUE(s.edit()) << s.name;
    EXPECT_EQ(model->undoName(), s.name);
  }
  const std::string after = state();
  EXPECT_EQ(model->rowCount(), 4);
  for (int i = 3; i >= 0; --i) {
    const auto& s = steps[i];
    const auto step = model->undoStep();
    ASSERT_TRUE(step) << s.name;
    EXPECT_EQ(std::tie(step->kind, step->row, step->inserts),
              std::tie(s.undoes.kind, s.undoes.row, s.undoes.inserts))
        << s.name;
    ASSERT_TRUE(model->undo()) << s.name;
    EXPECT_EQ(state(), before[static_cast<std::size_t>(i)]) << "undo of " << s.name;
    EXPECT_EQ(model->redoName(), s.name);
  }
  EXPECT_FALSE(model->undo());
  EXPECT_FALSE(model->modified()) << "every edit undone: the list is as saved";
  for (const auto& s : steps) ASSERT_TRUE(model->redo()) << s.name;
  EXPECT_FALSE(model->redo());
  EXPECT_EQ(state(), after);
  // A new edit after an undo drops what was undone.
  ASSERT_TRUE(model->undo());
  ASSERT_TRUE(model->setCell(0, pipe, "3.0"));
  EXPECT_EQ(model->redoName(), "");
  EXPECT_FALSE(model->redoStep());
}

TEST_F(LineListModelTest, AnEditedRowStaysShownUntilTheFilterIsChosenAgain) {
  auto model = open(write("mixed.csv", kMixed));
  designAll(*model);
  ASSERT_EQ(model->status(3), RowStatus::NotDesigned);
  ASSERT_TRUE(model->setCell(3, column(*model, "PIPESIZE"), "2.0"));
  EXPECT_EQ(model->status(3), RowStatus::Designed);
  EXPECT_FALSE(model->matches(3, "", StatusFilter::NotDesigned));
  EXPECT_TRUE(model->shown(3, "", StatusFilter::NotDesigned)) << "the fixed row stays in sight";
  EXPECT_FALSE(model->shown(0, "", StatusFilter::NotDesigned));
  EXPECT_EQ(model->count(StatusFilter::NotDesigned), 0) << "the counts say what the rows are";
  model->releaseKeptRows();
  EXPECT_FALSE(model->shown(3, "", StatusFilter::NotDesigned));
}

TEST_F(LineListModelTest, MisspelledColumnsAreNamedSavedAndReadAsSuggestedOnRequest) {
  std::string header = kHeader;
  for (const auto& [from, to] :
       {std::pair{"VALN", "VALVES"}, {"FLNO", "FLANO"}, {"SHOES\n", "Shoe,COMMENT\n"}})
    header.replace(header.find(from), std::string(from).size(), to);
  const std::string list =
      write("misspelled.csv", header +
                                  "A,L1,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,No,"
                                  "2,3,0,0,12x4,keep\n");
  auto model = open(list);
  EXPECT_EQ(
      model->ignoredColumnsNote(),
      "4 columns of the list are not read: VALVES: did you mean VALN?; FLANO: did you mean FLNO?; Shoe: did "
      "you mean SHOES?; COMMENT");
  EXPECT_NE(model->ignoredColumnsDetails().find("Column 18, VALVES: not read; did you mean VALN (valves)?"),
            std::string::npos)
      << model->ignoredColumnsDetails();
  designAll(*model);
  // The saved JSON names them as the command's does.
  ASSERT_EQ(model->saveResults((dir_ / "window.json").string(), LineListModel::ResultFormat::Json), "");
  EXPECT_EQ(ReadAll(dir_ / "window.json"), command(list, "json", "english"));
  EXPECT_EQ(model->result(0)->record.VALN, 0.0f);

  const struct {
    const char* name;
    bool read;
  } rows[] = {{"COMMENT", false}, {"VALVES", true}, {"FLANO", true}, {"Shoe", true}};
  for (const auto& r : rows) {
    std::size_t index = 0;
    while (index < model->ignoredColumns().size() && model->ignoredColumns()[index].name != r.name) ++index;
    EXPECT_EQ(model->readIgnoredAs(index), r.read) << r.name;
  }
  EXPECT_EQ(model->ignoredColumnsNote(), "1 column of the list is not read: COMMENT");
  EXPECT_EQ(model->status(0), RowStatus::Waiting) << "read anew, the rows wait for their design";
  designAll(*model);
  EXPECT_EQ(model->result(0)->record.VALN, 2.0f);
  EXPECT_EQ(model->result(0)->record.FLNO, 3.0f);
  EXPECT_TRUE(model->modified());
  ASSERT_EQ(model->saveList(list), "");
  EXPECT_EQ(ReadAll(list).substr(0, ReadAll(list).find('\n')).substr(header.find("ALLOWANCE")),
            "ALLOWANCE,VALN,FLNO,NOPX,WCTB,SHOES,COMMENT");
}

TEST_F(LineListModelTest, ReadAllAsSuggestedReadsEverySuggestedColumnAtOnce) {
  std::string header = kHeader;
  for (const auto& [from, to] :
       {std::pair{"VALN", "VALVES"}, {"FLNO", "FLANO"}, {"SHOES\n", "Shoe,COMMENT\n"}})
    header.replace(header.find(from), std::string(from).size(), to);
  auto model = open(write("misspelled.csv", header));
  ASSERT_TRUE(model->readAllAsSuggested());
  EXPECT_EQ(model->ignoredColumnsNote(), "1 column of the list is not read: COMMENT");
  EXPECT_TRUE(model->modified());
  EXPECT_FALSE(model->readAllAsSuggested()) << "nothing left to suggest";
}

TEST_F(LineListModelTest, AListWrittenInTheOtherUnitSystemIsRecognisedAndOpensInIt) {
  const std::string metric = write("metric.csv", kMetricList);
  const std::string mixed = write("mixed.csv", kMixed);
  const struct {
    std::string list;
    UnitSystem openedIn;
    std::optional<UnitSystem> offered;
  } rows[] = {
      {metric, UnitSystem::English, UnitSystem::Metric},   {metric, UnitSystem::Metric, std::nullopt},
      {kExample, UnitSystem::Metric, UnitSystem::English}, {kExample, UnitSystem::English, std::nullopt},
      {mixed, UnitSystem::English, std::nullopt},  // its bad pipe size is bad in either system
  };
  for (const auto& r : rows) {
    BatchOptions options;
    options.units = r.openedIn;
    options.pressureUnit = r.openedIn == UnitSystem::English ? PressureUnit::Psig : PressureUnit::BarG;
    auto model = open(r.list, options);
    EXPECT_EQ(model->otherUnitsFit(), std::nullopt) << "nothing is known before the design";
    designAll(*model);
    EXPECT_EQ(model->otherUnitsFit(), r.offered) << r.list << " opened in " << static_cast<int>(r.openedIn);
    EXPECT_EQ(model->otherUnitsNote().empty(), !r.offered) << model->otherUnitsNote();
  }
  // Opened in its own units, the metric list designs; the window's options
  // are its own.
  auto model = open(metric);
  designAll(*model);
  EXPECT_EQ(
      model->otherUnitsNote(),
      "7 rows stop on an entry that is not in the lists of inch-pound units; the list seems written in SI "
      "metric units.");
  BatchOptions si;
  si.units = UnitSystem::Metric;
  si.pressureUnit = PressureUnit::BarG;
  ASSERT_TRUE(model->setOptions(si));
  EXPECT_EQ(model->status(0), RowStatus::Waiting);
  EXPECT_EQ(model->columns()[static_cast<std::size_t>(column(*model, "MAXAMB"))].caption,
            "Max. Ambient (\u00B0C)");
  designAll(*model);
  EXPECT_EQ(model->count(StatusFilter::NotDesigned), 1) << "only the 70 mm pipe, in no list";
  EXPECT_EQ(model->otherUnitsFit(), std::nullopt);
}

TEST_F(LineListModelTest, TheUnitsOfferTakesTheOtherSystemsUsualPressureUnit) {
  const struct {
    std::string list;
    UnitSystem openedIn;
    PressureUnit pressure;
    UnitSystem offered;
    PressureUnit offeredPressure;
  } rows[] = {
      {write("metric.csv", kMetricList), UnitSystem::English, PressureUnit::Psig, UnitSystem::Metric,
       PressureUnit::BarG},
      {kExample, UnitSystem::Metric, PressureUnit::Kpa, UnitSystem::English, PressureUnit::Psig},
  };
  for (const auto& r : rows) {
    BatchOptions options;
    options.units = r.openedIn;
    options.pressureUnit = r.pressure;
    auto model = open(r.list, options);
    designAll(*model);
    const auto offer = model->otherUnitsOffer();
    ASSERT_TRUE(offer) << r.list;
    EXPECT_EQ(offer->options.units, r.offered);
    EXPECT_EQ(offer->options.pressureUnit, r.offeredPressure);
    EXPECT_EQ(offer->note, model->otherUnitsNote());
  }
}

TEST_F(LineListModelTest, TheUnitsTextNamesUnitsPressureAndMode) {
  auto model = open(kExample);
  EXPECT_EQ(model->unitsText(), "Inch pound units, psig, standard mode");
  BatchOptions options;
  options.units = UnitSystem::Metric;
  options.pressureUnit = PressureUnit::Kpa;
  options.internalMode = true;
  ASSERT_TRUE(model->setOptions(options));
  EXPECT_EQ(model->unitsText(), "SI metric units, kPa, internal mode");
}

TEST_F(LineListModelTest, ListCellsOfferTheListsOfTheRowsInstallationAndUnits) {
  BatchOptions metric;
  metric.units = UnitSystem::Metric;
  metric.pressureUnit = PressureUnit::BarG;
  auto english = open(write("mixed.csv", kMixed));
  auto inMetric = open(write("mixed.csv", kMixed), metric);
  const auto contains = [](const std::vector<std::string>& list, const std::string& entry) {
    return std::find(list.begin(), list.end(), entry) != list.end();
  };
  const int tube = column(*english, "TRACETUB");
  const int install = column(*english, "TRACEINS");
  EXPECT_TRUE(contains(english->choices(0, column(*english, "INSTHK")), "1.0"));
  EXPECT_FALSE(contains(inMetric->choices(0, column(*inMetric, "INSTHK")), "1.0"));
  EXPECT_TRUE(english->choices(0, column(*english, "PIPELN")).empty());  // a number, no list
  EXPECT_EQ(english->choices(0, column(*english, "ALLOWANCE")), (std::vector<std::string>{"No", "Yes"}));
  // A jacketed installation offers its own tubes.
  const auto trough = english->choices(0, tube);
  ASSERT_TRUE(english->setCell(0, install, english->choices(0, install).back()));
  EXPECT_NE(english->choices(0, tube), trough);
  EXPECT_FALSE(english->choices(0, tube).empty());
}

// The pipe size and passes cells of a row offer what `vantrel-design lists`
// offers for the row's installation and tube: the sizes the design takes
// them on, and up to the most passes the chosen size takes.
TEST_F(LineListModelTest, PipeSizeAndPassesCellsOfferOnlyWhatTheDesignTakes) {
  auto model = open(write("mixed.csv", kMixed));
  const int install = column(*model, "TRACEINS"), tube = column(*model, "TRACETUB");
  const int pipe = column(*model, "PIPESIZE"), passes = column(*model, "PASSES");
  for (const InstallationEntries& inst : AcceptedListsOf(UnitSystem::English, false).installations) {
    for (const TubeEntries& offered : inst.tubes) {
      SCOPED_TRACE(inst.name + " " + offered.tube);
      ASSERT_TRUE(model->setCell(0, install, inst.name));
      ASSERT_TRUE(model->setCell(0, tube, offered.tube));
      EXPECT_EQ(model->choices(0, pipe), offered.pipes);
      ASSERT_TRUE(model->setCell(0, pipe, offered.pipes.front()));
      EXPECT_EQ(model->choices(0, passes).size(), static_cast<std::size_t>(offered.mostPasses.front()));
    }
  }
}

TEST_F(LineListModelTest, CancelStopsTheRunAndKeepsWhatWasHandedOver) {
  auto model = open(write("long.csv", LongList(20000)));
  WindowQueue queue;
  bool finished = false, cancelled = false;
  int reported = 0;
  ASSERT_TRUE(model->startDesignAll(
      queue.post(),
      [&](int done, int) {
        reported = done;
        model->cancel();
      },
      [&](bool c) {
        finished = true;
        cancelled = c;
      },
      2));
  EXPECT_FALSE(model->startDesignAll(queue.post(), {}, {}, 2));  // one run at a time
  EXPECT_FALSE(model->editable(0, column(*model, "PIPELN")));    // no edits while it runs
  queue.runUntil(finished);
  model->join();
  EXPECT_TRUE(cancelled);
  EXPECT_FALSE(model->running());
  int designed = 0;
  while (designed < model->rowCount() && model->status(designed) != RowStatus::Waiting) ++designed;
  EXPECT_GE(designed, reported);
  EXPECT_LT(designed, model->rowCount());
  for (int r = designed; r < model->rowCount(); ++r) ASSERT_EQ(model->status(r), RowStatus::Waiting) << r;
  // A new run designs every row.
  designAll(*model);
  EXPECT_NE(model->status(model->rowCount() - 1), RowStatus::Waiting);
}

TEST_F(LineListModelTest, TheSavedListReadsBackAsEdited) {
  // Semicolons and a field with the delimiter in quotes stay as they were read.
  std::string text = kHeader;
  text += "\"A;1\",L1,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,No,0,0,0,0,\n";
  for (char& c : text)
    if (c == ',') c = ';';
  auto model = open(write("semi.csv", text));
  ASSERT_TRUE(model->setCell(0, column(*model, "PIPELN"), "250"));
  // An added row: a copy of row 1, designed at once, saved after it.
  ASSERT_EQ(model->addRow(0), 1);
  EXPECT_EQ(model->status(1), RowStatus::Designed) << model->statusText(1);
  ASSERT_TRUE(model->setCell(1, column(*model, "CIRTXT"), "B2"));
  const std::string saved = (dir_ / "saved.csv").string();
  ASSERT_EQ(model->saveList(saved), "");
  EXPECT_FALSE(model->modified());
  const std::string back = ReadAll(saved);
  EXPECT_NE(back.find("\"A;1\";L1;100"), std::string::npos) << back;
  auto reread = open(saved);
  EXPECT_EQ(reread->cellText(0, column(*reread, "PIPELN")), "250");
  EXPECT_EQ(reread->cellText(0, column(*reread, "CIRTXT")), "A;1");
  ASSERT_EQ(reread->rowCount(), 2);
  EXPECT_EQ(reread->cellText(1, column(*reread, "CIRTXT")), "B2");
  EXPECT_EQ(reread->cellText(1, column(*reread, "PIPELN")), "250");
  // A folder that does not exist: a message, nothing written.
  EXPECT_NE(model->saveList((dir_ / "none" / "x.csv").string()), "");
  EXPECT_FALSE(fs::exists(dir_ / "none"));
}

TEST_F(LineListModelTest, TheSavedListKeepsItsByteOrderMarkLineEndsAndDelimiter) {
  const struct {
    const char* bom;
    const char* lineEnd;
    char delimiter;
  } rows[] = {
      {"\xEF\xBB\xBF", "\r\n", ','}, {"", "\r\n", ';'}, {"\xEF\xBB\xBF", "\n", '\t'}, {"", "\n", ','}};
  for (const auto& r : rows) {
    std::string body = kHeader +
                       "K\xC3\xBChlwasser,L1,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,"
                       "Copper,,No,0,0,0,0,\n";
    std::string text = r.bom;
    for (char c : body) {
      if (c == '\n')
        text += r.lineEnd;
      else
        text += c == ',' ? r.delimiter : c;
    }
    auto model = open(write("as_read.csv", text));
    const std::string saved = (dir_ / "saved.csv").string();
    ASSERT_EQ(model->saveList(saved), "");
    // Unedited, the list is written back byte for byte.
    EXPECT_EQ(ReadAll(saved), text) << "delimiter " << int(r.delimiter)
                                    << (std::string(r.lineEnd) == "\r\n" ? ", CRLF" : ", LF");
  }
}

TEST_F(LineListModelTest, CellsTakeNumbersTypedWithADecimalCommaInEitherKindOfList) {
  std::string text =
      kHeader + "A,L1,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,No,0,0,0,0,\n";
  std::replace(text.begin(), text.end(), ',', ';');
  auto model = open(write("semi.csv", text));
  const int length = column(*model, "PIPELN");
  ASSERT_TRUE(model->setCell(0, length, "250,5"));
  EXPECT_EQ(model->status(0), RowStatus::Designed) << model->statusText(0);
  EXPECT_EQ(model->result(0)->record.PIPELN, 250.5f);
  EXPECT_EQ(model->sortNumber(0, length), 250.5);
  EXPECT_EQ(model->cellText(0, length), "250,5");  // as the list writes its numbers

  // A comma list cannot hold a decimal comma: the typed number gets its point.
  std::replace(text.begin(), text.end(), ';', ',');
  auto commas = open(write("comma.csv", text));
  for (const auto& [caption, typed, held] :
       {std::tuple{"PIPELN", "250,5", "250.5"}, {"SHOES", "12,5x4", "12.5x4"}, {"PIPETXT", "L,1", "L,1"}}) {
    ASSERT_TRUE(commas->setCell(0, column(*commas, caption), typed));
    EXPECT_EQ(commas->cellText(0, column(*commas, caption)), held);
  }
  EXPECT_EQ(commas->status(0), RowStatus::Designed) << commas->statusText(0);
}

// A workbook headed with the window's captions opens as its CSV list does,
// the table headed with captions and the codes in tooltips; the workbook is
// never saved over, and the list saved as a workbook reads back as it was.
TEST_F(LineListModelTest, AWorkbookListDesignsAsItsCsvAndIsNeverSavedOver) {
  CsvError error;
  auto table = ParseCsv(ReadAll(kExample), error);
  ASSERT_TRUE(table);
  std::vector<std::string> headings;
  for (const std::string& code : table->header) {
    std::size_t c = 0;
    while (c < kColumnCount && code != LineListColumns()[c].name) ++c;
    const char* caption = ColumnCaption(c);
    headings.push_back(caption ? caption : code);
  }
  const std::string workbook = (dir_ / "plant.xlsx").string();
  ASSERT_EQ(WriteListWorkbook(headings, table->rows, workbook), "");
  EXPECT_EQ(LineListModel::WorkbookSheets(workbook, error.message), std::vector<std::string>{"Line List"});
  auto fromCsv = open(kExample);
  auto model = open(workbook);
  ASSERT_TRUE(model->fromWorkbook());
  designAll(*fromCsv);
  designAll(*model);
  const std::string a = (dir_ / "a.json").string(), b = (dir_ / "b.json").string();
  ASSERT_EQ(model->saveResults(a, LineListModel::ResultFormat::Json), "");
  ASSERT_EQ(fromCsv->saveResults(b, LineListModel::ResultFormat::Json), "");
  const std::string circuits = ReadAll(a);
  // As the command says it: how each heading was read.
  EXPECT_NE(circuits.find(R"({"heading":"Max. Ambient","column":"MAXAMB","how":"caption"})"),
            std::string::npos);
  EXPECT_EQ(circuits.substr(circuits.find("\"circuits\"")),
            ReadAll(b).substr(ReadAll(b).find("\"circuits\"")));
  // The window's own results workbook reads back as a line list of the same circuits.
  const std::string results = (dir_ / "results.xlsx").string();
  ASSERT_EQ(model->saveResults(results, LineListModel::ResultFormat::Xlsx), "");
  auto again = open(results);
  designAll(*again);
  ASSERT_EQ(again->saveResults(b, LineListModel::ResultFormat::Json), "");
  EXPECT_EQ(circuits.substr(circuits.find("\"record\"")), ReadAll(b).substr(ReadAll(b).find("\"record\"")));
  const LineColumn& maxAmbient = model->columns()[static_cast<std::size_t>(column(*model, "MAXAMB"))];
  EXPECT_EQ(maxAmbient.caption, "Max. Ambient (\u00B0F)");
  EXPECT_EQ(model->columns()[static_cast<std::size_t>(column(*model, "PIPETXT"))].caption, "Line\\Pipe No.");

  const std::string before = ReadAll(workbook);
  ASSERT_TRUE(model->setCell(0, column(*model, "PIPELN"), "250"));
  std::filesystem::create_symlink(workbook, dir_ / "link.xlsx");
  for (const fs::path& same : {fs::path(workbook), dir_ / "link.xlsx", dir_ / "." / "plant.xlsx"}) {
    SCOPED_TRACE(same.string());
    EXPECT_NE(model->saveList(same.string()).find("which is kept as it is"), std::string::npos);
  }
  EXPECT_EQ(ReadAll(workbook), before);
  const std::string saved = (dir_ / "saved.xlsx").string();
  ASSERT_EQ(model->saveList(saved), "");
  auto reread = open(saved);
  ASSERT_EQ(reread->rowCount(), model->rowCount());
  for (int r = 0; r < model->rowCount(); ++r) {
    for (const char* code : {"CIRTXT", "PIPETXT", "MAXAMB", "INSTHK", "PIPELN", "TUBEWALL", "SHOES"})
      EXPECT_EQ(reread->cellText(r, column(*reread, code)), model->cellText(r, column(*model, code))) << code;
  }
}

TEST_F(LineListModelTest, ResultsAndDesignFilesWaitForTheDesign) {
  auto model = open(write("long.csv", LongList(14)));
  EXPECT_NE(model->saveResults((dir_ / "r.json").string(), LineListModel::ResultFormat::Json), "");
  EXPECT_FALSE(fs::exists(dir_ / "r.json"));
  designAll(*model);
  ASSERT_EQ(model->saveResults((dir_ / "r.xlsx").string(), LineListModel::ResultFormat::Xlsx), "");
  // The results' numbers are number cells a spreadsheet can sum: the row
  // number, the inputs and the design's figures of the first circuit.
  const std::string numbersOfRow2 =
      "python3 -c \"import sys, zipfile, re; x = "
      "zipfile.ZipFile(sys.argv[1]).read('xl/worksheets/sheet1.xml')"
      ".decode(); sys.exit(len(re.findall(r'<c r=.[A-Z]+2.( s=.[0-9]+.)?><v>', x)) < 20)\" '" +
      (dir_ / "r.xlsx").string() + "'";
  EXPECT_EQ(std::system(numbersOfRow2.c_str()), 0) << "fewer than 20 number cells in the first circuit's row";

  const std::string templatePath = TemplatePath(vst::test::BinDir()).string();
  std::vector<std::string> written;
  ASSERT_EQ(model->saveDesignFiles((dir_ / "set.mdb").string(), templatePath, written), "");
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(fs::path(written[0]).filename(), "set-1.mdb");
  DesignRecords none{};
  const auto second = OpenDesignFile(written[1], none, UnitSystem::English);
  ASSERT_TRUE(second.ok()) << second.status.reason;
  int held = 0;
  for (const auto& r : second.records) held += r.HoldsDesign() ? 1 : 0;
  EXPECT_EQ(held, model->designedCount() - 10);
}

TEST_F(LineListModelTest, ASaveStoppedThroughItsProgressWritesNothing) {
  auto model = open(write("long.csv", LongList(2100)));
  designAll(*model);
  const std::string templatePath = TemplatePath(vst::test::BinDir()).string();
  using F = LineListModel::ResultFormat;
  const struct {
    const char* name;
    std::function<std::string(const LineListModel::SaveProgress&)> save;
    int stopAt;  // the progress call that answers false
  } rows[] = {
      {"r.csv", [&](const auto& p) { return model->saveResults((dir_ / "r.csv").string(), F::Csv, p); }, 2},
      {"r.json", [&](const auto& p) { return model->saveResults((dir_ / "r.json").string(), F::Json, p); },
       2},
      {"r.xlsx", [&](const auto& p) { return model->saveResults((dir_ / "r.xlsx").string(), F::Xlsx, p); },
       4},
      {"set-1.mdb",
       [&](const auto& p) {
         std::vector<std::string> written;
         return model->saveDesignFiles((dir_ / "set.mdb").string(), templatePath, written, p);
       },
       3},
  };
  for (const auto& r : rows) {
    int calls = 0, lastDone = -1, total = 0;
    const std::string problem = r.save([&](int done, int of) {
      EXPECT_GE(done, lastDone) << r.name;
      lastDone = done;
      total = of;
      return ++calls < r.stopAt;
    });
    EXPECT_EQ(problem, LineListModel::kSaveCancelled) << r.name;
    EXPECT_EQ(calls, r.stopAt) << r.name;
    EXPECT_GT(total, 0) << r.name;
    EXPECT_FALSE(fs::exists(dir_ / r.name)) << r.name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);  // the list alone
}

// "Save Line List" is the one save that may replace the list: the results
// and the design files onto the list's own file, through any name, link or
// hard link, are refused and write nothing.
TEST_F(LineListModelTest, ResultsAndDesignFilesNeverReplaceTheList) {
  const std::string text = LongList(14);  // two design files: NAME-1.mdb and NAME-2.mdb
  const std::string listPath = write("set-2.mdb", text);
  fs::create_directory(dir_ / "sub");
  fs::create_symlink("set-2.mdb", dir_ / "link.csv");
  fs::create_hard_link(listPath, dir_ / "hard.csv");
  fs::create_hard_link(listPath, dir_ / "hard-2.mdb");
  auto model = open(listPath);
  designAll(*model);
  for (const std::string name : {"set-2.mdb", "sub/../set-2.mdb", "link.csv", "hard.csv"}) {
    for (const auto format : {LineListModel::ResultFormat::Csv, LineListModel::ResultFormat::Json,
                              LineListModel::ResultFormat::Xlsx})
      EXPECT_EQ(model->saveResults((dir_ / name).string(), format),
                fs::path(name).filename().string() + " is the line list set-2.mdb itself");
  }
  const std::string templatePath = TemplatePath(vst::test::BinDir()).string();
  for (const std::string name : {"set.mdb", "hard.mdb"}) {
    std::vector<std::string> written;
    EXPECT_EQ(model->saveDesignFiles((dir_ / name).string(), templatePath, written),
              fs::path(name).stem().string() + "-2.mdb is the line list set-2.mdb itself");
    EXPECT_TRUE(written.empty());
  }
  EXPECT_EQ(ReadAll(listPath), text);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 5);  // list, sub, links
}

// The wall cell offers the walls of the row's tube and material, as their
// rules leave them; a tube and material without walls of their own offer
// none, so any text may be typed.
TEST_F(LineListModelTest, TheWallCellOffersTheWallsOfTheRowsTubeAndMaterial) {
  auto model = open(write("mixed.csv", kMixed));
  const int install = column(*model, "TRACEINS"), tube = column(*model, "TRACETUB");
  const int material = column(*model, "TUBEMAT"), wall = column(*model, "TUBEWALL");
  const struct {
    const char* installation;
    const char* tube;
    const char* material;
    std::vector<std::string> walls;
  } cases[] = {
      {"Troughline", "3/8", "Copper", {"0.032", "0.049"}},
      {"Fillet Trace", "5/8", "Stainless Wld", {"0.049", "0.065"}},
      {"Troughline", "3/8", "Stainless Smls", {}},
      {"Coverlyn  YJ-1", "3/8", "stainless wld", {"0.035", "0.049"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.installation) + " " + c.tube + " " + c.material);
    ASSERT_TRUE(model->setCell(0, install, c.installation));
    ASSERT_TRUE(model->setCell(0, tube, c.tube));
    ASSERT_TRUE(model->setCell(0, material, c.material));
    EXPECT_EQ(model->choices(0, wall), c.walls);
  }
}

// What the window asks and says about its saves and bills: names proposed
// beside the list, the list itself refused, the format a name asks for,
// nothing said of a save that was cancelled.
TEST_F(LineListModelTest, SaveDialogsAndBillMessagesComeFromTheModel) {
  const std::string list = write("plant.csv", kMixed);
  auto model = open(list);
  using Kind = LineListModel::SaveKind;
  const struct {
    Kind kind;
    fs::path proposed;
    const char* firstType;
    std::string refused;
  } dialogs[] = {
      {Kind::List, list, "Line lists (*.csv)", ""},
      {Kind::Results, dir_ / "plant.out.csv", "CSV results (*.csv)", list},
      {Kind::DesignFiles, dir_ / "plant.mdb", "Design files (*.mdb)", "stdata.mdb"},
      {Kind::Pdf, dir_ / "plant.pdf", "PDF documents (*.pdf)", list},
  };
  for (const auto& d : dialogs) {
    const FileDialogSpec spec = model->saveDialog(d.kind, "stdata.mdb");
    SCOPED_TRACE(spec.title);
    EXPECT_EQ(spec.startFolder, d.proposed.string());
    EXPECT_EQ(spec.filters.front(), d.firstType);
    EXPECT_EQ(spec.refusedFile, d.refused);
  }
  using F = LineListModel::ResultFormat;
  for (const auto& [name, format] :
       {std::pair{"r.JSON", F::Json}, {"r.xlsx", F::Xlsx}, {"r.json.csv", F::Csv}})
    EXPECT_EQ(LineListModel::ResultFormatOf(name), format) << name;
  EXPECT_FALSE(LineListModel::SaveFailed(Kind::Results, "r.csv", ""));
  EXPECT_FALSE(LineListModel::SaveFailed(Kind::Results, "r.csv", LineListModel::kSaveCancelled));
  EXPECT_EQ(LineListModel::SaveFailed(Kind::Pdf, "r.pdf", "the disk is full")->text,
            "The list was not saved as r.pdf: the disk is full.");

  EXPECT_EQ(model->circuitBillRefusal(-1)->text, "Select a row of the list first.");
  EXPECT_TRUE(model->summaryBillRefusal());
  designAll(*model);
  EXPECT_FALSE(model->summaryBillRefusal());
  EXPECT_FALSE(model->circuitBillRefusal(0));
  EXPECT_EQ(model->circuitBillRefusal(3)->text.rfind("Row 4 holds no design: Not designed: ", 0), 0u);
  EXPECT_EQ(model->windowTitle(), "Line List - plant.csv");
  ASSERT_TRUE(model->setCell(0, column(*model, "PIPELN"), "120"));
  EXPECT_EQ(model->windowTitle(), "Line List - plant.csv*");
}

// The results workbook holds the cells of the CSV results: each text as a
// spreadsheet shows the CSV field (a name that reads as a formula quoted),
// each number the same number.
TEST_F(LineListModelTest, TheResultsWorkbookHoldsTheCellsOfTheCsvResults) {
  auto model = open(write("mixed.csv", kMixed + "=1+2,\xC3\x98 -7,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,"
                                                "Troughline,3/8,Copper,,No,0,0,0,0,\n"));
  designAll(*model);
  const fs::path csv = dir_ / "r.csv", workbook = dir_ / "r.xlsx";
  ASSERT_EQ(model->saveResults(csv.string(), LineListModel::ResultFormat::Csv), "");
  ASSERT_EQ(model->saveResults(workbook.string(), LineListModel::ResultFormat::Xlsx), "");
  CsvError error;
  const auto table = ParseCsv(ReadAll(csv).substr(3), error);  // past the byte order mark
  ASSERT_TRUE(table) << error.message;
  XlsxListReader reader;
  std::vector<std::string> header;
  ASSERT_TRUE(reader.open(workbook.string(), {}) && reader.readHeader(header)) << reader.error();
  EXPECT_EQ(header, table->header);
  CsvRow row;
  std::size_t rows = 0;
  for (; reader.next(row); ++rows) {
    ASSERT_LT(rows, table->rows.size());
    const auto& expected = table->rows[rows].fields;
    ASSERT_EQ(row.fields.size(), expected.size());
    for (std::size_t f = 0; f < expected.size(); ++f) {
      const auto a = ParseNumber(row.fields[f]), b = ParseNumber(expected[f]);
      if (!(a && b && *a == *b)) {
        EXPECT_EQ(row.fields[f], expected[f]) << table->header[f];
      }
    }
  }
  EXPECT_EQ(rows, table->rows.size());
  EXPECT_EQ(model->cellText(model->rowCount() - 1, column(*model, "CIRTXT")), "=1+2");
  EXPECT_EQ(table->rows.back().fields[4], "'=1+2");
}

TEST_F(LineListModelTest, AListTheCommandRefusesOpensNothing) {
  struct Case {
    std::string text;
    std::string message;
  } cases[] = {
      {"CIRTXT,MAXAMB\nA,1\n", "line 1: the required column"},
      {kHeader + "\"open,1\n", "line 2"},
      {kHeader.substr(0, kHeader.size() - 1) + ",MAXAMB\n", "appears twice"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(LineListModel::FromText(c.text, {}, "bad.csv", error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
  std::string error;
  EXPECT_FALSE(LineListModel::Open((dir_ / "nosuch.csv").string(), {}, error));
  EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
}

TEST_F(LineListModelTest, UnsavedEditsAskBeforeClosing) {
  auto model = open(write("mixed.csv", kMixed));
  test::ScriptDialogs dialogs;
  int saves = 0;
  const auto save = [&] {
    ++saves;
    return true;
  };
  EXPECT_TRUE(model->queryClose(dialogs, save));  // nothing edited: no question
  EXPECT_TRUE(dialogs.messages().empty());
  ASSERT_TRUE(model->setCell(0, column(*model, "PIPELN"), "120"));
  dialogs.answer(MsgAnswer::Cancel).answer(MsgAnswer::No).answer(MsgAnswer::Yes);
  EXPECT_FALSE(model->queryClose(dialogs, save));
  EXPECT_TRUE(model->queryClose(dialogs, save));
  EXPECT_EQ(saves, 0);
  EXPECT_TRUE(model->queryClose(dialogs, save));
  EXPECT_EQ(saves, 1);
}

// A line list heading may be the main window's caption for its input: the
// captions the list reads are the window's own, as a person reads them
// (without the access key, blanks aside).
TEST(LineListHeadings, TheCaptionsAListReadsAreTheMainWindowsCaptions) {
  const char* controls[] = {
      "Circ_No",       "Line_No",      "Max_Amb",     "Min_Amb",           "MT_In",           "Max_Exp_Temp",
      "txtIntExpTemp", "Insul_Typ_In", "Insul_Th_In", "Pipe_Dia_In",       "Pipe_Len_In",     "Pass",
      "Pressure",      "Cab_In",       "Cab_Sel",     "cboTracerMaterial", "cboTubeWallThick"};
  const auto folded = [](std::string_view text) {
    std::string out;
    for (char c : text)
      if (c != '&' && c != ' ') out += c;
    return out;
  };
  ASSERT_EQ(std::size(controls), static_cast<std::size_t>(kTUBEWALL + 1));
  for (std::size_t c = 0; c < std::size(controls); ++c) {
    SCOPED_TRACE(controls[c]);
    const ControlRow* row = FindControlRow(controls[c]);
    ASSERT_NE(row, nullptr);
    ASSERT_NE(ColumnCaption(c), nullptr);
    EXPECT_EQ(folded(ColumnCaption(c)), folded(row->caption));
  }
  // The counts are headed as the fittings dialog captions its boxes.
  EXPECT_STREQ(ColumnCaption(kFLNO), "Number of Flanges");
  EXPECT_STREQ(ColumnCaption(kWCTB), "Total Wrapcore Allowance");
  EXPECT_EQ(ColumnCaption(kSHOES), nullptr);
}

}  // namespace
}  // namespace vst
