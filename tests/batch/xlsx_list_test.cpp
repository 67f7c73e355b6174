#include "batch/xlsx_list.h"

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_design.h"

namespace vst {
namespace {

namespace fs = std::filesystem;
using Parts = std::vector<std::pair<std::string, std::string>>;

class XlsxList : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("vst_xlsx_" + std::to_string(::getpid()) + "_" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string path(const std::string& name) const { return (folder_ / name).string(); }

  // A zip archive of the given entries, as a spreadsheet program packs one.
  std::string zip(const std::string& name, const Parts& entries) const {
    int error = 0;
    zip_t* z = zip_open(path(name).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    EXPECT_NE(z, nullptr);
    for (const auto& [entry, text] : entries) {
      zip_source_t* s = zip_source_buffer(z, text.data(), text.size(), 0);
      zip_file_add(z, entry.c_str(), s, ZIP_FL_OVERWRITE);
    }
    EXPECT_EQ(zip_close(z), 0);
    return path(name);
  }
  std::string file(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
    return path(name);
  }

  fs::path folder_;
};

// The parts of a one-sheet workbook around the sheet's rows.
Parts WorkbookParts(const std::string& rows, const std::string& strings = {},
                    const std::string& styles = {}) {
  const std::string ns = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
                         R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  Parts parts = {
      {"_rels/.rels",
       R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
       R"(<Relationship Id="rId1" Type=")" +
           rel + R"(officeDocument" Target="xl/workbook.xml"/></Relationships>)"},
      {"xl/workbook.xml",
       "<workbook " + ns + R"(><sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>)"},
      {"xl/_rels/workbook.xml.rels",
       R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
       R"(<Relationship Id="rId1" Type=")" +
           rel +
           R"(worksheet" Target="worksheets/sheet1.xml"/>)"
           R"(<Relationship Id="rId2" Type=")" +
           rel +
           R"(sharedStrings" Target="/xl/sharedStrings.xml"/>)"
           R"(<Relationship Id="rId3" Type=")" +
           rel + R"(styles" Target="styles.xml"/></Relationships>)"},
      {"xl/worksheets/sheet1.xml", "<worksheet " + ns + "><sheetData>" + rows + "</sheetData></worksheet>"},
      {"xl/sharedStrings.xml", "<sst " + ns + ">" + strings + "</sst>"},
      {"xl/styles.xml", "<styleSheet " + ns + ">" + styles + "</styleSheet>"},
  };
  return parts;
}

struct SheetRead {
  std::vector<std::string> header;
  std::vector<CsvRow> rows;
  std::string error;
};

SheetRead ReadSheet(const std::string& file, const XlsxOptions& options = {}) {
  SheetRead s;
  XlsxListReader reader;
  if (reader.open(file, options) && reader.readHeader(s.header)) {
    CsvRow row;
    while (reader.next(row)) s.rows.push_back(row);
  }
  s.error = reader.error();
  return s;
}

std::vector<std::string> CellProblems(const CsvRow& row) {
  std::vector<std::string> out;
  for (const auto& p : row.cellProblems) out.push_back(p.message);
  return out;
}

// A person reads a workbook's cells as the spreadsheet shows them, and the
// same row exported to CSV: the shortest exact number, TRUE for a boolean,
// the stored value of a formula, rich and phonetic text as shown.
TEST_F(XlsxList, CellsReadAsTheTextTheSameRowExportedToCsvHolds) {
  const auto sheet = ReadSheet(zip(
      "cells.xlsx",
      WorkbookParts(
          R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="inlineStr"><is><r><t>Pipe </t></r>)"
          R"(<r><t>Length</t></r><rPh><t>x</t></rPh></is></c><c t="s"><v>2</v></c></row>)"
          R"(<row r="3"><c r="A3" t="s"><v>1</v></c><c r="B3"><v>3.5000000000000003E-2</v></c>)"
          R"(<c r="C3"><v>4</v></c><c r="D3" t="b"><v>1</v></c><c r="E3"><f>C3*0.375</f><v>1.5</v></c>)"
          R"(<c r="F3" t="str"><f>A3&amp;""</f><v>C-1</v></c><c r="G3" t="s"><v>2</v></c></row>)",
          R"(<si><t>Circuit No.</t></si><si><r><t>C-</t></r><r><t>1</t></r></si><si><t xml:space="preserve"> x </t></si>)")));
  ASSERT_EQ(sheet.error, "");
  EXPECT_EQ(sheet.header, (std::vector<std::string>{"Circuit No.", "Pipe Length", " x "}));
  ASSERT_EQ(sheet.rows.size(), 1u);
  EXPECT_EQ(sheet.rows[0].line, 3);  // the sheet's row number; the empty row 2 is no row
  // As wide as the headings: G3 lies beyond them.
  EXPECT_EQ(sheet.rows[0].fields, (std::vector<std::string>{"C-1", "0.035", "4"}));
  EXPECT_EQ(sheet.rows[0].problem, "Sheet1!D3: a value beyond the last heading");
}

// A number cell reads as the shortest plain decimal that gives back the
// stored double, whatever form the workbook stored it in.
TEST_F(XlsxList, NumbersReadAsTheirShortestExactDecimals) {
  const std::pair<const char*, const char*> numbers[] = {
      {"4", "4"},
      {"0.10", "0.1"},
      {"007", "7"},
      {"-0.5", "-0.5"},
      {"3.5000000000000003E-2", "0.035"},
      {"1E-4", "0.0001"},
      {"1.0000000000000002", "1.0000000000000002"},
      {"123456789012345678", "123456789012345680"},
      {"1E+22", "10000000000000000000000"},
      {"1E-300", "1e-300"},
  };
  std::string headings, values;
  for (std::size_t i = 0; i < std::size(numbers); ++i) {
    headings += "<c t=\"inlineStr\"><is><t>h" + std::to_string(i) + "</t></is></c>";
    values += std::string("<c><v>") + numbers[i].first + "</v></c>";
  }
  const auto sheet =
      ReadSheet(zip("numbers.xlsx", WorkbookParts("<row>" + headings + "</row><row>" + values + "</row>")));
  ASSERT_EQ(sheet.error, "");
  ASSERT_EQ(sheet.rows.size(), 1u);
  for (std::size_t i = 0; i < std::size(numbers); ++i) EXPECT_EQ(sheet.rows[0].fields[i], numbers[i].second);
}

// A cell whose value reads as no text names itself, so the row that reads
// it is refused with the cell a person can find.
TEST_F(XlsxList, CellsWithoutATextValueNameTheCellAndWhatToDo) {
  const std::string styles =
      R"(<numFmts><numFmt numFmtId="164" formatCode="yyyy\-mm\-dd"/>)"
      R"(<numFmt numFmtId="165" formatCode="&quot;mm&quot; 0.0"/></numFmts>)"
      R"(<cellXfs><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="164"/><xf numFmtId="165"/></cellXfs>)";
  const auto sheet = ReadSheet(zip(
      "problems.xlsx",
      WorkbookParts(
          R"(<row r="1"><c r="A1" t="inlineStr"><is><t>a</t></is></c><c r="F1" t="inlineStr"><is><t>f</t></is></c></row>)"
          R"(<row r="12"><c r="A12" s="1"><v>45000</v></c><c r="B12" s="2"><v>45000.5</v></c>)"
          R"(<c r="C12" t="e"><v>#N/A</v></c><c r="D12"><f>SUM(A1:A3)</f></c><c r="E12" s="3"><v>2.5</v></c>)"
          R"(<c r="F12" t="d"><v>2026-12-10</v></c></row>)",
          "", styles)));
  ASSERT_EQ(sheet.error, "");
  ASSERT_EQ(sheet.rows.size(), 1u);
  EXPECT_EQ(
      CellProblems(sheet.rows[0]),
      (std::vector<std::string>{
          "Sheet1!A12: the cell holds a date or a time (45000 as a number), not a number or a text",
          "Sheet1!B12: the cell holds a date or a time (45000.5 as a number), not a number or a text",
          "Sheet1!C12: the cell shows the error \"#N/A\"",
          "Sheet1!D12: formula without a stored value; open and save the workbook in the spreadsheet program",
          "Sheet1!F12: the cell holds a date (\"2026-12-10\"), not a number or a text"}));
  EXPECT_EQ(sheet.rows[0].fields[4], "2.5");  // "mm" in quotes is no month
}

// The headings are the first row with any text, hidden or not (as a CSV
// export keeps hidden rows), or the row --header-row names; the sheet is
// the first, or the one --sheet names by name or number.
TEST_F(XlsxList, TheHeadingsAndTheSheetAreTheOnesAskedFor) {
  const std::string file = path("two.xlsx");
  lxw_workbook* wb = workbook_new(file.c_str());
  lxw_worksheet* notes = workbook_add_worksheet(wb, "Notes");
  worksheet_write_string(notes, 1, 0, "Plant 7 tracing", nullptr);
  worksheet_write_string(notes, 3, 0, "Tag", nullptr);
  worksheet_write_number(notes, 4, 0, 7, nullptr);
  lxw_worksheet* list = workbook_add_worksheet(wb, "Line List");
  lxw_row_col_options hidden = {.hidden = 1, .level = 0, .collapsed = 0};
  worksheet_set_row_opt(list, 0, LXW_DEF_ROW_HEIGHT, nullptr, &hidden);
  worksheet_write_string(list, 0, 0, "Circuit No.", nullptr);
  worksheet_write_string(list, 1, 0, "C-1", nullptr);
  ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);

  struct Case {
    XlsxOptions options;
    std::string header, first, error;
  };
  const Case cases[] = {
      {{}, "Plant 7 tracing", "Tag", ""},
      {{"", 4}, "Tag", "7", ""},
      {{"line list", 0}, "Circuit No.", "C-1", ""},
      {{"2", 0}, "Circuit No.", "C-1", ""},
      {{"", 3}, "", "", "the row 3 of the sheet \"Notes\" holds no headings (--header-row)"},
      {{"Data", 0},
       "",
       "",
       "the workbook has no sheet \"Data\" (--sheet); its sheets: \"Notes\", \"Line List\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options.sheet + " " + std::to_string(c.options.headerRow));
    const auto sheet = ReadSheet(file, c.options);
    EXPECT_EQ(sheet.error, c.error);
    if (!c.error.empty()) continue;
    EXPECT_EQ(sheet.header, std::vector<std::string>{c.header});
    ASSERT_FALSE(sheet.rows.empty());
    EXPECT_EQ(sheet.rows[0].fields, std::vector<std::string>{c.first});
  }
}

// A file that is no workbook the reader takes is refused with what it is
// and what to do, never read far: a zip bomb by its stated size, no
// declaration in the XML expanded.
TEST_F(XlsxList, FilesThatAreNoReadableWorkbookSayWhatTheyAre) {
  // A real workbook, cut short and made to claim a sheet of 2 GB.
  const std::string good = path("good.xlsx");
  lxw_workbook* wb = workbook_new(good.c_str());
  worksheet_write_string(workbook_add_worksheet(wb, nullptr), 0, 0, "MAXAMB", nullptr);
  ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
  std::stringstream whole;
  whole << std::ifstream(good, std::ios::binary).rdbuf();
  const std::string bytes = whole.str();
  std::string bomb = bytes;
  for (std::size_t at = bomb.find("PK\x01\x02"); at != std::string::npos;
       at = bomb.find("PK\x01\x02", at + 4)) {
    if (bomb.compare(at + 46, 24, "xl/worksheets/sheet1.xml") == 0)
      bomb.replace(at + 24, 4, "\x00\x00\x00\x7F", 4);
  }
  const std::string compound = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(600, '\0');
  std::string encrypted = compound;
  for (char c : std::string("EncryptedPackage")) encrypted += std::string{c, '\0'};
  const std::string laughs = R"(<!DOCTYPE l [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;">]>)";
  Parts dtd = WorkbookParts("");
  dtd[3].second = laughs + dtd[3].second;

  struct Case {
    std::string what, file, error;
  };
  const Case cases[] = {
      {"truncated", file("cut.xlsx", bytes.substr(0, bytes.size() / 2)),
       "the workbook is damaged or incomplete (Not a zip archive); open it in the spreadsheet program and "
       "save it "
       "again, as .xlsx or CSV"},
      {"an .xls renamed", file("old.xlsx", compound),
       "the file is an Excel 97-2003 workbook (.xls), which is not read; save it as .xlsx or CSV in the "
       "spreadsheet program"},
      {"encrypted", file("secret.xlsx", encrypted),
       "the workbook is encrypted (protected by a password); remove the password or save it as .xlsx or CSV "
       "in "
       "the spreadsheet program"},
      {"text", file("list.xlsx", "CIRTXT,MAXAMB\n"),
       "the file is not an .xlsx workbook; save it as .xlsx or CSV in the spreadsheet program"},
      {"OpenDocument",
       zip("list.ods.xlsx",
           {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", "<x/>"}}),
       "the file is an OpenDocument file (.ods), not an .xlsx workbook; save it as .xlsx or CSV in the "
       "spreadsheet program"},
      {"a zip bomb", file("bomb.xlsx", bomb),
       "xl/worksheets/sheet1.xml unpacks to 2,130,706,432 bytes, more than the 268,435,456 a line list may "
       "hold; the file was not read"},
      {"a document type", zip("dtd.xlsx", dtd),
       "the sheet \"Sheet1\" is not readable (it declares a document type, which is not read); the workbook "
       "is "
       "damaged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReadSheet(c.file).error, c.error);
  }
}

// The same list in a workbook, headed with the window's captions and usual
// words and holding numbers as number cells, designs as its CSV with field
// codes does, in both unit systems.
TEST_F(XlsxList, AWorkbookWithCaptionHeadingsDesignsAsTheSameCsvList) {
  const std::string codes =
      "CIRTXT,PIPETXT,MAXAMB,MINAMB,MAINTEMP,MAXEXP,INSTYPE,INSTHK,PIPESIZE,PIPELN,PASSES,STEAMPRS,TRACEINS,"
      "TRACETUB,TUBEMAT,ALLOWANCE,VALN,FLNO,NOPX,WCTB,SHOES\n";
  const std::vector<std::string> headings = {"Circuit No.",
                                             "Line No.",
                                             "Max. Ambient (\u00B0F)",
                                             "Min. Ambient",
                                             "Maint. Temp.",
                                             "Steam Out / Max. Process Temp.",
                                             "Insulation",
                                             "Insulation Thickness",
                                             "Pipe Size",
                                             "Pipe Length",
                                             "Number of Passes",
                                             "Steam Pressure",
                                             "Tracer Installation",
                                             "Tracer Tubing",
                                             "Tracer Tubing Material",
                                             "ALLOWANCE",
                                             "valn",
                                             "FLNO",
                                             "NOPX",
                                             "WCTB",
                                             "SHOES"};
  struct Case {
    UnitSystem units;
    std::string rows;
  };
  const Case cases[] = {
      {UnitSystem::English,
       "ST-101,2-P-1001,100,0,100,375,Fiberglass,1,2,100,1,50,Troughline,3/8,Copper,No,2,3,1,0,12x4\n"
       "ST-102,3-P-1002,100,-20.5,200,375,Mineral Fiber,1.5,3,250,1,50,YJ-2,3/8,Stainless Wld,No,1,2,0,0,\n"},
      {UnitSystem::Metric,
       "M-1,P9,38,-18,65,190,Calcium Silicate,40,100,30.5,2,3.45,Troughline,12,Copper,Yes,1,0,0,0,300x2\n"},
  };
  for (const Case& c : cases) {
    BatchOptions options;
    options.units = c.units;
    if (c.units == UnitSystem::Metric) {
      options.pressureUnit = PressureUnit::BarG;
      // The metric workbook says its temperatures are °C.
    }
    std::vector<std::string> head = headings;
    if (c.units == UnitSystem::Metric) head[2] = "Max. Ambient (\u00B0C)";
    CsvError csvError;
    const auto csv = ParseCsv(codes + c.rows, csvError);
    ASSERT_TRUE(csv);
    const std::string file = path("list.xlsx");
    lxw_workbook* wb = workbook_new(file.c_str());
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    for (std::size_t col = 0; col < head.size(); ++col)
      worksheet_write_string(ws, 0, static_cast<lxw_col_t>(col), head[col].c_str(), nullptr);
    for (std::size_t r = 0; r < csv->rows.size(); ++r) {
      for (std::size_t col = 0; col < head.size(); ++col) {
        const std::string& text = csv->rows[r].fields[col];
        const auto row = static_cast<lxw_row_t>(r + 1);
        const auto at = static_cast<lxw_col_t>(col);
        char* end = nullptr;
        const double number = std::strtod(text.c_str(), &end);
        if (!text.empty() && *end == '\0' && text.find('/') == std::string::npos)
          worksheet_write_number(ws, row, at, number, nullptr);
        else if (!text.empty())
          worksheet_write_string(ws, row, at, text.c_str(), nullptr);
      }
    }
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
    const auto sheet = ReadSheet(file);
    ASSERT_EQ(sheet.error, "");
    const auto fromCsv = DesignLineList(*csv, options);
    const auto fromWorkbook = DesignLineList(CsvTable{sheet.header, sheet.rows, ','}, options);
    ASSERT_TRUE(fromWorkbook.ok) << fromWorkbook.error;
    EXPECT_EQ(BatchCsv(fromWorkbook, options), BatchCsv(fromCsv, options));
    for (const auto& circuit : fromWorkbook.circuits) EXPECT_TRUE(circuit.ok);
  }
}

}  // namespace
}  // namespace vst
