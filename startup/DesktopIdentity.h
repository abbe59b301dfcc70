#pragma once

// Gives the program the id of its desktop entry, so that docks, task switchers and overviews find the
// entry's name and icon for its window. Call before the first window is made.
void setDesktopIdentity();
