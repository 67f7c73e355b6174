// The one writer of every output, against every kind of target: a regular
// file, a new name, a link, a FIFO, a device, a read-only folder and a full
// disk, each written as a stream of text and as a file a library fills by
// name. Devices are private nodes and file systems private mounts made in
// the test's own folder; nothing outside it is ever written.
#include "core/output_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

namespace vst {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Write(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

bool IsFifo(const fs::path& p) {
  std::error_code ec;
  return fs::symlink_status(p, ec).type() == fs::file_type::fifo;
}

class Folder {
 public:
  Folder() {
    char name[] = "/tmp/vst-output-XXXXXX";
    path_ = ::mkdtemp(name);
  }
  ~Folder() {
    ::umount2(path_.c_str(), MNT_DETACH);
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& n) const { return path_ / n; }
  // The names in the folder other than those given: what a write left.
  std::vector<std::string> Others(const std::vector<std::string>& known) const {
    std::vector<std::string> others;
    for (const auto& e : fs::directory_iterator(path_)) {
      const std::string n = e.path().filename().string();
      if (std::find(known.begin(), known.end(), n) == known.end()) others.push_back(n);
    }
    return others;
  }

 private:
  fs::path path_;
};

// Runs `body` in a child process (which may change its rights or mounts)
// and returns its exit status, its message through a pipe.
int InChild(const std::function<int(std::string&)>& body, std::string& message) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    std::string text;
    const int status = body(text);
    [[maybe_unused]] auto n = ::write(fds[1], text.data(), text.size());
    ::_exit(status);
  }
  ::close(fds[1]);
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) message.append(buffer, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The ways a writer hands its contents over.
enum class Way { Stream, ByName };

// Writes `text` to `name`; the error, or empty. By name, the text is
// written as a library does that reports its own failures.
std::string WriteThrough(const std::string& name, const std::string& text, Way way) {
  OutputFile out;
  if (!out.open(name)) return out.error();
  if (way == Way::Stream) {
    out << text;
  } else {
    const fs::path contents = out.contentsPath();
    if (contents.empty()) return out.error();
    std::ofstream library(contents, std::ios::binary);
    library << text;
    library.close();
    if (!library) return "the library could not write its file: the disk is full";
  }
  return out.commit() ? std::string() : out.error();
}

struct KindCase {
  const char* what;
  // Sets the target up in `f` and returns the name to write; sets `skip`
  // when this machine cannot make it.
  std::function<std::string(const Folder& f, std::string& skip)> make;
  bool root;  // needs the superuser (run in a child with a private mount namespace)
  bool succeeds;
  const char* errorPart;  // of a refused write
  // After the write: what the target must be.
  std::function<void(const Folder& f, const std::string& what)> check;
};

constexpr const char* kOld = "previous contents\n";

bool MountTmpfs(const fs::path& at, const char* options) {
  return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         ::mount("tmpfs", at.c_str(), "tmpfs", 0, options) == 0;
}

TEST(OutputFile, EveryKindOfTargetIsWrittenAsItsKindRequires) {
  const std::string text = "new " + std::string(150000, 'n') + "\n";
  const KindCase cases[] = {
      {"regular file keeps its mode",
       [](const Folder& f, std::string&) {
         Write(f / "out.json", kOld);
         ::chmod((f / "out.json").c_str(), 0640);
         return (f / "out.json").string();
       },
       false, true, "",
       [&](const Folder& f, const std::string& what) {
         EXPECT_EQ(Read(f / "out.json"), text) << what;
         struct stat st {};
         ::stat((f / "out.json").c_str(), &st);
         EXPECT_EQ(st.st_mode & 07777, 0640u) << what;
       }},
      {"new name", [](const Folder& f, std::string&) { return (f / "out.json").string(); }, false, true, "",
       [&](const Folder& f, const std::string& what) { EXPECT_EQ(Read(f / "out.json"), text) << what; }},
      {"link to a file in another folder",
       [](const Folder& f, std::string&) {
         fs::create_directory(f / "real");
         Write(f / "real" / "out.json", kOld);
         fs::create_symlink("real/out.json", f / "out.json");
         return (f / "out.json").string();
       },
       false, true, "",
       [&](const Folder& f, const std::string& what) {
         EXPECT_TRUE(fs::is_symlink(f / "out.json")) << what;
         EXPECT_EQ(Read(f / "real" / "out.json"), text) << what;
         EXPECT_TRUE(f.Others({"out.json", "real"}).empty()) << what;
         EXPECT_EQ(fs::directory_iterator(f / "real")->path().filename(), "out.json") << what;
       }},
      {"loop of links",
       [](const Folder& f, std::string&) {
         fs::create_symlink("b", f / "a");
         fs::create_symlink("a", f / "b");
         return (f / "a").string();
       },
       false, false, "a loop of symbolic links", [](const Folder&, const std::string&) {}},
      {"FIFO gets the data and stays a FIFO",
       [](const Folder& f, std::string&) {
         ::mkfifo((f / "pipe").c_str(), 0600);
         return (f / "pipe").string();
       },
       false, true, "",
       [](const Folder& f, const std::string& what) {
         EXPECT_EQ(fs::status(f / "pipe").type(), fs::file_type::fifo) << what;
       }},
      {"device stays a device",
       [](const Folder& f, std::string& skip) {
         // A node of its own for the null device, never the system's.
         if (::mknod((f / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
           skip = "making a device node needs the superuser";
         return (f / "null").string();
       },
       false, true, "",
       [](const Folder& f, const std::string& what) {
         EXPECT_EQ(fs::status(f / "null").type(), fs::file_type::character) << what;
       }},
      {"read-only folder",
       [](const Folder& f, std::string& skip) {
         if (::geteuid() != 0) skip = "remounting read-only needs the superuser";
         Write(f / "out.json", kOld);
         return (f / "out.json").string();
       },
       true, false, "cannot be written", [](const Folder&, const std::string&) {}},
      {"full disk",
       [](const Folder& f, std::string& skip) {
         if (::geteuid() != 0) skip = "mounting a small file system needs the superuser";
         Write(f / "out.json", kOld);
         return (f / "out.json").string();
       },
       true, false, "the disk is full", [](const Folder&, const std::string&) {}},
  };
  for (const KindCase& c : cases) {
    for (Way way : {Way::Stream, Way::ByName}) {
      const std::string what = std::string(c.what) + (way == Way::Stream ? " (stream)" : " (by name)");
      Folder f;
      std::string skip;
      const std::string name = c.make(f, skip);
      if (!skip.empty()) {
        std::printf("skipped: %s: %s\n", what.c_str(), skip.c_str());
        continue;
      }
      std::string error;
      std::string received;
      std::thread reader;
      if (IsFifo(name)) reader = std::thread([&] { received = Read(name); });
      if (c.root) {
        // A private mount of the folder: a 64 KiB file system, or the folder read-only.
        const bool full = std::string(c.what) == "full disk";
        const int status = InChild(
            [&](std::string& message) {
              if (full ? !MountTmpfs(f.path(), "size=64k") : !MountTmpfs(f.path(), "size=1m")) return 2;
              Write(f / "out.json", kOld);
              if (!full && ::mount(nullptr, f.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
                return 2;
              message = WriteThrough(name, text, way);
              if (Read(f / "out.json") != kOld) return 3;  // the old file changed
              return f.Others({"out.json"}).empty() ? 0 : 4;
            },
            error);
        ASSERT_NE(status, 2) << what << ": the private mount failed";
        EXPECT_EQ(status, 0) << what << ": 3 old file changed, 4 leftovers";
      } else {
        error = WriteThrough(name, text, way);
      }
      if (reader.joinable()) reader.join();
      if (c.succeeds) {
        EXPECT_EQ(error, "") << what;
        if (IsFifo(name)) {
          EXPECT_EQ(received, text) << what;
        }
        c.check(f, what);
      } else {
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << what << ": " << error;
      }
      std::vector<std::string> known = {"out.json", "real", "pipe", "null", "a", "b"};
      EXPECT_TRUE(f.Others(known).empty()) << what << ": a temporary was left";
    }
  }
}

// A stale temporary folder of `name` as a killed write leaves it.
void MakeStaleFolder(const fs::path& folder, const std::string& entry) {
  fs::create_directory(folder / entry);
  ::chmod((folder / entry).c_str(), 0700);
  Write(folder / entry / "out.json", "half");
}

TEST(OutputFile, TheNextWriteRemovesWhatKilledWritesOfTheSameTargetLeft) {
  Folder f;
  MakeStaleFolder(f.path(), ".out.json.k3x9a0qz.tmp");
  Write(f / ".out.json.00000000.tmp", "an earlier version's temporary file");
  MakeStaleFolder(f.path(), ".other.json.k3x9a0qz.tmp");  // another target's
  MakeStaleFolder(f.path(), ".out.json.inuse000.tmp");    // a write in progress holds its lock
  const int lock = ::open((f / ".out.json.inuse000.tmp").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(lock, LOCK_EX), 0);
  fs::create_directory(f / ".out.json.public0.tmp");  // not private: not the writer's
  ::chmod((f / ".out.json.public0.tmp").c_str(), 0755);

  EXPECT_EQ(WriteThrough((f / "out.json").string(), "new", Way::Stream), "");
  EXPECT_EQ(Read(f / "out.json"), "new");
  std::vector<std::string> left = f.Others({"out.json"});
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{".other.json.k3x9a0qz.tmp", ".out.json.inuse000.tmp",
                                            ".out.json.public0.tmp"}));
  ::close(lock);
}

TEST(OutputFile, ATerminatingSignalRemovesTheTemporariesAndAKillLeavesOnlyThem) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
    Folder f;
    Write(f / "out.json", kOld);
    const pid_t pid = ::fork();
    if (pid == 0) {
      OutputFile out;
      if (!out.open((f / "out.json").string())) ::_exit(1);
      out << std::string(200000, 'x');
      ::raise(signal);
      ::_exit(1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << signal;
    EXPECT_EQ(Read(f / "out.json"), kOld) << signal;
    EXPECT_EQ(f.Others({"out.json"}).size(), signal == SIGKILL ? 1u : 0u) << signal;
    EXPECT_EQ(WriteThrough((f / "out.json").string(), "new", Way::Stream), "");
    EXPECT_TRUE(f.Others({"out.json"}).empty()) << signal;
  }
}

TEST(OutputFile, OutputsCommittedTogetherReplaceNothingWhenOneFails) {
  Folder f;
  Write(f / "a.json", kOld);
  Write(f / "b.json", kOld);
  OutputFile a;
  OutputFile b;
  ASSERT_TRUE(a.open((f / "a.json").string()));
  ASSERT_TRUE(b.open((f / "b.json").string()));
  a << "new a";
  const fs::path contents = b.contentsPath();
  fs::remove(contents);  // the library that should have filled it failed
  EXPECT_NE(CommitTogether({&a, &b}), "");
  EXPECT_EQ(Read(f / "a.json"), kOld);
  EXPECT_EQ(Read(f / "b.json"), kOld);
  EXPECT_TRUE(f.Others({"a.json", "b.json"}).empty());
}

TEST(OutputFile, ALongNameGetsAShortenedTemporaryName) {
  Folder f;
  const std::string name(250, 'n');
  EXPECT_EQ(WriteThrough((f / name).string(), "new", Way::Stream), "");
  EXPECT_EQ(Read(f / name), "new");
  const std::string tooLong(300, 'n');
  EXPECT_NE(
      WriteThrough((f / tooLong).string(), "new", Way::Stream).find("longer than the file system allows"),
      std::string::npos);
}

// Whether an output would replace a file, through whatever name reaches it.
TEST(OutputFile, AFileIsTheSameThroughAnyNameLinkOrHardLink) {
  Folder f;
  Write(f / "list.csv", kOld);
  Write(f / "other.csv", kOld);
  fs::create_directory(f / "sub");
  fs::create_symlink("list.csv", f / "link.csv");
  fs::create_symlink("link.csv", f / "link2.csv");
  fs::create_hard_link(f / "list.csv", f / "hard.csv");
  fs::create_symlink("new.csv", f / "dangling.csv");
  const std::string d = f.path().string();
  struct Case {
    std::string a, b;
    bool same;
  } cases[] = {
      {d + "/list.csv", d + "/list.csv", true},
      {d + "/list.csv", d + "/sub/../list.csv", true},
      {d + "/link2.csv", d + "/list.csv", true},
      {d + "/hard.csv", d + "/list.csv", true},
      {d + "/other.csv", d + "/list.csv", false},
      {d + "/new.csv", d + "/./new.csv", true},  // not there yet: its folder and name
      {d + "/dangling.csv", d + "/new.csv", true},
      {d + "/new.csv", d + "/sub/new.csv", false},
      {d + "/new.csv", d + "/list.csv", false},
      {"-", "-", false},
      {"/dev/null", "/dev/null", false},  // a device is written directly, never replaced
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SameWrittenFile(IdentityOfName(c.a), IdentityOfName(c.b)), c.same) << c.a << " and " << c.b;
  }
}

}  // namespace
}  // namespace vst
