#include "ui/record_grid.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include "ui/widgets.h"

namespace ui {

namespace {

// Cells are drawn two pixels from their left edge, with no other margin, so
// the padded texts fill the narrow columns they were sized for.
class PlainCellDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    if (selected) painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data().toString());
    painter->restore();
  }
};

}  // namespace

QTableWidget* MakeRecordGrid(QWidget* parent, const char* name, const QRect& place, const std::vector<int>& widths,
                             const QFont& font) {
  auto* grid = new QTableWidget(1, static_cast<int>(widths.size()), parent);
  grid->setObjectName(QString::fromLatin1(name));
  grid->setGeometry(place);
  grid->setFont(font);
  grid->setItemDelegate(new PlainCellDelegate(grid));
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  grid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  grid->setWordWrap(false);
  grid->setTabKeyNavigation(false);
  grid->setCornerButtonEnabled(false);
  grid->verticalHeader()->hide();

  QHeaderView* rows = grid->verticalHeader();
  rows->setMinimumSectionSize(0);
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(kGridRowHeight);

  QHeaderView* heading = grid->horizontalHeader();
  heading->setFont(font);
  heading->setMinimumSectionSize(0);
  heading->setSectionResizeMode(QHeaderView::Fixed);
  heading->setStretchLastSection(false);
  heading->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  heading->setHighlightSections(false);
  heading->setSectionsClickable(false);
  heading->setFixedHeight(kGridRowHeight);
  for (int c = 0; c < static_cast<int>(widths.size()); ++c)
    heading->resizeSection(c, widths[static_cast<std::size_t>(c)]);

  SetColour(grid, QPalette::Base, Qt::white);
  SetColour(grid, QPalette::Text, Qt::black);
  return grid;
}

void SetGridHeadings(QTableWidget* grid, const std::vector<std::string>& headings) {
  QStringList labels;
  for (const auto& h : headings) labels << Q(h);
  grid->setHorizontalHeaderLabels(labels);
}

std::vector<std::string> GridHeadings(const QTableWidget* grid) {
  std::vector<std::string> headings;
  for (int c = 0; c < grid->columnCount(); ++c) {
    const QTableWidgetItem* item = grid->horizontalHeaderItem(c);
    headings.push_back(item != nullptr ? item->text().toStdString() : std::string());
  }
  return headings;
}

void FillGridRows(QTableWidget* grid, const std::vector<std::vector<std::string>>& rows) {
  grid->setUpdatesEnabled(false);
  grid->clearContents();
  grid->setRowCount(rows.empty() ? 1 : static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const auto& cells = rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < grid->columnCount() && c < static_cast<int>(cells.size()); ++c) {
      grid->setItem(r, c, new QTableWidgetItem(Q(cells[static_cast<std::size_t>(c)])));
    }
  }
  grid->setUpdatesEnabled(true);
}

std::vector<std::vector<std::string>> GridRows(const QTableWidget* grid) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 0; r < grid->rowCount(); ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < grid->columnCount(); ++c) {
      const QTableWidgetItem* item = grid->item(r, c);
      cells.push_back(item != nullptr ? item->text().toStdString() : std::string());
    }
    rows.push_back(std::move(cells));
  }
  return rows;
}

void ClearGridSelection(QTableWidget* grid) {
  grid->clearSelection();
  grid->setCurrentCell(-1, -1);
}

}  // namespace ui
