// TWriter: writes a root component as a component stream that TReader
// reads back to the same values. For each component: class name, name, the
// published properties that are stored and differ from their default (base
// class first), the extra properties its property hooks report data for,
// then its children. Sub-objects that are persistent but not components
// are written as dotted paths ("DIB.Data"), collections as tag 14,
// component references by name ("Owner" for the root itself), events by the
// name of the root's published method they are bound to.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "resources/ValueWriter.h"
#include "runtime/ClassInfo.h"

namespace zelk {

class TCollection;
class TComponent;
class TObject;
class TPersistent;
class TPropInfo;
struct TMethodRef;

class TWriter {
 public:
  explicit TWriter(TStream& stream) : values_(stream) {}

  void WriteRootComponent(TComponent& root);
  TBinaryValueWriter& Values() { return values_; }

 private:
  class TDefinedProperties;

  void WriteComponent(TComponent& component);
  void WriteProperties(TObject& instance, const std::string& prefix);
  void WritePublished(TObject& instance, const TPropInfo& property, const std::string& prefix);
  void WriteOrdinal(const TPropInfo& property, int64_t value, const std::string& name);
  void WriteFloatValue(const TValue& value, const std::string& name);
  void WriteObject(TObject& instance, const TPropInfo& property, const std::string& name);
  void WriteMethod(const TMethodRef& method, const std::string& name);
  void WriteCollection(TCollection& collection);
  void WriteIdentValue(const std::string& name, std::string_view ident);
  // The name by which a reader finds component from the root, if any.
  std::optional<std::string> ReferenceName(TComponent& component) const;

  TBinaryValueWriter values_;
  TComponent* root_ = nullptr;
  std::vector<const TObject*> objectPath_;  // objects being written, against cycles
};

}  // namespace zelk
