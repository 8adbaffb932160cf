// The timer's cues on Windows: a WAV made in memory (16-bit mono PCM) played
// with PlaySound, asynchronously, so that the window never waits on it.
#include <windows.h>
#include <mmsystem.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "ui/platform.h"

namespace {

constexpr uint32_t kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Little-endian fields written at `at`.
void put(std::vector<uint8_t>& out, std::size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

// A whole WAV file: a sine tone with a 5 ms fade at both ends (no click).
std::vector<uint8_t> toneWav(double hertz, int32_t milliseconds) {
  const uint32_t count = kRate * static_cast<uint32_t>(milliseconds) / 1000;
  const uint32_t fade = kRate / 200;
  std::vector<uint8_t> wav(44 + static_cast<std::size_t>(count) * 2);
  std::memcpy(wav.data(), "RIFF", 4);
  put(wav, 4, 36 + count * 2, 4);
  std::memcpy(wav.data() + 8, "WAVEfmt ", 8);
  put(wav, 16, 16, 4);         // the format chunk's size
  put(wav, 20, 1, 2);          // PCM
  put(wav, 22, 1, 2);          // mono
  put(wav, 24, kRate, 4);      // samples a second
  put(wav, 28, kRate * 2, 4);  // bytes a second
  put(wav, 32, 2, 2);          // bytes a sample
  put(wav, 34, 16, 2);         // bits a sample
  std::memcpy(wav.data() + 36, "data", 4);
  put(wav, 40, count * 2, 4);
  for (uint32_t i = 0; i < count; ++i) {
    double gain = 1.0;
    if (i < fade) gain = static_cast<double>(i) / fade;
    if (count - i < fade) gain = static_cast<double>(count - i) / fade;
    double sample = 12000.0 * gain * std::sin(2.0 * kPi * hertz * static_cast<double>(i) / kRate);
    put(wav, 44 + static_cast<std::size_t>(i) * 2, static_cast<uint16_t>(static_cast<int16_t>(sample)), 2);
  }
  return wav;
}

}  // namespace

bool platformPlayCue(CueSound cue) {
  if (waveOutGetNumDevs() == 0) return false;
  // Made once; PlaySound with SND_MEMORY | SND_ASYNC reads the bytes while it
  // plays, so they live as long as the program.
  static const std::vector<uint8_t> second = toneWav(1760.0, 60);
  static const std::vector<uint8_t> end = toneWav(880.0, 300);
  const std::vector<uint8_t>& wav = cue == CueSound::kEnd ? end : second;
  return PlaySoundW(reinterpret_cast<LPCWSTR>(wav.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT) != FALSE;
}
