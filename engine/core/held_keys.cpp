#include "engine/core/held_keys.h"

#include <mutex>

namespace velmor {

namespace {
std::mutex g_mutex;
std::map<std::uint32_t, std::u16string> g_table;
}  // namespace

void HeldKeysInsert(std::uint32_t id, std::u16string label) {
  std::lock_guard lock(g_mutex);
  g_table[id] = std::move(label);
}

void HeldKeysRemove(std::uint32_t id) {
  std::lock_guard lock(g_mutex);
  g_table.erase(id);
}

bool HeldKeysToggle(std::uint32_t id, std::u16string label) {
  std::lock_guard lock(g_mutex);
  auto it = g_table.find(id);
  if (it == g_table.end()) {
    g_table.emplace(id, std::move(label));
    return true;
  }
  g_table.erase(it);
  return false;
}

std::vector<HeldKey> HeldKeysTakeAll() {
  std::map<std::uint32_t, std::u16string> taken;
  {
    std::lock_guard lock(g_mutex);
    taken.swap(g_table);
  }
  std::vector<HeldKey> out;
  out.reserve(taken.size());
  for (auto& [id, label] : taken) out.push_back({id, std::move(label)});
  return out;
}

std::vector<HeldKey> HeldKeysSnapshot() {
  std::lock_guard lock(g_mutex);
  std::vector<HeldKey> out;
  for (const auto& [id, label] : g_table) out.push_back({id, label});
  return out;
}

}  // namespace velmor
