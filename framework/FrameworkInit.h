// The framework's part of the library start: run once per process, before
// the host can create a module.
#pragma once

namespace zelk {

// Masks the floating-point exceptions (FloatingPoint.h) and registers the
// framework's module classes with the application's class registry. Safe to
// call more than once and from several threads; only the first call works.
void InitializeFramework();

}  // namespace zelk
