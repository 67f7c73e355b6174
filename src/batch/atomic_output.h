// An output file that appears only when it is complete. The text goes to a
// hidden temporary file beside the target (".<name>.<random>.tmp"); commit()
// flushes it to disk and renames it onto the target in one step, so the
// target is always either the previous file or the complete new one. An
// output that is abandoned (an error, a destructor without commit, SIGINT,
// SIGTERM or SIGHUP) removes its temporary file; a run killed outright can
// leave the hidden file, never a damaged target.
//
// The target "-" (or an empty name) is standard output, written as it comes.
#pragma once

#include <string>
#include <string_view>

namespace vst {

class AtomicOutput {
 public:
  AtomicOutput() = default;
  ~AtomicOutput();
  AtomicOutput(const AtomicOutput&) = delete;
  AtomicOutput& operator=(const AtomicOutput&) = delete;

  // Creates the temporary file beside `target`. False with `error()` set when
  // the folder cannot be written.
  bool open(const std::string& target);
  // Appends text (buffered). A failure is kept and reported by commit().
  void write(std::string_view text);
  AtomicOutput& operator<<(std::string_view text) {
    write(text);
    return *this;
  }
  // Writes the rest, flushes it to disk and puts the file in place. False
  // with `error()` set when any write, the flush or the rename failed; the
  // target is then untouched and the temporary file removed.
  bool commit();
  // Removes the temporary file; the target stays as it was.
  void abandon();

  const std::string& target() const { return target_; }
  // The temporary file, for a writer that wants a file name (a workbook
  // library): write it there, then commit().
  const std::string& temporaryPath() const { return temp_; }
  const std::string& error() const { return error_; }  // "cannot write out.json: the disk is full"

 private:
  bool flushBuffer();
  // Writes the whole buffer to fd (retrying after signals), then empties it.
  bool writeBuffer(int fd);
  void fail(const std::string& what, int errnoValue);

  std::string target_;
  std::string temp_;
  std::string buffer_;
  std::string error_;
  int fd_ = -1;
  bool toStdout_ = false;
  bool failed_ = false;
  int slot_ = -1;  // entry in the list that the signal handler cleans up
};

}  // namespace vst
