#pragma once
// The race director's window on fakes: the test moves the counter and the
// clock, answers the message boxes and reads the record files it writes into
// a fresh folder.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <memory>

#include "platform/directory.h"
#include "support/fake_message_boxes.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/main_window.h"

namespace testing_support {

class WindowTest : public ::testing::Test {
 protected:
  // Shows the window and runs its start-up; the 222 ms timer is stopped so
  // the test gives the ticks itself.
  void Open() {
    window = std::make_unique<ui::TForm1>(ui::MainWindowServices{
        counter, clock, sound, boxes, lister, dir.path(), bootId, records, otherFolder, programFolderUnwritable});
    window->SetQuitHandler([this](int code) { quitCode = code; });
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->FormActivate();
    window->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
  }

  template <typename T = QWidget>
  T* Find(const char* name) const {
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QString Text(const char* name) const { return Find<QLabel>(name)->text(); }
  void Click(const char* name) const { QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton); }
  void ClickLabel(const char* name) const { QTest::mouseClick(Find<QLabel>(name), Qt::LeftButton); }
  // Waits in race time: the counter and the time of day move together.
  void Wait(double seconds) {
    counter.AdvanceSeconds(seconds);
    clock.AdvanceMillis(static_cast<std::int64_t>(seconds * 1000 + 0.5));
  }
  void Tick() { window->Timer1Timer(); }
  // The text of the last box shown.
  std::string LastBox() const { return boxes.shown.empty() ? std::string() : boxes.shown.back().text; }

  TempDir dir;
  FakeCounter counter;
  FakeClock clock;  // 6 December 2026: the day's files are 261206..
  FakeSound sound;
  FakeMessageBoxes boxes;
  platform::PosixDirectoryLister lister;
  std::unique_ptr<ui::TForm1> window;
  int quitCode = -1;
  records::RecordSink* records = nullptr;  // the files in dir unless a test sets one
  std::string bootId = "test-boot";
  std::string otherFolder;  // the program's other record folder
  bool programFolderUnwritable = false;
};

}  // namespace testing_support
