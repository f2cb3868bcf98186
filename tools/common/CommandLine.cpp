#include "tools/common/CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#ifndef ZELK_VERSION
#define ZELK_VERSION "unknown"
#endif

namespace zelk::tools {

namespace {

constexpr TOptionRule kCommonOptions[] = {{"--help", false}, {"-h", false}, {"--version", false}};

const TOptionRule* FindOption(const std::string& name, std::initializer_list<TOptionRule> options) {
  for (const TOptionRule& option : kCommonOptions) {
    if (name == option.Name) return &option;
  }
  for (const TOptionRule& option : options) {
    if (name == option.Name) return &option;
  }
  return nullptr;
}

bool LooksLikeOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

}  // namespace

TCommandLine::TCommandLine(const std::vector<std::string>& arguments, std::initializer_list<TOptionRule> options) {
  bool optionsEnded = false;
  for (size_t index = 0; index < arguments.size(); ++index) {
    const std::string& argument = arguments[index];
    if (optionsEnded || !LooksLikeOption(argument)) {
      operands_.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    const size_t equals = argument.rfind("--", 0) == 0 ? argument.find('=') : std::string::npos;
    const std::string name = argument.substr(0, equals);
    const TOptionRule* rule = FindOption(name, options);
    if (rule == nullptr) throw TUsageError{"unknown option '" + name + "'"};
    std::string value;
    if (!rule->TakesValue) {
      if (equals != std::string::npos) throw TUsageError{name + " takes no value"};
    } else if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (index + 1 < arguments.size()) {
      value = arguments[++index];
    } else {
      throw TUsageError{name + " needs a value"};
    }
    if (name == "--help" || name == "-h") wantsHelp_ = true;
    if (name == "--version") wantsVersion_ = true;
    options_.emplace_back(name, value);
  }
}

bool TCommandLine::Has(const std::string& name) const {
  return std::any_of(options_.begin(), options_.end(), [&](const auto& option) { return option.first == name; });
}

std::optional<std::string> TCommandLine::Value(const std::string& name) const {
  std::optional<std::string> value;
  for (const auto& option : options_) {
    if (option.first == name) value = option.second;
  }
  return value;
}

std::vector<std::string> TCommandLine::Values(const std::string& name) const {
  std::vector<std::string> values;
  for (const auto& option : options_) {
    if (option.first == name) values.push_back(option.second);
  }
  return values;
}

double ParseDegrees(const std::string& text, const std::string& option) {
  char* end = nullptr;
  errno = 0;
  const double degrees = std::strtod(text.c_str(), &end);
  const bool whole = !text.empty() && end == text.c_str() + text.size() && errno == 0;
  if (!whole || !std::isfinite(degrees) || degrees < 0.0 || degrees > 360.0) {
    throw TUsageError{option + " expects 0 to 360 degrees, got '" + text + "'"};
  }
  return degrees;
}

long long ParseInteger(const std::string& text, const std::string& option, long long lowest, long long highest) {
  char* end = nullptr;
  errno = 0;
  const long long number = std::strtoll(text.c_str(), &end, 10);
  const bool whole = !text.empty() && end == text.c_str() + text.size() && errno == 0;
  if (!whole || number < lowest || number > highest) {
    throw TUsageError{option + " expects a whole number from " + std::to_string(lowest) + " to " +
                      std::to_string(highest) + ", got '" + text + "'"};
  }
  return number;
}

std::string VersionLine(const char* tool) { return std::string(tool) + " " ZELK_VERSION " (Zelk Vorlan tools)"; }

std::optional<int> AnswerHelpOrVersion(const TCommandLine& line, const char* tool, const std::string& usage) {
  if (line.WantsHelp()) {
    std::fputs(usage.c_str(), stdout);
    return 0;
  }
  if (line.WantsVersion()) {
    std::printf("%s\n", VersionLine(tool).c_str());
    return 0;
  }
  return std::nullopt;
}

int ReportUsageError(const char* tool, const TUsageError& error) {
  std::fprintf(stderr, "%s: %s (see --help)\n", tool, error.Message.c_str());
  return 2;
}

}  // namespace zelk::tools
