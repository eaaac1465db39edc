#ifndef TARN_SIM_TARN_COMMANDS_H_
#define TARN_SIM_TARN_COMMANDS_H_

#include <cstdint>
#include <span>
#include <vector>

#include "sim/tarn_memory.h"

namespace tarn::sim {

// Configuration commands (each read is its write + 0x10).
inline constexpr std::uint8_t kGeneralWrite = 0x60;
inline constexpr std::uint8_t kGeneralRead = 0x70;
inline constexpr std::uint8_t kEventOnRead = 0x74;
inline constexpr std::uint8_t kEventOffRead = 0x75;

bool IsEventActionRead(std::uint8_t command);
// The commands that store something (general settings, pin configuration, layout, steps, event
// actions, addresses), each its read - 0x10.
bool IsWriteCommand(std::uint8_t command);

// Carries out one configuration command on the memory and returns the reply payload. A read is
// answered with its command echoed, the register or pin, then the values. A write, and anything
// the Tarn does not understand or that does not fit (unknown command or register, pin above 31,
// wrong number of values, a step outside the pin's layout), is answered with the echoed command
// alone and changes nothing.
std::vector<std::uint8_t> AnswerConfigurationCommand(TarnMemory& memory,
                                                     std::span<const std::uint8_t> payload);

}  // namespace tarn::sim

#endif  // TARN_SIM_TARN_COMMANDS_H_
