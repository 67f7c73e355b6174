#include "core/output_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/output_file_testing.h"
#include "core/quoted_value.h"

namespace vst {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kRandomLength = 8;
constexpr std::string_view kTemporarySuffix = ".tmp";
// The longest file name most file systems take, and the part of it that a
// shortened target name keeps before its hash.
constexpr std::size_t kNameMax = 255;
constexpr std::size_t kLongestBase = kNameMax - 2 - kRandomLength - kTemporarySuffix.size();
constexpr std::size_t kShortenedBase = kLongestBase - 9;
constexpr int kMaxLinks = 40;
constexpr std::size_t kBufferLimit = 1 << 16;
constexpr mode_t kPrivateFolderMode = 0700;

std::function<int(OutputStep)>& StepHook() {
  static std::function<int(OutputStep)> hook;
  return hook;
}

// 0, or the errno value a test makes this step fail with.
int InjectedFailure(OutputStep step) {
  const auto& hook = StepHook();
  return hook ? hook(step) : 0;
}

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

// The target's name as temporary names carry it: whole when it fits,
// otherwise its beginning, "~" and eight hex digits of its FNV-1a hash.
std::string BaseOf(const std::string& name) {
  if (name.size() <= kLongestBase) return name;
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", hash);
  return name.substr(0, kShortenedBase) + "~" + hex;
}

fs::path FolderOf(const fs::path& file) {
  fs::path folder = file.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

// Follows `name` through its symbolic links to the file they finally name:
// `target` is that name, `st` its status and `exists` whether it is there
// (a link may name a file not there yet). Returns 0 or the errno value.
int FollowLinks(const fs::path& name, fs::path& target, struct stat& st, bool& exists) {
  fs::path current(name);
  exists = false;
  for (int depth = 0;; ++depth) {
    if (::lstat(current.c_str(), &st) != 0) {
      if (errno != ENOENT) return errno;
      break;
    }
    if (!S_ISLNK(st.st_mode)) {
      exists = true;
      break;
    }
    if (depth == kMaxLinks) return ELOOP;
    std::error_code ec;
    const fs::path link = fs::read_symlink(current, ec);
    if (ec) return ec.value();
    current = link.is_absolute() ? link : current.parent_path() / link;
  }
  target = current;
  return 0;
}

int SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = ::fsync(fd) != 0 ? errno : 0;
  ::close(fd);
  // Some file systems cannot flush a folder; the rename is then as durable
  // as they make it.
  if (error == EINVAL || error == ENOTSUP) error = 0;
  return error;
}

bool WriteAll(int fd, const char* data, std::size_t size, int& error) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// ---- Temporary folders that signals and exit remove -----------------------

// Fixed storage, so that the signal handler only reads memory and makes
// system calls that are safe in a handler.
constexpr int kSlots = 64;
constexpr std::size_t kPathMax = 4096;
struct Slot {
  std::atomic<bool> used{false};
  int fd = -1;
  std::array<char, kPathMax> path{};
};
std::array<Slot, kSlots> gSlots;
std::atomic_flag gSlotLock = ATOMIC_FLAG_INIT;

// Every entry of the open folder `fd` removed (its files; it holds no
// folders). Safe in a signal handler.
void EmptyFolder(int fd) {
  alignas(8) char buffer[4096];
  for (int pass = 0; pass < 3; ++pass) {
    bool removed = false;
    ::lseek(fd, 0, SEEK_SET);
    for (;;) {
      const long n = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
      if (n <= 0) break;
      for (long at = 0; at < n;) {
        const auto* reclen = reinterpret_cast<const unsigned short*>(buffer + at + 16);
        const char* entry = buffer + at + 19;
        if (std::strcmp(entry, ".") != 0 && std::strcmp(entry, "..") != 0 && ::unlinkat(fd, entry, 0) == 0)
          removed = true;
        at += *reclen;
      }
    }
    if (!removed) break;
  }
}

void RemoveRegisteredFolders() {
  for (Slot& slot : gSlots) {
    if (!slot.used.load()) continue;
    EmptyFolder(slot.fd);
    ::rmdir(slot.path.data());
  }
}

constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
struct sigaction gPrevious[NSIG];

extern "C" void RemoveTemporariesOnSignal(int signal) {
  RemoveRegisteredFolders();
  // The signal then takes its usual course.
  ::sigaction(signal, &gPrevious[signal], nullptr);
  ::raise(signal);
}

extern "C" void RemoveTemporariesAtExit() { RemoveRegisteredFolders(); }

void InstallCleanupOnce() {
  static const bool installed = [] {
    for (int s : kCleanedSignals) {
      struct sigaction previous {};
      if (::sigaction(s, nullptr, &previous) != 0) continue;
      // A signal the program ignores (nohup, a pipe writer) stays ignored.
      if (previous.sa_handler == SIG_IGN) continue;
      gPrevious[s] = previous;
      struct sigaction action {};
      action.sa_handler = RemoveTemporariesOnSignal;
      sigemptyset(&action.sa_mask);
      ::sigaction(s, &action, nullptr);
    }
    std::atexit(RemoveTemporariesAtExit);
    return true;
  }();
  (void)installed;
}

int Register(const fs::path& path, int fd) {
  const std::string& text = path.native();
  if (text.size() >= kPathMax) return -1;
  while (gSlotLock.test_and_set(std::memory_order_acquire)) {
  }
  int found = -1;
  for (int i = 0; i < kSlots; ++i) {
    Slot& slot = gSlots[static_cast<std::size_t>(i)];
    if (slot.used.load()) continue;
    std::memcpy(slot.path.data(), text.c_str(), text.size() + 1);
    slot.fd = fd;
    slot.used.store(true);
    found = i;
    break;
  }
  gSlotLock.clear(std::memory_order_release);
  return found;
}

void Unregister(int slot) {
  if (slot >= 0) gSlots[static_cast<std::size_t>(slot)].used.store(false);
}

// Removes the files in the open folder `fd` (not following links), for a
// stale folder. False when anything but regular files and links is there.
bool RemoveFilesIn(int fd) {
  const int listFd = ::dup(fd);
  if (listFd < 0) return false;
  DIR* dir = ::fdopendir(listFd);
  if (dir == nullptr) {
    ::close(listFd);
    return false;
  }
  bool onlyFiles = true;
  std::vector<std::string> names;
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view n = e->d_name;
    if (n != "." && n != "..") names.emplace_back(n);
  }
  ::closedir(dir);
  for (const std::string& n : names) {
    struct stat st {};
    if (::fstatat(fd, n.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
      onlyFiles = false;
      continue;
    }
    ::unlinkat(fd, n.c_str(), 0);
  }
  return onlyFiles;
}

std::string NameErrorText(int error) {
  switch (error) {
    case ELOOP:
      return "the name is a loop of symbolic links";
    case ENAMETOOLONG:
      return "the name is longer than the file system allows";
    case ENOTDIR:
      return "a part of the name is not a folder";
    default:
      return FileErrorText(error);
  }
}

}  // namespace

std::string FileErrorText(int error) {
  if (error == ENOSPC || error == EDQUOT || error == EFBIG) return "the disk is full";
  if (error == EACCES || error == EPERM) return "permission denied";
  if (error == EROFS) return "the file system is read-only";
  return std::strerror(error);
}

fs::path SystemTemporaryFolder() {
  const char* dir = std::getenv("TMPDIR");
  return dir != nullptr && *dir == '/' ? fs::path(dir) : fs::path("/tmp");
}

void SetOutputStepHookForTesting(std::function<int(OutputStep step)> hook) { StepHook() = std::move(hook); }

// ---- TemporaryFolder ------------------------------------------------------

int TemporaryFolder::create(const fs::path& folder, const std::string& name) {
  remove();
  InstallCleanupOnce();
  // Housekeeping only: a leftover that cannot be removed stops nothing.
  RemoveStaleTemporaries(folder, name);
  const std::string base = BaseOf(name);
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = folder / ("." + base + "." + RandomSuffix() + std::string(kTemporarySuffix));
    if (::mkdir(candidate.c_str(), kPrivateFolderMode) != 0) {
      if (errno == EEXIST) continue;
      return errno;
    }
    const int fd = ::open(candidate.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
      const int error = errno;
      ::rmdir(candidate.c_str());
      return error;
    }
    // Locked at once; should another run have taken it for a stale folder
    // and removed it in that moment, a new name is tried.
    struct stat opened {};
    struct stat named {};
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno == ENOLCK || errno == EINVAL;
    if (locked && ::fstat(fd, &opened) == 0 && ::lstat(candidate.c_str(), &named) == 0 &&
        SameFile(opened, named)) {
      ::fchmod(fd, kPrivateFolderMode);  // whatever the umask took away
      path_ = std::move(candidate);
      fd_ = fd;
      slot_ = Register(path_, fd_);
      return 0;
    }
    ::close(fd);
  }
  return EEXIST;
}

void TemporaryFolder::remove() {
  if (path_.empty()) return;
  EmptyFolder(fd_);
  ::rmdir(path_.c_str());
  Unregister(slot_);
  slot_ = -1;
  ::close(fd_);
  fd_ = -1;
  path_.clear();
}

bool IsTemporaryName(const std::string& entry, const std::string& name) {
  const std::string prefix = "." + BaseOf(name) + ".";
  if (entry.size() != prefix.size() + kRandomLength + kTemporarySuffix.size()) return false;
  if (entry.compare(0, prefix.size(), prefix) != 0) return false;
  if (entry.compare(entry.size() - kTemporarySuffix.size(), kTemporarySuffix.size(), kTemporarySuffix) != 0)
    return false;
  for (std::size_t i = prefix.size(); i < prefix.size() + kRandomLength; ++i) {
    const char c = entry[i];
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

int RemoveStaleTemporaries(const fs::path& folder, const std::string& name) {
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return 0;
  std::vector<std::string> candidates;
  {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      std::string entry = it->path().filename().string();
      if (IsTemporaryName(entry, name)) candidates.push_back(std::move(entry));
    }
  }
  int removed = 0;
  for (const std::string& entry : candidates) {
    // Links, other users' entries and anything else: not the program's own.
    const int fd = ::openat(dirFd, entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened {};
    struct stat named {};
    const bool own = ::fstat(fd, &opened) == 0 && opened.st_uid == ::geteuid() &&
                     ::fstatat(dirFd, entry.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                     SameFile(opened, named);
    const bool folder = own && S_ISDIR(opened.st_mode) && (opened.st_mode & 07777) == kPrivateFolderMode;
    const bool file = own && S_ISREG(opened.st_mode);
    // A write in progress holds the lock: its folder is in use.
    if ((folder || file) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      if (file && ::unlinkat(dirFd, entry.c_str(), 0) == 0) ++removed;
      if (folder && RemoveFilesIn(fd) && ::unlinkat(dirFd, entry.c_str(), AT_REMOVEDIR) == 0) ++removed;
    }
    ::close(fd);
  }
  ::close(dirFd);
  return removed;
}

int CopyFileInto(const fs::path& source, int fd, bool& sourceFailed) {
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
    if (!WriteAll(fd, buffer.data(), static_cast<std::size_t>(n), error)) {
      sourceFailed = false;
      break;
    }
  }
  ::close(in);
  if (error == 0) sourceFailed = false;
  return error;
}

// ---- OutputFile -----------------------------------------------------------

bool OutputFile::fail(const std::string& verb, const std::string& reason, int error) {
  if (failed_) return false;
  failed_ = true;
  reason_ = reason;
  errno_ = error;
  error_ = verb + " " + ShownName(name_) + ": " + reason;
  return false;
}

bool OutputFile::failErrno(const std::string& verb, int error) {
  return fail(verb, NameErrorText(error), error);
}

void OutputFile::closeFd() {
  if (fd_ >= 0 && kind_ != Kind::StandardOutput) ::close(fd_);
  fd_ = -1;
}

bool OutputFile::open(const std::string& name) {
  abandon();
  name_ = name;
  target_.clear();
  failed_ = false;
  hadTarget_ = false;
  error_.clear();
  reason_.clear();
  errno_ = 0;
  if (name == "-") {
    kind_ = Kind::StandardOutput;
    fd_ = STDOUT_FILENO;
    return true;
  }
  if (name.empty()) return fail("cannot write", "no file name was given", 0);

  struct stat st {};
  bool exists = false;
  if (const int e = FollowLinks(name, target_, st, exists); e != 0) return failErrno("cannot write", e);
  if (exists && S_ISDIR(st.st_mode)) return fail("cannot write", "it is a folder", EISDIR);
  if (target_.filename().empty()) return fail("cannot write", "no file name was given", 0);
  if (exists && !S_ISREG(st.st_mode)) return openStream();

  const fs::path folder = FolderOf(target_);
  if (exists) {
    hadTarget_ = true;
    mode_ = st.st_mode & 07777;
    uid_ = st.st_uid;
    gid_ = st.st_gid;
  } else {
    struct stat fst {};
    if (::stat(folder.c_str(), &fst) != 0) {
      if (errno == ENOENT)
        return fail("cannot write", "the folder " + ShownName(folder.string()) + " does not exist", ENOENT);
      return failErrno("cannot write", errno);
    }
    if (!S_ISDIR(fst.st_mode)) return failErrno("cannot write", ENOTDIR);
  }
  if (const int e = folder_.create(folder, target_.filename().string()); e != 0) {
    if (e == EACCES || e == EPERM || e == EROFS) {
      return fail(
          "cannot write",
          "the folder " + ShownName(folder.string()) + " cannot be written (" + FileErrorText(e) + ")", e);
    }
    return failErrno("cannot write", e);
  }
  contents_ = folder_.path() / target_.filename();
  fd_ = ::open(contents_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    const int e = errno;
    folder_.remove();
    return failErrno("cannot write", e);
  }
  kind_ = Kind::Replaced;
  return true;
}

bool OutputFile::openStream() {
  const int fd = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return failErrno("cannot write", errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return fail("cannot write", "the file changed while it was being opened", 0);
  }
  fd_ = fd;
  kind_ = Kind::Stream;
  return true;
}

bool OutputFile::flushBuffer() {
  if (failed_ || fd_ < 0) {
    buffer_.clear();
    return !failed_;
  }
  int error = 0;
  if (!WriteAll(fd_, buffer_.data(), buffer_.size(), error)) failErrno("cannot write", error);
  buffer_.clear();
  return !failed_;
}

void OutputFile::write(std::string_view text) {
  if (failed_) return;
  buffer_.append(text);
  if (buffer_.size() >= kBufferLimit) flushBuffer();
}

fs::path OutputFile::contentsPath() {
  if (failed_ || kind_ == Kind::None) return {};
  if (produced_) return contents_;
  if (kind_ == Kind::Replaced) {
    if (!flushBuffer()) return {};
    if (::close(fd_) != 0) {
      fd_ = -1;
      failErrno("cannot write", errno);
      return {};
    }
    fd_ = -1;
    produced_ = true;
    return contents_;
  }
  // A device, FIFO or standard output gets the file's bytes when published.
  const std::string base =
      kind_ == Kind::StandardOutput ? std::string("standard-output") : target_.filename().string();
  if (const int e = folder_.create(SystemTemporaryFolder(), base); e != 0) {
    failErrno("cannot write", e);
    return {};
  }
  contents_ = folder_.path() / base;
  const int fd = ::open(contents_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) {
    failErrno("cannot write", errno);
    return {};
  }
  ::close(fd);
  produced_ = true;
  return contents_;
}

bool OutputFile::adopt(const fs::path& finished) {
  if (failed_ || kind_ == Kind::None) return false;
  if (kind_ == Kind::Replaced) {
    struct stat a {};
    struct stat b {};
    if (::stat(finished.c_str(), &a) == 0 && ::stat(FolderOf(target_).c_str(), &b) == 0 &&
        a.st_dev == b.st_dev) {
      closeFd();
      folder_.remove();
      adopted_ = finished;
      return true;
    }
    bool sourceFailed = false;
    if (const int e = CopyFileInto(finished, fd_, sourceFailed); e != 0) return failErrno("cannot write", e);
    return true;
  }
  adopted_ = finished;
  return true;
}

bool OutputFile::prepare() {
  if (prepared_) return !failed_;
  if (kind_ == Kind::None && !failed_) fail("cannot write", "the output is not open", 0);
  if (!failed_) flushBuffer();
  if (!failed_ && kind_ == Kind::Replaced) {
    const fs::path& source = adopted_.empty() ? contents_ : adopted_;
    int fd = fd_;
    fd_ = -1;
    if (fd < 0) fd = ::open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    if (fd < 0) {
      failErrno("cannot write", errno);
    } else if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      fail("cannot write", "the new file is not a regular file", 0);
    } else {
      if (hadTarget_) {
        if (st.st_uid != uid_ || st.st_gid != gid_) (void)::fchown(fd, uid_, gid_);
        ::fchmod(fd, mode_);
      }
      int e = InjectedFailure(OutputStep::Sync);
      if (e == 0 && ::fsync(fd) != 0) e = errno;
      if (e != 0) failErrno("cannot write", e);
    }
    if (fd >= 0 && ::close(fd) != 0) failErrno("cannot write", errno);
  }
  if (failed_) {
    abandon();
    return false;
  }
  prepared_ = true;
  return true;
}

bool OutputFile::copyProduced(int fd) {
  const fs::path& source = adopted_.empty() ? contents_ : adopted_;
  bool sourceFailed = false;
  if (const int e = CopyFileInto(source, fd, sourceFailed); e != 0) return failErrno("cannot write", e);
  return true;
}

bool OutputFile::replace() {
  if (!prepared_ && !prepare()) return false;
  if (kind_ == Kind::Replaced) {
    const fs::path& source = adopted_.empty() ? contents_ : adopted_;
    int e = InjectedFailure(OutputStep::Replace);
    if (e == 0 && ::rename(source.c_str(), target_.c_str()) != 0) e = errno;
    if (e != 0) {
      fail("cannot replace", FileErrorText(e), e);
      abandon();
      return false;
    }
    adopted_.clear();
  } else {
    if (produced_ || !adopted_.empty()) copyProduced(fd_);
    if (kind_ == Kind::Stream && fd_ >= 0 && ::close(fd_) != 0 && !failed_) failErrno("cannot write", errno);
    fd_ = -1;
  }
  replaced_ = true;
  return !failed_;
}

bool OutputFile::finish() {
  if (!replaced_) return false;
  if (kind_ == Kind::Replaced && !failed_) {
    folder_.remove();
    int e = InjectedFailure(OutputStep::SyncFolder);
    if (e == 0) e = SyncFolder(FolderOf(target_));
    if (e != 0) {
      fail("cannot write",
           "the new file is in place, but its folder could not be flushed to disk (" + FileErrorText(e) + ")",
           e);
    }
  }
  const bool ok = !failed_;
  abandon();
  return ok;
}

bool OutputFile::publish() { return replace() && finish(); }

void OutputFile::abandon() {
  replaced_ = false;
  closeFd();
  folder_.remove();
  contents_.clear();
  adopted_.clear();
  buffer_.clear();
  produced_ = false;
  prepared_ = false;
  kind_ = Kind::None;
}

std::string WriteText(const std::string& name, std::string_view text) {
  OutputFile out;
  if (!out.open(name)) return out.error();
  out << text;
  if (!out.commit()) return out.error();
  return {};
}

std::string CommitTogether(const std::vector<OutputFile*>& outputs) {
  for (OutputFile* o : outputs) {
    if (o->prepare()) continue;
    const std::string error = o->error();
    for (OutputFile* other : outputs) other->abandon();
    return error;
  }
  // A device, FIFO or standard output takes its bytes first, with the
  // signals free: a reader that never reads must not make the program
  // deaf to an interrupt.
  std::string error;
  for (OutputFile* o : outputs) {
    if (o->kind() != OutputFile::Kind::Replaced && !o->replace() && error.empty()) error = o->error();
  }
  sigset_t held;
  sigset_t previous;
  sigemptyset(&held);
  for (int s : kCleanedSignals) sigaddset(&held, s);
  pthread_sigmask(SIG_BLOCK, &held, &previous);
  // One rename after the other, nothing between them: a kill can hardly
  // fall between two of them.
  for (OutputFile* o : outputs) {
    if (o->kind() == OutputFile::Kind::Replaced && !o->replace() && error.empty()) error = o->error();
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  for (OutputFile* o : outputs) {
    if (!o->finish() && error.empty()) error = o->error();
  }
  return error;
}

namespace {

// The identity of a file that is there, from its status.
FileIdentity IdentityOfExisting(const struct stat& st) {
  FileIdentity id;
  id.known = true;
  id.exists = true;
  id.regular = S_ISREG(st.st_mode);
  id.device = st.st_dev;
  id.inode = st.st_ino;
  return id;
}

}  // namespace

FileIdentity IdentityOfName(const std::string& name) {
  FileIdentity id;
  if (name.empty() || name == "-") return id;
  fs::path target;
  struct stat st {};
  bool exists = false;
  if (FollowLinks(name, target, st, exists) != 0) return id;
  if (exists) return IdentityOfExisting(st);
  // A file not there yet is its folder and its name in it: "./x", "x" and
  // "sub/../x" are one new file.
  struct stat folder {};
  if (target.filename().empty() || ::stat(FolderOf(target).c_str(), &folder) != 0) return id;
  id.known = true;
  id.device = folder.st_dev;
  id.inode = folder.st_ino;
  id.newName = target.filename().string();
  return id;
}

FileIdentity IdentityOfStandardInput() {
  struct stat st {};
  if (::fstat(STDIN_FILENO, &st) != 0) return {};
  return IdentityOfExisting(st);
}

bool SameWrittenFile(const FileIdentity& a, const FileIdentity& b) {
  if (!a.known || !b.known || a.exists != b.exists) return false;
  if (a.exists) return a.regular && b.regular && a.device == b.device && a.inode == b.inode;
  return a.device == b.device && a.inode == b.inode && a.newName == b.newName;
}

}  // namespace vst
