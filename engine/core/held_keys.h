#pragma once

// The keys, buttons and pad controls the engine holds down for the user
// (hold steps without a time, toggles), ordered by held-key identity. Shown
// by the held-keys bar; emptied by "release all".

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace velmor {

struct HeldKey {
  std::uint32_t id;
  std::u16string label;
};

// All functions lock the table's own mutex; none sends input or posts while
// holding it.
void HeldKeysInsert(std::uint32_t id, std::u16string label);
void HeldKeysRemove(std::uint32_t id);
// Inserts when absent (returns true: press), removes when present (false:
// release), in one step under the lock.
bool HeldKeysToggle(std::uint32_t id, std::u16string label);
// Takes every entry out, in identity order, leaving the table empty.
std::vector<HeldKey> HeldKeysTakeAll();
std::vector<HeldKey> HeldKeysSnapshot();

}  // namespace velmor
