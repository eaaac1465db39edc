#ifndef TARN_MODEL_STEP_CODEC_H_
#define TARN_MODEL_STEP_CODEC_H_

#include <array>
#include <cstdint>
#include <optional>

#include "model/step.h"

namespace tarn {

// Opcode and fade flag travel as one code, fade x 16 + opcode. Only codes 19..63 with bit 4 set
// carry a fade flag: 16, 17 and 18 are instructions of their own and 64 and up never fade.

struct OpcodeAndFade {
  std::uint8_t opcode = 0;
  std::uint8_t fade = 0;

  friend bool operator==(const OpcodeAndFade&, const OpcodeAndFade&) = default;
};

// Whether fade can be folded into the code of `opcode` and split off again unchanged: opcodes
// 3..15 and 32..47. Every instruction that may fade is one of them.
bool CanCarryFade(int opcode);

// fade x 16 + opcode. A fade flag that the code cannot carry is dropped rather than turning the
// opcode into another instruction (a stray fade on "Jump" must not send "Feedback").
std::uint8_t OpcodeCode(const Step& step);
OpcodeAndFade SplitOpcodeCode(std::uint8_t code);

// The instruction step messages: the opcode code and four 7-bit values w0..w3.
struct DeviceStepBytes {
  std::uint8_t opcode_byte = 0;
  std::array<std::uint8_t, 4> w{};

  friend bool operator==(const DeviceStepBytes&, const DeviceStepBytes&) = default;
};

// "SendSerial 1" and "SendSerial 2" carry full bytes in p2 and p3: their high bits travel in w0
// (bit 0 for p2, bit 1 for p3) and p1 is not sent. Every other step sends p1, p2, p3; p4 is always
// w3. Every value is 0..127: a step opcode above 127 (undefined, only a file can hold one) goes
// as an empty step, and any other byte above 127 keeps its low seven bits.
DeviceStepBytes EncodeDeviceStep(const Step& step);
Step DecodeDeviceStep(const DeviceStepBytes& bytes);

// The numbers of an "Ins" record after the step index: code, p1, p2, p3, p4, all full bytes.
struct FileStepItems {
  int code = 0;
  std::array<int, 4> params{};

  friend bool operator==(const FileStepItems&, const FileStepItems&) = default;
};

FileStepItems EncodeFileStep(const Step& step);
// Nullopt when a number does not fit a byte. A negative "Value" -64..-1 of "If Equal" .. "If Not
// Less" is accepted and held in seven bits, as the editor holds it.
std::optional<Step> DecodeFileStep(const FileStepItems& items);

}  // namespace tarn

#endif  // TARN_MODEL_STEP_CODEC_H_
