// Small component classes that publish one property of every kind, for the
// reader and writer tests, plus helpers that build and read streams.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Collection.h"
#include "runtime/Component.h"
#include "runtime/Event.h"
#include "runtime/Set.h"
#include "runtime/TypeInfo.h"

namespace zelk::tests {

enum class TShade { shRed, shGreen, shBlue };
ZELK_ENUM_NAMES(TShade, "shRed", "shGreen", "shBlue")

// 40 members, so that a set can name members beyond ordinal 31.
enum class TLetter {
  l00, l01, l02, l03, l04, l05, l06, l07, l08, l09, l10, l11, l12, l13, l14, l15, l16, l17, l18, l19,
  l20, l21, l22, l23, l24, l25, l26, l27, l28, l29, l30, l31, l32, l33, l34, l35, l36, l37, l38, l39,
};
ZELK_ENUM_NAMES(TLetter, "l00", "l01", "l02", "l03", "l04", "l05", "l06", "l07", "l08", "l09", "l10", "l11", "l12",
                "l13", "l14", "l15", "l16", "l17", "l18", "l19", "l20", "l21", "l22", "l23", "l24", "l25", "l26",
                "l27", "l28", "l29", "l30", "l31", "l32", "l33", "l34", "l35", "l36", "l37", "l38", "l39")

// Records LoadingFinished calls in order, as "name" entries.
std::vector<std::string>& LoadingLog();

class TTestPen : public TPersistent {
  ZELK_CLASS(TTestPen, TPersistent)
  int32_t Width = 1;
  void Assign(TPersistent* source) override;
};

// A persistent sub-object with a nested one: "Font.Pen.Width".
class TTestFont : public TPersistent {
  ZELK_CLASS(TTestFont, TPersistent)
  TTestFont();
  ~TTestFont() override;
  int32_t Height = 0;
  std::string Name;
  TTestPen* Pen() const { return pen_; }
  void SetPen(TTestPen* pen) { pen_->Assign(pen); }
  void Assign(TPersistent* source) override;

 private:
  TTestPen* pen_;
};

class TTestChild;

class TTestItem : public TCollectionItem {
  ZELK_CLASS(TTestItem, TCollectionItem)
  explicit TTestItem(TCollection* collection) : TCollectionItem(collection) {}
  std::string Caption;
  int32_t Value = 0;
  TTestChild* Link = nullptr;
  void Assign(TPersistent* source) override;
};

class TTestItems : public TCollection {
  ZELK_CLASS(TTestItems, TCollection)
  explicit TTestItems(TPersistent* owner) : TCollection(TTestItem::StaticClass(), owner) {}
  int ChangeCount = 0;  // announcements of a change of the whole collection

 protected:
  void Update(TCollectionItem* item) override {
    if (item == nullptr) ++ChangeCount;
  }
};

// A child component that can hold other children (its visual children).
class TTestChild : public TComponent {
  ZELK_CLASS(TTestChild, TComponent)
  explicit TTestChild(TComponent* owner) : TComponent(owner) {}
  int32_t Position = 0;
  TTestChild* Partner = nullptr;
  TComponent* Parent = nullptr;
  // States seen when the parent and the name were set.
  uint32_t StateWhenParented = 0;
  bool NamedWhenParented = false;

  bool HasParent() const override { return Parent != nullptr; }
  TComponent* GetParentComponent() const override { return Parent; }
  void SetParentComponent(TComponent* parent) override;
  std::vector<TComponent*> GetChildren(TComponent* root) const override;
  void LoadingFinished() override;
};

// A class known only to the class registry, not to any root field.
class TTestGadget : public TComponent {
  ZELK_CLASS(TTestGadget, TComponent)
  explicit TTestGadget(TComponent* owner) : TComponent(owner) { ++Created; }
  static inline int64_t Created = 0;
  double Level = 0.0;
  void LoadingFinished() override;
};

using TCountEvent = TEvent<void(TObject* Sender, int Count)>;

// The root: one published property of every kind, events with published
// handlers, a published field for a child, a value hook and a binary hook.
// Registers itself as a root, like forms and modules.
class TTestRoot : public TComponent {
  ZELK_CLASS(TTestRoot, TComponent)
  explicit TTestRoot(TComponent* owner);
  ~TTestRoot() override;

  int32_t Count = 0;
  int32_t Color = 0;
  char Letter = 0;
  TShade Shade = TShade::shRed;
  bool Enabled = false;
  float Ratio = 0.0f;
  double Precise = 0.0;
  long double Scale = 0.0L;  // an extended value
  std::string Caption;
  std::u16string WideCaption;
  TSet<TShade> Shades;
  TSet<TLetter> Letters;
  int64_t Big = 0;
  int32_t Version() const { return 7; }
  TTestFont* Font() const { return font_; }
  void SetFont(TTestFont* font) { font_->Assign(font); }
  TTestItems* Items() const { return items_; }
  void SetItems(TTestItems* items) { items_->Assign(items); }
  TTestItems* FixedItems() const { return fixedItems_; }
  TTestChild* Gadget() const { return gadget_; }  // a read-only sub-component
  TTestChild* Buddy = nullptr;
  TComponent* Target = nullptr;
  TNotifyEvent OnChange;
  TCountEvent OnCount;

  // Published handlers.
  void HandleChange(TObject* sender) { ++ChangeCalls; }
  void HandleCount(TObject* sender, int count) { LastCount = count; }
  int ChangeCalls = 0;
  int LastCount = 0;

  // Published field, bound to the owned component named "Child1".
  TTestChild* Child1 = nullptr;

  // Hooked properties "Blob" (binary) and "Extra" (any value).
  std::vector<uint8_t> Blob;
  std::string Extra;

  void DefineProperties(TFiler& filer) override;
  void LoadingFinished() override;

 private:
  TTestFont* font_;
  TTestItems* items_;
  TTestItems* fixedItems_;
  TTestChild* gadget_;
};

using TRootPointer = std::unique_ptr<TTestRoot, TFreeObject>;
TRootPointer NewRoot();

// Reads bytes into root; answers the message of the error raised, or "".
std::string ReadInto(TComponent& root, const std::vector<uint8_t>& bytes);
// Compiles the text form.
std::vector<uint8_t> Compiled(std::string_view text);
// Writes root with TWriter.
std::vector<uint8_t> Written(TComponent& root);

// Builds raw streams byte by byte for what the text form cannot express.
class TBytes {
 public:
  TBytes& Raw(std::initializer_list<uint8_t> bytes);
  TBytes& Text(std::string_view text);      // bytes without a length
  TBytes& Str(std::string_view text);       // a short string
  TBytes& Int32(int32_t value);             // 4 bytes little-endian
  TBytes& Root(std::string_view className, std::string_view name);  // signature, class, name
  std::vector<uint8_t> Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace zelk::tests
