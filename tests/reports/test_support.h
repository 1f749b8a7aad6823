#pragma once
// Shared helpers of the report tests: scratch folders, site-workbook fixtures in both formats,
// pass drawings, and calculated sessions.
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <sys/resource.h>

#include "Workbook.h"
#include "startup.h"

namespace kalvar::testing {

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

using FixtureCells = std::map<std::pair<int, int>, std::variant<double, std::string>>;

// Writes the cells as the first sheet of a workbook; the extension of the path (".xls" or
// ".xlsx") chooses the format.
void writeFixture(const std::string& path, const FixtureCells& cells);

// Writes small pass drawings "KM 1x.jpg".."KM 3x.jpg" (each a different size) into folder/picture.
void writePassDrawings(const std::filesystem::path& folder);

// A started session of the system with the windows' values set, calculated ("Расчет").
void calculate(Session& session, int system,
               const std::map<std::string, std::map<std::string, std::string>>& texts = {},
               const std::map<std::string, std::map<std::string, int>>& lists = {});

// Files may grow to a few bytes only while it lives, as on a nearly full disk; a write past that
// fails instead of stopping the program.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace kalvar::testing
