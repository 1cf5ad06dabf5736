#pragma once
// A race's passes as the files browser holds them: read from the passes
// file and shown by pass or by car. The list keeps its room from one race
// to the next.

#include <string>
#include <vector>

#include "records/readers.h"

namespace records {

// By pass number, equal pass numbers by car number.
void OrderPassesByPass(std::vector<TPaso>& passes);
// By car number, each car's passes in race order.
void OrderPassesByCar(std::vector<TPaso>& passes);

class PassesList final {
 public:
  // Reads a passes file; false when it cannot be read (the list is then empty).
  bool Load(const std::string& path);
  const std::vector<TPaso>& items() const noexcept { return read_.items; }
  const ReadResult<TPaso>& result() const noexcept { return read_; }
  void OrderByPass();
  void OrderByCar();
  void Clear();

 private:
  std::string bytes_;
  ReadResult<TPaso> read_;
  std::vector<TPaso> scratch_;
};

}  // namespace records
