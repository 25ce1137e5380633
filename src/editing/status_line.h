#pragma once
// The status line under the grids holds texts of every length (the start-up hint, file paths);
// it is one line high and as wide as the form.

class QLabel;

namespace orvanex::editing {

// Keeps every text of `label` whole: a text wider than the label is drawn in a smaller font, down
// to a legible least, and the label's own font comes back for texts that fit. A text too long even
// then is drawn cut in the middle ("…") with the whole text as the label's tool tip. The text
// itself is never changed, blanks included.
void keepTextWhole(QLabel* label);

} // namespace orvanex::editing
