// The application object: the owner of every module and form the library
// creates, the list of those roots (for unique root names and references
// between roots), and the handler of exceptions that must not escape.
#pragma once

#include <string_view>
#include <vector>

#include "runtime/Component.h"

namespace zelk {

class TApplication : public TComponent {
  ZELK_CLASS(TApplication, TComponent)

  TApplication();

  // Reports an exception that is contained rather than passed on (for
  // example one raised by an OnCreate handler or a timer's handler) through
  // the exception display. Never throws.
  void HandleException(const std::exception& error) noexcept;
  void HandleException() noexcept;  // the exception being handled
};

// Shows the message of a contained exception to the user. The window
// toolkit installs a message box at its start; without one the message goes
// to standard error. Null restores that.
using TExceptionDisplay = void (*)(std::string_view message);
void SetExceptionDisplay(TExceptionDisplay display);

// The application object, created on first use (the library start).
TApplication& Application();
// Frees the application object when it owns nothing any more (the library
// stop); answers false and keeps it while modules are still alive.
bool ReleaseApplication();

// Roots are the forms and modules that load from component resources.
void AddRoot(TComponent* root);
void RemoveRoot(TComponent* root);
TComponent* FindRoot(std::string_view name);
const std::vector<TComponent*>& Roots();
// The name made unique among all roots by appending "_1", "_2", ...
std::string UniqueRootName(std::string_view name, const TComponent* except);

}  // namespace zelk
