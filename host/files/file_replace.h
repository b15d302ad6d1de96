// Replacing files whole: what a new file may take the place of, and writes that leave the old
// file in place until the new one is complete. Every write of the host that replaces a file
// (project saves, the file library's replace, the command line's outputs) goes through here.
// Paths take '/' and '\' as separators.
#pragma once

#include <string>

namespace standin {

// What lies at a path a new file would replace.
enum class Replaceable {
  absent,      // nothing: the new file is created
  file,        // a regular file that may be written
  readOnly,    // a regular file without write permission: replaced only with consent
  notRegular,  // a folder, device, FIFO, socket or a link that leads nowhere it can follow
};

// What lies at path, symbolic links followed.
Replaceable replaceable(const std::string& path);

// A short reason for a refusal ("is read-only", "is not a regular file"); empty for absent and
// file.
std::string replaceableProblem(Replaceable what);

// The file a write to path replaces: the file its symbolic links lead to (even when that file
// does not exist yet), else path itself; '\' turned into '/'.
std::string replacedFile(const std::string& path);

// A path beside the file a write to path replaces (links resolved), with a hidden name: "."
// before the file's name and suffix after it.
std::string hiddenSibling(const std::string& path, const std::string& suffix);

// True when a and b name one existing file (the same device and inode), whatever links, hard
// links or relative steps lead there.
bool sameFile(const std::string& a, const std::string& b);

// Puts source, a complete new file, in place of target in one step (source must lie on the
// same file system, best in target's folder). target must be replaceable: absent, a file, or
// read-only when replaceReadOnly (it stays read-only: the new file takes the old one's
// permissions). Links at target are followed. False with error naming target and the reason;
// source and target are then as they were.
bool replaceFile(const std::string& source, const std::string& target, bool replaceReadOnly, std::string& error);

// Writes bytes to path through a new file in the same folder that then replaces it (see
// replaceFile), so a failed write leaves whatever was at path untouched. False with error
// naming path and the reason.
bool writeFileReplacing(const std::string& path, const std::string& bytes, bool replaceReadOnly,
                        std::string& error);

}  // namespace standin
