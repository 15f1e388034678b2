// SPDX-License-Identifier: MIT
// The plan reader on arbitrary bytes: a plan it accepts writes back to a file with the same
// entries; every relative entry has a path in the plan's folder, and an absolute one is its own
// path, spelled as the file system spells names.

#include "core/files/plan_file.h"
#include "core/platform/code_page.h"
#include "fuzz_target.h"

using namespace kelvast;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TPlanFileContent plan = ParsePlan(fuzz::AsText(data, size));
  if (plan.Status != TPlanFileContent::psOk) {
    if (!plan.Entries.empty()) fuzz::Broken("a rejected plan has entries");
    return 0;
  }
  const TPlanFileContent back = ParsePlan(FormatPlan(plan.Entries));
  if (back.Status != TPlanFileContent::psOk || back.Entries != plan.Entries)
    fuzz::Broken("a written plan reads back differently");
  for (const std::string& entry : plan.Entries) {
    const bool absolute = !entry.empty() && entry.front() == '/';
    if (PlanEntryPath("/plans/p.plan", entry) != (absolute ? "" : "/plans/") + AnsiToUtf8(entry))
      fuzz::Broken("an entry's path is neither its own nor in the plan's folder");
  }
  return 0;
}
