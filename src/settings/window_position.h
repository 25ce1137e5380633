#pragma once
// Saving and restoring a window's position as "left,top,width,height" in twips.

#include "settings/position_text.h"

#include <QString>

class QWidget;

namespace orvanex {

// Nothing is saved while the window is minimised.
void SaveWindowPosition(QWidget* window, const QString& appName, const QString& tag);
// Moves the window to the stored position; centres it when none is stored, the text is bad, or the
// position would put it wholly off every screen.
void RestoreWindowPosition(QWidget* window, const QString& appName, const QString& tag);

// Twips (1440 per inch) and pixels at the screen's logical DPI.
int twipsToPixelsX(int twips, const QWidget* w);
int twipsToPixelsY(int twips, const QWidget* w);
int pixelsToTwipsX(int pixels, const QWidget* w);
int pixelsToTwipsY(int pixels, const QWidget* w);

} // namespace orvanex
