#pragma once

#include <chrono>

namespace tessora::plataforma {

// From this call on, the system's requests to end the process (SIGTERM, SIGINT) no longer
// end it at once: each makes the returned descriptor readable, so that the program's own
// loop ends it the orderly way. Until LiberarSinaisEncerramento they are held back in the
// calling thread and in every thread it starts meanwhile, so call it before any other
// thread exists. Later calls return the same descriptor.
int DesviarSinaisEncerramento();

// Lets the held-back requests through to the calling thread, where they are served, and
// takes the signals back from any library that claimed them meanwhile.
void LiberarSinaisEncerramento();

// Waits until the descriptor is readable (true) or the time is up (false).
bool AguardarSinaisEncerramento(int descritor, std::chrono::milliseconds limite);

// Empties the descriptor after it became readable.
void ConsumirSinaisEncerramento(int descritor);

}  // namespace tessora::plataforma
