#include "platform/Random.h"

#include <cstddef>

namespace skyrift::platform {
namespace {

constexpr size_t kDegree = 31;     // words in the table
constexpr size_t kSeparation = 3;  // how far the front position runs ahead of the rear one

struct Generator {
  std::array<uint32_t, kDegree> table{};
  size_t front = 0;
  size_t rear = 0;

  int Next() {
    table[front] += table[rear];
    const int result = static_cast<int>(table[front] >> 1);
    front = (front + 1) % kDegree;
    rear = (rear + 1) % kDegree;
    return result;
  }

  void Seed(uint32_t seed) {
    if (seed == 0) seed = 1;
    // The table filled by the minimal standard generator (16807 times the last, modulo
    // 2^31 - 1, by Schrage's method), then stirred by 310 draws thrown away. The seed counts as
    // a signed word there, as the library takes it: a seed past 2^31 starts below zero.
    int64_t word = static_cast<int32_t>(seed);
    table[0] = seed;
    for (size_t i = 1; i < kDegree; ++i) {
      const int64_t high = word / 127773;
      const int64_t low = word % 127773;
      word = 16807 * low - 2836 * high;
      if (word < 0) word += 2147483647;
      table[i] = static_cast<uint32_t>(word);
    }
    front = kSeparation;
    rear = 0;
    for (size_t i = 0; i < kDegree * 10; ++i) Next();
  }

  Generator() { Seed(1); }
};

Generator& TheGenerator() {
  static Generator generator;
  return generator;
}

}  // namespace

void SeedRandom(uint32_t seed) {
  TheGenerator().Seed(seed);
}

int Random() {
  return TheGenerator().Next();
}

std::array<int32_t, 32> RandomState() {
  const Generator& generator = TheGenerator();
  std::array<int32_t, 32> state{};
  state[0] = static_cast<int32_t>(5 * generator.rear + 3);
  for (size_t i = 0; i < kDegree; ++i) state[i + 1] = static_cast<int32_t>(generator.table[i]);
  return state;
}

}  // namespace skyrift::platform
