// Fuzz target for the roster import: whatever the bytes, the plan neither
// crashes nor reads out of bounds nor hangs; every row it names is named
// once; the roster it leaves is sound (fields within their limits, one
// driver per name, one per number and class); and that roster exports and
// reads back unchanged. A broken rule stops the run like a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "meeting/roster_csv.h"
#include "meeting/text.h"

namespace {

void Require(bool rule) {
  if (!rule) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<meeting::Driver> roster = {
      {1, "Ana Pérez", "Ana", 5, "GT", true}, {2, "Bea", "Bea", 6, "GT", false}, {3, "Cris", "Cris", 5, "Mini-Z", true}};
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto plan = meeting::PlanRosterImport(bytes, roster);
  if (plan.failure != meeting::ImportFailure::None) {
    Require(!plan.HasChanges() && plan.refused.empty());
    return 0;
  }
  std::set<int> rows;
  for (const auto& a : plan.added) Require(rows.insert(a.row).second && a.driver.id == 0);
  for (const auto& c : plan.changed) Require(rows.insert(c.row).second && c.before.id == c.after.id && !(c.before == c.after));
  for (int r : plan.unchangedRows) Require(rows.insert(r).second);
  for (const auto& r : plan.refused) Require(rows.insert(r.row).second);
  Require(rows.empty() || *rows.begin() >= 2);

  const auto after = meeting::ApplyImport(roster, plan, 100);
  std::set<std::string> names, numbers;
  for (const auto& d : after) {
    Require(!meeting::CheckFields(d) && meeting::IsUtf8(d.name) && meeting::Tidy(d.name) == d.name);
    Require(names.insert(meeting::MatchKey(d.name)).second);
    if (d.number) Require(numbers.insert(meeting::MatchKey(d.className) + '\n' + std::to_string(*d.number)).second);
  }
  const auto again = meeting::PlanRosterImport(meeting::RosterCsv(after, size % 2 == 0), after);
  Require(again.failure == meeting::ImportFailure::None && !again.HasChanges() && again.refused.empty());
  Require(again.unchangedRows.size() == after.size());
  return 0;
}
