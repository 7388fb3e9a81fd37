#include "run_time_error.h"

namespace quillomat {
namespace {

const char* KindText(FaultKind kind) {
  switch (kind) {
    case FaultKind::InvalidOperation: return "invalid operation";
    case FaultKind::DivisionByZero: return "division by zero";
    case FaultKind::Overflow: return "overflow";
  }
  return "floating-point fault";
}

}  // namespace

FloatingPointFault::FloatingPointFault(FaultKind kind, FaultStep step)
    : RunTimeError(KindText(kind)), kind_(kind), step_(step) {}

ControlAccessError::ControlAccessError(Control control, const std::string& property)
    : RunTimeError(std::string(ControlName(control)) + " refused " + property) {}

}  // namespace quillomat
