// The message of the error an action raises, for tests that compare the
// texts users see.
#pragma once

#include <functional>
#include <string>

namespace zelk::tests {

// What action raises as Error; empty when it raises nothing.
template <class Error>
std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "";
}

}  // namespace zelk::tests
