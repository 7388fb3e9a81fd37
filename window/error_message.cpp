#include "error_message.h"

#include "run_time_error.h"

namespace quillomat {
namespace {

std::u16string ProportionMessage(FaultKind kind, std::u16string_view player) {
  const std::u16string who = u"Player " + std::u16string(player);
  switch (kind) {
    case FaultKind::InvalidOperation:
      return who + u"'s base and results are both zero (or not numbers), so " + who +
             u"'s percentage cannot be calculated.\nEnter a base above zero for " + who + u".";
    case FaultKind::DivisionByZero:
      return who + u"'s base is zero, so " + who +
             u"'s percentage cannot be calculated.\nEnter a base above zero for " + who + u".";
    case FaultKind::Overflow: break;
  }
  return who + u"'s results are too large for the base to give a percentage.\nCheck " + who + u"'s base and results.";
}

std::u16string FaultMessage(const FloatingPointFault& fault) {
  switch (fault.step()) {
    case FaultStep::Player1Proportion: return ProportionMessage(fault.kind(), u"1");
    case FaultStep::Player2Proportion: return ProportionMessage(fault.kind(), u"2");
    case FaultStep::PooledProportion:
      return u"The two bases add up to zero, so the weighted average cannot be calculated.\n"
             u"Check the base of each player.";
    case FaultStep::Radicand:
    case FaultStep::Root:
    case FaultStep::DifferenceNeeded:
      return u"The difference needed cannot be calculated from these numbers: a negative or "
             u"extremely large base or results count leaves it undefined.\n"
             u"Check the bases and results of both players.";
    case FaultStep::ActualDifference:
      return u"The difference between the two percentages is too large to calculate.\n"
             u"Check the bases and results of both players.";
  }
  return u"The calculation failed.";
}

}  // namespace

std::u16string ErrorMessage(const std::exception& error) {
  if (const auto* fault = dynamic_cast<const FloatingPointFault*>(&error)) return FaultMessage(*fault);
  return u"Something went wrong while updating the window, and the last step was not finished.\n"
         u"The numbers you entered are kept; please try again.";
}

}  // namespace quillomat
