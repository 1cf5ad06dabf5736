#include "records/pass_order.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace records {
namespace {

bool ByPass(const TPaso& a, const TPaso& b) { return std::tie(a.pass, a.car) < std::tie(b.pass, b.car); }
bool ByCar(const TPaso& a, const TPaso& b) { return std::tie(a.car, a.pass) < std::tie(b.car, b.pass); }

// Passes are written in pass order, so most lists need no sorting at all;
// stable sorting keeps hand-edited duplicates in file order.
template <typename Less>
void OrderStably(std::vector<TPaso>& passes, Less less) {
  if (!std::is_sorted(passes.begin(), passes.end(), less)) std::stable_sort(passes.begin(), passes.end(), less);
}

// Groups the passes by car number, keeping their order within each car.
void GroupByCar(std::vector<TPaso>& passes, std::vector<TPaso>& scratch) {
  std::array<std::size_t, 257> start{};
  for (const auto& p : passes) ++start[p.car + 1];
  for (std::size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
  scratch.resize(passes.size());
  for (auto& p : passes) scratch[start[p.car]++] = std::move(p);
  passes.swap(scratch);
}

}  // namespace

void OrderPassesByPass(std::vector<TPaso>& passes) { OrderStably(passes, ByPass); }

void OrderPassesByCar(std::vector<TPaso>& passes) { OrderStably(passes, ByCar); }

bool PassesList::Load(const std::string& path) {
  if (!ReadWholeFile(path, bytes_)) {
    Clear();
    return false;
  }
  SacaPSS(bytes_, read_);
  return true;
}

void PassesList::OrderByPass() { OrderPassesByPass(read_.items); }

void PassesList::OrderByCar() {
  if (std::is_sorted(read_.items.begin(), read_.items.end(), ByCar)) return;
  GroupByCar(read_.items, scratch_);
  // Within each car the passes are already in race order unless the file was edited.
  OrderPassesByCar(read_.items);
}

void PassesList::Clear() {
  read_.items.clear();
  read_.messages.clear();
  read_.stopped = false;
  read_.stoppedLine = 0;
}

}  // namespace records
