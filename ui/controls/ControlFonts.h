// Fonts the controls own go back to the font service they came from; with
// no service installed the reference is simply dropped.
#pragma once

class cIGZFont;

void ReleaseControlFont(cIGZFont* font);
