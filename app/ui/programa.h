#pragma once

#include <filesystem>

namespace tessora::ui {

// The tray program: start-up, then the event loop until the program ends. Returns the
// exit status.
int ExecutarProgramaBandeja(int& argc, char** argv, const std::filesystem::path& executavel);

// The same resident service without a window: the log on standard output, notices on
// standard error, ending on SIGTERM or SIGINT like the close handling.
int ExecutarServicoSemJanela(int& argc, char** argv, const std::filesystem::path& executavel);

}  // namespace tessora::ui
