#include "platform/decoder_link.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QSerialPort>
#include <QTcpSocket>

#include "decoder/session.h"

namespace platform {

namespace {

// Keepalive probes after a short quiet, so that a gate that lost its power
// or its network is found in seconds rather than hours; the gate's own
// stack answers them.
void KeepAlive(QTcpSocket& socket) {
  socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
  const auto fd = static_cast<int>(socket.socketDescriptor());
  const int idle = DecoderLink::kKeepAliveIdleSeconds;
  const int interval = 1;
  const int probes = DecoderLink::kKeepAliveProbes;
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
}

}  // namespace

DecoderLink::DecoderLink(PerformanceCounter& counter, QObject* parent)
    : QObject(parent),
      counter_(counter),
      frequency_(counter.Frequency().value_or(1000000000)),
      session_(std::make_unique<decoder::Session>(frequency_)) {
  // A link that is down is tried again every second, for as long as it is chosen.
  retry_.setInterval(1000);
  connect(&retry_, &QTimer::timeout, this, [this] { Retry(); });
  tick_.setInterval(250);
  connect(&tick_, &QTimer::timeout, this, [this] { Tick(); });
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
  tick_.start();
  Retry();
}

void DecoderLink::Close() {
  retry_.stop();
  tick_.stop();
  Drop();
  // Passes still waiting for the gate's clock come out as they stand.
  Hand(session_->Flush());
  session_->Reset();
}

void DecoderLink::Retry() {
  if (choice_.kind == LinkChoice::Kind::kNone) return;
  if (device_) {
    // Still connecting (the timer stops once connected): a connection that
    // does not come within a few seconds is tried afresh.
    if (counter_.Read() - attemptStarted_ > frequency_ / 1000 * kSilenceMillis) Lost("no answer from the gate");
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
    // A pulled adapter or a port that went away is an error; silence is not.
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
  // The same gate again: its clock is checked against the map, not forgotten.
  session_->Reconnected();
  if (auto* socket = qobject_cast<QTcpSocket*>(device_.get())) KeepAlive(*socket);
  status_.error.clear();
  lastLine_ = counter_.Read();
  retry_.stop();
  SetState(State::kUp);
  // Bytes that came with the opening are not left waiting for the next ones.
  if (device_ && device_->bytesAvailable() > 0) ReadSome();
}

void DecoderLink::ReadSome() {
  readQueued_ = false;
  if (!device_) return;
  Read(kReadBudget);
  // The rest waits for the next turn of the event loop: keys come first.
  if (device_ && device_->bytesAvailable() > 0 && !readQueued_) {
    readQueued_ = true;
    QTimer::singleShot(0, this, [this] { ReadSome(); });
  }
}

// At most `most` bytes through the session, and the passes they complete out.
void DecoderLink::Read(qint64 most) {
  const std::int64_t received = counter_.Read();
  const QByteArray bytes = device_->read(most);
  const auto passes = session_->Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), received);
  const decoder::SessionCounts& counts = session_->Counts();
  status_.hello = counts.lastHello;
  status_.lines = static_cast<long long>(counts.lines);
  status_.badLines = static_cast<long long>(counts.badLines);
  status_.resets = static_cast<long long>(counts.resets);
  long long dropped = static_cast<long long>(counts.droppedLines);
  for (auto d : counts.droppedPasses) dropped += static_cast<long long>(d);
  status_.dropped = dropped;
  // Bad lines alone bring no silent link back up, but a flood of them shows.
  if (const auto since = session_->SinceLastGoodLine(received); since && *since == 0) {
    lastLine_ = received;
    SetState(session_->Flooded(received) ? State::kFault : State::kUp);
  } else if (session_->Flooded(received)) {
    SetState(State::kFault);
  }
  emit StatusChanged();
  Hand(passes);
}

void DecoderLink::Hand(const std::vector<decoder::GatePass>& passes) {
  for (const decoder::GatePass& pass : passes) emit Crossed(pass.car, pass.count, pass.approximate);
}

void DecoderLink::Tick() {
  Hand(session_->Poll(counter_.Read()));
  if (!device_ || (status_.state != State::kUp && status_.state != State::kFault)) return;
  const std::int64_t now = counter_.Read();
  if (status_.state == State::kFault && !session_->Flooded(now)) SetState(State::kUp);
  const auto since = session_->SinceLastGoodLine(now);
  const std::int64_t quiet = since ? *since : now - lastLine_;
  if (quiet > frequency_ / 1000 * kSilenceMillis) {
    // Shown, never closed: an open connection can still deliver, and a
    // reopened serial port may reset the board.
    status_.error = "no line from the gate for 3 s";
    SetState(State::kLost);
  }
}

// Everything that arrived is read before the device goes: the lines the
// gate sent before the link went down still count. Only the unfinished line
// is lost.
void DecoderLink::Drop() {
  if (!device_) return;
  device_->disconnect(this);
  // What is still in the system's buffer, on a link that can still deliver it.
  const auto* socket = qobject_cast<QAbstractSocket*>(device_.get());
  const bool live = socket != nullptr ? socket->state() == QAbstractSocket::ConnectedState : device_->isOpen();
  for (qint64 total = 0; total < kDrainLimit;) {
    if (device_->bytesAvailable() == 0 && !(live && device_->waitForReadyRead(0))) break;
    const qint64 before = device_->bytesAvailable();
    if (before == 0) break;
    Read(kReadBudget);
    total += before - device_->bytesAvailable();
  }
  QIODevice* device = device_.release();
  device->close();
  device->deleteLater();
}

void DecoderLink::Lost(const std::string& why) {
  Drop();
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
