// Class descriptions of the control base and the containers, and their
// registration for component streams.
#include "controls/DIBBorder.h"
#include "controls/DIBContainer.h"
#include "dib/DIBImageLink.h"
#include "dib/DIBImageList.h"
#include "runtime/ClassRegistry.h"
#include "toolkit/Publish.h"

namespace zelk {

const TClassInfo& TCustomDIBControl::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomDIBControl>("TCustomDIBControl").Build();
  return info;
}

const TClassInfo& TCustomDIBContainer::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomDIBContainer>("TCustomDIBContainer").Build();
  return info;
}

const TClassInfo& TCustomDIBImageContainer::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCustomDIBImageContainer>("TCustomDIBImageContainer").Build();
  return info;
}

const TClassInfo& TDIBImageContainer::StaticClass() {
  using T = TDIBImageContainer;
  static const TClassInfo info = [] {
    TClassBuilder<T> builder("TDIBImageContainer");
    PublishControl(builder);
    PublishWinControl(builder);
    return builder.Property("DIBImageList", &T::DIBImageList, &T::SetDIBImageList)
        .Property("IndexImage", &T::IndexImage, &T::SetIndexImage)
        .Property("TileMethod", &T::TileMethod, &T::SetTileMethod)
        .Default(TTileMethod::tmCenter)
        .Property("BorderDrawPosition", &T::BorderDrawPosition, &T::SetBorderDrawPosition)
        .Default(TBorderDrawPosition::bdOverControls)
        .Property("DIBBorder", &T::DIBBorder, &T::SetDIBBorder)
        .Property("OnActiveControlChange", &T::OnActiveControlChange)
        .Property("AfterPaint", &T::AfterPaint)
        .Property("BeforePaint", &T::BeforePaint)
        .Build();
  }();
  return info;
}

void RegisterDIBControlClasses() { RegisterClasses({&TDIBImageContainer::StaticClass()}); }

}  // namespace zelk
