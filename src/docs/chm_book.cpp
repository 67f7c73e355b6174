#include "docs/chm_book.h"

#include <chm_lib.h>

#include <system_error>

namespace vst {

namespace {

std::string InBookPath(std::string_view path) {
  std::string p(path);
  if (p.empty() || p.front() != '/') p.insert(p.begin(), '/');
  return p;
}

}  // namespace

std::unique_ptr<ChmBook> ChmBook::open(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return nullptr;
  chmFile* handle = chm_open(file.c_str());
  if (!handle) return nullptr;
  return std::unique_ptr<ChmBook>(new ChmBook(handle, file));
}

ChmBook::ChmBook(chmFile* handle, std::filesystem::path file) : handle_(handle), file_(std::move(file)) {}

ChmBook::~ChmBook() { chm_close(handle_); }

bool ChmBook::has(std::string_view path) const {
  chmUnitInfo info{};
  return chm_resolve_object(handle_, InBookPath(path).c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> ChmBook::read(std::string_view path) const {
  chmUnitInfo info{};
  if (chm_resolve_object(handle_, InBookPath(path).c_str(), &info) != CHM_RESOLVE_SUCCESS)
    return std::nullopt;
  if (info.length > kMaxObjectSize) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(info.length), '\0');
  if (bytes.empty()) return bytes;
  const LONGINT64 got = chm_retrieve_object(handle_, &info, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                            static_cast<LONGINT64>(info.length));
  if (got != static_cast<LONGINT64>(info.length)) return std::nullopt;
  return bytes;
}

}  // namespace vst
