// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UWork.h"

#include <new>

namespace qx {

std::string WorkFailure(const std::exception_ptr& thrown) {
  try {
    std::rethrow_exception(thrown);
  } catch (const std::bad_alloc&) {
    return "not enough memory";
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "an unknown error";
  }
}

}  // namespace qx
