// Small component classes that publish one property of each kind, used by
// the runtime tests.
#pragma once

#include <string>

#include "runtime/ClassBuilder.h"
#include "runtime/Collection.h"
#include "runtime/Component.h"
#include "runtime/Set.h"

namespace zelk::tests {

enum class TShade { shLight, shMedium, shDark };
ZELK_ENUM_NAMES(TShade, "shLight", "shMedium", "shDark")
using TShades = TSet<TShade>;

using TCountEvent = TEvent<void(TObject* Sender, int32_t Count)>;

class TGadget : public TComponent {
  ZELK_CLASS(TGadget, TComponent)
  explicit TGadget(TComponent* owner) : TComponent(owner) {}

  int32_t Count() const { return count_; }
  void SetCount(int32_t count) {
    count_ = count;
    ++countWrites;
  }

  int32_t count_ = 0;
  int countWrites = 0;
  bool Enabled = true;
  TShade Shade = TShade::shMedium;
  TShades Shades;
  float Level = 0.5f;
  std::string Caption;
  TGadget* Partner = nullptr;
  TNotifyEvent OnClick;
  TCountEvent OnCount;
  std::string calls;

  void GadgetClick(TObject* Sender) { calls += "click;"; }
  void GadgetCount(TObject* Sender, int32_t Count) { calls += "count" + std::to_string(Count) + ";"; }
};

class TPanelOwner : public TComponent {
  ZELK_CLASS(TPanelOwner, TComponent)
  explicit TPanelOwner(TComponent* owner) : TComponent(owner) {}
  TGadget* First = nullptr;
};

class TNamedItem : public TCollectionItem {
  ZELK_CLASS(TNamedItem, TCollectionItem)
  explicit TNamedItem(TCollection* collection) : TCollectionItem(collection) {}
  std::string Label;
};

class TCountingCollection : public TCollection {
  ZELK_CLASS(TCountingCollection, TCollection)
  TCountingCollection() : TCollection(TNamedItem::StaticClass()) {}
  int updates = 0;

 protected:
  void Update(TCollectionItem*) override { ++updates; }
};

}  // namespace zelk::tests
