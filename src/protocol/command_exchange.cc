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

namespace {

// Sends a write and judges the Tarn's answer; see SendWriteMessage.
enum class WriteOutcome { kFailed, kSent, kConfirmed };

WriteOutcome SendAndJudge(Link& link, std::span<const std::uint8_t> message, Prompter& prompter) {
  const bool confirm = link.bidirectional();
  // Tunnelled, the Tarn's answer comes with a later poll: wait for it when it is to be judged.
  if (!link.SendTarnMessage(confirm, message)) return WriteOutcome::kFailed;
  if (!confirm) return WriteOutcome::kSent;
  // Direct, a missing or mismatched answer has been shown by the link.
  if (!link.reply_valid()) return WriteOutcome::kFailed;
  if (!link.tarn_reply_received()) {
    prompter.Show(kWriteNotConfirmed);
    return WriteOutcome::kFailed;
  }
  // The reply confirms the write whatever it carries, empty or echoed, unless it names another
  // command: then it answers some other exchange, and this one is still unanswered.
  const std::vector<std::uint8_t> reply = link.ReplyPayload();
  if (!reply.empty() && (message.empty() || reply[0] != message[0])) {
    prompter.Show(kNoValidResponse);
    return WriteOutcome::kFailed;
  }
  return WriteOutcome::kConfirmed;
}

}  // namespace

bool SendWriteMessage(Link& link, std::span<const std::uint8_t> message, Prompter& prompter) {
  const WriteOutcome outcome = SendAndJudge(link, message, prompter);
  // Even a failed write may have reached the Tarn: whoever keeps a picture of it must know.
  link.TellWriteSent(message, outcome == WriteOutcome::kConfirmed);
  return outcome != WriteOutcome::kFailed;
}

void PauseAfterWrite(const Link& link, Clock& clock) {
  if (!link.bidirectional()) clock.SleepFor(kWritePauseMilliseconds);
}

bool IsReplyFor(std::span<const std::uint8_t> reply, std::uint8_t command, int target,
                std::size_t size) {
  return size >= 2 && reply.size() == size && reply[0] == command && reply[1] == target;
}

std::string NotReadText(const NotRead& item, int numbering_base) {
  if (item.first_pin < 0) return item.what;
  const std::string first = std::to_string(item.first_pin + numbering_base);
  if (item.last_pin <= item.first_pin) return item.what + " of pin " + first;
  return item.what + " of pins " + first + " to " + std::to_string(item.last_pin + numbering_base);
}

}  // namespace tarn
