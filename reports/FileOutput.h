#pragma once
// A file written whole or not at all: the bytes go to a temporary file beside it, which replaces
// the file only after everything was written and flushed. A failure (a full disk, no right to
// write) leaves the old file, or none, and is told in the program's words with the file's name.
// A target that is not a regular file (a device, a pipe) is written directly, every write checked.
#include <memory>
#include <string>

class QFileDevice;

namespace kalvar {

class FileOutput {
  public:
    // Opens the output; throws WorkbookError when it cannot.
    explicit FileOutput(const std::string& path);
    ~FileOutput(); // without commit: the temporary file goes, the target stays as it was
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    QFileDevice& device();
    void write(const std::string& bytes);
    // Puts the written file in place; throws WorkbookError when any write or the flush failed.
    void commit();

    // Throws WorkbookError naming the file: why the device failed, or else the reason given.
    [[noreturn]] void fail(const std::string& otherwise = {});

  private:
    std::string path_;
    std::unique_ptr<QFileDevice> file_;
    bool direct_ = false;
};

} // namespace kalvar
