#pragma once
// Placing controls by twips. The Designer forms are drawn at 96 DPI (15 twips per pixel); at
// another logical DPI the whole form is scaled once so that every measure keeps its twips.

class QWidget;

namespace orvanex {

inline constexpr int kDesignDpi = 96;

// Scales the form controls below root (a central widget or a form without layouts), drawn at
// kDesignDpi, to root's screen DPI.
void scaleDesignGeometry(QWidget* root);

// Moves or sizes a control in twips (relative to its parent).
void setTwipsLeft(QWidget* w, int left);
void setTwipsWidth(QWidget* w, int width);

} // namespace orvanex
