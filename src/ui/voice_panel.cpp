#include "ui/voice_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSettings>

#include "platform/speaker.h"
#include "ui/widgets.h"

namespace ui {

namespace {

const QString kOnKey = QStringLiteral("voice/on");
const QString kVoiceKey = QStringLiteral("voice/voice");
// Speech in place of the pass cues for the race (true), or after them.
const QString kInsteadKey = QStringLiteral("voice/insteadofcues");
// The ticks' keys, in the panel's order.
const std::array<QString, 6> kItemKeys{QStringLiteral("voice/passes"), QStringLiteral("voice/position"),
                                       QStringLiteral("voice/leader"), QStringLiteral("voice/clock"),
                                       QStringLiteral("voice/finish"), QStringLiteral("voice/heats")};

constexpr Words kTitle{"Voz", "Voice"};
constexpr Words kSwitch{"Anunciar la carrera en voz alta", "Announce the race aloud"};
constexpr std::array<Words, 6> kItems{
    Words{"Cada paso: coche y tiempo", "Each pass: car and time"},
    Words{"... y su posición", "... and its position"},
    Words{"Nuevo líder", "A new leader"},
    Words{"Un minuto y fin de tiempo", "One minute and time up"},
    Words{"Clasificación final", "Finish order"},
    Words{"Próxima manga", "Next heat"},
};
constexpr Words kVoice{"Voz:", "Voice:"};
constexpr Words kDefaultVoice{"(la de siempre)", "(default)"};
constexpr Words kCues{"Sonidos:", "Cues:"};
constexpr Words kCueFirst{"Primero el sonido grabado, luego la voz", "The recorded cue first, then the voice"};
constexpr Words kInstead{"La voz en lugar del sonido de cada paso", "The voice instead of each pass's cue"};
constexpr Words kNoEngine{"No hay motor de voz en este ordenador: suenan sólo los sonidos grabados.",
                          "No speech engine on this computer: only the recorded cues play."};
constexpr Words kRunning{"No se cambia durante la carrera.", "Cannot change during a race."};

bool* Item(race::VoiceSettings& s, std::size_t i) {
  const std::array<bool*, 6> items{&s.passes, &s.position, &s.leader, &s.clock, &s.finish, &s.heats};
  return items.at(i);
}

}  // namespace

VoiceSetting LoadVoiceSetting(const QSettings& settings) {
  VoiceSetting setting;
  setting.says.on = settings.value(kOnKey, false).toBool();
  for (std::size_t i = 0; i < kItemKeys.size(); ++i) {
    bool* item = Item(setting.says, i);
    *item = settings.value(kItemKeys.at(i), *item).toBool();
  }
  setting.says.insteadOfCues = settings.value(kInsteadKey, false).toBool();
  setting.voice = settings.value(kVoiceKey).toString().left(200);
  return setting;
}

void SaveVoiceSetting(QSettings& settings, const VoiceSetting& setting) {
  VoiceSetting s = setting;
  settings.setValue(kOnKey, s.says.on);
  for (std::size_t i = 0; i < kItemKeys.size(); ++i) settings.setValue(kItemKeys.at(i), *Item(s.says, i));
  settings.setValue(kInsteadKey, s.says.insteadOfCues);
  settings.setValue(kVoiceKey, s.voice);
  settings.sync();
}

VoicePanel::VoicePanel(platform::Speaker& speaker, QWidget* parent) : QWidget(parent), speaker_(speaker) {
  setObjectName(QStringLiteral("VoicePanel"));
  group_ = new QGroupBox(this);
  group_->setObjectName(QStringLiteral("VoiceGroup"));
  on_ = new QCheckBox(group_);
  on_->setObjectName(QStringLiteral("VoiceOn"));
  const std::array<const char*, 6> names{"VoicePasses", "VoicePosition", "VoiceLeader",
                                         "VoiceClock",  "VoiceFinish",   "VoiceHeats"};
  auto* grid = new QGridLayout(group_);
  grid->addWidget(on_, 0, 0, 1, 2);
  for (std::size_t i = 0; i < items_.size(); ++i) {
    items_[i] = new QCheckBox(group_);
    items_[i]->setObjectName(QString::fromLatin1(names[i]));
    grid->addWidget(items_[i], 1 + static_cast<int>(i / 2), static_cast<int>(i % 2));
    connect(items_[i], &QCheckBox::toggled, this, &VoicePanel::OperatorChanged);
  }
  voiceCaption_ = new QLabel(group_);
  voices_ = new QComboBox(group_);
  voices_->setObjectName(QStringLiteral("VoiceChoice"));
  cuesCaption_ = new QLabel(group_);
  cues_ = new QComboBox(group_);
  cues_->setObjectName(QStringLiteral("VoiceCues"));
  cues_->addItems({QString(), QString()});
  state_ = new QLabel(group_);
  state_->setObjectName(QStringLiteral("VoiceState"));
  state_->setWordWrap(true);
  grid->addWidget(voiceCaption_, 4, 0);
  grid->addWidget(voices_, 4, 1);
  grid->addWidget(cuesCaption_, 5, 0);
  grid->addWidget(cues_, 5, 1);
  grid->addWidget(state_, 6, 0, 1, 2);
  auto* outer = new QGridLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(group_);

  connect(on_, &QCheckBox::toggled, this, &VoicePanel::OperatorChanged);
  connect(voices_, &QComboBox::activated, this, [this] {
    voice_ = voices_->currentData().toString();
    OperatorChanged();
  });
  connect(cues_, &QComboBox::activated, this, &VoicePanel::OperatorChanged);
  SetSettings({});
}

void VoicePanel::SetSpanish(bool spanish) {
  spanish_ = spanish;
  group_->setTitle(Tr(kTitle, spanish_));
  on_->setText(Tr(kSwitch, spanish_));
  for (std::size_t i = 0; i < items_.size(); ++i) items_[i]->setText(Tr(kItems.at(i), spanish_));
  voiceCaption_->setText(Tr(kVoice, spanish_));
  cuesCaption_->setText(Tr(kCues, spanish_));
  cues_->setItemText(0, Tr(kCueFirst, spanish_));
  cues_->setItemText(1, Tr(kInstead, spanish_));
  ShowEngine();
}

void VoicePanel::ShowEngine() {
  FillVoices();
  const bool engine = speaker_.Available();
  QString state = engine ? QString() : Tr(kNoEngine, spanish_);
  if (!isEnabled()) state += (state.isEmpty() ? QString() : QStringLiteral(" ")) + Tr(kRunning, spanish_);
  state_->setText(state);
  state_->setVisible(!state.isEmpty());
}

void VoicePanel::FillVoices() {
  const bool was = applying_;
  applying_ = true;
  voices_->clear();
  voices_->addItem(Tr(kDefaultVoice, spanish_), QString());
  for (const std::string& name : speaker_.Voices(spanish_)) voices_->addItem(Q(name), Q(name));
  // A voice kept from another language or machine stays chosen, shown as it is.
  if (!voice_.isEmpty() && voices_->findData(voice_) < 0) voices_->addItem(voice_, voice_);
  voices_->setCurrentIndex(voices_->findData(voice_));
  applying_ = was;
}

void VoicePanel::SetRaceRunning(bool running) {
  setEnabled(!running);
  ShowEngine();
}

void VoicePanel::SetSettings(const VoiceSetting& setting) {
  applying_ = true;
  VoiceSetting s = setting;
  on_->setChecked(s.says.on);
  for (std::size_t i = 0; i < items_.size(); ++i) items_[i]->setChecked(*Item(s.says, i));
  cues_->setCurrentIndex(s.says.insteadOfCues ? 1 : 0);
  voice_ = s.voice;
  FillVoices();
  applying_ = false;
}

VoiceSetting VoicePanel::settings() const {
  VoiceSetting setting;
  setting.says.on = on_->isChecked();
  for (std::size_t i = 0; i < items_.size(); ++i) *Item(setting.says, i) = items_[i]->isChecked();
  setting.says.insteadOfCues = cues_->currentIndex() == 1;
  setting.voice = voice_;
  return setting;
}

void VoicePanel::OperatorChanged() {
  if (applying_) return;
  emit SettingsChanged(settings());
}

}  // namespace ui
