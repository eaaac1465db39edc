#include "protocol/command_exchange.h"

namespace tarn {

ReadReply SendReadRequest(Link& link, std::span<const std::uint8_t> request) {
  link.SetBidirectional(true);
  ReadReply reply;
  const bool sent = link.SendTarnMessage(true, request);
  reply.answered = sent && link.reply_valid();
  reply.from_tarn = reply.answered && link.tarn_reply_received();
  if (reply.from_tarn) reply.payload = link.ReplyPayload();
  return reply;
}

bool SendWriteMessage(Link& link, std::span<const std::uint8_t> message) {
  return link.SendTarnMessage(false, message);
}

void PauseAfterWrite(const Link& link, Clock& clock) {
  if (!link.bidirectional()) clock.SleepFor(kWritePauseMilliseconds);
}

bool IsReplyFor(std::span<const std::uint8_t> reply, std::uint8_t command, int target,
                std::size_t size) {
  return size >= 2 && reply.size() == size && reply[0] == command && reply[1] == target;
}

}  // namespace tarn
