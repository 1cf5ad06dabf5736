#pragma once
// Cue files and the beep played on the machine's audio device with Qt
// Multimedia, without blocking the window: each cue reports its end and
// the queue starts the next.

#include <QDir>
#include <QHash>
#include <QObject>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "platform/cue_queue.h"

class QSoundEffect;

namespace platform {

class QtCueBackend final : public QObject, public CueBackend {
  Q_OBJECT

 public:
  // Cue files are looked up in `cueFolder`, beside the program.
  explicit QtCueBackend(const QDir& cueFolder, QObject* parent = nullptr);
  ~QtCueBackend() override;

  void SetQueue(CueQueue* queue) noexcept { queue_ = queue; }

  int OutputDeviceCount() override;
  bool CueExists(const std::string& fileName) override;
  void Start(const std::string& fileName) override;

 private:
  QSoundEffect* EffectFor(const QString& path);
  QSoundEffect* BeepEffect();
  void Play(QSoundEffect* effect);
  void Finish();

  QDir cueFolder_;
  CueQueue* queue_ = nullptr;
  QHash<QString, QSoundEffect*> effects_;
  QSoundEffect* current_ = nullptr;
  std::unique_ptr<QTemporaryDir> beepDir_;
  QSoundEffect* beep_ = nullptr;
  QTimer watchdog_;
};

// The real sound of the program: the queue in front of the Qt backend.
class QtSound final {
 public:
  explicit QtSound(const QDir& cueFolder);
  SoundDevice& device() noexcept { return queue_; }
  // Whether a cue plays or waits to.
  bool Playing() const noexcept { return queue_.Playing() || queue_.Waiting() > 0; }

 private:
  QtCueBackend backend_;
  CueQueue queue_;
};

// A short tone as a WAV file (16-bit mono PCM): the beep.
QByteArray BeepWav();

}  // namespace platform
