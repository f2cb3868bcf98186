// The rules every process-wide registry shares (runtime/Registry.h): the
// class registry, picture loaders, image formats and compressors are built
// on it and test only their own lookups.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/Registry.h"

namespace zelk::tests {
namespace {

// Writes its name into a log when it is freed.
struct TLoggedEntry {
  std::string Name;
  std::vector<std::string>* FreedLog;
  ~TLoggedEntry() { FreedLog->push_back(Name); }
};

using TOwningRegistry = TRegistry<TLoggedEntry, std::default_delete<TLoggedEntry>>;

TEST(Registry, ASecondRegistrationOfTheSameObjectIsRefusedAndFreesNothing) {
  std::vector<std::string> freed;
  {
    TOwningRegistry registry;
    auto* entry = new TLoggedEntry{"rle", &freed};
    EXPECT_TRUE(registry.Add(entry));
    EXPECT_FALSE(registry.Add(entry));
    EXPECT_FALSE(registry.Add(nullptr));
    EXPECT_EQ(registry.Count(), 1);
    EXPECT_TRUE(freed.empty());
  }
  EXPECT_EQ(freed, std::vector<std::string>{"rle"});  // freed once, when the registry went
}

TEST(Registry, LookupsSearchInTheOrderTheyPromise) {
  TRegistry<const int> registry;
  const int first = 7;
  const int second = 7;
  const int other = 8;
  registry.Add(&first);
  registry.Add(&other);
  registry.Add(&second);
  const auto isSeven = [](const int& value) { return value == 7; };
  EXPECT_EQ(registry.FindFirst(isSeven), &first);
  EXPECT_EQ(registry.FindLatest(isSeven), &second);
  EXPECT_EQ(registry.FindFirst([](const int& value) { return value == 9; }), nullptr);
  EXPECT_EQ(registry.At(1), &other);
  EXPECT_THROW(registry.At(3), std::out_of_range);
  EXPECT_THROW(registry.At(-1), std::out_of_range);
}

TEST(Registry, RemoveAndClearFreeOwnedObjectsInRegistrationOrder) {
  std::vector<std::string> freed;
  TOwningRegistry registry;
  auto* a = new TLoggedEntry{"a", &freed};
  auto* b = new TLoggedEntry{"b", &freed};
  auto* c = new TLoggedEntry{"c", &freed};
  for (TLoggedEntry* entry : {a, b, c}) registry.Add(entry);
  EXPECT_TRUE(registry.Remove(b));
  EXPECT_FALSE(registry.Remove(b));
  EXPECT_EQ(freed, std::vector<std::string>{"b"});
  EXPECT_FALSE(registry.Contains(b));
  registry.Clear();
  EXPECT_EQ(freed, (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(registry.Count(), 0);
}

TEST(Registry, ARegistryThatOnlyRefersFreesNothing) {
  TLoggedEntry* kept = nullptr;
  std::vector<std::string> freed;
  {
    TRegistry<TLoggedEntry> registry;
    kept = new TLoggedEntry{"kept", &freed};
    registry.Add(kept);
    registry.Remove(kept);
    registry.Add(kept);
  }
  EXPECT_TRUE(freed.empty());
  delete kept;
}

}  // namespace
}  // namespace zelk::tests
