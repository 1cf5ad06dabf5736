#include "platform/qt_sound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>
#include <cmath>

namespace platform {
namespace {

// A cue that never reports its end (a device gone away) must not hold up
// every later cue: after this long the next one starts anyway.
constexpr int kLongestCueMs = 6000;

void AppendLe(QByteArray& out, quint32 value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

QByteArray BeepWav() {
  constexpr int kRate = 22050;
  constexpr int kSamples = kRate / 8;  // 125 ms
  constexpr double kPi = 3.14159265358979323846;
  QByteArray data;
  for (int i = 0; i < kSamples; ++i) {
    // 880 Hz with a short fade in and out, so it does not click.
    const double edge = std::min(1.0, std::min(i, kSamples - i) / 200.0);
    const auto sample = static_cast<qint16>(12000.0 * edge * std::sin(2 * kPi * 880.0 * i / kRate));
    AppendLe(data, static_cast<quint16>(sample), 2);
  }
  QByteArray wav("RIFF");
  AppendLe(wav, static_cast<quint32>(36 + data.size()), 4);
  wav.append("WAVEfmt ");
  AppendLe(wav, 16, 4);
  AppendLe(wav, 1, 2);  // PCM
  AppendLe(wav, 1, 2);  // mono
  AppendLe(wav, kRate, 4);
  AppendLe(wav, kRate * 2, 4);
  AppendLe(wav, 2, 2);
  AppendLe(wav, 16, 2);
  wav.append("data");
  AppendLe(wav, static_cast<quint32>(data.size()), 4);
  wav.append(data);
  return wav;
}

QtCueBackend::QtCueBackend(const QDir& cueFolder, QObject* parent) : QObject(parent), cueFolder_(cueFolder) {
  watchdog_.setSingleShot(true);
  connect(&watchdog_, &QTimer::timeout, this, &QtCueBackend::Finish);
  // The beep is loaded at once, so an error or a refused lap sounds without delay.
  if (OutputDeviceCount() > 0) BeepEffect();
}

QtCueBackend::~QtCueBackend() = default;

int QtCueBackend::OutputDeviceCount() { return static_cast<int>(QMediaDevices::audioOutputs().size()); }

bool QtCueBackend::CueExists(const std::string& fileName) {
  return QFile::exists(cueFolder_.filePath(QString::fromStdString(fileName)));
}

QSoundEffect* QtCueBackend::EffectFor(const QString& path) {
  if (auto it = effects_.find(path); it != effects_.end()) return it.value();
  // One effect per file, loaded once: a fresh effect for every play cuts it short.
  auto* effect = new QSoundEffect(this);
  effect->setSource(QUrl::fromLocalFile(path));
  connect(effect, &QSoundEffect::playingChanged, this, [this, effect] {
    if (effect == current_ && !effect->isPlaying()) Finish();
  });
  connect(effect, &QSoundEffect::statusChanged, this, [this, effect] {
    if (effect != current_) return;
    if (effect->status() == QSoundEffect::Ready && !effect->isPlaying()) {
      // Started from the event loop, not from inside the loader's signal,
      // which some back ends ignore.
      QTimer::singleShot(0, effect, [effect] { effect->play(); });
    } else if (effect->status() == QSoundEffect::Error) {
      // A file that exists but cannot be played gives the default sound.
      current_ = nullptr;
      Play(BeepEffect());
    }
  });
  effects_.insert(path, effect);
  return effect;
}

QSoundEffect* QtCueBackend::BeepEffect() {
  if (beep_ != nullptr) return beep_;
  beepDir_ = std::make_unique<QTemporaryDir>();
  const QString path = beepDir_->filePath("beep.wav");
  QFile file(path);
  if (beepDir_->isValid() && file.open(QIODevice::WriteOnly)) {
    file.write(BeepWav());
    file.close();
    beep_ = EffectFor(path);
  }
  return beep_;
}

void QtCueBackend::Play(QSoundEffect* effect) {
  if (effect == nullptr || OutputDeviceCount() < 1) {
    QApplication::beep();
    QTimer::singleShot(0, this, &QtCueBackend::Finish);
    return;
  }
  current_ = effect;
  watchdog_.start(kLongestCueMs);
  if (effect->status() == QSoundEffect::Error) {
    current_ = nullptr;
    Play(effect == beep_ ? nullptr : BeepEffect());
  } else if (effect->status() == QSoundEffect::Ready) {
    effect->play();
  }
  // Still loading: it starts when it is ready (statusChanged).
}

void QtCueBackend::Start(const std::string& fileName) {
  if (fileName.empty()) {
    Play(BeepEffect());
  } else {
    Play(EffectFor(cueFolder_.filePath(QString::fromStdString(fileName))));
  }
}

void QtCueBackend::Finish() {
  watchdog_.stop();
  current_ = nullptr;
  if (queue_ != nullptr) queue_->CueFinished();
}

QtSound::QtSound(const QDir& cueFolder) : backend_(cueFolder), queue_(backend_) {
  backend_.SetQueue(&queue_);
}

}  // namespace platform
