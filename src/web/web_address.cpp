#include "web/web_address.h"

#include <QNetworkInterface>

namespace web {

namespace {

std::optional<quint16> ParsePort(const QString& text) {
  bool ok = false;
  const uint port = text.toUInt(&ok, 10);
  // toUInt takes a leading '+' and blanks; a port is digits only.
  for (const QChar c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
  }
  if (!ok || port < 1 || port > 65535) return std::nullopt;
  return static_cast<quint16>(port);
}

std::optional<QHostAddress> ParseHost(const QString& text) {
  QHostAddress address;
  if (text.isEmpty() || !address.setAddress(text)) return std::nullopt;
  // Written in full: "1.2.3" is not taken for 1.2.0.3.
  if (address.protocol() == QAbstractSocket::IPv4Protocol && address.toString() != text) return std::nullopt;
  return address;
}

QString HostText(const QHostAddress& address) {
  if (address.protocol() == QAbstractSocket::IPv6Protocol) return u'[' + address.toString() + u']';
  return address.toString();
}

}  // namespace

bool IsAnyAddress(const QHostAddress& address) {
  return address == QHostAddress(QHostAddress::Any) || address == QHostAddress(QHostAddress::AnyIPv4) ||
         address == QHostAddress(QHostAddress::AnyIPv6);
}

std::optional<WebAddress> ParseWebAddress(const QString& text) {
  WebAddress where;
  QString portText = text;
  if (text.startsWith(u'[')) {
    const qsizetype close = text.indexOf(QStringLiteral("]:"));
    if (close < 0) return std::nullopt;
    const auto host = ParseHost(text.mid(1, close - 1));
    if (!host || host->protocol() != QAbstractSocket::IPv6Protocol) return std::nullopt;
    where.address = *host;
    portText = text.mid(close + 2);
  } else if (const qsizetype colon = text.lastIndexOf(u':'); colon >= 0) {
    const auto host = ParseHost(text.left(colon));
    // An IPv6 address with a port is written in brackets.
    if (!host || host->protocol() != QAbstractSocket::IPv4Protocol) return std::nullopt;
    where.address = *host;
    portText = text.mid(colon + 1);
  }
  const auto port = ParsePort(portText);
  if (!port) return std::nullopt;
  where.port = *port;
  return where;
}

QString WebAddressText(const WebAddress& where) {
  const QString host = IsAnyAddress(where.address) ? QStringLiteral("0.0.0.0") : HostText(where.address);
  return host + u':' + QString::number(where.port);
}

QString PageUrl(const WebAddress& where) {
  QHostAddress shown = where.address;
  if (IsAnyAddress(where.address)) {
    shown = QHostAddress(QHostAddress::LocalHost);
    bool found = false;
    for (const QNetworkInterface& net : QNetworkInterface::allInterfaces()) {
      const auto flags = net.flags();
      if (found || !flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
          flags.testFlag(QNetworkInterface::IsLoopBack)) {
        continue;
      }
      for (const QNetworkAddressEntry& entry : net.addressEntries()) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !entry.ip().isLinkLocal()) {
          shown = entry.ip();
          found = true;
          break;
        }
      }
    }
  }
  return QStringLiteral("http://") + HostText(shown) + u':' + QString::number(where.port) + u'/';
}

}  // namespace web
