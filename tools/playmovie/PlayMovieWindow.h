// playmovie's window mode: the game's window, its graphic system and sound
// service, and the movie played through the graphic system's PlayMovie.
#pragma once

#include <string>

// The exit code: 0 played, 1 the window or the movie failed.
int PlayMovieInWindow(const std::string& file);
