#pragma once
// The visual style "Windows10": our own light, flat style sheet, carried in the resources and
// applied to every window over Qt's Fusion style.

class QApplication;
class QFont;
class QString;

inline constexpr const char* kVisualStyleName = "Windows10";
inline constexpr int kWindowFontPixels = 11;

void ApplyVisualStyle(QApplication& app);

// The windows' font: Tahoma at the given pixel height, or the nearest sans-serif the system has.
QFont WindowFont(int pixelHeight, bool bold = false);
