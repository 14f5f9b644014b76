#pragma once
// A control array: elements of one kind sharing a name and the handlers,
// addressed by index. Indexes may have gaps (an array may have 0..5 and 7).
//
//     forms::ControlArray<forms::TextBox> Text1{this, "Text1"};
//     ...
//     auto& t = Text1.Add(3);          // design time, in the constructor
//     Text1.OnKeyPress([this](int Index, int& KeyAscii) { Text1_KeyPress(Index, KeyAscii); });
//     Text1[3].SetText("x");
//     for (auto& box : Text1) ...       // existing elements, by index

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/forms/controls.h"

namespace forms {

template <class T>
class ControlArray : public ControlGroup {
 public:
  ControlArray(Form* form, std::string name) : ControlGroup(std::move(name)), form_(form) {}

  // Creates element `index` (design time: in the form's constructor; the
  // view learns a form's controls when the form is loaded). Creating an
  // existing index returns the element already there.
  T& Add(int index) {
    if (index < 0) throw std::out_of_range(Name() + ": negative control array index");
    auto& slot = elements_[index];
    if (!slot) slot = std::unique_ptr<T>(new T(form_, this, index));
    return *slot;
  }

  // The element at `index`; throws std::out_of_range for a gap.
  T& operator[](int index) const {
    auto it = elements_.find(index);
    if (it == elements_.end()) {
      throw std::out_of_range("control array element " + Name() + "(" + std::to_string(index) +
                              ") does not exist");
    }
    return *it->second;
  }
  bool Exists(int index) const { return elements_.count(index) != 0; }
  // Null for a gap.
  T* Find(int index) const {
    auto it = elements_.find(index);
    return it == elements_.end() ? nullptr : it->second.get();
  }
  int Count() const { return static_cast<int>(elements_.size()); }
  // The lowest and highest existing index (0 and -1 when empty).
  int LBound() const { return elements_.empty() ? 0 : elements_.begin()->first; }
  int UBound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }

  // Iterates over the existing elements in index order.
  class iterator {
   public:
    using Inner = typename std::map<int, std::unique_ptr<T>>::const_iterator;
    explicit iterator(Inner it) : it_(it) {}
    T& operator*() const { return *it_->second; }
    T* operator->() const { return it_->second.get(); }
    iterator& operator++() {
      ++it_;
      return *this;
    }
    bool operator==(const iterator& o) const { return it_ == o.it_; }
    bool operator!=(const iterator& o) const { return it_ != o.it_; }

   private:
    Inner it_;
  };
  iterator begin() const { return iterator(elements_.begin()); }
  iterator end() const { return iterator(elements_.end()); }

  // Handlers shared by every element; they receive the element's index.
  void OnClick(std::function<void(int Index)> f) { handlers().Click = std::move(f); }
  void OnChange(std::function<void(int Index)> f) { handlers().Change = std::move(f); }
  void OnGotFocus(std::function<void(int Index)> f) { handlers().GotFocus = std::move(f); }
  void OnLostFocus(std::function<void(int Index)> f) { handlers().LostFocus = std::move(f); }
  void OnTimer(std::function<void(int Index)> f) { handlers().Timer = std::move(f); }
  void OnKeyPress(std::function<void(int Index, int& KeyAscii)> f) {
    handlers().KeyPress = std::move(f);
  }

 private:
  Form* form_;
  std::map<int, std::unique_ptr<T>> elements_;
};

}  // namespace forms
