// What an editor may do with the module's parameters: read a value, set one
// as the user's own change (stored, reported to the host, applied to the
// sound), and bracket a gesture so that the host records touch automation.
// The module implements it; an editor holds it instead of the module's
// class. User-interface thread.
#pragma once

#include <cstdint>

namespace zelk {

class TParameterPort {
 public:
  // In parameter units; 0 for an index outside the parameters.
  virtual float ParameterValue(int32_t index) = 0;
  // A value the editor set does not come back to it at the next idle call.
  virtual void SetParameterFromEditor(int32_t index, float value) = 0;
  virtual void BeginParameterEdit(int32_t index) = 0;
  virtual void EndParameterEdit(int32_t index) = 0;

 protected:
  ~TParameterPort() = default;
};

}  // namespace zelk
