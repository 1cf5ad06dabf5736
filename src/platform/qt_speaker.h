#pragma once
// The program's speaker: Qt TextToSpeech over speech-dispatcher. The engine
// lives on a thread of its own, because the speech server may take seconds
// to come up and a text is handed over through a socket: the window never
// waits for either. It reads in the program's language with the voice
// chosen, and holds back while a recorded cue plays, so the cue comes first.

#include <QObject>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "platform/speaker.h"

class QTextToSpeech;

namespace platform {

// The engine on its thread; the speaker talks to it through queued signals.
class SpeechWorker final : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  void Start(const QString& engine);
  void Say(const QString& text, bool spanish, const QString& voice);

 signals:
  // kReady, kSpeaking or kNone; the voices of each language once known.
  void StateChanged(int state, const QStringList& spanishVoices, const QStringList& englishVoices,
                    const QString& error);
  void Finished();

 private:
  void SetLanguage(bool spanish);

  QTextToSpeech* tts_ = nullptr;
  int language_ = -1;  // 1 Spanish, 0 English, -1 not set
  bool speaking_ = false;
};

class QtSpeaker final : public QObject, public Speaker {
  Q_OBJECT
 public:
  enum State { kStarting = 0, kReady = 1, kSpeaking = 2, kNone = 3 };

  // `cuePlaying` tells whether a recorded cue plays now; `engine` is the
  // Qt TextToSpeech engine to use.
  explicit QtSpeaker(std::function<bool()> cuePlaying = {}, const QString& engine = QStringLiteral("speechd"),
                     QObject* parent = nullptr);
  ~QtSpeaker() override;
  QtSpeaker(const QtSpeaker&) = delete;
  QtSpeaker& operator=(const QtSpeaker&) = delete;

  // Starts the engine, once; the first Available() does it too.
  void Start();
  // Until the engine has answered it counts as there.
  bool Available() override;
  bool Ready() override;
  void Say(const std::string& text, bool spanish) override;
  std::vector<std::string> Voices(bool spanish) override;
  void ChooseVoice(const std::string& name) override { voice_ = QString::fromStdString(name); }

  State state() const noexcept { return state_; }
  // What the engine said when it could not start.
  QString error() const { return error_; }
  // Called on the window's thread whenever the speaker can take the next
  // text: a sentence ended, a cue ended, the engine came up.
  void SetOnFree(std::function<void()> onFree) { onFree_ = std::move(onFree); }

 signals:
  // The engine came up or turned out to be missing.
  void EngineChanged();

 private:
  void Free();

  std::function<bool()> cuePlaying_;
  QString engine_;
  QThread thread_;
  SpeechWorker* worker_ = nullptr;
  bool started_ = false;
  State state_ = kStarting;
  bool busy_ = false;  // a text handed over and not yet finished
  QString voice_;
  QString error_;
  QStringList spanishVoices_;
  QStringList englishVoices_;
  std::function<void()> onFree_;
  QTimer cueWait_;   // looks again while a cue plays
  QTimer watchdog_;  // a sentence whose end never came
};

}  // namespace platform
