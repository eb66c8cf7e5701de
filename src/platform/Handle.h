#pragma once
// Owner of an OS handle: closes it once, cannot be copied, can be moved.
// Traits: `using type = ...; static type invalid(); static void close(type);`
#include <utility>

namespace vak {

template <typename Traits>
class Handle {
 public:
  using type = typename Traits::type;
  Handle() = default;
  explicit Handle(type h) : h_(h) {}
  ~Handle() { reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle(Handle&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
  Handle& operator=(Handle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Traits::invalid()));
    return *this;
  }
  type get() const { return h_; }
  bool valid() const { return h_ != Traits::invalid(); }
  void reset(type h = Traits::invalid()) {
    if (h_ != Traits::invalid()) Traits::close(h_);
    h_ = h;
  }

 private:
  type h_ = Traits::invalid();
};

}  // namespace vak
