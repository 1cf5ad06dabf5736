#include "platform/decoder_link.h"

#include <QSerialPort>
#include <QTcpSocket>

#include "decoder/session.h"

namespace platform {

DecoderLink::DecoderLink(PerformanceCounter& counter, QObject* parent)
    : QObject(parent),
      counter_(counter),
      frequency_(counter.Frequency().value_or(1000000000)),
      session_(std::make_unique<decoder::Session>(frequency_)) {
  // A link that is down is tried again every second, for as long as it is chosen.
  retry_.setInterval(1000);
  connect(&retry_, &QTimer::timeout, this, [this] { Retry(); });
  silence_.setInterval(250);
  connect(&silence_, &QTimer::timeout, this, [this] { CheckSilence(); });
}

DecoderLink::~DecoderLink() = default;

void DecoderLink::Open(const LinkChoice& choice) {
  Close();
  choice_ = choice;
  status_ = Status{};
  if (choice.kind == LinkChoice::Kind::kNone) {
    SetState(State::kOff);
    return;
  }
  SetState(State::kConnecting);
  retry_.start();
  Retry();
}

void DecoderLink::Close() {
  retry_.stop();
  silence_.stop();
  if (device_) {
    QIODevice* device = device_.release();
    device->disconnect(this);
    device->close();
    device->deleteLater();
  }
  session_->Reset();
}

void DecoderLink::Retry() {
  if (choice_.kind == LinkChoice::Kind::kNone) return;
  if (device_) {
    // A connection that does not come within a few seconds is tried afresh.
    if (status_.state != State::kUp && status_.state != State::kFault &&
        counter_.Read() - attemptStarted_ > frequency_ / 1000 * kSilenceMillis) {
      Lost("no answer from the gate");
    }
    return;
  }
  attemptStarted_ = counter_.Read();
  if (choice_.kind == LinkChoice::Kind::kSerial) {
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(QString::fromStdString(choice_.device));
    // What a flood brings in waits in the system's buffer, not in ours.
    port->setReadBufferSize(64 * 1024);
    if (!port->open(QIODevice::ReadOnly)) {
      status_.error = port->errorString().toStdString();
      emit StatusChanged();
      return;
    }
    port->setBaudRate(choice_.baud);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    connect(port.get(), &QSerialPort::readyRead, this, [this] { ReadSome(); });
    connect(port.get(), &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
      if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) return;
      if (device_) Lost(device_->errorString().toStdString());
    });
    device_ = std::move(port);
    Connected();
    return;
  }
  auto socket = std::make_unique<QTcpSocket>();
  socket->setReadBufferSize(64 * 1024);
  connect(socket.get(), &QTcpSocket::connected, this, [this] { Connected(); });
  connect(socket.get(), &QTcpSocket::readyRead, this, [this] { ReadSome(); });
  connect(socket.get(), &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
    if (device_) Lost(device_->errorString().toStdString());
  });
  QTcpSocket* raw = socket.get();
  device_ = std::move(socket);
  raw->connectToHost(QString::fromStdString(choice_.host), static_cast<quint16>(choice_.port), QIODevice::ReadOnly);
}

void DecoderLink::Connected() {
  session_->Reset();
  status_.error.clear();
  lastLine_ = counter_.Read();
  retry_.stop();
  silence_.start();
  SetState(State::kUp);
  // Bytes that came with the opening are not left waiting for the next ones.
  if (device_ && device_->bytesAvailable() > 0) ReadSome();
}

void DecoderLink::ReadSome() {
  readQueued_ = false;
  if (!device_) return;
  const std::int64_t received = counter_.Read();
  const QByteArray bytes = device_->read(kReadBudget);
  const auto passes = session_->Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), received);
  const decoder::SessionCounts& counts = session_->Counts();
  status_.hello = counts.lastHello;
  status_.lines = static_cast<long long>(counts.lines);
  status_.badLines = static_cast<long long>(counts.badLines);
  status_.resets = static_cast<long long>(counts.resets);
  long long dropped = static_cast<long long>(counts.droppedLines);
  for (auto d : counts.droppedPasses) dropped += static_cast<long long>(d);
  status_.dropped = dropped;
  if (const auto since = session_->SinceLastGoodLine(received); since && *since == 0) lastLine_ = received;
  SetState(session_->Flooded(received) ? State::kFault : State::kUp);
  emit StatusChanged();
  for (const decoder::GatePass& pass : passes) emit Crossed(pass.car, pass.count);
  // The rest waits for the next turn of the event loop: keys come first.
  if (device_ && device_->bytesAvailable() > 0 && !readQueued_) {
    readQueued_ = true;
    QTimer::singleShot(0, this, [this] { ReadSome(); });
  }
}

void DecoderLink::CheckSilence() {
  if (!device_ || (status_.state != State::kUp && status_.state != State::kFault)) return;
  const std::int64_t now = counter_.Read();
  const auto since = session_->SinceLastGoodLine(now);
  const std::int64_t quiet = since ? *since : now - lastLine_;
  if (quiet > frequency_ / 1000 * kSilenceMillis) Lost("no line from the gate for 3 s");
}

void DecoderLink::Lost(const std::string& why) {
  if (device_) {
    QIODevice* device = device_.release();
    device->disconnect(this);
    device->close();
    device->deleteLater();
  }
  silence_.stop();
  status_.error = why;
  // A link that was up is lost; one that never came up is still being tried.
  if (status_.state == State::kUp || status_.state == State::kFault) SetState(State::kLost);
  retry_.start();
  emit StatusChanged();
}

void DecoderLink::SetState(State state) {
  if (status_.state == state) return;
  status_.state = state;
  emit StatusChanged();
}

}  // namespace platform
