// SPDX-License-Identifier: MIT
#include "media/sound.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "media/automation.h"
#include "media/common/backend_ops.h"
#include "media/common/mixer.h"
#include "media/common/object_table.h"
#include "media/common/unseen_frames.h"
#include "media/common/vorbis_stream.h"
#include "media/common/wave.h"
#include "media/sdl/app_name.h"
#include "media/test_hooks.h"
#include "platform/quiet_stderr.h"

namespace media {

namespace {

ObjectTable<SoundRecord> sounds(64);
// Guards the sound table against the audio callback's thread.
std::mutex soundMutex;
SDL_AudioDeviceID device = 0;
std::vector<SoundCall>* soundLog = nullptr;
bool soundsPaused = false;
int masterPercent = 100;
int32_t masterGain = 32768;

void logCall(SoundCall::Kind kind, int number, int value) {
    if (soundLog) soundLog->push_back({kind, number, value});
}

void mixLocked(int16_t* out, size_t frames) {
    static std::vector<int32_t> accumulator;
    static std::vector<int16_t> scratch;
    accumulator.assign(frames * 2, 0);
    if (!soundsPaused)
        sounds.forEach([&](int, SoundRecord& voice) { mixVoice(voice, accumulator.data(), frames, scratch); });
    if (masterGain != 32768)
        for (int32_t& sample : accumulator) sample = static_cast<int32_t>((int64_t{sample} * masterGain) >> 15);
    finishMix(accumulator.data(), out, frames * 2);
}

void SDLCALL audioCallback(void*, Uint8* stream, int length) {
    std::lock_guard<std::mutex> lock(soundMutex);
    mixLocked(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(length) / 4);
}

void applyVolume(SoundRecord& sound, int percent) {
    sound.volume = std::clamp(percent, 0, 100);
    sound.gain = gainForPercent(sound.volume);
}

// Decodes effects whole; Ogg Vorbis at the mix rate stays a stream.
bool decodeSound(const unsigned char* data, size_t length, SoundRecord& sound) {
    if (isRiffData(data, length)) {
        auto samples = std::make_shared<std::vector<int16_t>>();
        if (!decodeWave(data, length, *samples)) return false;
        sound.samples = std::move(samples);
        return true;
    }
    auto stream = VorbisStream::open(data, length);
    if (!stream) return false;
    if (stream->rate() == kMixRate) {
        sound.stream = std::move(stream);
        return true;
    }
    auto samples = std::make_shared<std::vector<int16_t>>();
    if (!stream->decodeAll(*samples)) return false;
    convertRate(*samples, stream->rate());
    sound.samples = std::move(samples);
    return true;
}

// Opens the default sound device and starts it; false with SDL's reason set.
bool openDefaultDevice() {
    // The sound libraries list every device they could not find on stderr.
    platform::StderrMuted quiet;
    nameSdlApp();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = kMixRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = audioCallback;
    SDL_AudioSpec obtained{};
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (!device) {
        std::string reason = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_SetError("%s", reason.c_str());
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

}  // namespace

// No sound device is not an error: the game then runs silent, and says so once.
void openSdlAudioDevice() {
    static bool reported = false;
    if (openDefaultDevice() || reported) return;
    reported = true;
    std::fprintf(stderr, "quandrite: sound is off: %s\n", SDL_GetError());
}

void useSilentAudio() { SDL_setenv("SDL_AUDIODRIVER", "dummy", 1); }

bool initSound() {
    if (!device) backendOps().openAudioDevice();
    return true;
}

void releaseSound() {
    if (device) {
        SDL_CloseAudioDevice(device);
        device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    std::lock_guard<std::mutex> lock(soundMutex);
    sounds.releaseAll();
}

bool loadSoundFromMemory(int number, const unsigned char* data, size_t length, int) {
    SoundRecord loaded;
    if (!decodeSound(data, length, loaded)) return false;
    std::lock_guard<std::mutex> lock(soundMutex);
    SoundRecord& sound = sounds.obtainSlot(number);
    sound.samples = std::move(loaded.samples);
    sound.stream = std::move(loaded.stream);
    return true;
}

int isSound(int number) {
    std::lock_guard<std::mutex> lock(soundMutex);
    return sounds.isPresent(number) ? 1 : 0;
}

int playSound(int number, int flags, int volume) {
    if (volume != -1) logCall(SoundCall::Volume, number, volume);
    logCall(SoundCall::Play, number, flags);
    std::lock_guard<std::mutex> lock(soundMutex);
    SoundRecord* sound = sounds.lookup(number);
    if (!sound) return 0;
    // The old playback fades with the old volume. A frame that is not shown
    // is not heard either, but the volume it sets holds.
    if (!framesUnseen()) restartVoice(*sound);
    // The volume belongs to this one sound (-1 here is no sound, not "every sound").
    if (volume != -1) applyVolume(*sound, volume);
    if (framesUnseen()) return 1;
    sound->looping = (flags & kPlayLooping) != 0;
    return 1;
}

void stopSound(int number) {
    logCall(SoundCall::Stop, number, 0);
    std::lock_guard<std::mutex> lock(soundMutex);
    auto stop = [](int, SoundRecord& sound) { letGo(sound); };
    if (number == -1) {
        sounds.forEach(stop);
    } else if (SoundRecord* sound = sounds.lookup(number)) {
        stop(number, *sound);
    }
}

void setSoundVolume(int number, int percent) {
    logCall(SoundCall::Volume, number, percent);
    std::lock_guard<std::mutex> lock(soundMutex);
    if (number == -1) {
        sounds.forEach([percent](int, SoundRecord& sound) { applyVolume(sound, percent); });
    } else if (SoundRecord* sound = sounds.lookup(number)) {
        applyVolume(*sound, percent);
    }
}

void pauseSounds(bool paused) {
    std::lock_guard<std::mutex> lock(soundMutex);
    soundsPaused = paused;
}

void setMasterVolume(int percent) {
    std::lock_guard<std::mutex> lock(soundMutex);
    masterPercent = std::clamp(percent, 0, 100);
    masterGain = gainForPercent(masterPercent);
}

int masterVolume() { return masterPercent; }

void setSoundLog(std::vector<SoundCall>* log) { soundLog = log; }

int soundVolume(int number) {
    std::lock_guard<std::mutex> lock(soundMutex);
    SoundRecord* sound = sounds.lookup(number);
    return sound ? sound->volume : 0;
}

bool soundPlaying(int number) {
    std::lock_guard<std::mutex> lock(soundMutex);
    SoundRecord* sound = sounds.lookup(number);
    return sound && sound->playing;
}

void mixAudio(int16_t* stereo, size_t frames) {
    std::lock_guard<std::mutex> lock(soundMutex);
    mixLocked(stereo, frames);
}

bool audioDeviceOpen() { return device != 0; }

int volumeAttenuation(int percent) { return volumeTableEntry(percent) - 10000; }

}  // namespace media
