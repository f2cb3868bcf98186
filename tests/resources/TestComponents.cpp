#include "TestComponents.h"

#include <algorithm>

#include "resources/Reader.h"
#include "resources/TextFormCompiler.h"
#include "resources/Writer.h"
#include "runtime/Application.h"
#include "runtime/ClassBuilder.h"
#include "runtime/ClassRegistry.h"
#include "runtime/Filer.h"
#include "runtime/Stream.h"

namespace zelk::tests {

std::vector<std::string>& LoadingLog() {
  static std::vector<std::string> log;
  return log;
}

const TClassInfo& TTestPen::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TTestPen>("TTestPen").Property("Width", &TTestPen::Width).Default(1).Build();
  return info;
}

void TTestPen::Assign(TPersistent* source) {
  if (auto* pen = dynamic_cast<TTestPen*>(source)) {
    Width = pen->Width;
    return;
  }
  TPersistent::Assign(source);
}

const TClassInfo& TTestFont::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestFont>("TTestFont")
                                     .Property("Height", &TTestFont::Height)
                                     .Default(0)
                                     .Property("Name", &TTestFont::Name)
                                     .Property("Pen", &TTestFont::Pen, &TTestFont::SetPen)
                                     .Build();
  return info;
}

TTestFont::TTestFont() : pen_(New<TTestPen>()) {}
TTestFont::~TTestFont() { TObject::Free(pen_); }

void TTestFont::Assign(TPersistent* source) {
  if (auto* font = dynamic_cast<TTestFont*>(source)) {
    Height = font->Height;
    Name = font->Name;
    pen_->Assign(font->pen_);
    return;
  }
  TPersistent::Assign(source);
}

const TClassInfo& TTestItem::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestItem>("TTestItem")
                                     .Property("Caption", &TTestItem::Caption)
                                     .Property("Value", &TTestItem::Value)
                                     .Default(0)
                                     .Property("Link", &TTestItem::Link)
                                     .Build();
  return info;
}

void TTestItem::Assign(TPersistent* source) {
  if (auto* item = dynamic_cast<TTestItem*>(source)) {
    Caption = item->Caption;
    Value = item->Value;
    Link = item->Link;
    return;
  }
  TPersistent::Assign(source);
}

const TClassInfo& TTestItems::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestItems>("TTestItems").Build();
  return info;
}

const TClassInfo& TTestChild::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestChild>("TTestChild")
                                     .Property("Position", &TTestChild::Position)
                                     .Default(0)
                                     .Property("Partner", &TTestChild::Partner)
                                     .Build();
  return info;
}

void TTestChild::SetParentComponent(TComponent* parent) {
  StateWhenParented = ComponentState();
  NamedWhenParented = !Name().empty();
  // Only children are parents; the root holds its children without one.
  Parent = dynamic_cast<TTestChild*>(parent);
}

std::vector<TComponent*> TTestChild::GetChildren(TComponent* root) const {
  std::vector<TComponent*> children;
  for (TComponent* component : root->Components()) {
    auto* child = dynamic_cast<TTestChild*>(component);
    if (child != nullptr && child->Parent == this) children.push_back(child);
  }
  return children;
}

void TTestChild::LoadingFinished() {
  LoadingLog().push_back(Name());
  TComponent::LoadingFinished();
}

const TClassInfo& TTestGadget::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TTestGadget>("TTestGadget").Property("Level", &TTestGadget::Level).Build();
  return info;
}

void TTestGadget::LoadingFinished() {
  LoadingLog().push_back(Name());
  TComponent::LoadingFinished();
}

const TClassInfo& TTestRoot::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTestRoot>("TTestRoot")
                                     .Property("Count", &TTestRoot::Count)
                                     .Default(0)
                                     .Property("Color", &TTestRoot::Color)
                                     .Default(0)
                                     .Idents(ColorIdents())
                                     .Property("Letter", &TTestRoot::Letter)
                                     .Default(0)
                                     .Property("Shade", &TTestRoot::Shade)
                                     .Default(TShade::shRed)
                                     .Property("Enabled", &TTestRoot::Enabled)
                                     .Default(false)
                                     .Property("Ratio", &TTestRoot::Ratio)
                                     .Property("Precise", &TTestRoot::Precise)
                                     .Property("Scale", &TTestRoot::Scale)
                                     .Property("Caption", &TTestRoot::Caption)
                                     .Property("WideCaption", &TTestRoot::WideCaption)
                                     .Property("Shades", &TTestRoot::Shades)
                                     .Default(TSet<TShade>{})
                                     .Property("Letters", &TTestRoot::Letters)
                                     .Default(TSet<TLetter>{})
                                     .Property("Big", &TTestRoot::Big)
                                     .ReadOnly("Version", &TTestRoot::Version)
                                     .Property("Font", &TTestRoot::Font, &TTestRoot::SetFont)
                                     .Property("Items", &TTestRoot::Items, &TTestRoot::SetItems)
                                     .ReadOnly("FixedItems", &TTestRoot::FixedItems)
                                     .ReadOnly("Gadget", &TTestRoot::Gadget)
                                     .Property("Buddy", &TTestRoot::Buddy)
                                     .Property("Target", &TTestRoot::Target)
                                     .Property("OnChange", &TTestRoot::OnChange)
                                     .Property("OnCount", &TTestRoot::OnCount)
                                     .Method<&TTestRoot::HandleChange>("HandleChange")
                                     .Method<&TTestRoot::HandleCount>("HandleCount")
                                     .Field("Child1", &TTestRoot::Child1)
                                     .Build();
  return info;
}

TTestRoot::TTestRoot(TComponent* owner)
    : TComponent(owner),
      font_(New<TTestFont>()),
      items_(New<TTestItems>(this)),
      fixedItems_(New<TTestItems>(this)),
      gadget_(New<TTestChild>(this)) {
  gadget_->SetName("Gadget");
  gadget_->SetSubComponent(true);
  AddRoot(this);
  // Classes that streams may name besides the root's field classes.
  static const bool registered = (RegisterClasses({&TTestRoot::StaticClass(), &TTestGadget::StaticClass(), &TTestFont::StaticClass()}), true);
  (void)registered;
}

TTestRoot::~TTestRoot() {
  RemoveRoot(this);
  TObject::Free(items_);
  TObject::Free(fixedItems_);
  TObject::Free(font_);
}

void TTestRoot::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Blob",
      [this](TStream& stream) {
        Blob.resize(static_cast<size_t>(stream.Size() - stream.Position()));
        stream.ReadBuffer(Blob.data(), static_cast<int64_t>(Blob.size()));
      },
      [this](TStream& stream) { stream.WriteBuffer(Blob.data(), static_cast<int64_t>(Blob.size())); }, !Blob.empty());
  filer.DefineProperty(
      "Extra", [this](TValueReader& reader) { Extra = reader.ReadString(); },
      [this](TValueWriter& writer) { writer.WriteString(Extra); }, !Extra.empty());
}

void TTestRoot::LoadingFinished() {
  LoadingLog().push_back(Name());
  TComponent::LoadingFinished();
}

TRootPointer NewRoot() { return TRootPointer(New<TTestRoot>(nullptr)); }

std::string ReadInto(TComponent& root, const std::vector<uint8_t>& bytes) {
  TReadOnlyMemoryStream stream(bytes);
  try {
    TReader(stream).ReadRootComponent(root);
  } catch (const Exception& error) {
    return error.Message();
  }
  return {};
}

std::vector<uint8_t> Compiled(std::string_view text) { return CompileComponentText(text); }

std::vector<uint8_t> Written(TComponent& root) {
  TMemoryStream stream;
  TWriter(stream).WriteRootComponent(root);
  return stream.ToVector();
}

TBytes& TBytes::Raw(std::initializer_list<uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

TBytes& TBytes::Text(std::string_view text) {
  bytes_.insert(bytes_.end(), text.begin(), text.end());
  return *this;
}

TBytes& TBytes::Str(std::string_view text) {
  bytes_.push_back(static_cast<uint8_t>(text.size()));
  return Text(text);
}

TBytes& TBytes::Int32(int32_t value) {
  for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
  return *this;
}

TBytes& TBytes::Root(std::string_view className, std::string_view name) { return Text("TPF0").Str(className).Str(name); }

}  // namespace zelk::tests
