#pragma once
// `kalvar-cli variants`: every layout of the task's windows sized side by side.
//   variants TASK.json|- [--window hotWater|heating|ventilation] [--sort KEY] [--csv] [--all]
#include <iosfwd>
#include <string>
#include <vector>

namespace kalvar {

// args are the words after "variants"; "--help" prints the help. Exit 0 when the variants were
// written; 2 for a usage or task error; 1 when the output could not be written.
int variantsCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                    std::ostream& err);

extern const char* const variantsUsage;
extern const char* const variantsHelp;

} // namespace kalvar
