#pragma once
// Reading back the numbers the record files write: seconds with a comma
// ("83,407") and durations ("05'03\"045", "1h 03'07\"042").

#include <optional>
#include <string_view>

namespace records {

// A decimal number written with a comma, such as 83,407 or 40, with an
// optional sign and exponent. The point is never a separator in the
// records, so a text holding one is refused; no locale is consulted.
std::optional<double> ParseCommaDecimal(std::string_view text);

// A duration as the record files write it, "05'03\"045" or with whole hours
// "1h 03'07\"042", in milliseconds; nothing when it is no duration.
std::optional<long long> ParseDurationMillis(std::string_view text);

}  // namespace records
