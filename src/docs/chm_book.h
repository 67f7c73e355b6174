// Reads files out of a compiled HTML help book (.chm) with chmlib. Paths
// inside a book start with "/" ("/12.htm"); a relative path is taken from
// the book's root.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct chmFile;

namespace vst {

class ChmBook {
 public:
  // The largest file read out of a book (16 MiB); a larger one counts as
  // damaged rather than filling the memory.
  static constexpr std::size_t kMaxObjectSize = std::size_t{16} << 20;

  // Opens a book; null when the file is missing or not a compiled help file.
  static std::unique_ptr<ChmBook> open(const std::filesystem::path& file);

  ~ChmBook();
  ChmBook(const ChmBook&) = delete;
  ChmBook& operator=(const ChmBook&) = delete;

  const std::filesystem::path& file() const { return file_; }

  // True when the book holds the file.
  bool has(std::string_view path) const;

  // The bytes of a file, or nothing when the book does not hold it or it
  // cannot be read whole.
  std::optional<std::string> read(std::string_view path) const;

 private:
  ChmBook(chmFile* handle, std::filesystem::path file);
  chmFile* handle_;
  std::filesystem::path file_;
};

}  // namespace vst
