// MP3 music decoded as it plays by the system's ACM MP3 codec, in the mixer's output format.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/MixCore.h"

namespace skyrift::platform {

// Why a stream cannot be opened on a Windows without an MP3 codec (the N editions without
// their media pack are the known case).
constexpr const char* kNoMp3Codec = "this Windows has no MP3 codec";

// A stream over `file` (which must outlive it), repeating from the start when `loop`; null when
// the bytes hold no MPEG layer III frame or the system has no codec for them (kNoMp3Codec),
// with the reason in `why` when given.
std::unique_ptr<MusicSource> OpenMp3(const std::vector<uint8_t>& file, bool loop, int outputRate,
                                     std::string* why = nullptr);

}  // namespace skyrift::platform
