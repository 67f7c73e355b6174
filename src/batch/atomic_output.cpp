#include "batch/atomic_output.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "core/durable_file.h"

namespace vst {

namespace {

constexpr std::size_t kBufferLimit = 1 << 16;

// Temporary files in use, for the signal handler to remove: fixed storage,
// so the handler only reads memory and calls unlink (async-signal-safe).
constexpr int kSlots = 8;
constexpr std::size_t kPathMax = 4096;
std::array<std::array<char, kPathMax>, kSlots> gTempPaths{};
std::array<std::atomic<bool>, kSlots> gTempUsed{};

extern "C" void RemoveTemporariesAndExit(int signal) {
  for (int i = 0; i < kSlots; ++i) {
    if (gTempUsed[static_cast<std::size_t>(i)].load())
      ::unlink(gTempPaths[static_cast<std::size_t>(i)].data());
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void InstallHandlerOnce() {
  static const bool installed = [] {
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
      struct sigaction action {};
      action.sa_handler = RemoveTemporariesAndExit;
      sigemptyset(&action.sa_mask);
      sigaction(s, &action, nullptr);
    }
    return true;
  }();
  (void)installed;
}

int Register(const std::string& path) {
  if (path.size() >= kPathMax) return -1;
  for (int i = 0; i < kSlots; ++i) {
    auto& used = gTempUsed[static_cast<std::size_t>(i)];
    if (used.load()) continue;
    std::memcpy(gTempPaths[static_cast<std::size_t>(i)].data(), path.c_str(), path.size() + 1);
    used.store(true);
    return i;
  }
  return -1;
}

void Unregister(int slot) {
  if (slot >= 0) gTempUsed[static_cast<std::size_t>(slot)].store(false);
}

}  // namespace

AtomicOutput::~AtomicOutput() { abandon(); }

void AtomicOutput::fail(const std::string& what, int errnoValue) {
  if (failed_) return;
  failed_ = true;
  error_ = what + " " + target_ + ": " + durable::ErrorText(errnoValue);
}

bool AtomicOutput::open(const std::string& target) {
  abandon();
  target_ = target;
  error_.clear();
  failed_ = false;
  buffer_.clear();
  if (target.empty() || target == "-") {
    toStdout_ = true;
    return true;
  }
  toStdout_ = false;
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::is_directory(target, ec)) {
    failed_ = true;
    error_ = "cannot write " + target + ": it is a folder";
    return false;
  }
  const fs::path path(target);
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  InstallHandlerOnce();
  fs::path temp;
  if (const int e = durable::CreateTemporaryFile(folder, path.filename().string(), temp, fd_); e != 0) {
    fail("cannot write", e);
    return false;
  }
  temp_ = temp.string();
  slot_ = Register(temp_);
  return true;
}

bool AtomicOutput::flushBuffer() {
  if (failed_) {
    buffer_.clear();
    return false;
  }
  if (toStdout_) return writeBuffer(STDOUT_FILENO);
  if (fd_ < 0) {
    failed_ = true;
    if (error_.empty()) error_ = "cannot write " + target_ + ": the output is not open";
    buffer_.clear();
    return false;
  }
  return writeBuffer(fd_);
}

bool AtomicOutput::writeBuffer(int fd) {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t n = ::write(fd, buffer_.data() + done, buffer_.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;  // interrupted before anything was written: again
      fail("cannot write", errno);
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  buffer_.clear();
  return !failed_;
}

void AtomicOutput::write(std::string_view text) {
  buffer_.append(text);
  if (buffer_.size() >= kBufferLimit) flushBuffer();
}

bool AtomicOutput::commit() {
  flushBuffer();
  if (toStdout_) return !failed_;
  if (fd_ >= 0 && ::close(fd_) != 0) fail("cannot write", errno);
  fd_ = -1;
  // Flushed by name: a writer given temporaryPath() may have written it anew.
  if (!failed_) {
    if (const int e = durable::SyncFile(temp_); e != 0) fail("cannot write", e);
  }
  if (!failed_ && ::rename(temp_.c_str(), target_.c_str()) != 0) fail("cannot replace", errno);
  if (failed_) {
    abandon();
    return false;
  }
  Unregister(slot_);
  slot_ = -1;
  temp_.clear();
  // The new name is on disk once its folder is; a folder that cannot be
  // flushed leaves the rename as durable as its file system makes it.
  const std::filesystem::path path(target_);
  durable::SyncFolder(path.has_parent_path() ? path.parent_path() : std::filesystem::path("."));
  return true;
}

void AtomicOutput::abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  Unregister(slot_);
  slot_ = -1;
  buffer_.clear();
}

}  // namespace vst
