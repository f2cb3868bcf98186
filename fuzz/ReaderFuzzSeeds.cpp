// Writes the seed corpus of the reader fuzzer into the folder given as the
// argument: streams written by TWriter and compiled from the text form, so
// that the fuzzer starts from inputs that reach deep into the reader.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/ClassBuilder.h"
#include "tests/resources/TestComponents.h"

namespace {

using namespace zelk;
using namespace zelk::tests;

std::vector<uint8_t> EveryKindOfValue() {
  TRootPointer root = NewRoot();
  root->SetName("Seed");
  root->Count = 245;
  root->Color = -16777201;
  root->Letter = 'z';
  root->Shade = TShade::shBlue;
  root->Enabled = true;
  root->Ratio = 0.5f;
  root->Precise = 44100.0;
  root->Caption = "°";
  root->WideCaption = u"wide";
  root->Shades = {TShade::shGreen};
  root->Letters = TSet<TLetter>::FromMask(0x80000001u);
  root->Big = 5000000000;
  root->Font()->Height = -13;
  root->Font()->Pen()->Width = 3;
  root->Gadget()->Position = 4;
  root->Blob = {1, 2, 3};
  root->Extra = "extra";
  auto* outer = New<TTestChild>(root.get());
  outer->SetName("Child1");
  auto* inner = New<TTestChild>(root.get());
  inner->SetName("Inner");
  inner->Parent = outer;
  inner->Partner = outer;
  New<TTestGadget>(root.get())->SetName("G");
  root->Buddy = inner;
  root->Target = root.get();
  auto* item = static_cast<TTestItem*>(root->Items()->Add());
  item->Caption = "item";
  item->Link = outer;
  root->OnChange = TNotifyEvent::Bind<&TTestRoot::HandleChange>(root.get());
  root->OnCount = TCountEvent::Bind<&TTestRoot::HandleCount>(root.get());
  return Written(*root);
}

const char* const kTextSeeds[] = {
    "object R: TTestRoot\n  Target = Other.Thing\n  Items = <item 3 Value = 1 end>\nend\n",
    "object R: TTestRoot\n  inherited Gadget: TTestChild [1]\n    Position = 2\n  end\nend\n",
    "object R: TTestRoot\n  Gadget = ( 1 ( 'two' ) [ three ] { 00FF } <> )\n  Letters = [l00, l31, l39]\nend\n",
};

void WriteSeed(const std::filesystem::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream file(folder / name, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: reader_fuzz_seeds FOLDER\n", stderr);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  WriteSeed(folder, "every-kind", EveryKindOfValue());
  int index = 0;
  for (const char* text : kTextSeeds) WriteSeed(folder, "text-" + std::to_string(index++), Compiled(text));
  return 0;
}
