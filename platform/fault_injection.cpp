#include "platform/fault_injection.h"

#if KELVARIN_FAULT_INJECTION

namespace platform::faults {
namespace {

struct Plan {
  uint32_t after = 0;
  uint32_t times = 0;
  uint32_t partial = 0;
  uint32_t failed = 0;
};
Plan plans[3];

Plan& PlanOf(Call call) { return plans[static_cast<int>(call)]; }

}  // namespace

void Inject(Call call, uint32_t after, uint32_t times, uint32_t partial) {
  Plan& plan = PlanOf(call);
  plan.after = after;
  plan.times = times;
  plan.partial = partial;
}

void Clear() {
  for (Plan& plan : plans) plan = Plan{};
}

uint32_t Failed(Call call) { return PlanOf(call).failed; }

bool Fails(Call call, uint32_t* partial) {
  Plan& plan = PlanOf(call);
  if (plan.times == 0) return false;
  if (plan.after > 0) {
    --plan.after;
    return false;
  }
  --plan.times;
  *partial = plan.failed == 0 ? plan.partial : 0;
  ++plan.failed;
  return true;
}

}  // namespace platform::faults

#endif
