#include "charts/race_charts.h"
#include "records/words.h"
#include "results/race_sheet.h"

#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QPageLayout>
#include <QPdfWriter>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace charts {

namespace {

using records::Words;
QString Tr(const Words& words, bool spanish) { return QString::fromUtf8(words.Pick(spanish)); }

constexpr Words kCar{"Coche %1", "Car %1"};
constexpr Words kLapTimes{"Tiempos por vuelta", "Lap times"};
constexpr Words kLapChart{"Posiciones por vuelta", "Lap chart"};
constexpr Words kNoTimedLaps{"Ningún coche tiene vueltas cronometradas en esta carrera.",
                             "No car has a timed lap in this race."};
constexpr Words kFirstLapLeftOut{" (sin la 1.ª vuelta, desde la salida)", " (first lap, from the start, left out)"};
constexpr Words kLap{"Vuelta", "Lap"};
constexpr Words kTimeSeconds{"Tiempo (s)", "Time (s)"};
constexpr Words kFastestLap{", vuelta rápida", ", fastest lap"};
constexpr Words kNoLapCompleted{"Ningún coche completó una vuelta en esta carrera.", "No car completed a lap in this race."};
constexpr Words kPosition{"Posición", "Position"};

QColor CarColour(int car) { return QColor(QString::fromStdString(results::CarColour(car))); }

// "3 · Ana López" for a heat's car, "Coche 3" for any other.
QString CarName(int car, const Drivers& drivers, bool spanish) {
  const std::string withDriver = results::CarWithDriver(car, drivers);
  return withDriver.empty() ? Tr(kCar, spanish).arg(car) : QString::fromStdString(withDriver);
}

std::unique_ptr<QChart> NewChart(const QString& title, bool spanish) {
  auto chart = std::make_unique<QChart>();
  chart->setTitle(title);
  // Axis labels with the language's decimal mark: 17,50 in Spanish.
  chart->setLocale(spanish ? QLocale(QLocale::Spanish, QLocale::Spain) : QLocale(QLocale::English, QLocale::UnitedKingdom));
  chart->setLocalizeNumbers(true);
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->setBackgroundBrush(Qt::white);
  chart->legend()->setAlignment(Qt::AlignRight);
  return chart;
}

QValueAxis* Axis(QChart& chart, Qt::Alignment where, const QString& title, double low, double high) {
  auto* axis = new QValueAxis;
  axis->setTitleText(title);
  axis->setRange(low, high);
  chart.addAxis(axis, where);
  return axis;
}

// Whole numbers along an axis: laps and positions.
void WholeTicks(QValueAxis* axis, int low, int high) {
  axis->setLabelFormat(QStringLiteral("%.0f"));
  const int span = std::max(1, high - low);
  const int step = std::max(1, static_cast<int>(std::ceil(span / 12.0)));
  axis->setTickType(QValueAxis::TicksDynamic);
  axis->setTickAnchor(low);
  axis->setTickInterval(step);
}

}  // namespace

QString ChartTitle(Kind kind, bool spanish) {
  return Tr(kind == Kind::LapTimes ? kLapTimes : kLapChart, spanish);
}

Chart LapTimesChart(const std::vector<results::CarLaps>& laps, bool commonTiming, bool spanish,
                    const Drivers& drivers) {
  Chart out;
  int lastLap = 0;
  int firstLap = 1 << 30;
  double slowest = 0.0;
  double fastest = 1e300;
  for (const auto& car : laps) {
    for (const auto& lap : car.laps) {
      lastLap = std::max(lastLap, lap.lap);
      firstLap = std::min(firstLap, lap.lap);
      slowest = std::max(slowest, lap.seconds);
      fastest = std::min(fastest, lap.seconds);
    }
  }
  if (lastLap == 0) {
    out.message = Tr(kNoTimedLaps, spanish);
    return out;
  }
  QString title = ChartTitle(Kind::LapTimes, spanish);
  if (commonTiming) {
    title += Tr(kFirstLapLeftOut, spanish);
  }
  out.chart = NewChart(title, spanish);
  QChart& chart = *out.chart;
  // Room around the points, so that a mark at the edge shows whole and equal
  // laps do not collapse the scale.
  const double span = slowest - fastest;
  const double margin = std::max(0.25, span * 0.08);
  auto* x = Axis(chart, Qt::AlignBottom, Tr(kLap, spanish), firstLap - 0.4,
                 std::max(lastLap, firstLap + 1) + 0.4);
  WholeTicks(x, firstLap, lastLap);
  auto* y = Axis(chart, Qt::AlignLeft, Tr(kTimeSeconds, spanish),
                 std::max(0.0, fastest - margin), slowest + margin);
  y->setLabelFormat(span + 2 * margin < 2.0 ? QStringLiteral("%.2f") : QStringLiteral("%.1f"));
  y->applyNiceNumbers();

  for (const auto& car : laps) {
    auto* line = new QLineSeries;
    line->setName(CarName(car.car, drivers, spanish));
    line->setColor(CarColour(car.car));
    line->setPointsVisible(true);
    for (const auto& lap : car.laps) line->append(lap.lap, lap.seconds);
    chart.addSeries(line);
    line->attachAxis(x);
    line->attachAxis(y);
    if (car.fastest) {
      // The fastest lap: a larger ring in the car's colour, not in the legend.
      auto* best = new QScatterSeries;
      best->setName(CarName(car.car, drivers, spanish) + Tr(kFastestLap, spanish));
      best->setMarkerShape(QScatterSeries::MarkerShapeCircle);
      best->setMarkerSize(14);
      best->setColor(Qt::transparent);
      best->setBorderColor(CarColour(car.car));
      best->setPen(QPen(CarColour(car.car), 2.5));
      const auto& lap = car.laps[*car.fastest];
      best->append(lap.lap, lap.seconds);
      chart.addSeries(best);
      best->attachAxis(x);
      best->attachAxis(y);
      for (QLegendMarker* marker : chart.legend()->markers(best)) marker->setVisible(false);
    }
  }
  return out;
}

Chart LapChart(const std::vector<results::CarPositions>& positions, bool spanish, const Drivers& drivers) {
  Chart out;
  int lastLap = 0;
  int deepest = 0;
  for (const auto& car : positions) {
    for (const auto& [lap, position] : car.points) {
      lastLap = std::max(lastLap, lap);
      deepest = std::max(deepest, position);
    }
  }
  if (lastLap == 0) {
    out.message = Tr(kNoLapCompleted, spanish);
    return out;
  }
  out.chart = NewChart(ChartTitle(Kind::LapChart, spanish), spanish);
  QChart& chart = *out.chart;
  auto* x = Axis(chart, Qt::AlignBottom, Tr(kLap, spanish), 0.6,
                 std::max(lastLap, 2) + 0.4);
  WholeTicks(x, 1, lastLap);
  // The leader at the top.
  auto* y = Axis(chart, Qt::AlignLeft, Tr(kPosition, spanish), 0.5,
                 deepest + 0.5);
  y->setReverse(true);
  y->setLabelFormat(QStringLiteral("%.0f"));
  y->setTickType(QValueAxis::TicksDynamic);
  y->setTickAnchor(1);
  y->setTickInterval(1);
  for (const auto& car : positions) {
    auto* line = new QLineSeries;
    line->setName(CarName(car.car, drivers, spanish));
    line->setColor(CarColour(car.car));
    line->setPointsVisible(true);
    for (const auto& [lap, position] : car.points) line->append(lap, position);
    chart.addSeries(line);
    line->attachAxis(x);
    line->attachAxis(y);
  }
  return out;
}

void DrawChart(QChart& chart, QPainter& painter, const QRectF& target, QSizeF layout) {
  // Laid out in a scene of its own, so it draws the same without a window
  // or a display. The chart must not be shown elsewhere meanwhile.
  QGraphicsScene scene;
  scene.addItem(&chart);
  chart.setGeometry(QRectF(QPointF(0, 0), layout));
  scene.setSceneRect(chart.geometry());
  scene.render(&painter, target, scene.sceneRect());
  scene.removeItem(&chart);
}

QImage ChartImage(QChart& chart, QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  // Laid out at the usual width, then scaled: type keeps its proportion to the picture.
  const double width = kLayoutSize.width();
  DrawChart(chart, painter, QRectF(QPointF(0, 0), QSizeF(size)), QSizeF(width, width * size.height() / size.width()));
  painter.end();
  return image;
}

QByteArray ChartPng(QChart& chart, QSize size) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ChartImage(chart, size).save(&buffer, "PNG");
  return bytes;
}

QByteArray ChartSvg(QChart& chart, QSize size, const QString& title) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(title);
  QPainter painter(&svg);
  DrawChart(chart, painter, QRectF(QPointF(0, 0), QSizeF(size)), QSizeF(size));
  painter.end();
  return bytes;
}

QByteArray ChartPdf(QChart& chart, const QString& title) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("TRELVIX"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                  QPageLayout::Millimeter));
    QPainter painter(&pdf);
    DrawChart(chart, painter, FittedRect(QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())), kLayoutSize),
              QSizeF(kLayoutSize));
  }
  return bytes;
}

QRectF FittedRect(const QRectF& area, QSize shape) {
  QSizeF size = QSizeF(shape).scaled(area.size(), Qt::KeepAspectRatio);
  return QRectF(area.topLeft(), size);
}

}  // namespace charts
