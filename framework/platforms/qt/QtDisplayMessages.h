#pragma once

#include <QtGlobal>

#include <memory>
#include <string>

class QApplication;

// What the program says when it has no usable desktop display, or loses the one it has: always one line
// on stderr, then status 1.

// The program's name as the user started it, for the start of its own lines; "vorpel" when argv has none.
std::string QtProgramName(int argc, char** argv);

// Makes the program's QApplication. Qt's start-up messages, and the Wayland client library's, are held
// while it is made. When no platform plugin starts, the process prints one line
//     <program>: cannot open the desktop display <displays tried> (<why>)
// and ends with status 1; otherwise the held messages are passed on as they came, and from then on a
// display that goes away, or anything else Qt finds fatal, is told once (QtEndWithLine).
std::unique_ptr<QApplication> QtMakeProgramApplication(int& argc, char** argv);

// The display went away, or Qt found something else fatal: prints the line once, however many threads
// notice, and ends the process with status 1.
[[noreturn]] void QtEndWithLine(const QString& line);
