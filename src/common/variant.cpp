#include "common/variant.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "common/error.h"
#include "common/text.h"

namespace hv {
namespace {

// Numbers as Visual Basic writes them: integers plainly, doubles with up to 15 significant
// digits and no trailing zeros.
std::string DoubleText(double d) {
  if (d == std::floor(d) && std::fabs(d) < 1e15) {
    return std::to_string(static_cast<long long>(d));
  }
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15G", d);
  return buffer;
}

// A number written as text: optional spaces, sign, digits with one '.', an exponent, or the
// &H / &O prefixes for hexadecimal and octal integers.
bool ParseNumber(std::string_view text, double& out) {
  text = TrimSpaces(text);
  if (text.empty()) return false;
  if (text.size() > 2 && text[0] == '&' &&
      (text[1] == 'H' || text[1] == 'h' || text[1] == 'O' || text[1] == 'o')) {
    const int base = (text[1] == 'H' || text[1] == 'h') ? 16 : 8;
    const std::string digits(text.substr(2));
    char* end = nullptr;
    const unsigned long long v = std::strtoull(digits.c_str(), &end, base);
    if (end == digits.c_str() || *end != '\0' || v > 0xFFFFFFFFull) return false;
    // &H literals are 16- or 32-bit two's complement values.
    out = v <= 0xFFFF ? static_cast<double>(static_cast<std::int16_t>(v))
                      : static_cast<double>(static_cast<std::int32_t>(v));
    return true;
  }
  std::size_t i = 0;
  if (text[i] == '+' || text[i] == '-') ++i;
  bool digits = false;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, digits = true;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, digits = true;
  }
  if (!digits) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t exp_start = j;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
    if (j == exp_start) return false;
    i = j;
  }
  if (i != text.size()) return false;
  out = std::strtod(std::string(text).c_str(), nullptr);
  return std::isfinite(out);
}

double RoundHalfEven(double d) {
  const double r = std::nearbyint(d);  // default rounding mode: to nearest, ties to even
  return r;
}

}  // namespace

bool Variant::IsNumeric() const noexcept {
  return std::holds_alternative<bool>(value_) || std::holds_alternative<std::int16_t>(value_) ||
         std::holds_alternative<std::int32_t>(value_) || std::holds_alternative<double>(value_);
}

std::string Variant::ToText() const {
  struct Visitor {
    std::string operator()(Empty) const { return {}; }
    std::string operator()(Null) const { throw Error(vberr::kInvalidUseOfNull); }
    std::string operator()(bool b) const { return b ? "True" : "False"; }
    std::string operator()(std::int16_t i) const { return std::to_string(i); }
    std::string operator()(std::int32_t i) const { return std::to_string(i); }
    std::string operator()(double d) const { return DoubleText(d); }
    std::string operator()(const std::string& s) const { return s; }
  };
  return std::visit(Visitor{}, value_);
}

double Variant::ToDouble() const {
  struct Visitor {
    double operator()(Empty) const { return 0; }
    double operator()(Null) const { throw Error(vberr::kInvalidUseOfNull); }
    double operator()(bool b) const { return b ? -1 : 0; }
    double operator()(std::int16_t i) const { return i; }
    double operator()(std::int32_t i) const { return i; }
    double operator()(double d) const { return d; }
    double operator()(const std::string& s) const {
      if (double d = 0; ParseNumber(s, d)) return d;
      if (TrimSpaces(s) == "True" || TrimSpaces(s) == "true") return -1;
      if (TrimSpaces(s) == "False" || TrimSpaces(s) == "false") return 0;
      throw Error(vberr::kTypeMismatch);
    }
  };
  return std::visit(Visitor{}, value_);
}

std::int32_t Variant::ToLong() const {
  if (const auto* i = std::get_if<std::int32_t>(&value_)) return *i;
  if (const auto* i = std::get_if<std::int16_t>(&value_)) return *i;
  const double r = RoundHalfEven(ToDouble());
  if (r < std::numeric_limits<std::int32_t>::min() ||
      r > std::numeric_limits<std::int32_t>::max()) {
    throw Error(vberr::kOverflow);
  }
  return static_cast<std::int32_t>(r);
}

Variant Add(const Variant& a, const Variant& b) {
  if (a.IsEmpty() && b.IsEmpty()) return Variant(std::int16_t{0});
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  if (a.IsNull() || b.IsNull()) return Variant(Variant::Null{});
  if (a.IsString() && b.IsString()) return Variant(a.ToText() + b.ToText());
  const bool both_integral = !std::holds_alternative<double>(a.value()) &&
                             !std::holds_alternative<double>(b.value()) && !a.IsString() &&
                             !b.IsString();
  if (both_integral) {
    const std::int64_t sum = static_cast<std::int64_t>(a.ToLong()) + b.ToLong();
    const bool both_short = !std::holds_alternative<std::int32_t>(a.value()) &&
                            !std::holds_alternative<std::int32_t>(b.value());
    if (both_short && sum >= INT16_MIN && sum <= INT16_MAX) {
      return Variant(static_cast<std::int16_t>(sum));
    }
    if (sum >= INT32_MIN && sum <= INT32_MAX) return Variant(static_cast<std::int32_t>(sum));
    return Variant(static_cast<double>(sum));
  }
  return Variant(a.ToDouble() + b.ToDouble());
}

}  // namespace hv
