#pragma once

class Window;

// Places every RectControl of the window by its locks for the window's content size: a side that is
// locked keeps its distance to that window edge; with both sides of an axis locked the control stretches.
void RuntimeLayoutControls(Window&);
