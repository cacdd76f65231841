#pragma once

namespace tessora::plataforma {

// Makes standard output and standard error show the program's UTF-8 text in the console the
// program was started from, whatever its code page (on Windows); output that goes to a file
// or a pipe stays UTF-8. Call it before writing to either.
void PrepararConsole();

}  // namespace tessora::plataforma
