#pragma once
// The two charts of a past race, built with Qt Charts: lap times (one line
// per car, its fastest lap marked) and the lap chart (each car's position on
// every lap). Either can be drawn on any paint device: a window, a printer
// page, a PNG, a PDF or an SVG.

#include <QByteArray>
#include <QChart>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "results/laps.h"

class QPainter;

namespace charts {

enum class Kind { LapTimes, LapChart };

// A chart, or the plain message that stands in for it when the race has
// nothing to draw (no passes, no timed lap).
struct Chart {
  std::unique_ptr<QChart> chart;
  QString message;
};

// A heat's drivers by car: its series are named "3 · Ana López" instead of "Car 3".
using Drivers = std::map<int, std::string>;

Chart LapTimesChart(const std::vector<results::CarLaps>& laps, bool commonTiming, bool spanish,
                    const Drivers& drivers = {});
Chart LapChart(const std::vector<results::CarPositions>& positions, bool spanish, const Drivers& drivers = {});

// The window's and the page's title of a chart.
QString ChartTitle(Kind kind, bool spanish);

// The size a chart is laid out at for a page or a file; it is then scaled.
inline constexpr QSize kLayoutSize{960, 540};

// Draws a chart that no window shows into the rectangle, laid out at
// `layout` and scaled to fit.
void DrawChart(QChart& chart, QPainter& painter, const QRectF& target, QSizeF layout);
// The largest rectangle of the shape's proportions in the area, at its top left.
QRectF FittedRect(const QRectF& area, QSize shape);
QImage ChartImage(QChart& chart, QSize size);
QByteArray ChartSvg(QChart& chart, QSize size, const QString& title);
QByteArray ChartPng(QChart& chart, QSize size);
// One A4 landscape page.
QByteArray ChartPdf(QChart& chart, const QString& title);

}  // namespace charts
