// Splitting data-file paths held in bounded strings; '\' and '/' both
// separate folders.
#pragma once

#include "resfile/FixedString.h"

// directory = up to and including the last separator; extension = from the
// first '.' after it to the end; base = what lies between. Any out argument
// may be null.
void SplitPath(const char* path, FixedString* directory, FixedString* base, FixedString* extension);
void GetDirectoryOfPath(const char* path, FixedString& directory);
// The base name followed by the extension.
void GetFileNameOfPath(const char* path, FixedString& name);
// The directory and base name, and the extension apart.
void SplitExtension(const char* path, FixedString& withoutExtension, FixedString& extension);
