#pragma once
// One IDispatch::Invoke with arguments the caller owns: by-value variants, and by-reference ones
// that point into cells this object keeps, so that after the call it can tell which cells the
// server wrote. Everything a call made or got back is freed with the object.

#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace hv::wine::hostile {

// The type and the bytes the type uses (a BSTR by its text): what a server could have changed.
inline bool SameValue(const VARIANT& a, const VARIANT& b) {
  if (V_VT(&a) != V_VT(&b)) return false;
  if (V_VT(&a) == VT_DECIMAL)
    return std::memcmp(&V_DECIMAL(&a), &V_DECIMAL(&b), sizeof(DECIMAL)) == 0;
  std::size_t size = sizeof(void*);
  switch (V_VT(&a)) {
    case VT_EMPTY:
    case VT_NULL:
      size = 0;
      break;
    case VT_I1:
    case VT_UI1:
      size = 1;
      break;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      size = 2;
      break;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
      size = 4;
      break;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
      size = 8;
      break;
    default:
      break;
  }
  if (std::memcmp(&V_UI1(&a), &V_UI1(&b), size) != 0) return false;
  if (V_VT(&a) != VT_BSTR || !V_BSTR(&a)) return true;
  return SysStringLen(V_BSTR(&a)) == SysStringLen(V_BSTR(&b)) &&
         std::memcmp(V_BSTR(&a), V_BSTR(&b), SysStringByteLen(V_BSTR(&a))) == 0;
}

// Storage a by-reference argument points at, and what it held before the call.
class RefCell {
 public:
  explicit RefCell(VARIANT value, bool wraps_variant) noexcept
      : value_(value), wraps_variant_(wraps_variant) {}
  RefCell(const RefCell&) = delete;
  RefCell& operator=(const RefCell&) = delete;
  ~RefCell() { VariantClear(&value_); }

  // The argument: VT_BYREF|VT_VARIANT to the cell, or VT_BYREF|<its type> to its value.
  VARIANT Argument() noexcept {
    VARIANT arg;
    VariantInit(&arg);
    if (wraps_variant_) {
      V_VT(&arg) = VT_BYREF | VT_VARIANT;
      V_VARIANTREF(&arg) = &value_;
    } else if (V_VT(&value_) == VT_DECIMAL) {
      V_VT(&arg) = VT_BYREF | VT_DECIMAL;
      V_DECIMALREF(&arg) = &V_DECIMAL(&value_);
    } else {
      V_VT(&arg) = static_cast<VARTYPE>(VT_BYREF | V_VT(&value_));
      V_BYREF(&arg) = &V_UI1(&value_);
    }
    return arg;
  }
  void Snapshot() {
    std::memcpy(&before_, &value_, sizeof value_);
    before_text_ = Text();
  }
  bool Changed() const { return !SameValue(before_, value_) || before_text_ != Text(); }
  // A [in] position or a failed call that never reached the member must leave the cell alone.
  void set_may_change(bool may) noexcept { may_change_ = may; }
  bool may_change() const noexcept { return may_change_; }
  VARTYPE type() const noexcept { return V_VT(&value_); }

 private:
  std::wstring Text() const {
    if (V_VT(&value_) != VT_BSTR || !V_BSTR(&value_)) return {};
    return std::wstring(V_BSTR(&value_), SysStringLen(V_BSTR(&value_)));
  }
  VARIANT value_;
  VARIANT before_{};
  std::wstring before_text_;
  bool wraps_variant_;
  bool may_change_ = false;
};

class Call {
 public:
  Call() = default;
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;
  ~Call() {
    for (std::size_t i = 0; i < args_.size(); ++i)
      if (!(V_VT(&args_[i]) & VT_BYREF)) VariantClear(&args_[i]);
    VariantClear(&result_);
    SysFreeString(excep_.bstrSource);
    SysFreeString(excep_.bstrDescription);
    SysFreeString(excep_.bstrHelpFile);
  }

  // Arguments are added left to right; `out` says whether the member may write that one.
  void AddValue(VARIANT value, bool out) {
    args_.push_back(value);
    out_.push_back(out);
  }
  void AddRef(VARIANT value, bool wraps_variant, bool out) {
    cells_.emplace_back(value, wraps_variant);
    cells_.back().set_may_change(out);
    args_.push_back(cells_.back().Argument());
    out_.push_back(out);
  }
  std::size_t size() const noexcept { return args_.size(); }
  bool has_named() const noexcept { return !named_.empty(); }

  // The shape of the call for a failure report: each argument's type, the named ids.
  std::string Shape(WORD flags) const {
    std::string shape = "flags " + std::to_string(flags) + ", types";
    for (const VARIANT& a : args_) {
      shape += " " + std::to_string(V_VT(&a) & ~VT_BYREF);
      if (V_VT(&a) & VT_BYREF) shape += "&";
      if (V_VT(&a) == (VT_BYREF | VT_VARIANT)) shape += std::to_string(V_VT(V_VARIANTREF(&a)));
      if (V_VT(&a) == VT_BSTR && V_BSTR(&a)) {
        // The text's length and start, printable.
        const UINT n = SysStringLen(V_BSTR(&a));
        shape += "[" + std::to_string(n) + " '";
        for (UINT c = 0; c < n && c < 48; ++c) {
          const wchar_t ch = V_BSTR(&a)[c];
          shape += ch >= 0x20 && ch < 0x7F ? static_cast<char>(ch) : '~';
        }
        shape += "']";
      }
    }
    if (!named_.empty()) {
      shape += ", named";
      for (DISPID id : named_) shape += " " + std::to_string(id);
    }
    return shape;
  }
  // Makes the last `count` arguments named, with these dispatch ids.
  void NameLast(std::vector<DISPID> ids) { named_ = std::move(ids); }

  HRESULT Invoke(IDispatch* object, DISPID id, WORD flags) {
    for (RefCell& cell : cells_) cell.Snapshot();
    // Positional arguments right to left, named ones first.
    std::vector<VARIANT> rg;
    const std::size_t named = named_.size() <= args_.size() ? named_.size() : 0;
    for (std::size_t k = 0; k < named; ++k) rg.push_back(args_[args_.size() - named + k]);
    for (std::size_t k = args_.size() - named; k-- > 0;) rg.push_back(args_[k]);
    std::vector<DISPID> ids(named_.begin(), named_.begin() + static_cast<std::ptrdiff_t>(named));
    DISPPARAMS params{rg.data(), ids.empty() ? nullptr : ids.data(), static_cast<UINT>(rg.size()),
                      static_cast<UINT>(ids.size())};
    hr_ = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result_, &excep_,
                         &arg_error_);
    if (hr_ == DISP_E_EXCEPTION && excep_.pfnDeferredFillIn) excep_.pfnDeferredFillIn(&excep_);
    // By-value arguments stay the caller's: a server may not change or free them. At an
    // [in, out] position the dispatcher copies the member's output back into them.
    by_value_changed_ = false;
    for (std::size_t k = 0; k < rg.size(); ++k) {
      const std::size_t i =
          k < named ? args_.size() - named + k : args_.size() - named - 1 - (k - named);
      if (!out_[i] && !SameValue(args_[i], rg[k])) {
        by_value_changed_ = true;
        change_ = "argument " + std::to_string(i) + ": type " + std::to_string(V_VT(&args_[i])) +
                  " became " + std::to_string(V_VT(&rg[k]));
      }
      // Wine's dispatcher frees and replaces some named by-value arguments on its way out of a
      // refused call; what the variant holds now is what is left to free, never the old text.
      if (!(V_VT(&args_[i]) & VT_BYREF) && std::memcmp(&args_[i], &rg[k], sizeof(VARIANT)) != 0)
        args_[i] = rg[k];
    }
    return hr_;
  }

  HRESULT hr() const noexcept { return hr_; }
  bool HasDescription() const noexcept {
    return excep_.bstrDescription && SysStringLen(excep_.bstrDescription) > 0;
  }
  std::wstring Description() const {
    return excep_.bstrDescription
               ? std::wstring(excep_.bstrDescription, SysStringLen(excep_.bstrDescription))
               : L"";
  }
  VARIANT& result() noexcept { return result_; }
  std::deque<RefCell>& cells() noexcept { return cells_; }
  bool by_value_changed() const noexcept { return by_value_changed_; }
  const std::string& change() const noexcept { return change_; }

 private:
  std::vector<VARIANT> args_;
  std::vector<bool> out_;
  std::deque<RefCell> cells_;
  std::vector<DISPID> named_;
  VARIANT result_{};
  EXCEPINFO excep_{};
  UINT arg_error_ = 0;
  HRESULT hr_ = E_FAIL;
  bool by_value_changed_ = false;
  std::string change_;
};

}  // namespace hv::wine::hostile
