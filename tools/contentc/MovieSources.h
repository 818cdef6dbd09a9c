// Movie descriptions: small text files that make the starter movies with our
// movie writer. Each line is a keyword and its values; '#' starts a comment.
//
//   file Movies/tiny.mov    output name below the data root
//   size 64 48              frame width and height (multiples of 4)
//   colours 16              palette size (8..256): a fixed ramp of colours
//   frames 24               frame count; the first is a key frame
//   rate 15                 frames per second
//   shape 12 10 4 8 2 1     a box: width, height, start x, y, step x, y per frame
//   sound 22050 1 7 440     rate, channels, compression (0, 7, 10), sine Hz
#pragma once

#include <cstdint>
#include <string>

#include "sound/movie/MovieWriter.h"

struct MovieDescription {
    std::string file;
    int32_t width = 64;
    int32_t height = 48;
    int32_t colours = 16;
    int32_t frames = 24;
    int32_t rate = 15;
    int32_t shape[6] = {12, 10, 4, 8, 2, 1};
    bool sound = false;
    MovieAudioFormat audio;
    double hz = 440.0;
};

// False, with "name:line: reason" in error, for a bad description.
bool ParseMovieSource(const std::string& name, const std::string& text, MovieDescription& out, std::string& error);
// The pictures, palette and sound the description makes.
MovieSource MakeMovieSource(const MovieDescription& movie);
// Writes root/<file>.
bool WriteMovieSource(const MovieDescription& movie, const std::string& root, std::string& error);
