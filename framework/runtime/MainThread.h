#pragma once

// Records the calling thread as the application's main thread.
void RuntimeRecordMainThread();
bool RuntimeIsMainThread();

// The main-thread rule of every user-interface operation: on any other thread it raises
// ThreadAccessingUIException.
void UITrap_();
