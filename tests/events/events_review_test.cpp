#include "events/events_review.h"

#include <gtest/gtest.h>

namespace {

using events::InciOrder;

std::vector<records::TInci> Sample() {
  // 1 RPTJ car 3, 2 MANU without car, 3 PRDA car 1, 4 BOX car 3.
  return records::ReadEvents(
             "1\t3\t2\t20,000\tRPTJ\r\n2\t--\t--\t25,500\tMANU\tbandera roja\r\n"
             "3\t1\t4\t40,125\tPRDA\r\n4\t3\t5\t52,000\tBOX\r\n")
      .items;
}

std::vector<int> Numbers(const std::vector<records::TInci>& list) {
  std::vector<int> out;
  for (const auto& e : list) out.push_back(e.number);
  return out;
}

TEST(EventsReview, OrdersByCarByTypeAndBackByEvent) {
  auto list = Sample();
  events::OrderInci(list, InciOrder::ByCar);
  EXPECT_EQ(Numbers(list), (std::vector<int>{3, 1, 4, 2}));
  events::OrderInci(list, InciOrder::ByType);
  EXPECT_EQ(Numbers(list), (std::vector<int>{4, 2, 3, 1}));
  events::OrderInci(list, InciOrder::ByEvent);
  EXPECT_EQ(Numbers(list), (std::vector<int>{1, 2, 3, 4}));
}

TEST(EventsReview, ByTypeComparesTheCodesAsTheFileHoldsThem) {
  // Windows-1252 puts the euro sign (0x80) before É (0xC9); their UTF-8
  // forms (E2 82 AC, C3 89) would sort the other way round.
  auto list = records::ReadEvents("1\t1\t0\t1,000\t\xC9X\r\n2\t1\t0\t2,000\t\x80X\r\n").items;
  events::OrderInci(list, InciOrder::ByType);
  EXPECT_EQ(Numbers(list), (std::vector<int>{2, 1}));
}

TEST(EventsReview, ManualEventsComeAfterEveryCarInTheOrderTheExchangesLeave) {
  auto list = records::ReadEvents(
                  "1\t--\t--\t1,000\tMANU\ta\r\n2\t--\t--\t2,000\tMANU\tb\r\n3\t2\t0\t3,000\tSALE\r\n"
                  "4\t--\t--\t4,000\tMANU\tc\r\n")
                  .items;
  events::OrderInci(list, InciOrder::ByCar);
  // 3 takes slot 0 and sends 1 to slot 2; manual events never swap among themselves.
  EXPECT_EQ(Numbers(list), (std::vector<int>{3, 2, 1, 4}));
}

TEST(EventsReview, CellsAndHeadings) {
  const auto list = Sample();
  EXPECT_EQ(events::InciCells(list[0]), (std::array<std::string, 6>{"   1", " 3", "    2", "     20,000", " RPTJ", " "}));
  EXPECT_EQ(events::InciCells(list[1]), (std::array<std::string, 6>{"   2", "--", "--", "     25,500", " MANU", "*"}));
  EXPECT_EQ(events::InciHeadings(false)[0], "Event");
  EXPECT_EQ(events::InciCountText(true, 4), "Incidencias: 4");
}

TEST(EventsReview, ReportLines) {
  EXPECT_EQ(events::InciReportTitle(true, InciOrder::ByCar), "Incidencias por coche");
  EXPECT_EQ(events::InciReportTitle(false, InciOrder::ByType), "Events by type");
  EXPECT_EQ(events::InciReportHeading(true), "Inc.\tC.\tVuelta\tT. total\tTipo\t");
  const auto rows = events::InciReportRows(Sample());
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1], "   2\t--\t--\t     25,500\t MANU\t");
}

TEST(EventsReview, GridGrowsWithItsRowsUntilTheWindowIsFull) {
  // Heading and one empty row: 28 + 3 + 28.
  EXPECT_EQ(events::InciGridHeight(2, 52, 458), 59);
  // Eleven rows: 154 rounded down to 152.
  EXPECT_EQ(events::InciGridHeight(11, 52, 458), 183);
  // The window's outer 458 pixels leave 386 below the grid's top: 27 whole rows.
  EXPECT_EQ(events::InciGridHeight(23, 52, 458), 351);
  EXPECT_EQ(events::InciGridHeight(400, 52, 458), 378);
}

}  // namespace
