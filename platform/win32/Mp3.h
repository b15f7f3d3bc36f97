// MP3 music decoded as it plays by the system's ACM MP3 codec, in the mixer's output format.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/MixCore.h"
#include "platform/Mp3Frames.h"

namespace skyrift::platform {

// Why a stream cannot be opened on a Windows without an MP3 codec (the N editions without
// their media pack are the known case).
constexpr const char* kNoMp3Codec = "this Windows has no MP3 codec";

// A stream over `music` (which must outlive it), repeating from the start when `loop`; null
// when the system has no codec for it (kNoMp3Codec), with the reason in `why` when given.
std::unique_ptr<MusicSource> PlayMp3(JoinedMp3& music, bool loop, int outputRate,
                                     std::string* why = nullptr);

}  // namespace skyrift::platform
