// The charts drawn offscreen: one line per car that took part with a point
// per timed lap, the fastest lap marked, a message where there is nothing
// to draw, and a picture that is not blank.
#include <gtest/gtest.h>

#include <QChart>
#include <QImage>
#include <QLineSeries>
#include <QScatterSeries>

#include "charts/race_charts.h"
#include "support/passes.h"

namespace {

constexpr auto Pass = testing_support::MakePass;

// Three cars under common timing, four laps each; car 7 is fastest on lap 3.
std::vector<results::CarLaps> ThreeCars() {
  std::vector<records::TPaso> passes;
  int n = 0;
  for (int lap = 1; lap <= 4; ++lap) {
    for (int car : {2, 7, 11}) passes.push_back(Pass(++n, car, lap, 10.0 + car * 0.1 - (car == 7 && lap == 3 ? 2 : 0)));
  }
  return results::LapsOf(passes, {2, 7, 11}, true);
}

std::vector<QLineSeries*> Lines(QChart& chart) {
  std::vector<QLineSeries*> lines;
  for (QAbstractSeries* s : chart.series()) {
    if (s->type() == QAbstractSeries::SeriesTypeLine) lines.push_back(static_cast<QLineSeries*>(s));
  }
  return lines;
}

// How many pixels of the image have the car's colour.
int PixelsOf(const QImage& image, int car) {
  const QRgb colour = QColor(QString::fromStdString(results::CarColour(car))).rgb();
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
  }
  return count;
}

TEST(RaceCharts, LapTimesHaveALinePerCarAndTheFastestLapMarked) {
  charts::Chart chart = charts::LapTimesChart(ThreeCars(), true, false);
  ASSERT_TRUE(chart.chart);
  const auto lines = Lines(*chart.chart);
  ASSERT_EQ(lines.size(), 3u);
  for (QLineSeries* line : lines) EXPECT_EQ(line->count(), 3);  // laps 2..4: the partial first is left out
  EXPECT_EQ(lines[1]->name(), "Car 7");
  const charts::Chart heat = charts::LapTimesChart(ThreeCars(), true, false, {{7, "Carla"}});
  EXPECT_EQ(Lines(*heat.chart)[1]->name(), QString::fromUtf8("7 · Carla"));
  EXPECT_EQ(lines[1]->color(), QColor(QString::fromStdString(results::CarColour(7))));
  int marks = 0;
  for (QAbstractSeries* s : chart.chart->series()) {
    if (s->type() != QAbstractSeries::SeriesTypeScatter) continue;
    auto* best = static_cast<QScatterSeries*>(s);
    ASSERT_EQ(best->count(), 1);
    if (best->name().startsWith("Car 7")) {
      EXPECT_EQ(best->at(0), QPointF(3, 8.7));
    }
    ++marks;
  }
  EXPECT_EQ(marks, 3);

  const QImage image = charts::ChartImage(*chart.chart, QSize(800, 450));
  // Every car's line is drawn in its colour (its exact colour away from the
  // smoothed edges).
  for (int car : {2, 7, 11}) EXPECT_GT(PixelsOf(image, car), 30) << "car " << car;
}

TEST(RaceCharts, TheLapChartHasAPointPerCarAndLap) {
  charts::Chart chart = charts::LapChart(results::PositionsByLap(ThreeCars()), true);
  ASSERT_TRUE(chart.chart);
  const auto lines = Lines(*chart.chart);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]->name(), "Coche 2");
  for (QLineSeries* line : lines) EXPECT_EQ(line->count(), 4);
  EXPECT_EQ(lines[2]->at(3), QPointF(4, 3));
  const QByteArray svg = charts::ChartSvg(*chart.chart, QSize(640, 360), "Posiciones");
  EXPECT_TRUE(svg.contains("<svg"));
  EXPECT_TRUE(svg.contains("Coche 11"));

  // A heat's race: each seated car by its driver, a car without one by its number.
  charts::Chart heat = charts::LapChart(results::PositionsByLap(ThreeCars()), true, {{2, "Ana López"}, {11, "Bea"}});
  ASSERT_TRUE(heat.chart);
  const auto named = Lines(*heat.chart);
  ASSERT_EQ(named.size(), 3u);
  EXPECT_EQ(named[0]->name(), QString::fromUtf8("2 · Ana López"));
  EXPECT_EQ(named[1]->name(), "Coche 7");
  EXPECT_EQ(named[2]->name(), QString::fromUtf8("11 · Bea"));
}

TEST(RaceCharts, ARaceWithNothingToDrawGivesAMessageNotAnEmptyFrame) {
  // No passes; or one car whose only crossing is the common start's partial lap.
  for (const auto& laps : {results::LapsOf({}, {1, 2}, true), results::LapsOf({Pass(1, 1, 1, 4.0)}, {1}, true)}) {
    const charts::Chart times = charts::LapTimesChart(laps, true, true);
    EXPECT_FALSE(times.chart);
    EXPECT_EQ(times.message, "Ningún coche tiene vueltas cronometradas en esta carrera.");
  }
  EXPECT_FALSE(charts::LapChart(results::PositionsByLap(results::LapsOf({}, {1}, true)), false).chart);
  // One car, one timed lap: drawn.
  const auto one = results::LapsOf({Pass(1, 1, 1, 4.0), Pass(2, 1, 2, 9.0)}, {1}, true);
  EXPECT_TRUE(charts::LapTimesChart(one, true, true).chart);
  EXPECT_TRUE(charts::LapChart(results::PositionsByLap(one), true).chart);
}

}  // namespace
