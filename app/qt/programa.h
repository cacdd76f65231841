#pragma once

#include <filesystem>

namespace tessora::qt {

// The tray program: start-up, then the event loop until the program ends. Returns the
// exit status.
int ExecutarProgramaBandeja(int& argc, char** argv, const std::filesystem::path& executavel);

}  // namespace tessora::qt
