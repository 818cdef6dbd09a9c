// The definition file as the sound event layer reads it: the bank's
// sections and "EventMapping", whose entries go to the layer's mappings
// (at most six items each, missing ones 0).
#pragma once

#include "sound/cHitIniFile.h"

class iSoundEventMappings;

class cTovaBoxxIniFile : public cHitIniFile {
public:
    cTovaBoxxIniFile(cHitEngine& engine, std::string soundRoot, const std::string& path, iSoundEventMappings* mappings);
    bool Read() override;

    // Every bank of a folder in name order, each as symbols, byte code and
    // definitions. An unreadable symbol or byte-code file is skipped; an
    // unreadable definition file stops the walk with false.
    static bool LoadBanks(cHitEngine& engine, const std::string& folder, const std::string& soundRoot,
                          iSoundEventMappings* mappings);

private:
    iSoundEventMappings* mpMappings;
};
