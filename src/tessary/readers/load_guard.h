#pragma once
// Load's failure path: any error ends the load with false and keeps its reason.

#include <exception>
#include <new>

#include "common/error.h"

namespace hv::tessary {

template <class Body>
bool GuardedLoad(FailureReason& reason, Body&& body) {
  reason = {};
  try {
    body();
    return true;
  } catch (const Error& e) {
    reason = {e.Number(), e.Description()};
  } catch (const std::bad_alloc&) {
    reason = {7, "Out of memory"};
  } catch (const std::exception& e) {
    reason = {vberr::kDeviceIo, e.what()};
  }
  return false;
}

}  // namespace hv::tessary
