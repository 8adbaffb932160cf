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

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

// A whole WAV file: a sine tone with a 5 ms fade at both ends (no click).
std::vector<uint8_t> toneWav(double hertz, int32_t milliseconds) {
  const uint32_t count = kRate * static_cast<uint32_t>(milliseconds) / 1000;
  const uint32_t fade = kRate / 200;
  std::vector<uint8_t> wav;
  wav.insert(wav.end(), {'R', 'I', 'F', 'F'});
  put32(wav, 36 + count * 2);
  wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put32(wav, 16);
  put16(wav, 1);  // PCM
  put16(wav, 1);  // mono
  put32(wav, kRate);
  put32(wav, kRate * 2);
  put16(wav, 2);
  put16(wav, 16);
  wav.insert(wav.end(), {'d', 'a', 't', 'a'});
  put32(wav, count * 2);
  for (uint32_t i = 0; i < count; ++i) {
    double gain = 1.0;
    if (i < fade) gain = static_cast<double>(i) / fade;
    if (count - i < fade) gain = static_cast<double>(count - i) / fade;
    double sample = 12000.0 * gain * std::sin(2.0 * M_PI * hertz * static_cast<double>(i) / kRate);
    put16(wav, static_cast<uint16_t>(static_cast<int16_t>(sample)));
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
