#pragma once

// Makes the runtime ready for class tables and objects; the calling thread becomes the main thread.
void RuntimeInit();
