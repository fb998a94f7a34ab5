#pragma once
// The program's icons, drawn by code at 24 x 24 pixels (and twice that for high-density screens):
// the six header sections and the popup commands. The editor's "Delete" shares the main window's.

#include <QIcon>

enum class TIconId { Open, SaveAs, Clear, ReadFromCar, WriteToCar, InfoHelp, Add, Edit, Delete, Application };

inline constexpr int kIconSize = 24;

QIcon TarveloIcon(TIconId id);
