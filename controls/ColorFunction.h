// Colour functions shared by the painting engine and the controls. Channel arithmetic works on each of the
// three bytes separately, with no carries between them; every result has a zero high byte.
#pragma once

#include "ZuComponents.h"

#include <cstdint>

namespace zu {

using OleColor = uint32_t; // high byte non-zero: the low byte names a system colour
using ColorRef = uint32_t; // 0x00BBGGRR

// The system colour named by the low byte when the high byte is non-zero, else the value itself.
ColorRef resolveColor(OleColor colour);
// Each channel c becomes c - amount when amount < c, else 0.
ColorRef darken(OleColor colour, uint8_t amount);
// Each channel c becomes 255 when c + amount > 254, else c + amount.
ColorRef lighten(OleColor colour, uint8_t amount);
// darken applied to the device context's current background colour.
ColorRef darkenBack(ZuHDC dc, uint8_t amount);
// darken without resolving a system colour.
ColorRef darkenRaw(ColorRef colour, uint8_t amount);
// Each channel c becomes 255 - c.
ColorRef invertColor(OleColor colour);
// The grey of the integer part of 0.30 R + 0.59 G + 0.11 B.
ColorRef greyOf(OleColor colour);
// Grey text lightened by v * 30 / 16581375 (integer division): by 0 for black up to 30 for white.
ColorRef disabledColor(ColorRef v);

} // namespace zu
