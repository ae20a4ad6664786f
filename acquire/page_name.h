// The automatic name form: prefix, serial number of at least SCNN digits, extension.
#pragma once

#include <QString>
#include <cstdint>

struct USR_SETTINGS;

namespace page_name {

inline constexpr int kMaxDigits = 9;

// Lowers SCNN to 9 (and raises it to 1) in the settings; returns the clamped value.
int clampDigits(USR_SETTINGS& settings);

// SCNN zeros, the number format of the names.
QString zeroMask(int digits);

// 10^digits - 1: the largest number that fits the digits (999 for three).
int64_t largestPlainNumber(int digits);

// The number with leading zeros up to digits; a longer number keeps all its digits.
QString formatNumber(int64_t number, int digits);

// ".bmp", ".jpg", ".tif" or ".pdf" by SVMD (anything unknown counts as BMP).
QString extensionFor(int saveFormat);

// Whether NTOP can begin a file name of the acquisition folder: no NUL or other control
// character (a NUL cuts the name short, so every page would get the same one), no "/" and no
// "..", so that no page is written outside the folder.
bool prefixUsable(const QString& prefix);
// The prefix as a message shows it: each control character as U+FFFD.
QString prefixShown(const QString& prefix);

} // namespace page_name
