// The one way the program writes a file: JSON, CSV, workbooks, PDF printouts
// and design files, from the command and from the window.
//
// What a name refers to decides how it is written:
// - a regular file, or a name no file has yet: the new contents go to a
//   private temporary folder beside it (".<name>.<random>.tmp", mode 0700),
//   are flushed to disk and renamed onto the name in one step, so the name
//   always holds the previous file or the complete new one; a replaced file
//   keeps its permissions (and, where the system allows, its owner);
// - a symbolic link: followed to the file it names (also through further
//   links), which is then replaced in its own folder as above;
// - a device, a FIFO or another special file: written directly, never
//   replaced (a reader waiting on a FIFO gets the data, a device stays a
//   device);
// - "-": standard output, written as it comes.
//
// A temporary folder is removed when its output is put in place or given
// up, on SIGINT, SIGTERM, SIGHUP and SIGPIPE (then the signal takes its
// usual course) and at exit. One that a killed run left is removed by the
// next write of the same name: a temporary folder of this user whose lock
// (held while a write is in progress) nobody holds.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vst {

// A reason for an errno value as messages give it: "the disk is full" for
// ENOSPC, EDQUOT and EFBIG, otherwise the system's text.
std::string FileErrorText(int error);

// The folder for temporary files that belong beside no file: $TMPDIR when it
// is an absolute name, else /tmp.
std::filesystem::path SystemTemporaryFolder();

// A private folder for new contents, beside the file they will replace.
class TemporaryFolder {
 public:
  TemporaryFolder() = default;
  ~TemporaryFolder() { remove(); }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // Removes the temporary folders that killed writes of `name` left in
  // `folder`, then creates a new one there for `name`. Returns 0 or the
  // errno value of the failure.
  int create(const std::filesystem::path& folder, const std::string& name);
  // Removes the folder and every file in it.
  void remove();

  bool exists() const { return !path_.empty(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  int fd_ = -1;    // open while the folder exists: holds the lock
  int slot_ = -1;  // entry of the list that signals and exit clean up
};

// The hidden name of a temporary folder or file of `name`: exactly
// ".<name>.<eight characters a-z 0-9>.tmp" (a name too long for that is
// shortened and marked with its hash).
bool IsTemporaryName(const std::string& entry, const std::string& name);

// Removes from `folder` what killed writes of `name` left: temporary
// folders (mode 0700, this user's, holding only files) and temporary files
// of earlier versions (this user's regular files), none in use. Anything
// else under such a name stays. Returns how many were removed.
int RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& name);

// Copies every byte of the file `source` to the descriptor `fd`. Returns 0
// or the errno value; `sourceFailed` tells whether reading went wrong.
int CopyFileInto(const std::filesystem::path& source, int fd, bool& sourceFailed);

class OutputFile {
 public:
  enum class Kind {
    None,            // not open
    StandardOutput,  // "-"
    Replaced,        // a regular file or a new name (links followed)
    Stream,          // a device, FIFO or other special file, written directly
  };

  OutputFile() = default;
  ~OutputFile() { abandon(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Gets `name` ready for writing: follows its links, removes the leftovers
  // of killed writes, creates the temporary folder (or opens the device or
  // FIFO; opening a FIFO waits for its reader). False with error() set when
  // it cannot be written.
  bool open(const std::string& name);

  // Appends text (buffered). A failure is kept and reported by prepare().
  void write(std::string_view text);
  OutputFile& operator<<(std::string_view text) {
    write(text);
    return *this;
  }

  // For a writer that wants a file name (a database, the workbook library,
  // a printer): an empty file in a private temporary folder, which that
  // writer fills; its contents become the output. Empty with error() set
  // when it cannot be made.
  std::filesystem::path contentsPath();
  // The complete file `finished` (in a temporary folder of its own, which
  // outlives this output's publish()) becomes the output: moved onto the
  // target when both lie on one file system, else copied.
  bool adopt(const std::filesystem::path& finished);

  // Finishes the new contents and flushes them to disk without replacing
  // anything yet. False with error() set on any failure; the output is then
  // given up and the target stays as it was.
  bool prepare();
  // Puts the prepared contents in place (rename, or the copy of a produced
  // file into a device, FIFO or standard output) and flushes the folder:
  // replace() then finish().
  bool publish();
  bool replace();
  bool finish();
  bool commit() { return prepare() && publish(); }
  // Gives the output up: the temporary folder goes, the target stays.
  void abandon();

  Kind kind() const { return kind_; }
  // The name as given, and the file finally written (links followed).
  const std::string& name() const { return name_; }
  const std::filesystem::path& target() const { return target_; }
  // "cannot write out.json: the disk is full"; the reason alone ("the disk
  // is full"); the errno value behind it (0 when none).
  const std::string& error() const { return error_; }
  const std::string& reason() const { return reason_; }
  int errorNumber() const { return errno_; }

 private:
  bool openStream();
  bool flushBuffer();
  bool fail(const std::string& verb, const std::string& reason, int error);
  bool failErrno(const std::string& verb, int error);
  bool copyProduced(int fd);
  void closeFd();

  std::string name_;
  std::filesystem::path target_;
  Kind kind_ = Kind::None;
  TemporaryFolder folder_;
  std::filesystem::path contents_;  // the new file in folder_
  std::filesystem::path adopted_;   // a finished file taken over by adopt()
  bool produced_ = false;           // contentsPath() was handed out
  bool prepared_ = false;
  bool replaced_ = false;
  bool failed_ = false;
  int fd_ = -1;
  std::string buffer_;
  bool hadTarget_ = false;  // a regular file was there: its mode and owner are kept
  mode_t mode_ = 0;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
  std::string error_;
  std::string reason_;
  int errno_ = 0;
};

// Writes `text` as the whole file `name` through one OutputFile; the
// problem ("cannot write out.json: the disk is full"), empty when written.
std::string WriteText(const std::string& name, std::string_view text);

// Prepares every output, then puts them all in place one after the other
// with SIGINT, SIGTERM, SIGHUP and SIGPIPE held back meanwhile. When one
// cannot be prepared, all are given up and none replaces its target; the
// first error is returned (empty on success).
std::string CommitTogether(const std::vector<OutputFile*>& outputs);

// What a name refers to, for telling whether two names are one file: an
// existing file by its device and inode (links followed), so another name,
// a symbolic link and a hard link all give the same identity; a file not
// there yet by its folder's device and inode and its own name.
struct FileIdentity {
  bool known = false;    // false for "-" and for a name that cannot be looked at
  bool exists = false;   // the name (its links followed) is there
  bool regular = false;  // it is a regular file
  dev_t device = 0;      // of the file, or of its folder when it is not there
  ino_t inode = 0;
  std::string newName;  // the name in that folder when the file is not there
};
FileIdentity IdentityOfName(const std::string& name);
// The file standard input reads, when it is a file at all.
FileIdentity IdentityOfStandardInput();

// Whether writing the one would replace the other: the same regular file,
// or the same file not there yet. Devices and FIFOs are written directly,
// never replaced, so two outputs may well share one (/dev/null).
bool SameWrittenFile(const FileIdentity& a, const FileIdentity& b);

}  // namespace vst
