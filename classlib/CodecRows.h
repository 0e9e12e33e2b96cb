// Rows handed to an encoder band by band, so that a picture can be made as
// it is written instead of whole beforehand.
#pragma once

#include <cstdint>
#include <functional>

namespace codec {

// The most rows an encoder asks for at once.
constexpr int RowBand = 16;

// Source(Y, Count) returns row Y; rows Y + 1 .. Y + Count - 1 follow at the
// stride the encoder was given. Count is 1..RowBand, Y grows from call to
// call, and the rows need stay valid only until the next call. An exception
// from the source frees the encoder's work and reaches the encoder's caller.
using RowSource = std::function<const std::uint8_t*(int Y, int Count)>;

}  // namespace codec
