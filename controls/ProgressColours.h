#pragma once
// Colour arithmetic of the animated progress bar, free of any GUI so it can be
// checked on its own.
#include <cstdint>

namespace corvane {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// One step lighter: +51 per channel, but a channel that would pass 255 stays as it is.
constexpr std::uint8_t LightenChannel(std::uint8_t c) {
    return c + 51 >= 256 ? c : static_cast<std::uint8_t>(c + 51);
}
// One step darker: -51 per channel, but a channel below 51 stays as it is.
constexpr std::uint8_t DarkenChannel(std::uint8_t c) {
    return c >= 51 ? static_cast<std::uint8_t>(c - 51) : c;
}

constexpr Rgb Lighten(Rgb c) {
    return {LightenChannel(c.r), LightenChannel(c.g), LightenChannel(c.b)};
}
constexpr Rgb Darken(Rgb c) {
    return {DarkenChannel(c.r), DarkenChannel(c.g), DarkenChannel(c.b)};
}

// Halfway from shadow towards dark shadow, rounding as an arithmetic shift does
// (towards minus infinity when the dark shadow is the lighter one).
constexpr std::uint8_t MidChannel(std::uint8_t shadow, std::uint8_t dark) {
    return static_cast<std::uint8_t>(shadow + ((static_cast<int>(dark) - static_cast<int>(shadow)) >> 1));
}
constexpr Rgb MidShadow(Rgb shadow, Rgb dark) {
    return {MidChannel(shadow.r, dark.r), MidChannel(shadow.g, dark.g), MidChannel(shadow.b, dark.b)};
}

// The bar's palette derived from its base colour and two system colours.
struct ProgressPalette {
    Rgb base, l1, l2, l3, d1, d2, shadow, midShadow;
};

constexpr ProgressPalette MakeProgressPalette(Rgb base, Rgb shadow, Rgb darkShadow) {
    ProgressPalette p;
    p.base = base;
    p.l1 = Lighten(base);
    p.l2 = Lighten(p.l1);
    p.l3 = Lighten(p.l2);
    p.d1 = Darken(base);
    p.d2 = Darken(p.d1);
    p.shadow = shadow;
    p.midShadow = MidShadow(shadow, darkShadow);
    return p;
}

} // namespace corvane
