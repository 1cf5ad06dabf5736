// The files browser's grids: a race's classification and passes read from
// their files, the passes in the chosen order, and the grids' heights.
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>

#include "printing/printer_settings.h"
#include "records/browser_model.h"
#include "records/naming.h"
#include "ui/files_browser.h"
#include "ui/record_grid.h"
#include "ui/widgets.h"

namespace ui {

namespace {

// A classification has at most twelve rows; a longer one, put there by
// hand, scrolls above the days title instead of covering it.
constexpr int kDaysTitleTop = 256;
constexpr int kClassificationRoom = kDaysTitleTop + 8;

}  // namespace

bool TForm2::LoadClassification(const std::string& fileName) {
  std::string bytes;
  if (!ReadFile(fileName, bytes)) return false;
  const records::ClassificationFile file = records::ReadClassification(bytes);
  ShowMessages(file.rows.messages);
  // A number that does not convert ends the reading; the display stays.
  if (file.rows.stopped) return false;
  SetCaption(detailsValue_, records::DetailsValue(file), 380 - 60 - 4);
  SetCaption(descriptionValue_, records::DescriptionValue(file), 488 - 60 - 4);
  std::vector<std::vector<std::string>> rows;
  for (const auto& row : file.rows.items) rows.push_back(records::ClassificationCells(row));
  FillGridRows(classificationGrid_, rows);
  SizeGrid(classificationGrid_, static_cast<int>(rows.size()), false);
  return true;
}

bool TForm2::LoadPasses(const std::string& fileName) {
  const std::string found = FindFile(fileName);
  if (found.empty()) return false;
  const std::string path = records::JoinPath(services_.recordFolder, found);
  const bool read = passes_.Load(path);
  if (read) ShowMessages(passes_.result().messages);
  if (read && !passes_.result().stopped) {
    passesFile_ = path;
    return true;
  }
  // Unreadable, or ended by a number that does not convert: the list goes
  // back to the passes still shown, in their order.
  if (passesFile_.empty() || !passes_.Load(passesFile_)) {
    passes_.Clear();
  } else if (byCar_) {
    passes_.OrderByCar();
  }
  return false;
}

void TForm2::ChooseOrder(bool byCar) {
  byCar_ = byCar;
  ShowOrderChoice();
  ShowPasses();
}

void TForm2::ShowPasses() {
  if (byCar_) {
    passes_.OrderByCar();
  } else {
    passes_.OrderByPass();
  }
  std::vector<std::vector<std::string>> rows;
  rows.reserve(passes_.items().size());
  for (const auto& pass : passes_.items()) rows.push_back(records::PassCells(pass));
  FillGridRows(passesGrid_, rows);
  SizeGrid(passesGrid_, static_cast<int>(rows.size()), true);
  SetCaption(passesTitle_, std::string(kPassesCount.Pick(spanish_)) + std::to_string(passes_.items().size()));
}

void TForm2::ShowOrderChoice() {
  byPass_->setChecked(!byCar_);
  byCarItem_->setChecked(byCar_);
}

void TForm2::SizeGrid(QTableWidget* grid, int rows, bool passesGrid) {
  const int top = grid->y();
  const int room = grid == classificationGrid_ ? kClassificationRoom : kHeight;
  grid->resize(grid->width(), records::GridPixelHeight(rows, top, room, passesGrid));
}

std::string TForm2::FindFile(const std::string& name) const {
  return records::FindEntryIgnoringCase(services_.lister, services_.recordFolder, name);
}

bool TForm2::ReadFile(const std::string& fileName, std::string& bytes) const {
  const std::string found = FindFile(fileName);
  return !found.empty() && records::ReadWholeFile(records::JoinPath(services_.recordFolder, found), bytes);
}

void TForm2::ShowMessages(const std::vector<std::string>& messages) {
  for (const auto& message : messages) services_.boxes.Info(printing::kMessageCaption, message);
}

}  // namespace ui
