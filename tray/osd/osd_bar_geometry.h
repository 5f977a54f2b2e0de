// The bar display's geometry, which its pictures are drawn to: the scale starts at
// x = 96 and is 384 pixels long, the filled bar is 90 pixels high, the end cap
// stands at y = 34 and is drawn 13 x 32, the icon at (15, 15), the ticks at y = 70.
#pragma once

constexpr int kBarScaleStart = 96;
constexpr int kBarScaleLength = 384;
constexpr int kBarHeight = 90;
constexpr int kBarCapTop = 34;
constexpr int kBarCapWidth = 13;
constexpr int kBarCapHeight = 32;
constexpr int kBarIconLeft = 15;
constexpr int kBarIconTop = 15;
constexpr int kBarTickTop = 70;
constexpr int kBarTickHeight = 5;
constexpr int kBarLastTick = 474;
// t at or past this counts as a full bar.
constexpr int kBarFull = 383;
constexpr unsigned kBarTickColour = 0xC8787878;
