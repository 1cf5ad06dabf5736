// How long the meeting window takes to open on a big club: a roster of
// 1000 drivers and 50 meetings of one class and year, every heat run, in a
// real store. Times the window's whole opening (store read, heats, standings
// and the season of 50 meetings) and prints the median of nine.
//   meeting_window_bench [FOLDER]   (QT_QPA_PLATFORM=offscreen needs no display)
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "meeting/lineup.h"
#include "platform/directory.h"
#include "platform/file_dialogs.h"
#include "platform/sqlite_store.h"
#include "ui/meeting_link.h"
#include "ui/meeting_window.h"

namespace {

class NoBoxes final : public platform::MessageBoxes {
 public:
  void Info(const std::string&, const std::string& text) override { std::fprintf(stderr, "box: %s\n", text.c_str()); }
  bool Confirm(const std::string&, const std::string&) override { return false; }
};

void Fill(platform::SqliteStore& store) {
  std::vector<meeting::Driver> roster;
  for (int i = 1; i <= 1000; ++i) {
    const std::string name = "Driver " + std::to_string(i);
    roster.push_back({0, name, "D" + std::to_string(i), i, "GT", true});
  }
  meeting::ImportPlan plan;
  for (std::size_t i = 0; i < roster.size(); ++i) plan.added.push_back({static_cast<int>(i) + 2, roster[i]});
  store.ApplyImport(plan);
  roster = *store.Drivers();
  for (int k = 0; k < 50; ++k) {
    meeting::Meeting m;
    m.date = {2026, 1 + k % 12, 1 + k % 28};
    m.name = "Club night " + std::to_string(k + 1);
    m.className = "GT";
    m.rotation = {4, 5};
    for (int d = 0; d < 12; ++d) m.entrants.push_back(roster[static_cast<std::size_t>((k * 12 + d) % 1000)].id);
    m.id = *store.SaveMeeting(m);
    const auto heats = meeting::RotationHeats(m);
    store.AddHeats(m.id, heats);
    for (const auto& h : heats) {
      char race[16];
      std::snprintf(race, sizeof race, "26%02d%02d%02d", 1 + k / 28, 1 + k % 28, h.slot.number);
      store.LinkRace(m.id, h.slot.number, race);
      meeting::HeatResult r{h.slot.number, race, {}};
      for (const auto& s : h.seats) {
        const auto mix = static_cast<int>((s.driver * 7919 + h.slot.number * 104729) % 997);
        r.cars.push_back({s.car, 20 + mix % 9, 300000 + mix * 13, 11000 + mix, meeting::CarStatus::Classified});
      }
      store.EnterResult(m.id, r);
    }
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir temp;
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
  platform::SqliteStore store(QDir(folder).filePath(QString::fromLatin1(platform::kStoreFileName)).toStdString());
  if (!store.Status().ok()) return std::fprintf(stderr, "%s\n", store.Status().detail.c_str()), 1;
  if (store.Drivers()->empty()) Fill(store);
  NoBoxes boxes;
  platform::QtFileDialogs dialogs;
  platform::PosixDirectoryLister lister;
  ui::MeetingLink link(store, lister, folder.toStdString());
  std::vector<double> times;
  for (int i = 0; i < 9; ++i) {
    const auto start = std::chrono::steady_clock::now();
    ui::MeetingWindow window({store, boxes, dialogs, link, [] { return race::RaceSetup{}; }, [](const race::RaceSetup&) {}});
    window.Prepare(true);
    window.show();
    QApplication::processEvents();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  std::printf("meeting window open, 1000 drivers and 50 meetings of 12 heats: median %.1f ms (min %.1f, max %.1f)\n",
              times[4], times.front(), times.back());
  return times[4] < 200.0 ? 0 : 1;
}
