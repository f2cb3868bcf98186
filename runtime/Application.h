// The application object: the owner of every module and form the library
// creates, the list of those roots (for unique root names and references
// between roots), and the handler of exceptions that must not escape.
//
// Threads: hosts create and close modules on any thread, several at once.
// The application's list of components, the root list and root names are
// changed and read under the roots lock (RootsLock.h); everything here may
// be called from any thread.
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

  // Under the roots lock.
  void InsertComponent(TComponent* component) override;
  void RemoveComponent(TComponent* component) override;

 protected:
  void ValidateRename(TComponent* component, std::string_view currentName, std::string_view newName) override;
  // Roots are independent of each other and may live on other threads: one
  // root's arrival or departure is not passed on to the others (links
  // between roots are free-notification links).
  void Notification(TComponent* component, TOperation operation) override;
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
// The roots at this moment.
std::vector<TComponent*> Roots();
// Gives root the name made unique among all other roots (and the other
// components of its owner) by appending "_1", "_2", ...; choosing and taking
// the name is one step, so that roots read on two threads at once never get
// the same name.
void SetUniqueRootName(TComponent& root, std::string_view name);

}  // namespace zelk
