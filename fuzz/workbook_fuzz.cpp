// libFuzzer target: any bytes as a line list workbook. The first byte picks
// how the rest is read: as the whole file (a zip archive, or anything else),
// or as the XML of the sheet inside a workbook made around it, so the
// fuzzer reaches the sheet's parser without first finding a zip archive.
// Reading must never crash; a workbook refused says why; rows read are as
// wide as the headings, fields within the reader's limit, and a row's
// problems name a cell of the sheet.
#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "batch/xlsx_list.h"

namespace {

// Rows read per input: enough to reach every path of a row.
constexpr std::size_t kRowsRead = 64;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// A workbook of one sheet whose XML is `sheet`, as the bytes of its file.
std::string WorkbookAround(std::string_view sheet) {
  static const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  const std::pair<const char*, std::string> parts[] = {
      {"_rels/.rels", "<Relationships><Relationship Id=\"a\" Type=\"" + rel +
                          "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml", "<workbook xmlns:r=\"" + rel.substr(0, rel.size() - 1) +
                              "\"><sheets><sheet name=\"S\" r:id=\"b\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels", "<Relationships><Relationship Id=\"b\" Type=\"" + rel +
                                         "worksheet\" Target=\"s.xml\"/><Relationship Id=\"c\" Type=\"" +
                                         rel + "sharedStrings\" Target=\"t.xml\"/></Relationships>"},
      {"xl/t.xml", "<sst><si><t>MAXAMB</t></si><si><r><t>1</t></r><r><t>5</t></r></si></sst>"},
      {"xl/s.xml", std::string(sheet)},
  };
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_t* z = buffer ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
  Check(z != nullptr);
  zip_source_keep(buffer);
  for (const auto& [name, text] : parts) {
    zip_source_t* s = zip_source_buffer(z, text.data(), text.size(), 0);
    Check(s != nullptr && zip_file_add(z, name, s, 0) >= 0);
  }
  Check(zip_close(z) == 0);
  std::string bytes;
  zip_stat_t st;
  if (zip_source_stat(buffer, &st) == 0 && zip_source_open(buffer) == 0) {
    bytes.resize(static_cast<std::size_t>(st.size));
    const zip_int64_t got = zip_source_read(buffer, bytes.data(), bytes.size());
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    zip_source_close(buffer);
  }
  zip_source_free(buffer);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  vst::XlsxOptions options;
  options.headerRow = (data[0] & 0x0E) >> 1;  // 0: the first row with text
  const std::string bytes = (data[0] & 1) != 0 ? WorkbookAround(rest) : std::string(rest);
  vst::XlsxListReader reader;
  std::vector<std::string> header;
  if (!reader.openBytes(bytes, options) || !reader.readHeader(header)) {
    Check(!reader.error().empty());
    return 0;
  }
  Check(!header.empty() && reader.headerLine() >= 1);
  vst::CsvRow row;
  for (std::size_t n = 0; n < kRowsRead && reader.next(row); ++n) {
    Check(row.fields.size() == header.size());
    Check(row.line > reader.headerLine());
    for (const auto& field : row.fields) Check(field.size() <= vst::kMaxCsvFieldBytes);
    for (const auto& problem : row.cellProblems) {
      Check(problem.field < header.size());
      Check(problem.message.find('!') != std::string::npos);
    }
  }
  if (reader.failed()) Check(!reader.error().empty());
  return 0;
}
