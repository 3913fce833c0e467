#pragma once
// A value that may hold nothing, a number or a text: the core's form of the automation
// VARIANT, with the conversions and the addition Visual Basic applies to it.

#include <cstdint>
#include <string>
#include <variant>

namespace hv {

class Variant {
 public:
  struct Empty {
    bool operator==(const Empty&) const = default;
  };
  struct Null {
    bool operator==(const Null&) const = default;
  };
  using Value = std::variant<Empty, Null, bool, std::int16_t, std::int32_t, double, std::string>;

  Variant() = default;
  Variant(Empty) {}
  Variant(Null n) : value_(n) {}
  Variant(bool b) : value_(b) {}
  Variant(std::int16_t i) : value_(i) {}
  Variant(std::int32_t i) : value_(i) {}
  Variant(double d) : value_(d) {}
  Variant(std::string s) : value_(std::move(s)) {}
  Variant(const char* s) : value_(std::string(s)) {}

  bool IsEmpty() const noexcept { return std::holds_alternative<Empty>(value_); }
  bool IsNull() const noexcept { return std::holds_alternative<Null>(value_); }
  bool IsString() const noexcept { return std::holds_alternative<std::string>(value_); }
  bool IsNumeric() const noexcept;  // a number or a boolean, not a text
  const Value& value() const noexcept { return value_; }

  // CStr: Empty gives "", Null raises 94 "Invalid use of Null", booleans "True"/"False".
  std::string ToText() const;
  // CLng: rounds half to even; texts must hold a number ("Type mismatch" otherwise);
  // out of range raises "Overflow"; Null raises "Invalid use of Null".
  std::int32_t ToLong() const;
  // CDbl, with the same rules for texts and Null.
  double ToDouble() const;

  bool operator==(const Variant&) const = default;

 private:
  Value value_;
};

// Variant addition: Empty + Empty is the Integer 0, Empty + x is x, numbers widen from
// Integer to Long to Double as the sum needs.
Variant Add(const Variant& a, const Variant& b);

}  // namespace hv
