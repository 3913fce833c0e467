#pragma once
// Load's failure path: any error ends the load with false and keeps its reason. A failing
// read is already an hv::Error (57 Device I/O error and its kin); anything else is the
// catch-all's 7 or 51.

#include "common/error.h"

namespace hv::tessary {

template <class Body>
bool GuardedLoad(FailureReason& reason, Body&& body) {
  reason = {};
  try {
    body();
    return true;
  } catch (...) {
    reason = CaughtFailure();
  }
  return false;
}

}  // namespace hv::tessary
