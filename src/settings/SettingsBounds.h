#pragma once

// Bounds of the numeric settings, one table for the Settings dialog and
// tavik-batch. tavik-batch takes values from lowest to highest; the dialog
// stores any value from lowestInDialog to highest (its edits take negative
// values too) and notes on the status bar when OK brought a value back.
struct SettingBound {
    const char* label; // the field's label in the dialog
    int lowest;
    int highest;
    int lowestInDialog;
};

inline constexpr SettingBound kLineWidthBound{"Barline Width", 1, 100, -100};
inline constexpr SettingBound kBarHeightBound{"Barline Hight", 1, 10000, -10000};
inline constexpr SettingBound kOriginXBound{"Origin X", 0, 10000, -10000};
inline constexpr SettingBound kOriginYBound{"Origin Y", 0, 10000, -10000};
inline constexpr SettingBound kRepeatBound{"Repeat it", 1, 10000, 1};
