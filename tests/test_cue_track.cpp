#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "ui/cue_track.h"

namespace {

// A stream fed 10 ms at a time, 20 ms ahead, whose device runs 100 ppm fast, read through a
// clock whose readings come late by up to 5 ms one time in four and early by
// 0.8 ms one time in twenty (Wine's catch-up). The model: frame f is heard at
// start + f / (rate * (1 + 1e-4)); each cue's first sample belongs where its
// instant is heard; a cue whose instant passed by more than 100 ms when its
// write comes is left out.
TEST(CueTrack, EveryCueStartsWhereTheDeviceClockPutsItsInstant) {
  constexpr int32_t kRate = 48000;
  const double deviceRate = kRate * (1 + 1e-4);
  const int64_t startNanos = 5000000000;
  auto heardAt = [&](double nanos) { return (nanos - static_cast<double>(startNanos)) * deviceRate / 1e9; };
  std::mt19937 random(26);
  std::vector<TimedCue> cues;
  for (int64_t at = 5100; at < 60000; at += 350 + static_cast<int64_t>(random() % 4000))
    cues.push_back({random() % 3 == 0 ? CueSound::kEnd : CueSound::kSecond, at});
  cues.push_back({CueSound::kSecond, 4800});  // 200 ms before the stream starts: left out

  CueTrack track;
  cueTrackLoad(track, cues.data(), static_cast<int32_t>(cues.size()));
  AnchorWindow window;
  std::vector<float> out;
  float chunk[480];
  int64_t nanos = startNanos;
  for (int64_t write = 0; write < 6002; ++write) {
    if (write >= 2) nanos += 10000000;  // the first two writes fill 20 ms of latency at once
    double lag = random() % 4 == 0 ? static_cast<double>(random() % 5000000) : 0.0;
    if (random() % 20 == 0) lag = -800000;
    StreamAnchor reading{nanos, std::floor(heardAt(static_cast<double>(nanos) - lag)), kRate};
    cueTrackFill(track, anchorWindowAdd(window, reading), static_cast<int64_t>(out.size()), 480, chunk);
    out.insert(out.end(), chunk, chunk + 480);
  }

  // Where the model puts each cue, in the order they sound.
  std::vector<std::pair<double, CueSound>> want;
  for (const TimedCue& cue : cues) {
    double frame = heardAt(static_cast<double>(cue.at) * 1e6);
    if (frame >= 0) want.push_back({frame, cue.cue});
  }
  std::sort(want.begin(), want.end());
  // Where each tone begins in the output: its first nonzero sample is its second.
  std::vector<int64_t> starts;
  for (std::size_t f = 1; f < out.size(); ++f)
    if (out[f] != 0.0f && out[f - 1] == 0.0f) starts.push_back(static_cast<int64_t>(f) - 1);
  ASSERT_EQ(starts.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(static_cast<double>(starts[i]), want[i].first, 0.0001 * kRate) << "cue " << i;
    int64_t length = want[i].second == CueSound::kEnd ? kRate * 3 / 10 : kRate * 6 / 100;
    EXPECT_EQ(out[static_cast<std::size_t>(starts[i] + length)], 0.0f) << "cue " << i << " runs on";
    EXPECT_NE(out[static_cast<std::size_t>(starts[i] + length - 2)], 0.0f) << "cue " << i << " cut short";
  }
}

}  // namespace
