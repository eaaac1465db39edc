#ifndef TARN_LINK_REPLY_BUFFER_H_
#define TARN_LINK_REPLY_BUFFER_H_

#include <array>
#include <cstdint>

namespace tarn {

// The last frame received. After a Tarn reply (direct or tunnelled): entry 0 the address byte,
// entry 1 the header's low seven bits (its low four bits are the payload count), entries 2 on the
// payload, entry 2 echoing the command. After a Tolvik frame: entry 0 the number of data values,
// then the data values and the checksum value.
inline constexpr int kReplyBufferSize = 21;
using ReplyBuffer = std::array<std::uint8_t, kReplyBufferSize>;

inline int ReplyPayloadCount(const ReplyBuffer& reply) { return reply[1] & 0x0F; }

}  // namespace tarn

#endif  // TARN_LINK_REPLY_BUFFER_H_
