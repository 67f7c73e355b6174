#include "core/durable_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace vst::durable {

namespace {

constexpr std::size_t kRandomLength = 8;
constexpr std::string_view kTemporarySuffix = ".tmp";

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string RandomSuffix() {
  static std::atomic<unsigned> counter{0};
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::mt19937 gen(device() ^ (counter.fetch_add(1) * 2654435761u) ^ static_cast<unsigned>(getpid()));
  std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof(kChars)) - 2);
  std::string s;
  for (std::size_t i = 0; i < kRandomLength; ++i) s += kChars[pick(gen)];
  return s;
}

}  // namespace

int CreateTemporaryFile(const std::filesystem::path& folder, const std::string& baseName,
                        std::filesystem::path& path, int& fd) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = folder / ("." + baseName + "." + RandomSuffix() + ".tmp");
    const int f = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (f < 0) {
      if (errno != EEXIST) return errno;
      continue;
    }
    // Locked at once; should another save have taken the unlocked file for
    // a stale one in that moment and removed it, a new name is tried.
    struct stat opened {};
    struct stat named {};
    const bool locked = ::flock(f, LOCK_EX | LOCK_NB) == 0 || errno == ENOLCK || errno == EINVAL;
    if (locked && ::fstat(f, &opened) == 0 && ::stat(candidate.c_str(), &named) == 0 &&
        SameFile(opened, named)) {
      path = std::move(candidate);
      fd = f;
      return 0;
    }
    ::close(f);
  }
  return EEXIST;
}

bool IsTemporaryFileName(const std::string& name, const std::string& baseName) {
  const std::string prefix = "." + baseName + ".";
  if (name.size() != prefix.size() + kRandomLength + kTemporarySuffix.size()) return false;
  if (name.compare(0, prefix.size(), prefix) != 0) return false;
  if (name.compare(name.size() - kTemporarySuffix.size(), kTemporarySuffix.size(), kTemporarySuffix) != 0)
    return false;
  for (std::size_t i = prefix.size(); i < prefix.size() + kRandomLength; ++i) {
    const char c = name[i];
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

int RemoveStaleTemporaryFiles(const std::filesystem::path& folder, const std::string& baseName) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec) return 0;
  int removed = 0;
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::filesystem::path path = it->path();
    if (!IsTemporaryFileName(path.filename().string(), baseName)) continue;
    // Links, folders, other users' files: not the program's own.
    const int f = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (f < 0) continue;
    struct stat opened {};
    struct stat named {};
    const bool own = ::fstat(f, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == ::geteuid() &&
                     ::lstat(path.c_str(), &named) == 0 && SameFile(opened, named);
    // A save in progress holds the lock; the file is then in use.
    if (own && ::flock(f, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.c_str()) == 0) ++removed;
    ::close(f);
  }
  return removed;
}

int CopyFileInto(const std::filesystem::path& source, int fd, bool& sourceFailed) {
  sourceFailed = true;
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return errno;
  std::vector<char> buffer(1 << 16);
  int error = 0;
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    if (n == 0) break;
    ssize_t done = 0;
    while (done < n) {
      const ssize_t w = ::write(fd, buffer.data() + done, static_cast<size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        error = errno;
        sourceFailed = false;
        break;
      }
      done += w;
    }
    if (error != 0) break;
  }
  ::close(in);
  if (error == 0) sourceFailed = false;
  return error;
}

int SyncFile(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = ::fsync(fd) != 0 ? errno : 0;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

int SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = ::fsync(fd) != 0 ? errno : 0;
  ::close(fd);
  // Some file systems cannot flush a folder; the rename is then as durable
  // as they make it.
  if (error == EINVAL || error == ENOTSUP) error = 0;
  return error;
}

int CloseFile(int fd) { return ::close(fd) != 0 ? errno : 0; }

std::string ErrorText(int error) {
  if (error == ENOSPC || error == EDQUOT || error == EFBIG) return "the disk is full";
  return std::strerror(error);
}

}  // namespace vst::durable
