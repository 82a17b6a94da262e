// One owner of what the system hands out (an open file, a held folder, a
// memory block): move-only, and given back on every path out of the scope
// that holds it. Value is a plain struct whose value-initialised state
// holds nothing; Close gives back what a value holds (and may be called
// with one that holds nothing).
#pragma once

namespace platform {

template <class Value, void (*Close)(Value&)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Value value) : value_(value) {}
  UniqueHandle(UniqueHandle&& other) : value_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) {
    if (this != &other) {
      Reset();
      value_ = other.Release();
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  const Value& get() const { return value_; }
  Value& get() { return value_; }
  // For a call that fills in the value: what was held is given back first.
  Value* Replace() {
    Reset();
    return &value_;
  }
  void Reset() {
    Close(value_);
    value_ = Value{};
  }
  // Hands what is held over to the caller, who gives it back.
  Value Release() {
    const Value held = value_;
    value_ = Value{};
    return held;
  }

 private:
  Value value_{};
};

}  // namespace platform
