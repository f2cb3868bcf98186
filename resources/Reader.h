// TReader: builds objects from a component stream. Reads the root's
// properties and children, creates the children by class name with the root
// as their owner, sets published properties by name, binds events to the
// root's published methods, offers other names to the objects' property
// hooks, resolves component references once the whole root is read and
// then tells every loaded component that loading has ended.
//
// Errors: an error raised while a property is read becomes EReadError
// "Fehler beim Lesen von <object>.<property>: <message>"; any error abandons
// the root (its pending references are forgotten, and a root that the
// reader created is destroyed) and is passed on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "resources/ReferenceFixups.h"
#include "resources/ValueReader.h"

namespace zelk {

class TCollection;
class TComponent;
class TClassInfo;
class TObject;
class TPersistent;
class TPropInfo;

class TReader : public TBinaryValueReader {
 public:
  explicit TReader(TStream& stream) : TBinaryValueReader(stream) {}

  // Reads the stream (signature included) into root, which is being
  // constructed. The stream's class name is not compared with root's class.
  void ReadRootComponent(TComponent& root);
  // Creates the root from the class that the stream names (a registered
  // component class) with owner as its owner and reads it.
  TComponent* ReadNewRootComponent(TComponent* owner);

  TComponent* Root() const { return root_; }
  // The parent given to children created now.
  TComponent* Parent() const { return parent_; }

 private:
  class TPropertyHooks;
  struct TPropertyContext {
    std::string ObjectName;
    std::string_view Path;
  };

  void ReadRoot(TComponent& root, const std::string& name);
  void ReadComponentData(TComponent& component);
  void ReadChildComponent();
  TComponent* CreateChild(const std::string& className, const std::string& name);
  const TClassInfo& FindComponentClass(const std::string& className) const;
  void FinishLoading();

  void ReadProperties(TPersistent& instance);
  void ReadProperty(TPersistent& instance);
  void ReadPropertyPath(TPersistent& instance, const TPropertyContext& context);
  void ReadPublished(TObject& target, const TPropInfo& property, const TPropertyContext& context);
  void ReadObjectProperty(TObject& target, const TPropInfo& property, const TPropertyContext& context);
  void ReadMethodProperty(TObject& target, const TPropInfo& property);
  int64_t ReadIntegerProperty(const TPropInfo& property);
  int64_t ReadCharProperty();
  int64_t ReadEnumProperty(const TPropInfo& property);
  int64_t ReadSetProperty(const TPropInfo& property);
  void ReadCollection(TCollection& collection);

  TComponent* root_ = nullptr;
  TComponent* parent_ = nullptr;
  std::vector<TComponent*> loaded_;
  TReferenceFixups fixups_;
  std::vector<const TCollection*> collections_;  // collections whose items are being read
};

}  // namespace zelk
