#pragma once
// Where the results page listens: an address and a port, as given on the
// command line ("trelvix --web [ADDRESS:]PORT") or in the settings.

#include <QHostAddress>
#include <QString>
#include <optional>

namespace web {

inline constexpr quint16 kDefaultWebPort = 8080;

struct WebAddress {
  QHostAddress address{QHostAddress::Any};  // all interfaces
  quint16 port = kDefaultWebPort;
};

// "8080", "127.0.0.1:8080", "[::1]:8080", "0.0.0.0:8080". Nothing for a
// missing or out-of-range port (1..65535) or an address that is not a
// numeric IPv4 or IPv6 one: no name is ever looked up.
std::optional<WebAddress> ParseWebAddress(const QString& text);

// Every interface: "0.0.0.0", "::" or both.
bool IsAnyAddress(const QHostAddress& address);

// The address as it is written back: "127.0.0.1:8080", "[::1]:8080".
QString WebAddressText(const WebAddress& where);

// The page's address for a person to open: the listening address, or when
// the server listens on every interface, the machine's first address on a
// network that is up (the loopback address when there is none).
QString PageUrl(const WebAddress& where);

}  // namespace web
