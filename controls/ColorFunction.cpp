#include "ColorFunction.h"

#include "platform/ZuGdi.h"

namespace zu {

namespace {

template <typename PerChannel> ColorRef eachChannel(ColorRef colour, PerChannel change) {
    ColorRef result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        unsigned channel = (colour >> shift) & 0xFF;
        result |= (change(channel) & 0xFFu) << shift;
    }
    return result;
}

} // namespace

ColorRef resolveColor(OleColor colour) {
    if (colour & 0xFF000000u) return gdi::getSysColor(static_cast<int>(colour & 0xFF));
    return colour;
}

ColorRef darkenRaw(ColorRef colour, uint8_t amount) {
    return eachChannel(colour, [amount](unsigned c) { return amount < c ? c - amount : 0u; });
}

ColorRef darken(OleColor colour, uint8_t amount) {
    return darkenRaw(resolveColor(colour), amount);
}

ColorRef lighten(OleColor colour, uint8_t amount) {
    return eachChannel(resolveColor(colour),
                       [amount](unsigned c) { return c + amount > 254 ? 255u : c + amount; });
}

ColorRef darkenBack(ZuHDC dc, uint8_t amount) {
    return darkenRaw(gdi::getBkColor(dc) & 0xFFFFFF, amount);
}

ColorRef invertColor(OleColor colour) {
    return eachChannel(resolveColor(colour), [](unsigned c) { return 255u - c; });
}

ColorRef greyOf(OleColor colour) {
    ColorRef c = resolveColor(colour);
    // Whole hundredths keep the integer part exact: in binary floating point 0.30 v + 0.59 v + 0.11 v falls
    // just below v for many greys, which would darken a grey by one step.
    unsigned g = (30u * gdi::redOf(c) + 59u * gdi::greenOf(c) + 11u * gdi::blueOf(c)) / 100u;
    return g * 65793u;
}

ColorRef disabledColor(ColorRef v) {
    auto amount = static_cast<uint8_t>((v & 0xFFFFFF) * 30u / 16581375u);
    return lighten(gdi::getSysColor(gdi::COLOR_GRAYTEXT), amount);
}

} // namespace zu
