// Line lists kept as .xlsx workbooks: one worksheet read row by row into the
// same rows a CSV list gives. libzip streams the sheet's entry out of the
// archive and expat parses it as it comes, so a long list needs the memory
// of its shared strings and of a few rows, never of the whole sheet.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "batch/csv.h"

namespace vst {

// The most bytes one entry of a workbook may unpack to. A larger entry (a
// zip bomb, or a sheet far beyond any line list) is refused before it is
// read, and reading stops when an entry that claimed less gives more.
inline constexpr std::uint64_t kMaxXlsxEntryBytes = 256u << 20;

struct XlsxOptions {
  std::string sheet;  // a sheet's name or its 1-based number; empty: the first worksheet
  int headerRow = 0;  // the sheet row that holds the headings; 0: the first row with any text
};

// Whether a file is to be read as a workbook rather than as delimited text:
// its name ends in .xlsx, .xlsm or .xls, or it begins as a zip archive or as
// a compound file (the old .xls format, or an encrypted workbook) does.
bool LooksLikeWorkbook(const std::string& path);

// Reads one worksheet of a workbook. Cells give the text a person sees for
// them: shared and inline strings, numbers in their shortest exact form
// ("4", "1.5", "0.035"), TRUE or FALSE, the stored value of a formula. A
// date, an error value (#N/A) or a formula without a stored value gives
// its cell a problem that names it ("Sheet1!F12: ..."), so the row is
// refused when it reads that column. A row's line is its sheet row number.
class XlsxListReader {
 public:
  XlsxListReader();
  ~XlsxListReader();
  XlsxListReader(const XlsxListReader&) = delete;
  XlsxListReader& operator=(const XlsxListReader&) = delete;

  // Opens the workbook and chooses its sheet. False when the file is no
  // workbook that can be read (an .xls, an encrypted or damaged workbook,
  // another kind of file, no such sheet); error() says what it is and what
  // to do.
  bool open(const std::string& path, const XlsxOptions& options);
  bool openBytes(std::string bytes, const XlsxOptions& options);

  // The names of the workbook's sheets, in its order, and the one read.
  const std::vector<std::string>& sheetNames() const;
  const std::string& sheetName() const;
  // The sheet row of the headings, once read.
  int headerLine() const;

  // The headings (trailing empty ones dropped). False when the sheet has
  // no row with text, or no such header row.
  bool readHeader(std::vector<std::string>& header);
  // The next data row with any value, as wide as the headings. False at
  // the end of the sheet, or when the sheet cannot be read (failed()).
  bool next(CsvRow& row);
  bool failed() const;
  const std::string& error() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Writes a line list as a workbook of one sheet through the program's one
// writer: the headings as they are, each field as a number cell when its
// text is a number's shortest exact form (so it reads back as the same
// text), else as text. The problem, or empty when written.
std::string WriteListWorkbook(const std::vector<std::string>& header, const std::vector<CsvRow>& rows,
                              const std::string& path);

}  // namespace vst
