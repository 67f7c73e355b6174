// The file-system steps of a save that must not lose the previous file:
// a new file beside the target, a byte copy, flushing a file and a folder to
// disk. POSIX calls; each returns 0 or the errno value of the failure. The
// design file's save and the batch command's outputs are written this way.
#pragma once

#include <filesystem>
#include <string>

namespace vst::durable {

// Creates a new, empty file in `folder` under a name that no file had,
// derived from `baseName` (".<baseName>.<random>.tmp", the random part eight
// characters a-z and 0-9), and opens it for writing. On success `fd` is the
// open descriptor and `path` its name; the file is locked (flock, exclusive)
// for as long as a descriptor of this open file stays open, which marks it
// as in use.
int CreateTemporaryFile(const std::filesystem::path& folder, const std::string& baseName,
                        std::filesystem::path& path, int& fd);

// True when `name` is a name CreateTemporaryFile gives for `baseName`.
bool IsTemporaryFileName(const std::string& name, const std::string& baseName);

// Removes from `folder` the temporary files of `baseName` that interrupted
// saves left: regular files of this user under exactly that name pattern
// whose lock nobody holds. Anything else is left alone. Returns how many
// were removed.
int RemoveStaleTemporaryFiles(const std::filesystem::path& folder, const std::string& baseName);

// Copies every byte of `source` to the open descriptor `fd`. `sourceFailed`
// tells whether reading the source (rather than writing) went wrong.
int CopyFileInto(const std::filesystem::path& source, int fd, bool& sourceFailed);

// Writes the file's data and the folder's entries to the disk.
int SyncFile(const std::filesystem::path& path);
int SyncFolder(const std::filesystem::path& folder);

// Closes a descriptor, reporting a failed close (a delayed write error).
int CloseFile(int fd);

// A reason for an errno value, as the save reports it: "the disk is full"
// for ENOSPC, EDQUOT and EFBIG, otherwise the system's text.
std::string ErrorText(int error);

}  // namespace vst::durable
