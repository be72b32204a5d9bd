#pragma once

#include <cstdint>

namespace kolvane {

// Colour values as the project file stores them: platform colour references
// 0x00BBGGRR, or system-colour codes 0xFF0000nn, as signed 32-bit integers.
using Color = std::int32_t;

constexpr Color SystemColor(std::uint32_t index) {
    return static_cast<Color>(0xFF000000u | index);
}
constexpr Color Rgb(int r, int g, int b) {
    return static_cast<Color>(r | (g << 8) | (b << 16));
}
constexpr bool IsSystemColor(Color c) {
    return (static_cast<std::uint32_t>(c) >> 24) == 0xFFu;
}
constexpr int RedOf(Color c) {
    return c & 0xFF;
}
constexpr int GreenOf(Color c) {
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(Color c) {
    return (c >> 16) & 0xFF;
}

constexpr Color kClWindow = SystemColor(5);          // input look: -16777211
constexpr Color kClBtnFace = SystemColor(15);        // starting look of results: -16777201
constexpr Color kClWindowText = SystemColor(8);      // default font colour
constexpr Color kComputedColor = Rgb(201, 239, 254); // values computed directly
constexpr Color kRelationRed = Rgb(255, 0, 0);       // heat balance
constexpr Color kRelationSphere = Rgb(255, 128, 255);
constexpr Color kRelationCylinder = Rgb(128, 255, 255);
constexpr Color kRelationBox = Rgb(255, 255, 128);
constexpr Color kRelationHorizontal = Rgb(170, 255, 128);
constexpr Color kGrayText = Rgb(128, 128, 128); // display form of a disabled field
constexpr Color kBlue = Rgb(0, 0, 255);
constexpr Color kBlack = Rgb(0, 0, 0);

static_assert(kClWindow == -16777211 && kClBtnFace == -16777201);
static_assert(kComputedColor == 16707529 && kRelationRed == 255);
static_assert(kRelationCylinder == 16777088 && kRelationBox == 8454143);
static_assert(kRelationHorizontal == 8454058 && kRelationSphere == 16744703);

} // namespace kolvane
