// The LV2 library's entry points: lv2_descriptor hands hosts the plug-in,
// lv2ui_descriptor its X11 interface; both live in the one binary of the
// bundle. Loading the library starts everything the product is made of,
// unloading stops it, as for the VST 2 library.
#include "effect/LibraryStart.h"
#include "lv2plugin/Lv2Plugin.h"
#include "lv2plugin/Lv2Ui.h"

namespace zelk::lv2 {

namespace {

const TLibraryLifetime libraryLifetime;

}  // namespace

}  // namespace zelk::lv2

extern "C" {

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &zelk::lv2::PluginDescriptor() : nullptr;
}

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return index == 0 ? &zelk::lv2::UiDescriptor() : nullptr;
}

}  // extern "C"
