// Splitting the hand-kept "name" setting into host names. Pure code: no Windows headers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zarvell {

// Splits at every "," that is not the second byte of a double-byte character (any byte of
// 0x80 or more takes the next byte with it). Nothing is trimmed; an empty text gives no
// pieces, and a final "," gives no empty last piece.
std::vector<std::string> splitHostNames(std::string_view text);

}  // namespace zarvell
