// The link lamp's two colours, the same in the main window and the image
// delay dialog.
#pragma once

#include <QColor>

#include "link/link_services.h"

inline const QColor kLampRed(255, 0, 0);
inline const QColor kLampLime(0, 255, 0);

inline QColor LampQColor(LampColour colour) {
  return colour == LampColour::Lime ? kLampLime : kLampRed;
}
