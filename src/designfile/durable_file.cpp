#include "designfile/durable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace vst::designfile_detail {

namespace {

std::string RandomSuffix() {
  static std::atomic<unsigned> counter{0};
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::mt19937 gen(device() ^ (counter.fetch_add(1) * 2654435761u) ^ static_cast<unsigned>(getpid()));
  std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof(kChars)) - 2);
  std::string s;
  for (int i = 0; i < 8; ++i) s += kChars[pick(gen)];
  return s;
}

}  // namespace

int CreateTemporaryFile(const std::filesystem::path& folder, const std::string& baseName,
                        std::filesystem::path& path, int& fd) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = folder / ("." + baseName + "." + RandomSuffix() + ".tmp");
    const int f = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (f >= 0) {
      path = std::move(candidate);
      fd = f;
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
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

}  // namespace vst::designfile_detail
