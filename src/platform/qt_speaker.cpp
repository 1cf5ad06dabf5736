#include "platform/qt_speaker.h"

#include <QLocale>
#include <algorithm>
#include <QTextToSpeech>
#include <QVoice>

namespace platform {

namespace {

// A sentence whose end is never reported (a server gone away) must not
// silence the voice for good.
constexpr int kLongestSentenceMs = 20000;
constexpr int kCueLookMs = 20;

QStringList VoiceNames(QTextToSpeech& tts, QLocale::Language language) {
  QStringList names;
  for (const QLocale& locale : tts.availableLocales()) {
    if (locale.language() != language) continue;
    tts.setLocale(locale);
    for (const QVoice& voice : tts.availableVoices()) {
      if (!names.contains(voice.name())) names << voice.name();
    }
  }
  return names;
}

// The language's locale, Spain's and Britain's first.
QLocale LocaleFor(const QTextToSpeech& tts, bool spanish) {
  const QLocale preferred(spanish ? QStringLiteral("es_ES") : QStringLiteral("en_GB"));
  const QList<QLocale> locales = tts.availableLocales();
  if (locales.contains(preferred)) return preferred;
  for (const QLocale& locale : locales) {
    if (locale.language() == preferred.language()) return locale;
  }
  return preferred;
}

}  // namespace

void SpeechWorker::Start(const QString& engine) {
  if (!QTextToSpeech::availableEngines().contains(engine)) {
    emit StateChanged(QtSpeaker::kNone, {}, {}, QStringLiteral("no %1 engine").arg(engine));
    return;
  }
  tts_ = new QTextToSpeech(engine, this);
  if (tts_->state() == QTextToSpeech::Error) {
    emit StateChanged(QtSpeaker::kNone, {}, {}, tts_->errorString());
    return;
  }
  const QStringList spanish = VoiceNames(*tts_, QLocale::Spanish);
  const QStringList english = VoiceNames(*tts_, QLocale::English);
  connect(tts_, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
    if (state == QTextToSpeech::Error) {
      speaking_ = false;
      emit StateChanged(QtSpeaker::kNone, {}, {}, tts_->errorString());
    } else if (state == QTextToSpeech::Ready && speaking_) {
      speaking_ = false;
      emit Finished();
    }
  });
  emit StateChanged(QtSpeaker::kReady, spanish, english, {});
}

void SpeechWorker::SetLanguage(bool spanish) {
  if (language_ == static_cast<int>(spanish)) return;
  language_ = static_cast<int>(spanish);
  tts_->setLocale(LocaleFor(*tts_, spanish));
}

void SpeechWorker::Say(const QString& text, bool spanish, const QString& voice) {
  if (tts_ == nullptr) return;
  SetLanguage(spanish);
  const QList<QVoice> voices = tts_->availableVoices();
  const auto chosen = std::find_if(voices.begin(), voices.end(), [&](const QVoice& v) { return v.name() == voice; });
  if (chosen != voices.end()) {
    if (tts_->voice().name() != voice) tts_->setVoice(*chosen);
  } else if (!voices.isEmpty() && tts_->voice().locale().language() != tts_->locale().language()) {
    tts_->setVoice(voices.front());
  }
  speaking_ = true;
  tts_->say(text);
}

QtSpeaker::QtSpeaker(std::function<bool()> cuePlaying, const QString& engine, QObject* parent)
    : QObject(parent), cuePlaying_(std::move(cuePlaying)), engine_(engine) {
  thread_.setObjectName(QStringLiteral("speech"));
  cueWait_.setInterval(kCueLookMs);
  connect(&cueWait_, &QTimer::timeout, this, [this] {
    if (cuePlaying_ && cuePlaying_()) return;
    cueWait_.stop();
    Free();
  });
  watchdog_.setSingleShot(true);
  connect(&watchdog_, &QTimer::timeout, this, [this] {
    busy_ = false;
    Free();
  });
}

QtSpeaker::~QtSpeaker() {
  if (!started_) return;
  thread_.quit();
  thread_.wait();
}

void QtSpeaker::Start() {
  if (started_) return;
  started_ = true;
  worker_ = new SpeechWorker;
  worker_->moveToThread(&thread_);
  connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
  connect(worker_, &SpeechWorker::StateChanged, this,
          [this](int state, const QStringList& spanish, const QStringList& english, const QString& error) {
            const bool wasStarting = state_ == kStarting;
            state_ = static_cast<State>(state);
            error_ = error;
            if (state_ == kReady && wasStarting) {
              spanishVoices_ = spanish;
              englishVoices_ = english;
            }
            if (state_ == kNone) busy_ = false;
            emit EngineChanged();
            if (state_ == kReady) Free();
          });
  connect(worker_, &SpeechWorker::Finished, this, [this] {
    busy_ = false;
    watchdog_.stop();
    Free();
  });
  thread_.start();
  const QString engine = engine_;
  QMetaObject::invokeMethod(worker_, [worker = worker_, engine] { worker->Start(engine); }, Qt::QueuedConnection);
}

bool QtSpeaker::Available() {
  Start();
  return state_ != kNone;
}

bool QtSpeaker::Ready() {
  if (state_ != kReady || busy_) return false;
  if (cuePlaying_ && cuePlaying_()) {
    if (!cueWait_.isActive()) cueWait_.start();
    return false;
  }
  return true;
}

void QtSpeaker::Say(const std::string& text, bool spanish) {
  if (!Ready()) return;
  busy_ = true;
  watchdog_.start(kLongestSentenceMs);
  const QString said = QString::fromStdString(text);
  const QString voice = voice_;
  QMetaObject::invokeMethod(
      worker_, [worker = worker_, said, spanish, voice] { worker->Say(said, spanish, voice); }, Qt::QueuedConnection);
}

std::vector<std::string> QtSpeaker::Voices(bool spanish) {
  std::vector<std::string> names;
  for (const QString& name : spanish ? spanishVoices_ : englishVoices_) names.push_back(name.toStdString());
  return names;
}

void QtSpeaker::Free() {
  if (onFree_) onFree_();
}

}  // namespace platform
