#pragma once

#include <filesystem>

namespace tessora::win32 {

// The window program: start-up, then the message loop until the program ends. Returns the
// exit status.
int ExecutarProgramaBandeja(int& argc, char** argv, const std::filesystem::path& executavel);

}  // namespace tessora::win32
