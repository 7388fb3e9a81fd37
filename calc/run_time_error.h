#pragma once
// Run-time errors: a floating-point fault in the calculation, or a control that refuses a
// property access. Nothing in the logic catches them; they leave the running handler at once.

#include <stdexcept>
#include <string>

#include "form_controls.h"

namespace quillomat {

class RunTimeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class FaultKind { InvalidOperation, DivisionByZero, Overflow };

// The checked step of the calculation at which a fault stopped it.
enum class FaultStep {
  Player1Proportion,  // results over base of player 1
  Player2Proportion,  // results over base of player 2
  PooledProportion,   // both results over both bases
  Radicand,           // the variance term under the root
  Root,               // square root of a negative radicand
  DifferenceNeeded,   // root times the critical value
  ActualDifference,   // difference of the two proportions
};

class FloatingPointFault : public RunTimeError {
 public:
  FloatingPointFault(FaultKind kind, FaultStep step);
  FaultKind kind() const { return kind_; }
  FaultStep step() const { return step_; }

 private:
  FaultKind kind_;
  FaultStep step_;
};

// A control asked for a property it does not have, or refused the access.
class ControlAccessError : public RunTimeError {
 public:
  ControlAccessError(Control control, const std::string& property);
};

}  // namespace quillomat
