#include "TestClasses.h"

namespace zelk::tests {

const TClassInfo& TGadget::StaticClass() {
  static const TClassInfo info = TClassBuilder<TGadget>("TGadget")
                                     .Property("Count", &TGadget::Count, &TGadget::SetCount)
                                     .Default(0)
                                     .Property("Enabled", &TGadget::Enabled)
                                     .Default(true)
                                     .Property("Shade", &TGadget::Shade)
                                     .Default(TShade::shMedium)
                                     .Property("Shades", &TGadget::Shades)
                                     .Property("Level", &TGadget::Level)
                                     .Property("Caption", &TGadget::Caption)
                                     .Property("Partner", &TGadget::Partner)
                                     .Property("OnClick", &TGadget::OnClick)
                                     .Property("OnCount", &TGadget::OnCount)
                                     .Method<&TGadget::GadgetClick>("GadgetClick")
                                     .Method<&TGadget::GadgetCount>("GadgetCount")
                                     .Build();
  return info;
}

const TClassInfo& TPanelOwner::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPanelOwner>("TPanelOwner").Field("First", &TPanelOwner::First).Build();
  return info;
}

const TClassInfo& TNamedItem::StaticClass() {
  static const TClassInfo info = TClassBuilder<TNamedItem>("TNamedItem").Property("Label", &TNamedItem::Label).Build();
  return info;
}

const TClassInfo& TCountingCollection::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCountingCollection>("TCountingCollection").Build();
  return info;
}

}  // namespace zelk::tests
