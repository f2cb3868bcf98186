// Message handlers registered once per class: a table from message codes to
// member functions, chained to the parent class's table. Dispatch finds the
// handler of the most derived class that has one; a handler that wants the
// inherited behaviour calls the ancestor's handler itself, or
// InheritedMessage<ItsClass>(message) when it does not know which ancestor
// handles the code.
//
//   class TKnob : public TGraphicControl {
//     ZELK_CLASS(TKnob, TGraphicControl)
//     ZELK_MESSAGES()
//     void WMPaint(TMessage& message);
//   };
//   const TMessageTable& TKnob::StaticMessages() {
//     static const TMessageTable table =
//         TMessageTableBuilder<TKnob>().On<&TKnob::WMPaint>(wmPaint).Build();
//     return table;
//   }
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "toolkit/Messages.h"

namespace zelk {

class TObject;

class TMessageTable {
 public:
  using THandler = void (*)(TObject& target, TMessage& message);

  TMessageTable(const TMessageTable* parent, std::vector<std::pair<uint32_t, THandler>> handlers)
      : parent_(parent), handlers_(std::move(handlers)) {}

  // The handler of this class or of the nearest ancestor that has one.
  THandler Find(uint32_t code) const {
    for (const TMessageTable* table = this; table != nullptr; table = table->parent_) {
      for (const auto& [handled, handler] : table->handlers_) {
        if (handled == code) return handler;
      }
    }
    return nullptr;
  }
  const TMessageTable* Parent() const { return parent_; }

 private:
  const TMessageTable* parent_;
  std::vector<std::pair<uint32_t, THandler>> handlers_;
};

template <class T>
class TMessageTableBuilder {
 public:
  // Handler is a member function of T or of a base class: void (TMessage&).
  template <auto Handler>
  TMessageTableBuilder& On(uint32_t code) {
    handlers_.emplace_back(code, [](TObject& target, TMessage& message) { (static_cast<T&>(target).*Handler)(message); });
    return *this;
  }
  TMessageTable Build() { return TMessageTable(&T::Inherited::StaticMessages(), std::move(handlers_)); }
  // The table of the root class (TControl), which has no parent table.
  TMessageTable BuildRoot() { return TMessageTable(nullptr, std::move(handlers_)); }

 private:
  std::vector<std::pair<uint32_t, TMessageTable::THandler>> handlers_;
};

}  // namespace zelk

// Declares the message table accessors inside a control class body.
#define ZELK_MESSAGES()                                   \
 public:                                                  \
  static const ::zelk::TMessageTable& StaticMessages();  \
  const ::zelk::TMessageTable& Messages() const override { return StaticMessages(); }
