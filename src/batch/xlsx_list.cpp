#include "batch/xlsx_list.h"

#include <expat.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

#include "bom/xlsx_export.h"
#include "core/legacy_math.h"
#include "core/output_file.h"
#include "core/quoted_value.h"

namespace vst {

namespace {

constexpr std::size_t kChunk = 1 << 18;
// The most columns a worksheet has (XFD).
constexpr std::size_t kMaxSheetColumns = 16384;
constexpr std::string_view kSaveAs = "save it as .xlsx or CSV in the spreadsheet program";

bool StartsWith(std::string_view text, std::string_view head) { return text.substr(0, head.size()) == head; }

std::string LowerText(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool EndsWithName(const std::string& path, std::string_view tail) {
  const std::string lower = LowerText(path);
  return lower.size() >= tail.size() && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
}

constexpr std::string_view kZipMagic = "PK\x03\x04";
constexpr std::string_view kCompoundMagic = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

// What a compound file is: an encrypted workbook keeps its package in a
// stream named EncryptedPackage; anything else is taken for the old binary
// workbook.
std::string CompoundFileProblem(std::string_view bytes) {
  static const std::string kEncrypted = [] {
    std::string name;
    for (char c : std::string_view("EncryptedPackage")) {
      name += c;
      name += '\0';
    }
    return name;
  }();
  if (bytes.find(kEncrypted) != std::string_view::npos)
    return "the workbook is encrypted (protected by a password); remove the password or " +
           std::string(kSaveAs);
  return "the file is an Excel 97-2003 workbook (.xls), which is not read; " + std::string(kSaveAs);
}

// The local name of an element or attribute: "namespace|name" as a parser
// with namespaces gives it, "prefix:name" as one without does.
std::string_view LocalName(const XML_Char* name) {
  const char* local = name;
  const char* c = name;
  for (; *c; ++c) {
    if (*c == '|') local = c + 1;
  }
  if (local == name) {
    for (const char* p = name; p < c; ++p)
      if (*p == ':') local = p + 1;
  }
  return std::string_view(local, static_cast<std::size_t>(c - local));
}

std::string_view Attribute(const XML_Char** attributes, std::string_view local) {
  for (const XML_Char** a = attributes; *a; a += 2) {
    if (LocalName(a[0]) == local) return a[1];
  }
  return {};
}

// The relationship id of an element: the "id" attribute in a relationships
// namespace (transitional or strict).
std::string_view RelationshipId(const XML_Char** attributes) {
  for (const XML_Char** a = attributes; *a; a += 2) {
    const std::string_view name = a[0];
    if (LocalName(a[0]) == "id" && name.find("relationships") != std::string_view::npos) return a[1];
  }
  return {};
}

std::optional<long> WholeNumber(std::string_view text) {
  long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// An XML part parsed by expat as it is given, with namespaces resolved
// (the sheet, by far the largest part, by its local names alone: it names
// nothing from another namespace that the reader reads) and no document
// type declaration taken (no entity is ever expanded).
class XmlPart {
 public:
  virtual ~XmlPart() {
    if (parser_) XML_ParserFree(parser_);
  }
  explicit XmlPart(bool namespaces = true)
      : parser_(namespaces ? XML_ParserCreateNS(nullptr, '|') : XML_ParserCreate(nullptr)) {
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(
        parser_,
        [](void* self, const XML_Char* name, const XML_Char** attributes) {
          static_cast<XmlPart*>(self)->start(LocalName(name), attributes);
        },
        [](void* self, const XML_Char* name) { static_cast<XmlPart*>(self)->end(LocalName(name)); });
    XML_SetCharacterDataHandler(parser_, [](void* self, const XML_Char* text, int length) {
      static_cast<XmlPart*>(self)->text(std::string_view(text, static_cast<std::size_t>(length)));
    });
    XML_SetStartDoctypeDeclHandler(parser_,
                                   [](void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
                                     static_cast<XmlPart*>(self)->refuseDeclaration("a document type");
                                   });
    XML_SetEntityDeclHandler(parser_, [](void* self, const XML_Char*, int, const XML_Char*, int,
                                         const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*) {
      static_cast<XmlPart*>(self)->refuseDeclaration("an entity");
    });
  }
  XmlPart(const XmlPart&) = delete;
  XmlPart& operator=(const XmlPart&) = delete;

  // Parses the next piece; false on malformed XML or when a handler
  // stopped (problem() says why).
  bool feed(const char* data, std::size_t size, bool last) {
    if (!problem_.empty()) return false;
    if (XML_Parse(parser_, data, static_cast<int>(size), last ? 1 : 0) == XML_STATUS_OK) return true;
    if (problem_.empty()) {
      problem_ = std::string(XML_ErrorString(XML_GetErrorCode(parser_))) + " at line " +
                 std::to_string(XML_GetCurrentLineNumber(parser_));
    }
    return false;
  }
  const std::string& problem() const { return problem_; }

 protected:
  virtual void start(std::string_view name, const XML_Char** attributes) = 0;
  virtual void end(std::string_view name) = 0;
  virtual void text(std::string_view) {}
  // Ends the parse with a problem (the handlers run inside expat).
  void stop(const std::string& what) {
    if (problem_.empty()) problem_ = what;
    XML_StopParser(parser_, XML_FALSE);
  }

 private:
  XML_Parser parser_;
  std::string problem_;

  void refuseDeclaration(const char* what) {
    stop(std::string("it declares ") + what + ", which is not read");
  }
};

struct Relationship {
  std::string id, type, target;
};

class RelationshipsPart : public XmlPart {
 public:
  std::vector<Relationship> relationships;

 protected:
  void start(std::string_view name, const XML_Char** a) override {
    if (name == "Relationship" && Attribute(a, "TargetMode") != "External")
      relationships.push_back({std::string(Attribute(a, "Id")), std::string(Attribute(a, "Type")),
                               std::string(Attribute(a, "Target"))});
  }
  void end(std::string_view) override {}
};

struct SheetEntry {
  std::string name, relationship;
};

class WorkbookPart : public XmlPart {
 public:
  std::vector<SheetEntry> sheets;

 protected:
  void start(std::string_view name, const XML_Char** a) override {
    if (name == "sheet")
      sheets.push_back({std::string(Attribute(a, "name")), std::string(RelationshipId(a))});
  }
  void end(std::string_view) override {}
};

// Whether a number format shows dates or times: a built-in date format, or
// a format code with a day, month, year, hour or second outside quoted text.
bool IsDateFormatCode(std::string_view code) {
  bool quoted = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (quoted) {
      continue;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;  // the next character is shown as it is
    } else if (c == '[') {
      // [Red], [$-409]: no date; [h], [mm], [ss]: elapsed time.
      const std::size_t close = code.find(']', i);
      const std::string_view inside = code.substr(i + 1, close == std::string_view::npos ? 0 : close - i - 1);
      if (!inside.empty() && std::strchr("hHmMsS", inside[0]) &&
          inside.find_first_not_of("hHmMsS") == inside.npos)
        return true;
      if (close == std::string_view::npos) return false;
      i = close;
    } else if (std::strchr("dDmMyYhHsS", c)) {
      return true;
    }
  }
  return false;
}

bool IsBuiltInDateFormat(long id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

// The cell styles whose number format shows a date or a time.
class StylesPart : public XmlPart {
 public:
  std::vector<bool> dateStyles;  // by the cells' style index

 protected:
  void start(std::string_view name, const XML_Char** a) override {
    if (name == "numFmt") {
      if (auto id = WholeNumber(Attribute(a, "numFmtId")); id && IsDateFormatCode(Attribute(a, "formatCode")))
        customDates_.insert(*id);
    } else if (name == "cellXfs") {
      inCellFormats_ = true;
    } else if (name == "xf" && inCellFormats_) {
      const auto id = WholeNumber(Attribute(a, "numFmtId")).value_or(0);
      dateStyles.push_back(IsBuiltInDateFormat(id) || customDates_.count(id) > 0);
    }
  }
  void end(std::string_view name) override {
    if (name == "cellXfs") inCellFormats_ = false;
  }

 private:
  std::set<long> customDates_;
  bool inCellFormats_ = false;
};

// The shared strings, each kept to kMaxCsvFieldBytes + 1 bytes (enough to
// know it is too long); the phonetic readings of East Asian text left out.
class SharedStringsPart : public XmlPart {
 public:
  std::vector<std::string> strings;

 protected:
  void start(std::string_view name, const XML_Char**) override {
    if (name == "si") {
      strings.emplace_back();
      inItem_ = true;
    } else if (name == "rPh") {
      inPhonetic_ = true;
    } else if (name == "t" && inItem_ && !inPhonetic_) {
      inText_ = true;
    }
  }
  void end(std::string_view name) override {
    if (name == "si") inItem_ = false;
    if (name == "rPh") inPhonetic_ = false;
    if (name == "t") inText_ = false;
  }
  void text(std::string_view t) override {
    if (!inText_) return;
    std::string& s = strings.back();
    s.append(
        t.substr(0, std::min(t.size(), kMaxCsvFieldBytes + 1 - std::min(s.size(), kMaxCsvFieldBytes + 1))));
  }

 private:
  bool inItem_ = false, inPhonetic_ = false, inText_ = false;
};

// A cell's type attribute by one letter: s shared string, i inline string,
// f a formula's string, b boolean, e error, d date, n number (or none).
char CellType(std::string_view t) {
  if (t == "s" || t == "b" || t == "e" || t == "d") return t[0];
  if (t == "inlineStr") return 'i';
  if (t == "str") return 'f';
  return 'n';
}

// "B12" as 0-based column 1 and row 12; false when it is no cell reference.
bool CellReference(std::string_view ref, std::size_t& column, long& row) {
  std::size_t i = 0, col = 0;
  while (i < ref.size() && i < 3 && std::isupper(static_cast<unsigned char>(ref[i]))) {
    col = col * 26 + static_cast<std::size_t>(ref[i] - 'A' + 1);
    ++i;
  }
  if (i == 0 || col > kMaxSheetColumns) return false;
  const auto r = WholeNumber(ref.substr(i));
  if (!r || *r < 1) return false;
  column = col - 1;
  row = *r;
  return true;
}

std::string ColumnLetters(std::size_t column) {
  std::string out;
  for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26)
    out.insert(out.begin(), static_cast<char>('A' + (n - 1) % 26));
  return out;
}

// Whether a stored number is already written as its shortest exact text:
// a plain decimal ("-12.5", "0.035") with no superfluous zero and at most 15
// significant digits, which every double tells apart, so no shorter text
// reads back to the same value. Most cells are; they need no conversion.
bool IsShortestDecimal(std::string_view t) {
  std::size_t i = t.size() > 0 && t[0] == '-' ? 1 : 0;
  const std::size_t intStart = i;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
  const std::size_t intDigits = i - intStart;
  if (intDigits == 0 || (intDigits > 1 && t[intStart] == '0')) return false;
  std::size_t significant = t[intStart] == '0' ? 0 : intDigits;
  if (i == t.size()) return significant <= 15;
  if (t[i] != '.' || i + 1 == t.size() || t.back() == '0') return false;
  bool leading = significant == 0;
  for (++i; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
    if (leading && t[i] == '0') continue;
    leading = false;
    ++significant;
  }
  return significant <= 15;
}

// A stored number as a person reads it: the shortest text in plain
// decimals that reads back to the same double ("4", "1.5", "0.035",
// "0.0001"); in exponent form only where plain decimals would run past 64
// characters.
std::optional<std::string> NumberText(std::string_view stored) {
  stored = Trim(stored);
  if (IsShortestDecimal(stored)) return std::string(stored);
  double value = 0;
  const auto [end, ec] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
  if (ec != std::errc() || end != stored.data() + stored.size()) return std::nullopt;
  std::array<char, 64> text;
  auto written = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (written.ec != std::errc()) written = std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), written.ptr);
}

// The worksheet, parsed as its entry is read: completed rows wait in a
// queue until they are asked for.
class SheetPart : public XmlPart {
 public:
  SheetPart(std::string sheet, const std::vector<std::string>& strings, const std::vector<bool>& dateStyles)
      : XmlPart(false), sheet_(std::move(sheet)), strings_(strings), dateStyles_(dateStyles) {}

  // Before the headings are known a row is kept whole (up to the sheet's
  // width); afterwards, as wide as the headings.
  std::size_t width = kMaxSheetColumns;
  std::deque<CsvRow> rows;

  // "Sheet1!F12", the sheet quoted when its name needs it ('Line List'!F12).
  std::string cellName(std::size_t column, long row) const {
    return sheetReference_() + "!" + ColumnLetters(column) + std::to_string(row);
  }

 protected:
  void start(std::string_view name, const XML_Char** a) override {
    if (name == "row") {
      const auto r = WholeNumber(Attribute(a, "r"));
      const long number = r ? *r : rowNumber_ + 1;
      if (number <= rowNumber_) return stop("its rows are out of order at row " + std::to_string(number));
      rowNumber_ = number;
      row_ = CsvRow{};
      row_.fields.reserve(std::min<std::size_t>(width, 256));
      row_.line = static_cast<int>(std::min<long>(number, 1L << 30));
      rowBytes_ = 0;
      nextColumn_ = 0;
      inRow_ = true;
    } else if (name == "c" && inRow_) {
      // The cell's attributes in one pass: r (its reference), t (type), s (style).
      std::string_view ref, type, styleText;
      for (const XML_Char** at = a; *at; at += 2) {
        const std::string_view attribute = LocalName(at[0]);
        if (attribute.size() != 1) continue;
        if (attribute[0] == 'r') ref = at[1];
        if (attribute[0] == 't') type = at[1];
        if (attribute[0] == 's') styleText = at[1];
      }
      long refRow = rowNumber_;
      if (ref.empty()) {
        column_ = nextColumn_;
      } else if (!CellReference(ref, column_, refRow) || refRow != rowNumber_) {
        return stop("the cell reference " + QuotedValue(ref) + " is not one of row " +
                    std::to_string(rowNumber_));
      }
      if (column_ >= kMaxSheetColumns)
        return stop("a row has more than " + Grouped(kMaxSheetColumns) + " cells");
      nextColumn_ = column_ + 1;
      type_ = CellType(type);
      const auto style = styleText.empty() ? std::nullopt : WholeNumber(styleText);
      dateStyle_ = style && *style >= 0 && static_cast<std::size_t>(*style) < dateStyles_.size() &&
                   dateStyles_[static_cast<std::size_t>(*style)];
      value_.clear();
      hasValue_ = hasFormula_ = inPhonetic_ = false;
      inCell_ = true;
    } else if (inCell_ && (name == "v" || (name == "t" && !inPhonetic_))) {
      collecting_ = true;
      hasValue_ = true;
    } else if (inCell_ && name == "f") {
      hasFormula_ = true;
    } else if (inCell_ && name == "rPh") {
      inPhonetic_ = true;
    }
  }

  void end(std::string_view name) override {
    if (name == "v" || name == "t") {
      collecting_ = false;
    } else if (name == "rPh") {
      inPhonetic_ = false;
    } else if (name == "c" && inCell_) {
      inCell_ = false;
      finishCell();
    } else if (name == "row" && inRow_) {
      inRow_ = false;
      if (!row_.fields.empty() || !row_.cellProblems.empty() || !row_.problem.empty())
        rows.push_back(std::move(row_));
    }
  }

  void text(std::string_view t) override {
    if (!collecting_) return;
    const std::size_t room = kMaxCsvFieldBytes + 1 - std::min(value_.size(), kMaxCsvFieldBytes + 1);
    value_.append(t.substr(0, std::min(t.size(), room)));
  }

 private:
  std::string cellName() const { return cellName(column_, rowNumber_); }
  // A sheet name with blanks or punctuation is quoted as formulas quote it.
  std::string sheetReference_() const {
    const bool plain = std::all_of(sheet_.begin(), sheet_.end(), [](char c) {
      return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || (c & 0x80);
    });
    return plain ? sheet_ : "'" + sheet_ + "'";
  }

  void finishCell() {
    std::string shown;
    std::string problem;
    if (type_ == 's') {
      const auto index = WholeNumber(Trim(value_));
      if (!index || *index < 0 || static_cast<std::size_t>(*index) >= strings_.size())
        problem = "the cell names a shared string the workbook does not hold";
      else
        shown = strings_[static_cast<std::size_t>(*index)];
    } else if (type_ == 'i' || type_ == 'f') {
      shown = std::move(value_);
    } else if (type_ == 'b') {
      shown = Trim(value_) == "1" ? "TRUE" : "FALSE";
    } else if (type_ == 'e') {
      shown = std::string(Trim(value_));
      problem = "the cell shows the error " + QuotedValue(shown);
    } else if (type_ == 'd') {
      shown = std::string(Trim(value_));
      problem = "the cell holds a date (" + QuotedValue(shown) + "), not a number or a text";
    } else if (hasValue_ && !Trim(value_).empty()) {
      if (auto number = NumberText(value_)) {
        shown = *number;
        if (dateStyle_)
          problem = "the cell holds a date or a time (" + shown + " as a number), not a number or a text";
      } else {
        problem = "the cell's number " + QuotedValue(value_) + " cannot be read";
      }
    }
    if (hasFormula_ && (!hasValue_ || (type_ != 'f' && Trim(value_).empty()))) {
      problem = "formula without a stored value; open and save the workbook in the spreadsheet program";
    }
    if (shown.empty() && problem.empty()) return;
    if (column_ >= width) {
      if ((!problem.empty() || !Trim(shown).empty()) && row_.problem.empty())
        row_.problem = cellName() + ": a value beyond the last heading";
      return;
    }
    if (shown.size() > kMaxCsvFieldBytes) {
      shown.resize(kMaxCsvFieldBytes);
      if (row_.problem.empty())
        row_.problem = cellName() + ": the cell is longer than " + Grouped(kMaxCsvFieldBytes) + " bytes";
    }
    rowBytes_ += shown.size();
    if (rowBytes_ > kMaxCsvLineBytes) {
      if (row_.problem.empty())
        row_.problem = "row " + std::to_string(rowNumber_) + ": the row is longer than " +
                       Grouped(kMaxCsvLineBytes) + " bytes";
      return;
    }
    if (row_.fields.size() <= column_) row_.fields.resize(column_ + 1);
    row_.fields[column_] = std::move(shown);
    if (!problem.empty()) row_.cellProblems.push_back({column_, cellName() + ": " + problem});
  }

  std::string sheet_;
  const std::vector<std::string>& strings_;
  const std::vector<bool>& dateStyles_;
  CsvRow row_;
  long rowNumber_ = 0;
  std::size_t rowBytes_ = 0;
  std::size_t column_ = 0, nextColumn_ = 0;
  char type_ = 'n';
  std::string value_;
  bool inRow_ = false, inCell_ = false, collecting_ = false, hasValue_ = false, hasFormula_ = false;
  bool inPhonetic_ = false, dateStyle_ = false;
};

// "xl/worksheets/../x.xml" as "xl/x.xml"; a target relative to the folder
// of the part that names it, or absolute from the package's root.
std::string PartPath(const std::string& folder, const std::string& target) {
  std::string joined = StartsWith(target, "/") ? target.substr(1) : folder + target;
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= joined.size()) {
    std::size_t slash = joined.find('/', start);
    if (slash == std::string::npos) slash = joined.size();
    const std::string part = joined.substr(start, slash - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = slash + 1;
  }
  std::string out;
  for (const auto& p : parts) out += (out.empty() ? "" : "/") + p;
  return out;
}

std::string FolderOf(const std::string& part) {
  const std::size_t slash = part.rfind('/');
  return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

bool EndsWithType(const std::string& type, std::string_view tail) {
  return type.size() >= tail.size() && type.compare(type.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

bool LooksLikeWorkbook(const std::string& path) {
  if (EndsWithName(path, ".xlsx") || EndsWithName(path, ".xlsm") || EndsWithName(path, ".xls")) return true;
  std::ifstream in(path, std::ios::binary);
  std::array<char, 8> head{};
  in.read(head.data(), head.size());
  const std::string_view bytes(head.data(), static_cast<std::size_t>(in.gcount()));
  return StartsWith(bytes, kZipMagic) || StartsWith(bytes, kCompoundMagic);
}

// Unpacks an entry on a thread of its own, a few pieces ahead of the
// parser, so the two share the work of a long sheet. Stops at the end, on
// an error, beyond the limit, or when asked to.
class Unpacker {
 public:
  explicit Unpacker(zip_file_t* file) : file_(file), thread_([this] { run(); }) {}
  ~Unpacker() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
    zip_fclose(file_);
  }
  Unpacker(const Unpacker&) = delete;
  Unpacker& operator=(const Unpacker&) = delete;

  // The next piece into `piece`; empty at the end. False on an error
  // (`error` says why, "" when the entry passed the limit).
  bool next(std::string& piece, std::string& error, bool& beyondLimit) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !ready_.empty() || done_; });
    if (!ready_.empty()) {
      piece.swap(ready_.front());
      ready_.pop_front();
      changed_.notify_all();
      return true;
    }
    error = error_;
    beyondLimit = beyondLimit_;
    piece.clear();
    return error_.empty() && !beyondLimit_;
  }

 private:
  static constexpr std::size_t kAhead = 4;

  void run() {
    std::uint64_t total = 0;
    for (;;) {
      std::string piece(kChunk, '\0');
      const zip_int64_t got = zip_fread(file_, piece.data(), piece.size());
      std::unique_lock<std::mutex> lock(mutex_);
      if (got < 0) error_ = zip_file_strerror(file_);
      total += got > 0 ? static_cast<std::uint64_t>(got) : 0;
      beyondLimit_ = total > kMaxXlsxEntryBytes;
      if (got <= 0 || beyondLimit_ || stop_) {
        done_ = true;
        changed_.notify_all();
        return;
      }
      piece.resize(static_cast<std::size_t>(got));
      changed_.wait(lock, [this] { return ready_.size() < kAhead || stop_; });
      ready_.push_back(std::move(piece));
      changed_.notify_all();
    }
  }

  zip_file_t* file_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> ready_;
  bool done_ = false, stop_ = false, beyondLimit_ = false;
  std::string error_;
  std::thread thread_;  // last: it starts once the rest is made
};

struct XlsxListReader::Impl {
  XlsxOptions options;
  std::string bytes;  // the workbook, when given as bytes
  zip_t* archive = nullptr;
  std::unique_ptr<Unpacker> sheetFile;
  bool sheetDone = false;
  std::vector<std::string> sheetNames;
  std::string sheetName;
  std::string sheetPart;
  std::vector<std::string> strings;
  std::vector<bool> dateStyles;
  std::unique_ptr<SheetPart> sheet;
  std::string chunk;  // the piece of the sheet being parsed
  bool failed = false;
  bool headerRead = false;
  int headerLine = 0;
  std::string error;

  ~Impl() {
    sheetFile.reset();  // before the archive it reads
    if (archive) zip_discard(archive);
  }

  bool fail(const std::string& message) {
    failed = true;
    if (error.empty()) error = message;
    return false;
  }

  bool openArchive(zip_source_t* source, zip_error_t& ze);
  bool readEntry(const std::string& name, XmlPart& part, bool required);
  bool openSheetEntry();
  bool readMore();
  bool chooseSheet();
};

// The archive's zip error as a message about the workbook.
std::string ArchiveProblem(int code) {
  zip_error_t e;
  zip_error_init_with_code(&e, code);
  std::string text = zip_error_strerror(&e);
  zip_error_fini(&e);
  return text;
}

bool XlsxListReader::Impl::openArchive(zip_source_t* source, zip_error_t& ze) {
  archive = zip_open_from_source(source, ZIP_RDONLY, &ze);
  if (!archive) {
    const int code = zip_error_code_zip(&ze);
    zip_source_free(source);
    return fail("the workbook is damaged or incomplete (" + ArchiveProblem(code) +
                "); open it in the spreadsheet program and save it again, as .xlsx or CSV");
  }
  return chooseSheet();
}

// Reads a whole entry into a parser. An entry that would unpack beyond the
// limit is refused from its stated size, and reading stops at the limit.
bool XlsxListReader::Impl::readEntry(const std::string& name, XmlPart& part, bool required) {
  const zip_int64_t index = zip_name_locate(archive, name.c_str(), 0);
  if (index < 0) return required ? fail("the workbook has no " + name + "; it is damaged") : true;
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE) &&
      st.size > kMaxXlsxEntryBytes) {
    return fail(name + " unpacks to " + Grouped(static_cast<std::size_t>(st.size)) +
                " bytes, more than the " + Grouped(kMaxXlsxEntryBytes) +
                " a line list may hold; the file was not read");
  }
  zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
  if (!file) {
    const int code = zip_error_code_zip(zip_get_error(archive));
    if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_ENCRNOTSUPP || code == ZIP_ER_WRONGPASSWD)
      return fail("the workbook is encrypted; remove the password or " + std::string(kSaveAs));
    return fail(name + " cannot be read (" + ArchiveProblem(code) + "); the workbook is damaged");
  }
  std::string chunk(kChunk, '\0');
  std::uint64_t total = 0;
  bool ok = true;
  for (;;) {
    const zip_int64_t got = zip_fread(file, chunk.data(), chunk.size());
    if (got < 0) {
      ok = fail(name + " cannot be read (" + std::string(zip_file_strerror(file)) +
                "); the workbook is damaged");
      break;
    }
    total += static_cast<std::uint64_t>(got);
    if (total > kMaxXlsxEntryBytes) {
      ok = fail(name + " unpacks to more than " + Grouped(kMaxXlsxEntryBytes) +
                " bytes, more than a line list may hold; the file was not read");
      break;
    }
    if (!part.feed(chunk.data(), static_cast<std::size_t>(got), got == 0)) {
      ok = fail(name + " is not readable XML (" + part.problem() + "); the workbook is damaged");
      break;
    }
    if (got == 0) break;
  }
  zip_fclose(file);
  return ok;
}

// The workbook's sheets from its parts: the package's relationships name
// the workbook, the workbook's its sheets, shared strings and styles.
bool XlsxListReader::Impl::chooseSheet() {
  RelationshipsPart package;
  if (zip_name_locate(archive, "_rels/.rels", 0) < 0 && zip_name_locate(archive, "xl/workbook.xml", 0) < 0) {
    if (zip_name_locate(archive, "mimetype", 0) >= 0 && zip_name_locate(archive, "content.xml", 0) >= 0)
      return fail("the file is an OpenDocument file (.ods), not an .xlsx workbook; " + std::string(kSaveAs));
    return fail("the file is a zip archive that holds no workbook; " + std::string(kSaveAs));
  }
  if (!readEntry("_rels/.rels", package, false)) return false;
  std::string workbookPart = "xl/workbook.xml";
  for (const auto& r : package.relationships) {
    if (EndsWithType(r.type, "/officeDocument")) workbookPart = PartPath("", r.target);
  }
  if (zip_name_locate(archive, workbookPart.c_str(), 0) < 0) {
    if (zip_name_locate(archive, "word/document.xml", 0) >= 0 ||
        zip_name_locate(archive, "ppt/presentation.xml", 0) >= 0)
      return fail("the file is an Office document but not a workbook; " + std::string(kSaveAs));
    return fail("the file is a zip archive that holds no workbook; " + std::string(kSaveAs));
  }
  WorkbookPart workbook;
  RelationshipsPart links;
  const std::string folder = FolderOf(workbookPart);
  const std::string name = workbookPart.substr(folder.size());
  if (!readEntry(workbookPart, workbook, true) || !readEntry(folder + "_rels/" + name + ".rels", links, true))
    return false;
  std::string stringsPart, stylesPart;
  for (const auto& r : links.relationships) {
    if (EndsWithType(r.type, "/sharedStrings")) stringsPart = PartPath(folder, r.target);
    if (EndsWithType(r.type, "/styles")) stylesPart = PartPath(folder, r.target);
  }
  for (const auto& s : workbook.sheets) sheetNames.push_back(s.name);
  if (workbook.sheets.empty()) return fail("the workbook has no sheet");
  // The sheet asked for by name (case aside, as the spreadsheet program
  // compares them), else by number; the first worksheet when none is.
  std::optional<std::size_t> chosen;
  const std::string& wanted = options.sheet;
  if (!wanted.empty()) {
    for (std::size_t i = 0; i < workbook.sheets.size() && !chosen; ++i)
      if (LowerText(workbook.sheets[i].name) == LowerText(wanted)) chosen = i;
    if (const auto n = WholeNumber(wanted);
        !chosen && n && *n >= 1 && static_cast<std::size_t>(*n) <= workbook.sheets.size())
      chosen = static_cast<std::size_t>(*n - 1);
    if (!chosen) {
      std::string list;
      for (const auto& s : sheetNames) list += (list.empty() ? "" : ", ") + QuotedValue(s);
      return fail("the workbook has no sheet " + QuotedValue(wanted) + " (--sheet); its sheets: " + list);
    }
  }
  for (std::size_t i = 0; i < workbook.sheets.size(); ++i) {
    if (chosen && *chosen != i) continue;
    for (const auto& r : links.relationships) {
      if (r.id != workbook.sheets[i].relationship) continue;
      if (EndsWithType(r.type, "/worksheet")) {
        sheetPart = PartPath(folder, r.target);
        sheetName = workbook.sheets[i].name;
      } else if (chosen) {
        return fail("the sheet " + QuotedValue(workbook.sheets[i].name) +
                    " is a chart or a dialog, not a worksheet");
      }
    }
    if (!sheetPart.empty()) break;
  }
  if (sheetPart.empty()) return fail("the workbook has no worksheet");
  if (!stylesPart.empty()) {
    StylesPart styles;
    if (!readEntry(stylesPart, styles, true)) return false;
    dateStyles = std::move(styles.dateStyles);
  }
  if (!stringsPart.empty()) {
    SharedStringsPart shared;
    if (!readEntry(stringsPart, shared, true)) return false;
    strings = std::move(shared.strings);
  }
  return openSheetEntry();
}

bool XlsxListReader::Impl::openSheetEntry() {
  const zip_int64_t index = zip_name_locate(archive, sheetPart.c_str(), 0);
  if (index < 0)
    return fail("the workbook has no " + sheetPart + " for the sheet " + QuotedValue(sheetName) +
                "; it is damaged");
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE) &&
      st.size > kMaxXlsxEntryBytes) {
    return fail(sheetPart + " unpacks to " + Grouped(static_cast<std::size_t>(st.size)) +
                " bytes, more than the " + Grouped(kMaxXlsxEntryBytes) +
                " a line list may hold; the file was not read");
  }
  zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
  if (!file) return fail(sheetPart + " cannot be read; the workbook is damaged");
  sheetFile = std::make_unique<Unpacker>(file);
  sheet = std::make_unique<SheetPart>(sheetName, strings, dateStyles);
  return true;
}

// Parses the next piece of the sheet; false at its end or on a problem.
bool XlsxListReader::Impl::readMore() {
  if (sheetDone || failed) return false;
  std::string problem;
  bool beyondLimit = false;
  if (!sheetFile->next(chunk, problem, beyondLimit)) {
    if (beyondLimit)
      return fail(sheetPart + " unpacks to more than " + Grouped(kMaxXlsxEntryBytes) +
                  " bytes, more than a line list may hold");
    return fail(sheetPart + " cannot be read (" + problem + "); the workbook is damaged");
  }
  if (!sheet->feed(chunk.data(), chunk.size(), chunk.empty()))
    return fail("the sheet " + QuotedValue(sheetName) + " is not readable (" + sheet->problem() +
                "); the workbook is damaged");
  if (chunk.empty()) sheetDone = true;
  return true;
}

XlsxListReader::XlsxListReader() : impl_(std::make_unique<Impl>()) {}
XlsxListReader::~XlsxListReader() = default;

bool XlsxListReader::open(const std::string& path, const XlsxOptions& options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return impl_->fail("the file cannot be opened");
  std::array<char, 8> head{};
  in.read(head.data(), head.size());
  const std::string_view bytes(head.data(), static_cast<std::size_t>(in.gcount()));
  if (StartsWith(bytes, kCompoundMagic)) {
    // The directory of a compound file sits in its first sectors.
    std::string start(1 << 20, '\0');
    in.seekg(0);
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(in.gcount()));
    return impl_->fail(CompoundFileProblem(start));
  }
  if (!StartsWith(bytes, kZipMagic) && !StartsWith(bytes, "PK\x05\x06"))
    return impl_->fail("the file is not an .xlsx workbook; " + std::string(kSaveAs));
  impl_->options = options;
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* source = zip_source_file_create(path.c_str(), 0, -1, &ze);
  if (!source) return impl_->fail("the file cannot be opened (" + std::string(zip_error_strerror(&ze)) + ")");
  return impl_->openArchive(source, ze);
}

bool XlsxListReader::openBytes(std::string bytes, const XlsxOptions& options) {
  if (StartsWith(bytes, kCompoundMagic)) return impl_->fail(CompoundFileProblem(bytes));
  if (!StartsWith(bytes, kZipMagic) && !StartsWith(bytes, "PK\x05\x06"))
    return impl_->fail("the file is not an .xlsx workbook; " + std::string(kSaveAs));
  impl_->options = options;
  impl_->bytes = std::move(bytes);
  zip_error_t ze;
  zip_error_init(&ze);
  zip_source_t* source = zip_source_buffer_create(impl_->bytes.data(), impl_->bytes.size(), 0, &ze);
  if (!source)
    return impl_->fail("the workbook cannot be read (" + std::string(zip_error_strerror(&ze)) + ")");
  return impl_->openArchive(source, ze);
}

const std::vector<std::string>& XlsxListReader::sheetNames() const { return impl_->sheetNames; }
const std::string& XlsxListReader::sheetName() const { return impl_->sheetName; }
int XlsxListReader::headerLine() const { return impl_->headerLine; }
bool XlsxListReader::failed() const { return impl_->failed; }
const std::string& XlsxListReader::error() const { return impl_->error; }

bool XlsxListReader::readHeader(std::vector<std::string>& header) {
  Impl& s = *impl_;
  if (!s.sheet || s.headerRead) return s.fail("the workbook's sheet is not open");
  s.headerRead = true;
  const int wanted = s.options.headerRow;
  bool passed = false;
  while (!passed) {
    while (!s.sheet->rows.empty()) {
      CsvRow row = std::move(s.sheet->rows.front());
      s.sheet->rows.pop_front();
      const bool text = std::any_of(row.fields.begin(), row.fields.end(),
                                    [](const std::string& f) { return !Trim(f).empty(); });
      if (wanted > 0 && row.line > wanted) {
        passed = true;
        break;
      }
      if ((wanted > 0 && row.line != wanted) || (wanted == 0 && !text)) continue;
      if (!row.cellProblems.empty()) return s.fail(row.cellProblems.front().message + " (in the headings)");
      if (!row.problem.empty()) return s.fail(row.problem + " (in the headings)");
      while (!row.fields.empty() && Trim(row.fields.back()).empty()) row.fields.pop_back();
      if (row.fields.empty()) {
        passed = true;
        break;
      }
      header = std::move(row.fields);
      s.sheet->width = header.size();
      s.headerLine = row.line;
      return true;
    }
    if (!passed && !s.readMore()) break;
  }
  if (s.failed) return false;
  if (wanted > 0)
    return s.fail("the row " + std::to_string(wanted) + " of the sheet " + QuotedValue(s.sheetName) +
                  " holds no headings (--header-row)");
  return s.fail("the sheet " + QuotedValue(s.sheetName) + " is empty");
}

bool XlsxListReader::next(CsvRow& row) {
  Impl& s = *impl_;
  if (!s.headerRead || s.failed) return false;
  for (;;) {
    if (!s.sheet->rows.empty()) {
      row = std::move(s.sheet->rows.front());
      s.sheet->rows.pop_front();
      // Rows are cut to the headings as they are parsed; one parsed with
      // the headings' row may still be wider.
      if (row.fields.size() > s.sheet->width) {
        for (std::size_t i = s.sheet->width; i < row.fields.size() && row.problem.empty(); ++i) {
          if (!Trim(row.fields[i]).empty())
            row.problem = s.sheet->cellName(i, row.line) + ": a value beyond the last heading";
        }
        const std::size_t width = s.sheet->width;
        row.cellProblems.erase(
            std::remove_if(row.cellProblems.begin(), row.cellProblems.end(),
                           [width](const CsvRow::CellProblem& p) { return p.field >= width; }),
            row.cellProblems.end());
        row.fields.resize(width);
      }
      const bool blank = row.problem.empty() && row.cellProblems.empty() &&
                         std::all_of(row.fields.begin(), row.fields.end(),
                                     [](const std::string& f) { return Trim(f).empty(); });
      if (blank) continue;
      row.fields.resize(s.sheet->width);
      return true;
    }
    if (!s.readMore()) return false;
  }
}

std::string WriteListWorkbook(const std::vector<std::string>& header, const std::vector<CsvRow>& rows,
                              const std::string& path) {
  if (rows.size() + 1 > LXW_ROW_MAX) return "the list has more rows than a worksheet holds";
  if (header.size() > LXW_COL_MAX) return "the list has more columns than a worksheet holds";
  OutputFile out;
  if (!out.open(path)) return out.reason();
  const std::filesystem::path contents = out.contentsPath();
  if (contents.empty()) return out.reason();
  std::string folder = contents.parent_path().string();
  lxw_workbook_options options{};
  options.tmpdir = folder.data();
  lxw_workbook* workbook = workbook_new_opt(contents.c_str(), &options);
  if (!workbook) return "the workbook could not be created";
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Line List");
  const auto write = [&](lxw_row_t r, std::size_t c, const std::string& text) {
    if (text.empty()) return;
    const auto column = static_cast<lxw_col_t>(c);
    const auto number = NumberText(text);
    if (number && *number == text)
      worksheet_write_number(sheet, r, column, std::strtod(text.c_str(), nullptr), nullptr);
    else
      worksheet_write_string(sheet, r, column, text.c_str(), nullptr);
  };
  for (std::size_t c = 0; c < header.size(); ++c)
    worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), header[c].c_str(), nullptr);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].fields.size() && c < header.size(); ++c)
      write(static_cast<lxw_row_t>(r + 1), c, rows[r].fields[c]);
  }
  if (const lxw_error e = workbook_close(workbook); e != LXW_NO_ERROR)
    return std::string("the workbook could not be written (") + lxw_strerror(e) + ")";
  if (!EndsAsAWorkbook(contents)) return kWorkbookCutShort;
  if (!out.commit()) return out.reason();
  return {};
}

}  // namespace vst
