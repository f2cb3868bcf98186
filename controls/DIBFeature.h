// Features: behaviours attached to an image-drawn control by class name,
// stored with the control, that see every message of the control before the
// control does.
//
// The feature registry is process-wide, filled at library start with the
// built-in features (InitializeControlsLibrary) and emptied at its stop.
// Lookup compares class names without regard to case, from the last
// registered class to the first.
//
// TDIBFeatureItem holds one feature. Besides its published properties
// (Enabled, FeatureClassName, FeatureParameters) it streams the binary
// property "DIBFeatureParameters" when it has a feature: the feature's class
// name as a string value, then the feature as a root component stream of its
// published properties. Reading keeps that block raw; BuildFeature (when the
// control finishes loading) turns it into the feature. The block comes from
// outside: a block that does not read whole gives a clear error and leaves
// the item as it was.
//
// A feature's owner, as far as the component system asks (GetOwner), is its
// control; the item owns and frees it. Everything runs on the window thread.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "controls/ControlErrors.h"
#include "runtime/Collection.h"
#include "runtime/Component.h"
#include "toolkit/Control.h"

namespace zelk {

class TStream;

class TDIBFeature : public TComponent {
  ZELK_CLASS(TDIBFeature, TComponent)

  explicit TDIBFeature(TComponent* owner) : TComponent(owner) {}

  TControl* Control() const { return control_; }
  void SetControl(TControl* control) { control_ = control; }

  // Whether the feature suits control; true in the base.
  virtual bool CanApplyTo(TControl* control) const { return true; }
  // The text that names the feature to a user.
  virtual std::string GetFeatureName() const { return "Unknown feature"; }
  // Sees each message of the control before the control; setting handled
  // keeps the message from later features and from the control.
  virtual void FeatureMessage(TMessage& message, bool& handled) = 0;

  TPersistent* GetOwner() override;

 private:
  TControl* control_ = nullptr;
};

// The registry. Registering also registers the class for component streams.
void RegisterDIBFeature(const TClassInfo& featureClass);
// Null when no feature class of that name is registered.
const TClassInfo* FindDIBFeature(std::string_view className);
void ClearDIBFeatures();

using TFeaturePtr = std::unique_ptr<TDIBFeature, TFreeObject>;

class TDIBFeatureItem : public TCollectionItem {
  ZELK_CLASS(TDIBFeatureItem, TCollectionItem)

  explicit TDIBFeatureItem(TCollection* collection);
  ~TDIBFeatureItem() override;

  // Published, default true: disabled items see no messages.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  // Published. A name that is not registered raises EFeatureError
  // "<name> has not been registered"; otherwise the feature is replaced by
  // a new one of that class for the collection's control (none for "").
  const std::string& FeatureClassName() const { return featureClassName_; }
  void SetFeatureClassName(const std::string& name);
  // Published; kept and streamed as it is.
  const std::string& FeatureParameters() const { return featureParameters_; }
  void SetFeatureParameters(const std::string& value) { featureParameters_ = value; }

  TDIBFeature* Feature() const { return feature_.get(); }
  // The raw "DIBFeatureParameters" block read from a stream, until
  // BuildFeature.
  const std::vector<uint8_t>& StoredParameters() const { return storedParameters_; }
  // Builds the feature from the stored block, if any, and forgets the block.
  void BuildFeature();

  // The feature's name, or "DIB feature".
  std::string DisplayName() const override;
  // Copies Enabled, the feature's class and its published properties.
  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;

 private:
  TControl* OwnerControl() const;
  TFeaturePtr CreateFeature(const std::string& name) const;
  void ReadParameters(TStream& stream);
  void WriteParameters(TStream& stream);

  std::vector<uint8_t> storedParameters_;
  std::string featureParameters_;
  TFeaturePtr feature_;
  bool enabled_ = true;
  std::string featureClassName_;
};

class TDIBFeatures : public TCollection {
  ZELK_CLASS(TDIBFeatures, TCollection)

  // owner: the control the features belong to.
  explicit TDIBFeatures(TComponent* owner);
  ~TDIBFeatures() override;

  TDIBFeatureItem* Item(int index) const { return static_cast<TDIBFeatureItem*>(TCollection::Item(index)); }
  TDIBFeatureItem* Add() { return static_cast<TDIBFeatureItem*>(TCollection::Add()); }
  // Offers the message to each enabled item's feature in order, up to the
  // first that handles it; true when one did.
  bool RouteMessage(TMessage& message);
  // BuildFeature of every item, in order.
  void BuildFeatures();
};

// Writes and reads the "DIBFeatureParameters" block of a feature.
std::vector<uint8_t> WriteFeatureBlock(TDIBFeature& feature);
// A new feature from a block, for control; raises on a block that does not
// read whole, with nothing created.
TFeaturePtr ReadFeatureBlock(std::span<const uint8_t> block, TControl* control);

}  // namespace zelk
