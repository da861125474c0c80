#pragma once
// The label classes of the plot (notice, peak labels, integral sums, integrals, baseline,
// title, free texts: types 2, 5, 7, 10, 11, 12, 13, 14), plugged into the draw-object list's
// factory. Called once on the user-interface thread before the first list is filled.
void RegisterLabelDrawObjects();
