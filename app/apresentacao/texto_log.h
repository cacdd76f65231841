#pragma once

#include <string>
#include <string_view>

namespace tessora::app {

// A log line whose text holds line breaks of any kind (CR LF, CR or LF), with each in the log
// control's own `quebra`, so that it shows on several lines.
std::string LinhaDoLog(std::string_view linha, std::string_view quebra);
// What "Copiar Log" puts on the clipboard: every line of the log with its line end.
std::string CopiaDoLog(std::string_view log, std::string_view quebra);

}  // namespace tessora::app
