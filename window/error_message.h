#pragma once
// Plain words for a run-time error that left an event handler: what went wrong, and which
// entries cause it.

#include <exception>
#include <string>

namespace quillomat {

std::u16string ErrorMessage(const std::exception& error);

}  // namespace quillomat
