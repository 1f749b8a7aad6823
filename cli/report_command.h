#pragma once
// `kalvar-cli report`: the report of a task built headless, after the calculation.
//   report TASK.json|- [--xlsx FILE] [--pdf FILE] [--terms TERMS.json]
// TERMS.json: {"objectName": "...", "hotWater"|"heating"|"ventilation": {"price", "terms", "notes"}};
// boxes it leaves out keep the delivery-terms dialog's designed texts. The owner details come from
// the owner-details workbook of the working directory when it is there, as at start-up.
#include <iosfwd>
#include <string>
#include <vector>

namespace kalvar {

// args are the words after "report"; "--help" prints the help. Exit 0 when every file asked for was written;
// 2 for a usage, task or terms error; 1 when the report could not be built or written (the message says why).
int reportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The usage line of the command, and its help text (usage, what it does, the terms keys).
extern const char* const reportUsage;
extern const char* const reportHelp;

} // namespace kalvar
