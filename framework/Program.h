// Programs (presets) of a module: named sets of parameter values, one of
// which is current, kept in an owned collection of the module.
//
// A program's values follow the module's parameter count: a new program
// gets one 0.0 per parameter, a new parameter item adds a 0.0 to every
// program, and assignment keeps the count. Access by index checks the
// module's parameter count and raises "Index >= numParams!" for any other
// index.
//
// Published: DisplayName, VSTModule and OnInitialize, so that programs load
// from a module's settings resource; their values are set by module code,
// usually in OnInitialize, which fires once the settings are loaded.
//
// Threads: programs change on the dispatcher's thread or in module code;
// the values are atomics because OverwritePrograms writes them from
// whichever thread sets a parameter. The chunk is the dispatcher's alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/ParameterValues.h"
#include "runtime/Collection.h"
#include "runtime/Event.h"

namespace zelk {

class TCustomVST1Module;

class TCustomVstProgram : public TCollectionItem {
  ZELK_CLASS(TCustomVstProgram, TCollectionItem)

  static constexpr size_t kMaxNameCharacters = 50;

  explicit TCustomVstProgram(TCollection* collection);

  std::string DisplayName() const override { return displayName_; }
  // Keeps the first kMaxNameCharacters characters.
  void SetDisplayName(const std::string& name) override;
  TCustomVST1Module* VSTModule() const { return module_; }
  void SetVSTModule(TCustomVST1Module* module) { module_ = module; }

  float Parameter(int32_t index) const;
  void SetParameter(int32_t index, float value);
  int32_t ParameterCount() const { return values_.Count(); }
  void ResizeParameters(int32_t count) { values_.Resize(count); }

  // The program's opaque state for chunk transfer. The framework only moves
  // it between host and program; filling it from the values, or applying
  // it, is the module's business.
  std::vector<uint8_t>& Chunk() { return chunk_; }
  const std::vector<uint8_t>& Chunk() const { return chunk_; }

  // From another program: its values (when it has any) through the checked
  // access, then its name. Any other source is refused with the assignment
  // error.
  void Assign(TPersistent* source) override;

  TNotifyEvent OnInitialize;

 private:
  void CheckIndex(int32_t index) const;
  void CopyValues(const TCustomVstProgram& source);

  std::string displayName_ = "Init";
  TCustomVST1Module* module_ = nullptr;
  TParameterValues values_;
  std::vector<uint8_t> chunk_;
};

class TCustomVstPrograms : public TCollection {
  ZELK_CLASS(TCustomVstPrograms, TCollection)

  explicit TCustomVstPrograms(TCustomVST1Module* module);

  TCustomVST1Module* VSTModule() const { return module_; }
  TCustomVstProgram* Program(int32_t index) const { return static_cast<TCustomVstProgram*>(Item(index)); }

 protected:
  // Keeps the module's program count current.
  void Update(TCollectionItem* item) override;

 private:
  TCustomVST1Module* module_;
};

}  // namespace zelk
