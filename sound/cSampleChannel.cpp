#include "sound/cSampleChannel.h"

#include <cmath>
#include <cstdio>

#include "sound/cGZSnd3D.h"
#include "sound/cSamplePatch.h"

cSampleChannel::~cSampleChannel() {
    if (mpPatch) mpPatch->Release();
}

bool cSampleChannel::SetPatch(cPatch* patch) {
    if (patch) patch->AddRef();
    if (mpPatch) mpPatch->Release();
    mpPatch = patch;
    mpSound = patch ? patch->GetSound() : nullptr;
    mp3DSound = patch ? patch->Get3DSound() : nullptr;
    return true;
}

uint32_t cSampleChannel::FrequencyOf(int32_t cents) {
    if (cents == kUnchangedPitch) return kBaseRate;
    return static_cast<uint32_t>(kBaseRate * std::pow(2.0, (cents - kUnchangedPitch) / 1200.0) + 0.5);
}

bool cSampleChannel::NoteOn(int32_t) {
    if (gNoteTrace)
        std::fprintf(stderr, "cSampleChannel::NoteOn: Sample file %s\n", mpSound ? mpSound->GetFileName() : "(none)");
    if (!mpSound || !mpPatch) return false;
    const int32_t volume = mpSound->GetVolume();
    mpSound->SetPosition(0u);
    return mpSound->Play(volume, mpPatch->GetVar(44) != 0, 1);
}

bool cSampleChannel::NoteOff() {
    if (mpPatch && mpPatch->GetSound() && mpSound && mpSound->IsPlaying()) return mpSound->Stop();
    return true;
}

bool cSampleChannel::SetVolume(int32_t volume) { return mpSound && mpSound->SetVolume(volume); }
bool cSampleChannel::SetPan(int32_t pan) { return mpSound && mpSound->SetPan(pan); }
bool cSampleChannel::SetPitch(int32_t cents) { return mpSound && mpSound->SetFrequency(FrequencyOf(cents)); }

bool cSampleChannel::SetPosition(int32_t x, int32_t y, int32_t z) {
    return mp3DSound &&
           mp3DSound->SetPosition(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

bool cSampleChannel::Pause() { return mpSound && mpSound->Pause(); }
bool cSampleChannel::Resume() { return mpSound && mpSound->Resume(); }
bool cSampleChannel::AddUse() { return mpPatch && mpPatch->AddUse(); }
bool cSampleChannel::ReleaseUse() { return mpPatch && mpPatch->ReleaseUse(); }
bool cSampleChannel::AddUser() { return mpPatch && mpPatch->AddUser(); }
bool cSampleChannel::ReleaseUser() { return mpPatch && mpPatch->ReleaseUser(); }

bool cSampleChannel::IsRunning() {
    if (mp3DSound) return mp3DSound->IsPlaying();
    return mpSound && mpSound->IsPlaying();
}

bool cSampleChannel::SetMinDistance(float distance) { return mp3DSound && mp3DSound->SetMinDistance(distance); }
bool cSampleChannel::SetMaxDistance(float distance) { return mp3DSound && mp3DSound->SetMaxDistance(distance); }

void cSampleChannel::SetFilterMode(int32_t mode) {
    if (mpSound) mpSound->SetFilterMode(mode);
}
void cSampleChannel::SetFilterValue(int32_t value) {
    if (mpSound) mpSound->SetFilterValue(value);
}
void cSampleChannel::SetFilterRate(int32_t rate) {
    if (mpSound) mpSound->SetFilterRate(rate);
}
