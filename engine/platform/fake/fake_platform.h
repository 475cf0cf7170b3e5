#pragma once

// Controls of the fake backend for tests: every answer the platform would
// give is set here, so tests are exact and need no display.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

namespace velmor::platform::fake {

using LayoutFn = std::function<std::optional<std::uint8_t>(char16_t)>;

// Replaces the keyboard layout; an empty function restores the US layout.
void SetKeyboardLayout(LayoutFn layout);

// The directory ProgramDirectory() reports; empty restores the current
// working directory.
void SetProgramDirectory(std::filesystem::path dir);

}  // namespace velmor::platform::fake
