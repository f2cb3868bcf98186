// The command line of every zelk tool, read one way: options in any order
// and in both forms (--angle 90, --angle=90), "--" ends the options, and
// --help (-h) and --version are answered alike by every tool, exit 0.
//
// A malformed line throws TUsageError with one line that says which option
// or value is wrong and why; the tools print it with "(see --help)" and exit
// with status 2.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace zelk::tools {

struct TUsageError {
  std::string Message;
};

// An option the tool knows: its name ("--angle", "-o") and whether a value
// follows it.
struct TOptionRule {
  const char* Name;
  bool TakesValue;
};

class TCommandLine {
 public:
  // Reads arguments (argv[1..]) against the tool's options; --help, -h and
  // --version are known to every tool. Throws TUsageError for an unknown
  // option, a missing value, or a value given to an option that takes none.
  TCommandLine(const std::vector<std::string>& arguments, std::initializer_list<TOptionRule> options);

  bool WantsHelp() const { return wantsHelp_; }
  bool WantsVersion() const { return wantsVersion_; }
  bool Has(const std::string& name) const;
  // The value of the last occurrence of the option, if it was given.
  std::optional<std::string> Value(const std::string& name) const;
  // Every value the option was given, in order.
  std::vector<std::string> Values(const std::string& name) const;
  // The arguments that are no options, in order.
  const std::vector<std::string>& Operands() const { return operands_; }

 private:
  std::vector<std::pair<std::string, std::string>> options_;
  std::vector<std::string> operands_;
  bool wantsHelp_ = false;
  bool wantsVersion_ = false;
};

// Values, each checked whole: "45x", "", "nan" and out-of-range values are
// refused with "OPTION expects WHAT, got 'TEXT'".
double ParseDegrees(const std::string& text, const std::string& option);  // 0 to 360
long long ParseInteger(const std::string& text, const std::string& option, long long lowest, long long highest);

// "zelk-host 1.0 (Zelk Vorlan tools)".
std::string VersionLine(const char* tool);

// Answers --help (usage on stdout) and --version; the exit status when one
// of them was asked for.
std::optional<int> AnswerHelpOrVersion(const TCommandLine& line, const char* tool, const std::string& usage);

// Reports a usage error on stderr; answers exit status 2.
int ReportUsageError(const char* tool, const TUsageError& error);

}  // namespace zelk::tools
