#pragma once
// What a command-line program needs of the system to speak UTF-8 on both
// sides: its arguments as UTF-8 and its output as UTF-8 bytes.

#include <string>
#include <vector>

namespace veltra::platform {

// The program's arguments after its own name, in UTF-8. Windows hands main
// its arguments in the system's code page, which cannot hold every name a
// folder may have: they are read again from the system as UTF-16.
std::vector<std::string> ProgramArguments(int argc, char** argv);
// The standard output and error take the program's UTF-8 bytes as they are:
// a Windows console shows them as UTF-8, a file or a pipe gets the same bytes
// as on Linux, with no line end turned into CR LF.
void UseUtf8Output();

}  // namespace veltra::platform
