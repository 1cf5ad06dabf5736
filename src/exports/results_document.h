#pragma once
// The race's results as one PDF document to post or hand out: the content
// of the results page laid out on A4, every table's heading row repeated on
// each page it runs over, each page after the first headed with the race and
// its date, every page numbered, and the two charts on a page of their own.

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

#include "results/race_sheet.h"

class QChart;

namespace exports {

struct DocumentChart {
  QString title;
  QChart* chart = nullptr;  // not owned
};

// The document's bytes; empty, with the reason in `error`, when it could not
// be made whole.
QByteArray ResultsPdf(const results::RaceSheet& sheet, bool spanish, const std::vector<DocumentChart>& charts,
                      std::string& error);

// Any document laid out the same way: `printedHtml` as Qt's rich text takes
// it, `title` and `day` in the running head, then the charts.
QByteArray DocumentPdf(const std::string& title, const std::string& day, const std::string& printedHtml, bool spanish,
                       const std::vector<DocumentChart>& charts, std::string& error);

}  // namespace exports
