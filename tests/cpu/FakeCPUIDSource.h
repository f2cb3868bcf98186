// A processor played by a test: leaves answer what the test set (zeros
// otherwise), leaf 2 answers its calls in turn, and any leaf can be made
// to throw.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "framework/CPUIDSource.h"

namespace zelk::tests {

class TFakeCPUIDSource : public TCPUIDSource {
 public:
  bool HasCPUID = true;
  bool SSEStateKept = true;
  bool SSECheckThrows = false;
  bool FPUAnswers = false;
  std::optional<uint32_t> ThrowingLeaf;
  std::vector<uint32_t> Queried;

  // Leaf 0: the highest standard leaf and the 12-character identification.
  TFakeCPUIDSource& Vendor(std::string_view identification, uint32_t highestLeaf = 1) {
    TCPUIDRegisters leaf0{highestLeaf, Pack(identification, 0), Pack(identification, 8), Pack(identification, 4)};
    return Leaf(0, leaf0);
  }
  TFakeCPUIDSource& Leaf1(uint32_t signature, uint32_t edx = 0, uint32_t ecx = 0) {
    return Leaf(1, {signature, 0, ecx, edx});
  }
  TFakeCPUIDSource& HighestExtendedLeaf(uint32_t leaf) { return Leaf(0x80000000, {leaf, 0, 0, 0}); }
  TFakeCPUIDSource& Leaf(uint32_t leaf, TCPUIDRegisters registers) {
    leaves_[leaf] = registers;
    return *this;
  }
  // One more answer of leaf 2.
  TFakeCPUIDSource& Leaf2(TCPUIDRegisters registers) {
    leaf2Calls_.push_back(registers);
    return *this;
  }

  int CallsOf(uint32_t leaf) const {
    int calls = 0;
    for (uint32_t queried : Queried) calls += queried == leaf ? 1 : 0;
    return calls;
  }

  bool Available() override { return HasCPUID; }
  TCPUIDRegisters Query(uint32_t leaf) override {
    Queried.push_back(leaf);
    if (ThrowingLeaf == leaf) throw std::runtime_error("leaf refused");
    if (leaf == 2 && !leaf2Calls_.empty()) {
      const size_t call = static_cast<size_t>(CallsOf(2)) - 1;
      return call < leaf2Calls_.size() ? leaf2Calls_[call] : TCPUIDRegisters{};
    }
    const auto found = leaves_.find(leaf);
    return found == leaves_.end() ? TCPUIDRegisters{} : found->second;
  }
  bool SSEUsable() override {
    if (SSECheckThrows) throw std::runtime_error("SSE faulted");
    return SSEStateKept;
  }
  bool FPUTestPasses() override { return FPUAnswers; }

 private:
  static uint32_t Pack(std::string_view text, size_t offset) {
    uint32_t value = 0;
    for (size_t index = 0; index < 4 && offset + index < text.size(); ++index) {
      value |= static_cast<uint32_t>(static_cast<unsigned char>(text[offset + index])) << (8 * index);
    }
    return value;
  }

  std::map<uint32_t, TCPUIDRegisters> leaves_;
  std::vector<TCPUIDRegisters> leaf2Calls_;
};

}  // namespace zelk::tests
