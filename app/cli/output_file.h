// The file a command was asked to write with --out. The command's writer writes path(), a
// fresh file beside the target with the target's extension; commit() then puts it in place
// with one rename, so a failed or short write never costs the file that was there. A
// target that is not a regular file (a device, a pipe) is never replaced or removed: the
// finished bytes are written through to it, and every write is checked.
#pragma once

#include <filesystem>

namespace zerkavi::cli {

class OutputFile {
  public:
    explicit OutputFile(const std::filesystem::path& target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Where the writer writes; empty when no such file could be made (a folder that is not
    // there or not writable, a target that is a folder).
    const std::filesystem::path& path() const { return scratch_; }
    // Puts what was written in place of the target; false, with the target as it was, when
    // any step fails.
    bool commit();

  private:
    bool writeThrough() const;

    std::filesystem::path target_, scratch_;
    bool through_ = false; // the target is a device or a pipe
};

} // namespace zerkavi::cli
